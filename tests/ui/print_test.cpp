// Printing: the report's bands and pagination, the left-or-right question of the dual windows, the print
// commands of the view windows and the debug output window.
#include "app/ui/TfrmMain.h"
#include "formtree/ui/TfrmFormTree.h"
#include "platform/Prompter.h"
#include "print/ui/TfrmBigTextReporter.h"
#include "print/ui/TfrmDebug.h"
#include "print/ui/TfrmLeftorRight.h"
#include "platform/ui/DocumentFolder.h"
#include "project/TSourceMgt.h"
#include "view/ui/TBigText.h"
#include "view/ui/TfrmViewDualMDI.h"
#include "view/ui/TfrmViewSingleMDI.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QLabel>
#include <QPdfWriter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <fstream>

using namespace kemptor;

namespace {

using Kind = ReportBand::Kind;

// The bands of one run as text: "T" title, "H<page>" page header, "D<page>:<text>" detail.
QStringList BandDump(const std::vector<ReportBand>& bands) {
    QStringList dump;
    for (const ReportBand& band : bands) {
        switch (band.kind) {
        case Kind::Title:
            dump << "T";
            break;
        case Kind::PageHeader:
            dump << QString("H%1").arg(band.page);
            break;
        case Kind::Detail:
            dump << QString("D%1:%2").arg(band.page).arg(band.text);
            break;
        }
    }
    return dump;
}

// Runs a reporter on a PDF page in memory and returns the bands it drew.
std::vector<ReportBand> RunReport(TfrmBigTextReporter& reporter, TReportRenderer::Result* result = nullptr) {
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    TReportRenderer::SetUpPage(writer);
    std::vector<ReportBand> bands;
    const auto run = reporter.Print(writer, &bands);
    if (result)
        *result = run;
    return bands;
}

void Fill(TBigText& viewer, const QStringList& lines) {
    for (const QString& line : lines)
        viewer.AddDefaultLine(TBigText::ToWindows1252(line), false);
}

void WriteFile(const QString& path, const std::string& text) {
    std::ofstream(path.toStdString(), std::ios::binary) << text;
}

// Prints that a window asked for: "viewer-name|caption|line count".
struct PrintLog {
    QStringList calls;
    std::function<void(TBigText*, const QString&)> Recorder() {
        return [this](TBigText* viewer, const QString& caption) {
            calls << QString("%1|%2|%3").arg(viewer->objectName(), caption).arg(viewer->Count());
        };
    }
};

} // namespace

class PrintTest : public QObject {
    Q_OBJECT

private slots:
    void EmptyViewerGivesTitleAndHeaderOnly() {
        TBigText viewer;
        TfrmBigTextReporter reporter;
        reporter.BigText = &viewer;
        reporter.ReportCaption = "File: C:\\VB\\EMPTY.BAS";
        TReportRenderer::Result result;
        const auto bands = RunReport(reporter, &result);
        QCOMPARE(BandDump(bands), QStringList({"T", "H1"}));
        QVERIFY(bands[1].text.startsWith("Filename: File: C:\\VB\\EMPTY.BAS | Printed at "));
        QVERIFY(bands[1].text.endsWith(" | Page 1"));
        QCOMPARE(reporter.ReportTitle, reporter.ReportCaption);
        QCOMPARE(reporter.NeedDataCalls, 1);
        QVERIFY(result.drawn);
        QCOMPARE(result.pages, 1);
        QCOMPARE(result.details, 0);
    }

    void EachViewerLineIsOneDetailLineAndDataRestartsEveryRun() {
        TBigText viewer;
        Fill(viewer, {"Sub Main()", "    x = 1", "End Sub"});
        TfrmBigTextReporter reporter;
        reporter.BigText = &viewer;
        reporter.ReportCaption = "Main";
        QCOMPARE(BandDump(RunReport(reporter)),
                 QStringList({"T", "H1", "D1:Sub Main()", "D1:    x = 1", "D1:End Sub"}));
        QCOMPARE(reporter.NeedDataCalls, 4);
        QCOMPARE(reporter.LineIndex, 4);
        // A second run (the preview repaints after a page setup change) starts again from the first line.
        QCOMPARE(BandDump(RunReport(reporter)).size(), 5);
        QCOMPARE(reporter.NeedDataCalls, 8);
    }

    void PagesBreakBetweenRowsAndLoseNothing() {
        TBigText viewer;
        QStringList lines;
        for (int i = 0; i < 250; ++i)
            lines << QString("Line %1").arg(i);
        lines[100] = QString(255, 'W'); // wider than the page: continued on rows of its own band
        Fill(viewer, lines);
        TfrmBigTextReporter reporter;
        reporter.BigText = &viewer;
        reporter.ReportCaption = "Long";
        TReportRenderer::Result result;
        const auto bands = RunReport(reporter, &result);

        QStringList details;
        int headers = 0;
        int lastPage = 0;
        for (const ReportBand& band : bands) {
            if (band.kind == Kind::PageHeader) {
                ++headers;
                QCOMPARE(band.page, lastPage + 1); // one header per page, in order
                QVERIFY(band.text.endsWith(QString("Page %1").arg(band.page)));
                lastPage = band.page;
            } else if (band.kind == Kind::Detail) {
                QCOMPARE(band.page, lastPage);
                details << band.text;
                QVERIFY(band.text.size() > 200 ? band.rows > 1 : band.rows == 1);
            }
        }
        QCOMPARE(details, lines);
        QCOMPARE(headers, result.pages);
        QVERIFY(result.pages >= 4);
        QCOMPARE(bands.front().kind, Kind::Title);
        QCOMPARE(std::count_if(bands.begin(), bands.end(),
                               [](const ReportBand& b) { return b.kind == Kind::Title; }),
                 1);
    }

    void LeftOrRightAnswersOneTwoOrFour() {
        TfrmLeftorRight dialog;
        QCOMPARE(dialog.windowTitle(), QString("Print left or right?"));
        QCOMPARE(dialog.findChild<QLabel*>("lblQuestion")->text(),
                 QString("Do you wish to print the code on the left or on the right?"));
        QCOMPARE(dialog.btnCancel->text(), QString("&Cancel"));
        QCOMPARE(dialog.btnLeft->text(), QString("&Left"));
        QCOMPARE(dialog.btnRight->text(), QString("&Right"));
        QVERIFY(dialog.font().bold());

        auto answer = [](std::function<void(TfrmLeftorRight&)> act) {
            QTimer::singleShot(0, [act] {
                if (auto* shown = qobject_cast<TfrmLeftorRight*>(QApplication::activeModalWidget()))
                    act(*shown);
            });
            return static_cast<int>(TfrmLeftorRight::Ask(nullptr));
        };
        QCOMPARE(answer([](TfrmLeftorRight& d) { d.btnLeft->click(); }), 1);
        QCOMPARE(answer([](TfrmLeftorRight& d) { d.btnRight->click(); }), 4);
        QCOMPARE(answer([](TfrmLeftorRight& d) { d.btnCancel->click(); }), 2);
        QCOMPARE(answer([](TfrmLeftorRight& d) { QTest::keyClick(&d, Qt::Key_Escape); }), 2);
    }

    void DualWindowPrintsTheChosenSideAndItsFillerRows() {
        QTemporaryDir dir;
        WriteFile(dir.filePath("A.BAS"), "Sub A()\r\nx = 1\r\nEnd Sub\r\n");
        WriteFile(dir.filePath("B.BAS"), "Sub A()\r\n    x = 1\r\n    y = 2\r\n    z = 3\r\nEnd Sub\r\n");
        ScriptedPrompter prompter;
        TfrmViewDualMDI window(prompter);
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(window.Open(dir.filePath("A.BAS").toStdString(), dir.filePath("B.BAS").toStdString()));
        const QString caption = window.windowTitle();
        PrintLog log;
        window.PrintText = log.Recorder();
        int answer = TfrmLeftorRight::Left;
        window.AskLeftOrRight = [&answer] { return answer; };
        window.btnPrintClick();
        answer = TfrmLeftorRight::Right;
        window.btnPrintClick();
        answer = TfrmLeftorRight::Cancel;
        window.btnPrintClick();
        QCOMPARE(log.calls,
                 QStringList({"memoCodeBefore|" + caption + "|3", "memoCodeAfter|" + caption + "|5"}));

        // After the comparison the left side has filler rows opposite the inserted lines; they print too.
        window.Diff();
        QCOMPARE(window.memoCodeBefore->Count(), window.memoCodeAfter->Count());
        TfrmBigTextReporter reporter;
        reporter.BigText = window.memoCodeBefore;
        const auto bands = RunReport(reporter);
        QStringList printed;
        for (const ReportBand& band : bands)
            if (band.kind == Kind::Detail)
                printed << band.text;
        QCOMPARE(printed.size(), window.memoCodeBefore->Count());
        QVERIFY(printed.count(QString()) >= 2);
    }

    void SingleWindowPrintsItsTextUnderItsCaption() {
        QTemporaryDir dir;
        WriteFile(dir.filePath("M.BAS"), "Option Explicit\r\n");
        ScriptedPrompter prompter;
        TfrmViewSingleMDI window(prompter);
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.Open(dir.filePath("M.BAS").toStdString(), "File: M.BAS");
        PrintLog log;
        window.PrintText = log.Recorder();
        window.btnPrintClick();
        QCOMPARE(log.calls, QStringList({"memoSource|File: M.BAS|1"}));
    }

    void DebugWindowKeepsLinesOnlyWhileOn() {
        ScriptedPrompter prompter;
        TfrmDebug debug(prompter);
        QCOMPARE(debug.windowTitle(), QString("Debug Output"));
        QCOMPARE(debug.btnClear->toolTip(), QString("Clear the current log"));
        QCOMPARE(debug.btnSave->toolTip(), QString("Save the current log"));
        QCOMPARE(debug.btnPrint->toolTip(), QString("Print the current log"));
        QVERIFY(!debug.DebugActive());
        debug.AddDebugLine("lost");
        QCOMPARE(debug.memDebug->Count(), 0);
        debug.DebugOn();
        QVERIFY(debug.isVisible());
        debug.AddDebugLine("first");
        debug.AddDebugLine("second");
        QCOMPARE(debug.memDebug->Count(), 2);
        QCOMPARE(debug.memDebug->GetLine(0), std::string("first"));
        QCOMPARE(debug.DebugLineCount(), 2);
        debug.DebugOff();
        QVERIFY(!debug.isVisible());
        debug.AddDebugLine("lost again");
        QCOMPARE(debug.DebugLineCount(), 2);

        PrintLog log;
        debug.PrintText = log.Recorder();
        debug.btnPrint->click();
        QCOMPARE(log.calls, QStringList({"memDebug|Debugging Output|2"}));

        debug.btnClear->click();
        QCOMPARE(debug.memDebug->Count(), 0);
        QCOMPARE(debug.DebugLineCount(), 0);
    }

    void DebugWindowSavesOrSaysWhyNot() {
        QTemporaryDir dir;
        ScriptedPrompter prompter;
        TfrmDebug debug(prompter);
        debug.DebugOn();
        debug.AddDebugLine("one");
        debug.AddDebugLine("two");
        QString chosen = dir.filePath("DEBUG.LOG");
        debug.ChooseSaveFile = [&chosen] { return chosen; };
        debug.btnSave->click();
        std::ifstream saved(chosen.toStdString(), std::ios::binary);
        QCOMPARE(std::string(std::istreambuf_iterator<char>(saved), {}), std::string("one\r\ntwo\r\n"));
        QVERIFY(prompter.Messages().empty());

        chosen = dir.filePath("missing/dir/DEBUG.LOG");
        debug.btnSave->click();
        QCOMPARE(prompter.Messages().size(), size_t(2));
        QCOMPARE(prompter.Messages()[0].text, std::string("Error Saving File - BIGTEXT 788"));
        QCOMPARE(prompter.Messages()[1].kind, PromptKind::Warning);
        QCOMPARE(prompter.Messages()[1].text,
                 "An error occurred trying to save: " + chosen.toStdString() + ".");

        chosen.clear(); // the dialog cancelled: nothing happens
        debug.btnSave->click();
        QCOMPARE(prompter.Messages().size(), size_t(2));
    }

    // Without a printer the print dialog can only write a PDF file: it proposes the printed file's base
    // name in the project's folder, and after printing a message says where the file went. The preview
    // (820 by 900) fits the screen it opens on.
    void PrintToPdfProposesTheFileInTheProjectFolderAndSaysWhereItWent() {
        QTemporaryDir dir;
        SetDocumentFolder(dir.path());
        const auto installed = TfrmBigTextReporter::PrinterInstalled;
        TfrmBigTextReporter::PrinterInstalled = [] { return false; };
        TBigText viewer;
        Fill(viewer, {"Attribute VB_Name = \"Util\"", "Option Explicit"});
        ScriptedPrompter prompter;
        QString proposed;
        bool fits = false;
        QTimer::singleShot(0, [&] {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            QVERIFY(preview);
            fits = preview->screen()->availableGeometry().contains(preview->frameGeometry());
            QTimer::singleShot(0, [&] { // the print dialog, opened by the preview's Print
                auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                proposed = dialog->printer()->outputFileName();
                dialog->accept();
            });
            for (QAction* action : preview->findChildren<QAction*>())
                if (action->text() == "Print") {
                    action->trigger();
                    break;
                }
        });
        TfrmBigTextReporter::PrintViewer(nullptr, &viewer, "File: /elsewhere/SUB/UTIL.BAS", prompter);
        TfrmBigTextReporter::PrinterInstalled = installed;
        SetDocumentFolder({});
        QVERIFY(fits);
        const QString pdf = dir.filePath("UTIL.pdf");
        QCOMPARE(proposed, pdf);
        QVERIFY(QFileInfo(pdf).size() > 0);
        QCOMPARE(prompter.Messages().size(), std::size_t(1));
        QCOMPARE(prompter.Messages()[0].text, "The report was saved as " + pdf.toStdString() + ".");

        // The proposal for other captions: a chart's name, a caption without a kind, a bare name.
        SetDocumentFolder("/p/q");
        QCOMPARE(ProposedFile("Chart: Percent of comments vs. code", ".pdf"),
                 QString("/p/q/Percent of comments vs. code.pdf"));
        QCOMPARE(ProposedFile("Debugging Output", ".pdf"), QString("/p/q/Debugging Output.pdf"));
        QCOMPARE(ProposedFile("Project File: Stock.MAK", ".pdf"), QString("/p/q/Stock.pdf"));
        QCOMPARE(ProposedFile("File: C:\\VB\\A:B.FRM", ".pdf"), QString("/p/q/A_B.pdf"));
        SetDocumentFolder({});
        QCOMPARE(DocumentFolder(), QDir::homePath());
    }

    void MainWindowMakesTheDebugWindowOffAndTheFormTreeWritesToIt() {
        QTemporaryDir dir;
        ScriptedPrompter prompter;
        TfrmMain w(prompter, nullptr, dir.filePath("main.ini").toStdString());
        auto* debug = w.findChild<TfrmDebug*>();
        QVERIFY(debug);
        QVERIFY(!debug->DebugActive() && !debug->isVisible());
        w.OpenProject(KEMPTOR_EXAMPLES "/vbp/Inventory.vbp");
        auto node = w.ProjectTree()->findItems("frmItem.frm", Qt::MatchExactly | Qt::MatchRecursive);
        w.ProjectTree()->setCurrentItem(node.first());
        w.btnBuildFormTreeClick();
        QCOMPARE(debug->memDebug->Count(), 0);
        debug->DebugOn();
        w.btnBuildFormTreeClick();
        QVERIFY(debug->DebugLineCount() > 100);
        QCOMPARE(debug->memDebug->GetLine(0), std::string("VB.Form: frmItem"));
        debug->DebugOff();
    }
};

QTEST_MAIN(PrintTest)
#include "print_test.moc"
