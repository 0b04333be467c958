// Begin Processing from the main window: the question, the disabled window and the processing window
// during the run, the output files, Cancel from the processing window, the selection marks deciding what
// is processed, viewing a processed file, and closing the program while a run is in progress.
#include "app/ui/TfrmMain.h"
#include "platform/Profile.h"
#include "platform/Prompter.h"
#include "project/TSourceMgt.h"
#include "run/ui/TfrmProcessing.h"
#include "settings/ui/TfrmOptions.h"
#include "ui/UiTestSupport.h"
#include "view/ui/TfrmViewDualMDI.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace kemptor;

namespace {

using test::CopyTree;

QStringList Processed(TfrmMain& w) {
    QStringList names;
    for (const TSourceEntry& e : w.Model()->Files())
        if (e.Processed)
            names << QString::fromStdString(e.FileName);
    return names;
}

QTreeWidgetItem* Node(TfrmMain& w, const QString& text) {
    return w.ProjectTree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive).value(0);
}

} // namespace

class MainWindowRunTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    int serial_ = 0;

    // A fresh copy of the sample project (a run writes its STYLED directory beside it) and settings file.
    QString FreshProject() {
        QString copy = dir_.filePath(QString("run%1").arg(++serial_));
        CopyTree(KEMPTOR_EXAMPLES "/vbp", copy);
        return copy + "/Inventory.vbp";
    }
    std::string FreshIni() { return dir_.filePath(QString("run%1.ini").arg(serial_)).toStdString(); }

private slots:
    void RunFromTheButtonWritesTheOutputAndCompletes() {
        QString project = FreshProject();
        ScriptedPrompter prompter;
        TfrmMain w(prompter, nullptr, FreshIni());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.OpenProject(project);
        QStringList previewed;
        bool disabledDuringRun = true;
        bool processingShown = true;
        QString label;
        w.Preview = [&](const std::string& fileName, const TextLines& before, const TextLines& after,
                        const std::vector<bool>& changed) {
            previewed << QString::fromStdString(fileName);
            disabledDuringRun = disabledDuringRun && !w.isEnabled();
            processingShown = processingShown && w.ProcessingWindow().isVisible();
            label = w.ProcessingWindow().Label();
            Q_ASSERT(after.size() == changed.size());
            Q_UNUSED(before);
            return PreviewAnswer::Close;
        };
        w.Action("btnProcess")->trigger();

        QCOMPARE(prompter.Messages().front().text, std::string("Process all selected files?"));
        QCOMPARE(prompter.Messages().back().text, std::string("Conversion Completed."));
        QCOMPARE(previewed.size(), 6);
        QVERIFY(disabledDuringRun);
        QVERIFY(processingShown);
        QVERIFY2(label.startsWith("ctlQtyBox.ctl (Pass "), qPrintable(label));
        QVERIFY(w.isEnabled());
        QVERIFY(!w.ProcessingWindow().isVisible());
        QCOMPARE(Processed(w).size(), 6);
        QString styled = QFileInfo(project).dir().filePath("STYLED");
        for (const char* name : {"FRMMAIN.FRM", "frmItem.frm", "modGlobals.bas", "modFileIO.bas",
                                 "CLSSTOCKITEM.CLS", "ctlQtyBox.ctl"})
            QVERIFY2(QFile::exists(styled + "/" + name), name);

        // A processed file now opens beside its formatted copy.
        w.ProjectTree()->setCurrentItem(Node(w, "modGlobals.bas"));
        w.btnViewSourceClick();
        QMdiSubWindow* view = w.MdiArea()->subWindowList().value(0);
        QVERIFY(view);
        QVERIFY(view->windowTitle().startsWith("File: "));
        QVERIFY(qobject_cast<TfrmViewDualMDI*>(view->widget()));
        w.close();
    }

    void AnsweringNoRunsNothing() {
        QString project = FreshProject();
        ScriptedPrompter prompter;
        prompter.Answer(PromptAnswer::No);
        TfrmMain w(prompter, nullptr, FreshIni());
        w.OpenProject(project);
        w.btnProcessClick();
        QCOMPARE(prompter.Messages().size(), size_t(1));
        QVERIFY(!QDir(QFileInfo(project).dir().filePath("STYLED")).exists());
        QVERIFY(w.isEnabled());
    }

    // The header template the user typed into the Options dialog is the one the run inserts.
    void TheRunUsesTheTemplateInTheOptionsMemo() {
        QString project = FreshProject();
        ScriptedPrompter prompter;
        TfrmMain w(prompter, nullptr, FreshIni());
        w.OpenProject(project);
        static_cast<QCheckBox*>(w.Options().ControlFor("FunctionLevelCommentsPerform"))->setChecked(true);
        w.Options()
            .findChild<QPlainTextEdit*>("memoFunctionLevelComments")
            ->setPlainText("'### %n, house header ###");
        w.btnDeselectAllClick();
        w.ProjectTree()->setCurrentItem(Node(w, "modFileIO.bas"));
        w.treeProjectDblClick();
        w.Preview = [](const std::string&, const TextLines&, const TextLines&, const std::vector<bool>&) {
            return PreviewAnswer::Close;
        };
        w.btnProcessClick();
        QFile out(QFileInfo(project).dir().filePath("STYLED/modFileIO.bas"));
        QVERIFY(out.open(QIODevice::ReadOnly));
        QVERIFY(out.readAll().contains("'### LoadInventory, house header ###"));
    }

    void OnlyTheMarkedFileIsProcessed() {
        QString project = FreshProject();
        ScriptedPrompter prompter;
        TfrmMain w(prompter, nullptr, FreshIni());
        w.OpenProject(project);
        w.btnDeselectAllClick();
        w.ProjectTree()->setCurrentItem(Node(w, "modFileIO.bas"));
        w.treeProjectDblClick();
        QStringList previewed;
        w.Preview = [&](const std::string& fileName, const TextLines&, const TextLines&,
                        const std::vector<bool>&) {
            previewed << QString::fromStdString(fileName);
            return PreviewAnswer::Close;
        };
        w.btnProcessClick();
        QCOMPARE(previewed, QStringList({"modFileIO.bas"}));
        QCOMPARE(Processed(w), QStringList({"modFileIO.bas"}));
    }

    void CancelInTheProcessingWindowStopsAfterTheFileInHand() {
        QString project = FreshProject();
        ScriptedPrompter prompter;
        prompter.Answer(PromptAnswer::Yes); // process
        prompter.Answer(PromptAnswer::No);  // keep the files written so far
        TfrmMain w(prompter, nullptr, FreshIni());
        w.OpenProject(project);
        int previews = 0;
        bool cancelDisabledInPreview = true;
        w.Preview = [&](const std::string&, const TextLines&, const TextLines&, const std::vector<bool>&) {
            ++previews;
            // The preview has its own "Cancel processing"; the processing window's Cancel waits until the
            // preview is closed, and is clicked then.
            auto* cancel = w.ProcessingWindow().findChild<QPushButton*>("btnCancel");
            cancelDisabledInPreview = cancelDisabledInPreview && !cancel->isEnabled();
            QTimer::singleShot(0, cancel, &QPushButton::click);
            return PreviewAnswer::Close;
        };
        w.btnProcessClick();
        QCOMPARE(previews, 1);
        QVERIFY(cancelDisabledInPreview);
        QCOMPARE(Processed(w), QStringList({"FRMMAIN.FRM"}));
        QVERIFY(prompter.Saw("Delete all files in "));
        QCOMPARE(prompter.Messages().back().text, std::string("Conversion Completed."));
        QVERIFY(w.isEnabled());

        // Escape in the processing window is a Cancel too.
        bool cancelled = false;
        w.ProcessingWindow().OnCancel = [&] { cancelled = true; };
        QTest::keyClick(&w.ProcessingWindow(), Qt::Key_Escape);
        QVERIFY(cancelled);
    }

    void ClosingDuringARunWaitsForItAndKeepsTheOutput() {
        QString project = FreshProject();
        std::string ini = FreshIni();
        ScriptedPrompter prompter;
        prompter.Answer(PromptAnswer::Yes); // process
        prompter.Answer(PromptAnswer::No);  // keep the files written so far
        TfrmMain w(prompter, nullptr, ini);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.OpenProject(project);
        bool refusedWhileRunning = false;
        w.Preview = [&](const std::string&, const TextLines&, const TextLines&, const std::vector<bool>&) {
            refusedWhileRunning = !w.close();
            return PreviewAnswer::Close;
        };
        w.btnProcessClick();
        QVERIFY(refusedWhileRunning);
        QTRY_VERIFY(!w.isVisible());
        QVERIFY(w.Model() == nullptr); // the project is closed with the window, its output stays
        QVERIFY(QFile::exists(QFileInfo(project).dir().filePath("STYLED/FRMMAIN.FRM")));
        QCOMPARE(GetPrivateProfileString("RecentFiles", "Item1", "", ini), project.toStdString());
    }
};

QTEST_MAIN(MainWindowRunTest)
#include "mainwin_run.moc"
