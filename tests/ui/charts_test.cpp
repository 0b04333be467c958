// Widget tests of the chart selector and the chart windows, run on the offscreen platform: every chart
// opened from the main window on the sample project with the values the measures give, independent
// windows, the selector's messages and sample, files left out, and printing without a printer. With
// KEMPTOR_SHOTS set to a directory, the printed page is also saved there as chart.pdf for a look.
#include "app/ui/TfrmMain.h"
#include "metrics/ProjectMetrics.h"
#include "metrics/ui/TfrmChart.h"
#include "metrics/ui/ChartSeries.h"
#include "metrics/ui/TfrmChartSelector.h"
#include "platform/ui/DocumentFolder.h"
#include "platform/ui/Help.h"
#include "platform/Prompter.h"
#include "project/TSourceMgt.h"
#include "ui/UiTestSupport.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFileDialog>
#include <QLegend>
#include <QLegendMarker>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPieSeries>
#include <QPieSlice>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedBarSeries>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QValueAxis>
#include <QtTest>

using namespace kemptor;

namespace {

using test::CopyTree;

// The points a chart window draws, read back from its attached series.
TMetricPoints DrawnPoints(const TfrmChart& chart) {
    TMetricPoints points;
    if (chart.PieSeries()->chart()) {
        for (QPieSlice* slice : chart.PieSeries()->slices())
            points.push_back({slice->value(), slice->label().section(' ', 0, 0).toStdString()});
        return points;
    }
    const auto sets = chart.BarSeries()->barSets();
    for (int i = 0; i < sets.size(); ++i)
        points.push_back({sets[i]->at(i), sets[i]->label().toStdString()});
    return points;
}

QList<TfrmChart*> ChartWindows(TfrmMain& main) {
    QList<TfrmChart*> charts;
    for (QMdiSubWindow* sub : main.MdiArea()->subWindowList())
        if (auto* chart = qobject_cast<TfrmChart*>(sub->widget()))
            charts << chart;
    return charts;
}

// Runs `inside` while the selector is up (it is modal), then closes it.
void WhileShown(TfrmChartSelector& selector, std::function<void()> inside) {
    QTimer::singleShot(0, &selector, [&selector, inside] {
        inside();
        selector.btnClose->click();
    });
}

} // namespace

class ChartsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString vbp_;

private slots:
    void initTestCase() {
        CopyTree(KEMPTOR_EXAMPLES "/vbp", dir_.filePath("vbp"));
        vbp_ = dir_.filePath("vbp/Inventory.vbp");
    }

    void EveryChartOpensFromTheMainWindowWithTheMeasuresValues() {
        ScriptedPrompter prompter;
        TfrmMain main(prompter, nullptr, dir_.filePath("main.ini").toStdString());
        main.OpenProject(vbp_);
        QVERIFY(main.ProjectLoaded());
        auto* selector = main.findChild<TfrmChartSelector*>();
        QVERIFY(selector);
        bool shown = false;
        WhileShown(*selector, [&] {
            shown = selector->isVisible();
            QCOMPARE(selector->lbxChoices->currentRow(), 0); // Create at once makes the size chart
            for (int item = 0; item < 7; ++item) {
                selector->lbxChoices->setCurrentRow(item);
                selector->btnCreate->click();
            }
        });
        main.Action("btnCharts")->trigger();
        QVERIFY(shown);
        QVERIFY(prompter.Messages().empty());

        const auto charts = ChartWindows(main);
        QCOMPARE(charts.size(), 7);
        const auto& definitions = ChartDefinitions();
        for (int item = 0; item < 7; ++item) {
            const TfrmChart& chart = *charts[item];
            const TChartDefinition& def = definitions[static_cast<std::size_t>(item)];
            QCOMPARE(chart.windowTitle(), QString(def.Caption));
            QCOMPARE(chart.Chart()->title(), QString(def.Title));
            QCOMPARE(chart.PieSeries()->chart() != nullptr, def.Kind == TChartKind::Pie);
            QCOMPARE(chart.BarSeries()->chart() != nullptr, def.Kind == TChartKind::Bar);
            const TMetricPoints expected = MeasurePoints(*main.Model(), def.Measure);
            QVERIFY2(DrawnPoints(chart) == expected, def.ListItem);
        }
        // The size chart: one bar per file in its own colour, the names upright below, no value marks.
        const TfrmChart& sizes = *charts[0];
        QSet<QRgb> colours;
        for (QBarSet* set : sizes.BarSeries()->barSets())
            colours << set->brush().gradient()->stops().value(1).second.rgb(); // the face of the bar
        QCOMPARE(colours.size(), 6);
        QVERIFY(!sizes.BarSeries()->isLabelsVisible());
        auto* axis = qobject_cast<QBarCategoryAxis*>(sizes.Chart()->axes(Qt::Horizontal).value(0));
        QVERIFY(axis);
        QCOMPARE(axis->categories().first(), QString("FRMMAIN.FRM"));
        QCOMPARE(qAbs(axis->labelsAngle()), 90);
        QVERIFY(sizes.Chart()->titleFont().bold());
        QCOMPARE(sizes.Chart()->titleBrush().color(), QColor(Qt::blue));
        // The pie: each slice with its share, the legend with the bare extensions.
        const TfrmChart& types = *charts[1];
        QCOMPARE(types.PieSeries()->slices().first()->label(), QString(".bas 33.3%"));
        QVERIFY(types.PieSeries()->slices().first()->isLabelVisible());
        QCOMPARE(types.Chart()->legend()->markers().first()->label(), QString(".bas"));
    }

    void ThreeCreatesGiveThreeIndependentWindows() {
        ScriptedPrompter prompter;
        TfrmMain main(prompter, nullptr, dir_.filePath("three.ini").toStdString());
        main.OpenProject(vbp_);
        auto* selector = main.findChild<TfrmChartSelector*>();
        WhileShown(*selector, [&] {
            selector->btnCreate->click();
            selector->btnCreate->click();
            selector->lbxChoices->setCurrentRow(1);
            emit selector->lbxChoices->itemDoubleClicked(selector->lbxChoices->currentItem());
        });
        main.btnChartsClick();
        auto charts = ChartWindows(main);
        QCOMPARE(charts.size(), 3);
        QCOMPARE(charts[2]->windowTitle(), QString("Chart: Files in project by type of file"));
        charts[0]->ToolPanel()->actions().first()->trigger(); // Close
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        charts = ChartWindows(main);
        QCOMPARE(charts.size(), 2);
        QCOMPARE(DrawnPoints(*charts[0]).size(), std::size_t(6));
    }

    void SelectorSaysWhyNoChartIsMade() {
        ScriptedPrompter prompter;
        TfrmChartSelector selector(prompter);
        TSourceMgt empty;
        int opened = 0;
        selector.OpenChart = [&](const TChartData&) { ++opened; };
        WhileShown(selector, [&] {
            selector.lbxChoices->clearSelection();
            selector.btnCreate->click();
        });
        selector.Execute(&empty);
        WhileShown(selector, [&] { selector.btnCreate->click(); });
        selector.Execute(nullptr);
        WhileShown(selector, [&] { selector.btnCreate->click(); });
        selector.Execute(&empty);
        QCOMPARE(opened, 0);
        QCOMPARE(prompter.Messages().size(), std::size_t(3));
        QCOMPARE(prompter.Messages()[0].text, std::string("Please select a chart to graph."));
        QCOMPARE(prompter.Messages()[1].text,
                 std::string("Source management object is empty; unable to create a graph."));
        QCOMPARE(prompter.Messages()[2].text,
                 std::string("Source management object contains no code, unable to create the graph."));
    }

    void SelectorShowsTheSampleAndDescriptionOfTheItem() {
        ScriptedPrompter prompter;
        TfrmChartSelector selector(prompter);
        QCOMPARE(selector.windowTitle(), QString("Chart Selector"));
        QCOMPARE(selector.chtSample->size(), QSize(165, 165));
        QVERIFY(selector.btnCreate->isDefault());
        QCOMPARE(selector.btnCreate->text(), QString("C&reate"));
        QCOMPARE(selector.lbxChoices->count(), 7);
        selector.show();
        QChart* sample = selector.chtSample->chart();
        QCOMPARE(sample->title(), QString("Chart Sample"));
        QCOMPARE(sample->series().size(), 1);
        QVERIFY(qobject_cast<QStackedBarSeries*>(sample->series().first()));
        selector.lbxChoices->setCurrentRow(1);
        QCOMPARE(sample->series().size(), 1);
        QVERIFY(qobject_cast<QPieSeries*>(sample->series().first()));
        QCOMPARE(selector.memoDescription->toPlainText(),
                 QString("Create a pie chart that breaks\ndown files by their extension."));
        selector.lbxChoices->setCurrentRow(3);
        QVERIFY(qobject_cast<QStackedBarSeries*>(sample->series().first()));
        QCOMPARE(selector.memoDescription->document()->lineCount(), 2);
        selector.hide();
    }

    void UnreadableFilesAreLeftOutAndNamedUnderTheTitle() {
        CopyTree(KEMPTOR_EXAMPLES "/vbp", dir_.filePath("gone"));
        ScriptedPrompter prompter;
        TfrmMain main(prompter, nullptr, dir_.filePath("gone.ini").toStdString());
        main.OpenProject(dir_.filePath("gone/Inventory.vbp"));
        QVERIFY(QFile::remove(dir_.filePath("gone/modGlobals.bas")));
        auto* selector = main.findChild<TfrmChartSelector*>();
        WhileShown(*selector, [&] {
            selector->lbxChoices->setCurrentRow(2);
            selector->btnCreate->click();
        });
        main.btnChartsClick();
        const auto charts = ChartWindows(main);
        QCOMPARE(charts.size(), 1);
        QCOMPARE(DrawnPoints(*charts[0]).size(), std::size_t(5));
        QVERIFY(
            charts[0]->Chart()->title().contains("1 file could not be read and is left out: modGlobals.bas"));
    }

    // Counts, sizes and whole percentages get whole ticks in round steps; a chart of zeros (no globals
    // anywhere) runs from 0 to 1 instead of labelling 0.2 steps "0, 0, 0, 1, 1, 1".
    void WholeMeasuresGetWholeTicksAndZerosASensibleRange() {
        auto scale = [](double least, double most) {
            const TIntegerScale s = IntegerScale(least, most);
            return QList<double>{s.low, s.high, s.step};
        };
        QCOMPARE(scale(0, 0), QList<double>({0, 1, 1}));
        QCOMPARE(scale(-1, 3), QList<double>({-1, 3, 1})); // a missing file's -1
        QCOMPARE(scale(0, 8), QList<double>({0, 8, 1}));
        QCOMPARE(scale(0, 23), QList<double>({0, 25, 5}));
        QCOMPARE(scale(0, 100), QList<double>({0, 100, 20}));
        QCOMPARE(scale(0, 123456), QList<double>({0, 140000, 20000}));

        ScriptedPrompter prompter;
        TfrmChart chart(prompter);
        chart.Fill({TChartKind::Bar, "Chart: Globals per module", "Globals per module",
                    {{0, "A.BAS"}, {0, "B.FRM"}, {0, "C.CLS"}}, {}});
        auto* axis = qobject_cast<QValueAxis*>(chart.Chart()->axes(Qt::Vertical).value(0));
        QVERIFY(axis);
        QCOMPARE(axis->min(), 0.0);
        QCOMPARE(axis->max(), 1.0);
        QCOMPARE(axis->tickType(), QValueAxis::TicksDynamic);
        QCOMPARE(axis->tickInterval(), 1.0);
        QCOMPARE(axis->minorTickCount(), 0);
    }

    // F1 in a chart window opens the chart topic; Ctrl+F4 closes the active chart window, also with the
    // focus left on the project tree.
    void F1OpensTheChartTopicAndCtrlF4ClosesTheChart() {
        ScriptedPrompter prompter;
        TfrmMain main(prompter, nullptr, dir_.filePath("keys.ini").toStdString());
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        main.OpenProject(vbp_);
        QCOMPARE(DocumentFolder(), QFileInfo(vbp_).absolutePath()); // where PDF and template dialogs start
        auto* selector = main.findChild<TfrmChartSelector*>();
        WhileShown(*selector, [&] {
            selector->btnCreate->click();
            selector->btnCreate->click();
        });
        main.btnChartsClick();
        QTRY_VERIFY(!selector->isVisible());
        main.activateWindow(); // as the window manager does once the selector is gone
        QTRY_COMPARE(QApplication::activeWindow(), &main);
        QCOMPARE(ChartWindows(main).size(), 2);
        TfrmChart* chart = ChartWindows(main).last();
        main.MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(chart->parentWidget()));
        main.ProjectTree()->setFocus();
        QTest::mouseClick(chart->ChartView()->viewport(), Qt::LeftButton); // the chart takes the focus
        QWidget* focus = QApplication::focusWidget();
        QCOMPARE(focus, chart->ChartView());
        QTest::keyClick(focus, Qt::Key_F1);
        QCOMPARE(ShownHelpContext(), 27);
        QTest::keyClick(focus, Qt::Key_F4, Qt::ControlModifier);
        QTRY_COMPARE(ChartWindows(main).size(), 1);
        main.ProjectTree()->setFocus();
        QTest::keyClick(main.ProjectTree(), Qt::Key_F4, Qt::ControlModifier);
        QTRY_COMPARE(ChartWindows(main).size(), 0);
        main.CloseProject();
        QCOMPARE(DocumentFolder(), QDir::homePath());
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == "frmHelp")
                top->close();
    }

    // Past the colours of their own, bars share colour sets: each bar still shows its own value alone.
    void ManyBarsKeepTheirValuesAndDropTheLegend() {
        ScriptedPrompter prompter;
        TfrmChart chart(prompter);
        TMetricPoints points;
        for (int i = 0; i < 150; ++i)
            points.push_back({double(i % 37 + 1), "Module" + std::to_string(i) + ".bas"});
        chart.Fill({TChartKind::Bar, "c", "t", points, {}});
        const auto sets = chart.BarSeries()->barSets();
        for (int i = 0; i < 150; ++i) {
            double sum = 0;
            for (QBarSet* set : sets)
                sum += set->at(i);
            QCOMPARE(sum, points[std::size_t(i)].Value);
        }
        QVERIFY(!chart.Chart()->legend()->isVisible());
    }

    void PrintWithoutAPrinterOffersAPdf() {
        ScriptedPrompter prompter;
        TfrmChart chart(prompter);
        chart.Fill({TChartKind::Bar,
                    "Chart: Routines per module",
                    "Routines per module",
                    {{3, "A.BAS"}, {5, "B.FRM"}},
                    {}});
        QCOMPARE(chart.ToolPanel()->actions().at(1)->toolTip(), QString("Print (Immediate)"));
        chart.DefaultPrinterName = [] { return QString(); };
        const QString pdf = dir_.filePath("chart.pdf");
        int asked = 0;
        chart.ChoosePdfFile = [&] {
            ++asked;
            return pdf;
        };
        prompter.Answer(PromptAnswer::No);
        chart.Print();
        QCOMPARE(asked, 0);
        QVERIFY(!QFile::exists(pdf));
        prompter.Answer(PromptAnswer::Yes);
        chart.Print();
        QCOMPARE(asked, 1);
        QVERIFY(QFileInfo(pdf).size() > 1000);
        if (qEnvironmentVariableIsSet("KEMPTOR_SHOTS")) // for a look at the page
            QFile::copy(pdf, QDir(qEnvironmentVariable("KEMPTOR_SHOTS")).filePath("chart.pdf"));
        QCOMPARE(prompter.Messages().size(), std::size_t(3));
        QCOMPARE(prompter.Messages()[0].text,
                 std::string("No printer is installed. Save the chart as a PDF file instead?"));
        QCOMPARE(prompter.Messages()[2].text, "The chart was saved as " + pdf.toStdString() + ".");

        chart.ChoosePdfFile = [&] { return dir_.filePath("no-such-dir/chart.pdf"); };
        prompter.Answer(PromptAnswer::Yes);
        chart.Print();
        QCOMPARE(prompter.Messages().back().kind, PromptKind::Error);
    }

    // The PDF dialog starts in the open project's folder with the chart's name, whatever folder a dialog
    // used before.
    void ThePdfDialogProposesTheChartsNameInTheProjectsFolder() {
        ScriptedPrompter prompter;
        TfrmChart chart(prompter);
        chart.Fill({TChartKind::Bar, "Chart: Lines of code per file", "Lines of code per file", {{3, "A.BAS"}}, {}});
        SetDocumentFolder(dir_.filePath("vbp"));
        QString directory;
        QString file;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            directory = dialog->directory().absolutePath();
            file = dialog->selectedFiles().value(0);
            dialog->reject();
        });
        QCOMPARE(chart.ChoosePdfFile(), QString());
        SetDocumentFolder({});
        QCOMPARE(directory, dir_.filePath("vbp"));
        QCOMPARE(file, dir_.filePath("vbp/Lines of code per file.pdf"));
    }
};

QTEST_MAIN(ChartsTest)
#include "charts_test.moc"
