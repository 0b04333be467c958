#include "metrics/ui/ChartSeries.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLinearGradient>
#include <QPieSeries>
#include <QPieSlice>
#include <QStackedBarSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace kemptor {

QColor PointColor(int index) {
    // Steps of about 137 degrees (the golden angle) keep neighbouring bars apart for any count; three
    // saturation and value levels separate hues that come round close to each other.
    const int hue = static_cast<int>(std::fmod(index * 137.508, 360.0));
    const int level = index % 3;
    return QColor::fromHsv(hue, 200 - level * 40, 230 - level * 30);
}

namespace {

// Lit from the left: lighter on the left edge, the colour in the middle, darker on the right edge.
QBrush ShadedBrush(const QColor& color) {
    QLinearGradient gradient(0, 0, 1, 0);
    gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
    gradient.setColorAt(0.0, color.lighter(140));
    gradient.setColorAt(0.45, color);
    gradient.setColorAt(1.0, color.darker(170));
    return QBrush(gradient);
}

} // namespace

void FillBarSeries(QStackedBarSeries& series, const TMetricPoints& points) {
    series.clear();
    // Bar i lives in set i % sets, in its own category; the other values of a set are 0. Each set is
    // drawn in one colour, so up to kBarColours points every bar has a colour and a legend entry of its
    // own; beyond that the colours repeat (the bars a set holds lie kBarColours apart) and the cost stays
    // linear in the points instead of growing with their square.
    const int count = static_cast<int>(points.size());
    const int setCount = std::min(count, kBarColours);
    QList<QBarSet*> sets;
    sets.reserve(setCount);
    for (int k = 0; k < setCount; ++k) {
        auto* set = new QBarSet(count <= kBarColours
                                    ? QString::fromStdString(points[static_cast<std::size_t>(k)].Label)
                                    : QString());
        QList<qreal> values(count, 0.0);
        for (int i = k; i < count; i += setCount)
            values[i] = points[static_cast<std::size_t>(i)].Value;
        set->append(values);
        const QColor color = PointColor(k);
        set->setColor(color);
        set->setBrush(ShadedBrush(color));
        set->setBorderColor(color.darker(200));
        sets.append(set);
    }
    series.append(sets);
    series.setBarWidth(0.4);
    series.setLabelsVisible(false);
}

void FillPieSeries(QPieSeries& series, const TMetricPoints& points, bool marks) {
    series.clear();
    const int count = static_cast<int>(points.size());
    QList<QPieSlice*> slices;
    for (int i = 0; i < count; ++i) {
        const auto& point = points[static_cast<std::size_t>(i)];
        auto* slice = series.append(QString::fromStdString(point.Label), point.Value);
        const QColor color = PointColor(i);
        slice->setBrush(color);
        slice->setBorderColor(color.darker(160));
        slices.append(slice);
    }
    if (!marks)
        return;
    // Percentages are known once every slice is in; the legend markers keep the bare labels.
    QList<QLegendMarker*> markers;
    if (series.chart())
        markers = series.chart()->legend()->markers(&series);
    for (int i = 0; i < slices.size(); ++i) {
        QPieSlice* slice = slices[i];
        const QString label = slice->label();
        // One decimal where it tells slices apart; a whole share without one ("100%", "50%").
        const double percent = slice->percentage() * 100;
        const bool whole = std::abs(percent - std::round(percent)) < 0.05;
        slice->setLabel(QString("%1 %2%").arg(label).arg(percent, 0, 'f', whole ? 0 : 1));
        slice->setLabelVisible(true);
        if (i < markers.size())
            markers[i]->setLabel(label);
    }
}

void RemoveAxes(QChart& chart) {
    for (QAbstractAxis* axis : chart.axes()) {
        chart.removeAxis(axis);
        delete axis;
    }
}

TIntegerScale IntegerScale(double least, double most) {
    const double low = std::min(0.0, least);
    const double high = std::max({0.0, most, low + 1});
    // The smallest round step that covers the span in eight steps; ten at most once both ends are
    // rounded out to it.
    const double rough = (high - low) / 8;
    double step = 1;
    for (double decade = 1; step < rough; decade *= 10)
        for (const double factor : {1.0, 2.0, 5.0, 10.0})
            if (step < rough)
                step = decade * factor;
    return {std::floor(low / step) * step, std::ceil(high / step) * step, step};
}

void AddBarAxes(QChart& chart, QStackedBarSeries& series, const TMetricPoints& points) {
    auto* categories = new QBarCategoryAxis;
    QStringList labels;
    for (std::size_t i = 0; i < points.size(); ++i) {
        // Equal file names (two folders) would merge into one category: make each label unique.
        QString label = QString::fromStdString(points[i].Label);
        while (labels.contains(label))
            label += ' ';
        labels << label;
    }
    categories->append(labels);
    categories->setLabelsAngle(-90);
    chart.addAxis(categories, Qt::AlignBottom);
    series.attachAxis(categories);

    auto* values = new QValueAxis;
    double least = 0;
    double most = 0;
    for (const auto& point : points) {
        least = std::min(least, point.Value); // -1: a file that was not found
        most = std::max(most, point.Value);
    }
    // Whole measures get whole ticks: the axis's own nice numbers would label 0.2 steps "0" and "1".
    const TIntegerScale scale = IntegerScale(least, most);
    values->setRange(scale.low, scale.high);
    values->setTickType(QValueAxis::TicksDynamic);
    values->setTickAnchor(0);
    values->setTickInterval(scale.step);
    values->setMinorTickCount(0);
    values->setLabelFormat("%.0f");
    chart.addAxis(values, Qt::AlignLeft);
    series.attachAxis(values);
}

} // namespace kemptor
