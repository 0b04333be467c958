#pragma once
// TfrmChartSelector: the modal list of the seven project charts with a small sample and a description
// of each. Create (or a double click) builds the selected chart and hands it to whoever opens chart
// windows; the selector stays open so that several charts can be made in a row.

#include "metrics/ProjectCharts.h"

#include <QDialog>

#include <functional>

class QChart;
class QChartView;
class QGraphicsSimpleTextItem;
class QListWidget;
class QPieSeries;
class QPlainTextEdit;
class QPushButton;
class QStackedBarSeries;

namespace kemptor {

class Prompter;

class TfrmChartSelector : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 27;
    static constexpr int kSampleSize = 165;

    explicit TfrmChartSelector(Prompter& prompter, QWidget* parent = nullptr);
    ~TfrmChartSelector() override;

    // Shows the selector modally for this project (nullptr: none open).
    void Execute(TSourceMgt* project);

    // Opens a window for a built chart; set by the main window's wiring.
    std::function<void(const TChartData&)> OpenChart;

    // Builds the selected chart and opens it (the messages say why not).
    void btnCreateClick();
    // Shows the sample and the description of the selected item.
    void lbxChoicesClick();

    QListWidget* lbxChoices;
    QChartView* chtSample;
    QPlainTextEdit* memoDescription;
    QPushButton* btnCreate;
    QPushButton* btnClose;

protected:
    void showEvent(QShowEvent* event) override;

private:
    Prompter& prompter_;
    TSourceMgt* project_ = nullptr;
    QChart* sample_;
    QStackedBarSeries* sampleBar_;
    QPieSeries* samplePie_;
    QGraphicsSimpleTextItem* footer_;
};

} // namespace kemptor
