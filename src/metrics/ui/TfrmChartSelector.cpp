#include "metrics/ui/TfrmChartSelector.h"

#include "metrics/ui/ChartSeries.h"
#include "platform/ui/Help.h"

#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QGraphicsSimpleTextItem>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegend>
#include <QListWidget>
#include <QPieSeries>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStackedBarSeries>

namespace kemptor {

namespace {

// The values both samples show.
TMetricPoints SamplePoints() {
    TMetricPoints points;
    for (double value : {42.0, 65.0, 28.0, 80.0, 55.0, 37.0, 70.0, 22.0, 49.0, 61.0})
        points.push_back({value, {}});
    return points;
}

} // namespace

TfrmChartSelector::TfrmChartSelector(Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter) {
    setObjectName("frmChartSelector");
    setWindowTitle("Chart Selector");
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    SetHelpContext(this, kHelpContext);
    InstallHelpKey(this);

    lbxChoices = new QListWidget;
    lbxChoices->setObjectName("lbxChoices");
    lbxChoices->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const TChartDefinition& def : ChartDefinitions())
        lbxChoices->addItem(def.ListItem);
    auto* lblChoices = new QLabel("&Available Charts:");
    lblChoices->setBuddy(lbxChoices);

    sample_ = new QChart;
    sample_->setTitle("Chart Sample");
    QFont titleFont = sample_->titleFont();
    titleFont.setPointSizeF(8);
    titleFont.setBold(true);
    sample_->setTitleFont(titleFont);
    sample_->legend()->hide();
    sample_->setBackgroundRoundness(0);
    sample_->setMargins(QMargins(2, 0, 2, 14)); // the footer sits in the bottom margin
    sample_->layout()->setContentsMargins(0, 0, 0, 0);
    sample_->setAnimationOptions(QChart::NoAnimation);
    footer_ = new QGraphicsSimpleTextItem("Kemptor/VB", sample_);
    QFont footerFont = footer_->font();
    footerFont.setPointSizeF(8);
    footerFont.setItalic(true);
    footer_->setFont(footerFont);
    footer_->setBrush(Qt::red);
    chtSample = new QChartView(sample_);
    chtSample->setObjectName("chtSample");
    chtSample->setFixedSize(kSampleSize, kSampleSize);
    chtSample->setFrameShape(QFrame::NoFrame);
    chtSample->setRenderHint(QPainter::Antialiasing);
    chtSample->setInteractive(false);
    connect(sample_, &QChart::geometryChanged, this, [this] {
        const QRectF box = footer_->boundingRect();
        footer_->setPos((sample_->size().width() - box.width()) / 2,
                        sample_->size().height() - box.height() - 1);
    });

    // The two samples: ten values each, drawn the way the charts draw theirs.
    sampleBar_ = new QStackedBarSeries;
    FillBarSeries(*sampleBar_, SamplePoints());
    samplePie_ = new QPieSeries;
    FillPieSeries(*samplePie_, SamplePoints(), false);
    samplePie_->setPieSize(0.85);

    memoDescription = new QPlainTextEdit;
    memoDescription->setObjectName("memoDescription");
    memoDescription->setReadOnly(true);
    memoDescription->setFixedHeight(72);
    auto* lblDescription = new QLabel("Description:");

    btnCreate = new QPushButton("C&reate");
    btnCreate->setObjectName("btnCreate");
    btnCreate->setDefault(true);
    btnClose = new QPushButton("&Close");
    btnClose->setObjectName("btnClose");

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblChoices, 0, 0);
    grid->addWidget(lbxChoices, 1, 0);
    grid->addWidget(chtSample, 0, 1, 2, 1, Qt::AlignTop);
    grid->addWidget(lblDescription, 2, 0, 1, 2);
    grid->addWidget(memoDescription, 3, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnCreate);
    buttons->addWidget(btnClose);
    grid->addLayout(buttons, 4, 0, 1, 2);
    lbxChoices->setMinimumWidth(lbxChoices->sizeHintForColumn(0) + 2 * lbxChoices->frameWidth() + 8);
    lbxChoices->setFixedHeight(kSampleSize);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(lbxChoices, &QListWidget::itemClicked, this, [this] { lbxChoicesClick(); });
    connect(lbxChoices, &QListWidget::currentRowChanged, this, [this] { lbxChoicesClick(); });
    connect(lbxChoices, &QListWidget::itemDoubleClicked, this, [this] { btnCreateClick(); });
    connect(btnCreate, &QPushButton::clicked, this, [this] { btnCreateClick(); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

TfrmChartSelector::~TfrmChartSelector() {
    // The sample series not shown are ours; the chart deletes the one it holds.
    for (QAbstractSeries* series :
         {static_cast<QAbstractSeries*>(sampleBar_), static_cast<QAbstractSeries*>(samplePie_)})
        if (!series->chart())
            delete series;
}

void TfrmChartSelector::Execute(TSourceMgt* project) {
    project_ = project;
    exec();
    project_ = nullptr;
}

void TfrmChartSelector::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    lbxChoices->setCurrentRow(0);
    lbxChoicesClick();
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmChartSelector::lbxChoicesClick() {
    const int item = lbxChoices->currentRow();
    for (QAbstractSeries* series : sample_->series())
        sample_->removeSeries(series);
    memoDescription->clear();
    if (item < 0)
        return;
    const TChartDefinition& def = ChartDefinitions()[static_cast<std::size_t>(item)];
    sample_->addSeries(def.Sample == TChartKind::Pie ? static_cast<QAbstractSeries*>(samplePie_)
                                                     : static_cast<QAbstractSeries*>(sampleBar_));
    for (const char* line : def.Description)
        memoDescription->appendPlainText(line);
    memoDescription->verticalScrollBar()->setValue(0);
}

void TfrmChartSelector::btnCreateClick() {
    const int item = lbxChoices->selectedItems().isEmpty() ? -1 : lbxChoices->currentRow();
    auto chart = BuildChart(item, project_, prompter_);
    if (chart && OpenChart)
        OpenChart(*chart);
}

} // namespace kemptor
