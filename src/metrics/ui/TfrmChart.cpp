#include "metrics/ui/TfrmChart.h"

#include "metrics/ui/ChartSeries.h"
#include "platform/Prompter.h"
#include "platform/ui/DocumentFolder.h"
#include "platform/ui/Help.h"
#include "view/ui/TViewWindow.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QLegend>
#include <QPainter>
#include <QPdfWriter>
#include <QPieSeries>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStackedBarSeries>
#include <QToolBar>
#include <QVBoxLayout>

namespace kemptor {

namespace {

// The chart's size while it is drawn on paper: a landscape page of this width in points, so that the
// labels keep their size relative to the page whatever size the window has on screen.
constexpr qreal kPaperWidth = 1000;

class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

TfrmChart::TfrmChart(Prompter& prompter, QWidget* parent) : QWidget(parent), prompter_(prompter) {
    setObjectName("frmChart");
    setAttribute(Qt::WA_DeleteOnClose);
    // F1 is the main window's key: it opens the topic of the focused chart window (a key of the chart's
    // own would share the main window's shortcut scope and leave both silent).
    SetHelpContext(this, kHelpContext);

    panel_ = new QToolBar(this);
    panel_->setObjectName("pnlTools");
    panel_->setIconSize(QSize(20, 20));
    QAction* close = panel_->addAction(TViewWindow::ButtonIconOf(TViewWindow::ButtonIcon::Close), "Close");
    close->setObjectName("btnClose");
    close->setToolTip("Close");
    connect(close, &QAction::triggered, this, &QWidget::close);
    QAction* print =
        panel_->addAction(TViewWindow::ButtonIconOf(TViewWindow::ButtonIcon::Print), "Print (Immediate)");
    print->setObjectName("btnPrint");
    print->setToolTip("Print (Immediate)");
    connect(print, &QAction::triggered, this, &TfrmChart::Print);

    chart_ = new QChart;
    chart_->setAnimationOptions(QChart::NoAnimation);
    chart_->setDropShadowEnabled(true);
    QFont titleFont = chart_->titleFont();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    chart_->setTitleFont(titleFont);
    chart_->setTitleBrush(QBrush(Qt::blue));
    chart_->legend()->setAlignment(Qt::AlignRight);
    chart_->legend()->setShowToolTips(true);
    chartView_ = new QChartView(chart_);
    chartView_->setObjectName("chtMain");
    chartView_->setRenderHint(QPainter::Antialiasing);
    // The chart takes the focus when clicked or its window is activated, so that F1 finds its topic.
    chartView_->setFocusPolicy(Qt::StrongFocus);

    barSeries_ = new QStackedBarSeries;
    pieSeries_ = new QPieSeries;
    pieSeries_->setPieSize(0.6); // room for the marks around the pie

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(panel_);
    layout->addWidget(chartView_, 1);
    setMinimumSize(560, 420); // room for upright file names under the bars
    resize(760, 560);

    DefaultPrinterName = [] { return QPrinterInfo::defaultPrinterName(); };
    ChoosePdfFile = [this] {
        // The chart's name in the project's folder, not the caption in whatever folder was used last.
        return QFileDialog::getSaveFileName(this, "Save Chart as PDF", ProposedFile(windowTitle(), ".pdf"),
                                            "PDF files (*.pdf)");
    };
}

TfrmChart::~TfrmChart() {
    Detach();
    delete barSeries_;
    delete pieSeries_;
}

void TfrmChart::Detach() {
    for (QAbstractSeries* series :
         {static_cast<QAbstractSeries*>(barSeries_), static_cast<QAbstractSeries*>(pieSeries_)})
        if (series->chart() == chart_)
            chart_->removeSeries(series);
    RemoveAxes(*chart_);
}

void TfrmChart::Fill(const TChartData& table) {
    setWindowTitle(QString::fromStdString(table.Caption));
    Detach();
    if (table.Kind == TChartKind::Pie) {
        chart_->addSeries(pieSeries_);
        FillPieSeries(*pieSeries_, table.Points, true);
    } else {
        FillBarSeries(*barSeries_, table.Points);
        chart_->addSeries(barSeries_);
        AddBarAxes(*chart_, *barSeries_, table.Points);
    }
    // A legend of hundreds of names helps no one; the axis names every bar.
    chart_->legend()->setVisible(table.Kind == TChartKind::Pie || table.Points.size() <= kBarColours);
    // The title is rich text: the note on files left out goes on a smaller second line, both centred.
    QString title = QString::fromStdString(table.Title).toHtmlEscaped();
    const std::string note = LeftOutNote(table.LeftOut);
    if (!note.empty())
        title = "<div align=\"center\">" + title +
                "<br><span style=\"font-size:small; font-weight:normal; color:#303030\">" +
                QString::fromStdString(note).toHtmlEscaped() + "</span></div>";
    chart_->setTitle(title);
}

bool TfrmChart::Render(QPagedPaintDevice& device, int resolution) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QRectF page(QPointF(0, 0), device.pageLayout().paintRectPixels(resolution).size());
    // Lay the chart out at a page-shaped size, draw it scaled to the page, and give the window its own back.
    const QSizeF screenSize = chart_->size();
    chart_->resize(kPaperWidth, kPaperWidth * page.height() / page.width());
    chart_->layout()->activate();
    chart_->scene()->render(&painter, page, chart_->sceneBoundingRect());
    chart_->resize(screenSize);
    return painter.end();
}

bool TfrmChart::PrintOn(QPagedPaintDevice& device, int resolution) {
    // This job alone is printed in landscape; the printer's own setting is left as it is.
    device.setPageOrientation(QPageLayout::Landscape);
    BusyCursor busy;
    return Render(device, resolution);
}

void TfrmChart::Print() {
    const QString printerName = DefaultPrinterName ? DefaultPrinterName() : QString();
    if (!printerName.isEmpty()) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPrinterName(printerName);
        printer.setDocName(windowTitle());
        if (!PrintOn(printer, printer.resolution()) || printer.printerState() == QPrinter::Error)
            prompter_.Show(PromptKind::Error,
                           "The chart could not be printed on " + printerName.toStdString() + ".",
                           PromptButtons::Ok);
        return;
    }
    if (prompter_.Show(PromptKind::Confirmation,
                       "No printer is installed. Save the chart as a PDF file instead?",
                       PromptButtons::YesNo) != PromptAnswer::Yes)
        return;
    const QString path = ChoosePdfFile ? ChoosePdfFile() : QString();
    if (path.isEmpty())
        return;
    bool written = false;
    {
        QPdfWriter pdf(path);
        pdf.setTitle(windowTitle());
        pdf.setResolution(300);
        written = PrintOn(pdf, pdf.resolution());
    }
    const QString shown = QFileInfo(path).absoluteFilePath();
    if (!written || !QFileInfo::exists(path))
        prompter_.Show(PromptKind::Error, "The chart could not be written to " + shown.toStdString() + ".",
                       PromptButtons::Ok);
    else
        prompter_.Show(PromptKind::Information, "The chart was saved as " + shown.toStdString() + ".",
                       PromptButtons::Ok);
}

} // namespace kemptor
