#pragma once
// TfrmChart: one project chart as a child of the main window, with Close and Print (immediate) over the
// chart. The chart owns a bar and a pie series; only the one its table asks for is attached.

#include "metrics/ProjectCharts.h"

#include <QWidget>

#include <functional>

class QChart;
class QChartView;
class QPagedPaintDevice;
class QPainter;
class QPieSeries;
class QPrinter;
class QStackedBarSeries;
class QToolBar;

namespace kemptor {

class Prompter;

class TfrmChart : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 27;

    explicit TfrmChart(Prompter& prompter, QWidget* parent = nullptr);
    ~TfrmChart() override;

    // Sets the caption, draws the table's points on the series of its kind, the title, and the note on
    // files left out under the title.
    void Fill(const TChartData& data);

    // Prints the chart once, in landscape, on the default printer without a dialog. Without a printer it
    // says so and offers to write a PDF file instead.
    void Print();
    // Draws the chart scaled into the page of a printer or a PDF writer; false when the device cannot be
    // painted on.
    bool Render(QPagedPaintDevice& device, int resolution);

    QChart* Chart() const { return chart_; }
    QChartView* ChartView() const { return chartView_; }
    QToolBar* ToolPanel() const { return panel_; }
    QStackedBarSeries* BarSeries() const { return barSeries_; }
    QPieSeries* PieSeries() const { return pieSeries_; }

    // The default printer's name ("" when none), and the PDF file the user chooses ("" for cancel);
    // replaceable so that tests neither print nor show a dialog.
    std::function<QString()> DefaultPrinterName;
    std::function<QString()> ChoosePdfFile;

private:
    void Detach();
    // Prints one landscape copy on the printer or the PDF writer; false when it failed.
    bool PrintOn(QPagedPaintDevice& device, int resolution);

    Prompter& prompter_;
    QToolBar* panel_;
    QChartView* chartView_;
    QChart* chart_;
    // Both series are the window's own; the one in use is attached to the chart meanwhile.
    QStackedBarSeries* barSeries_;
    QPieSeries* pieSeries_;
};

} // namespace kemptor
