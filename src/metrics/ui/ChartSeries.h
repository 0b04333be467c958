#pragma once
// How the chart windows and the selector's sample draw points: every bar and every slice in a colour of
// its own, bars given depth by a light-to-dark shading across their width.

#include "metrics/ProjectMetrics.h"

#include <QColor>

class QChart;
class QPieSeries;
class QStackedBarSeries;

namespace kemptor {

// The colour of point `index`: hues spread round the wheel so that neighbours differ clearly.
QColor PointColor(int index);

// The most bars drawn each in a colour of its own, with a legend entry each.
inline constexpr int kBarColours = 64;

// Refills a bar series with one bar per point, each in its own category. Up to kBarColours points each
// bar has its own colour and its set is labelled with the point's label, so that the legend lists the
// labels; beyond that the colours repeat and the sets are unlabelled. No value marks.
void FillBarSeries(QStackedBarSeries& series, const TMetricPoints& points);

// Refills a pie series: one slice per point in its own colour. With `marks`, each slice shows its
// label and percentage beside it; the legend keeps the bare labels.
void FillPieSeries(QPieSeries& series, const TMetricPoints& points, bool marks);

// Removes and deletes every axis of the chart.
void RemoveAxes(QChart& chart);

// The value axis of a chart of whole numbers (sizes, counts, whole percentages): ticks every `step` (1,
// 2 or 5 times a power of ten, never below 1) from `low` to `high`, multiples of the step that take in 0
// and every value, in at most ten steps. All values 0 give 0 to 1.
struct TIntegerScale {
    double low;
    double high;
    double step;
};
TIntegerScale IntegerScale(double least, double most);

// Gives an attached bar series its axes: the labels along the bottom turned upright, values at the left.
void AddBarAxes(QChart& chart, QStackedBarSeries& series, const TMetricPoints& points);

} // namespace kemptor
