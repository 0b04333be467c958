// The commentor window on the sample module: what it shows, the change question on Next and on close,
// Save writing the copy while the module keeps every byte, and the main window's command opening it.
#include "app/ui/TfrmMain.h"
#include "commentor/ui/TfrmCommentor.h"
#include "platform/Prompter.h"
#include "platform/ui/Help.h"
#include "view/ui/TBigText.h"

#include <QAction>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>

using namespace kemptor;

namespace {

QByteArray Checksum(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Types `text` at the start of the memo, as the user would.
void TypeAtTop(QPlainTextEdit* memo, const QString& text) {
    memo->moveCursor(QTextCursor::Start);
    QTest::keyClicks(memo, text);
    QTest::keyClick(memo, Qt::Key_Return);
}

bool IsNavy(const TBigText* view, int line) {
    return view->LineAttributes(line).FontColor == clNavy;
}

} // namespace

class CommentorWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString module_;

private slots:
    void init() {
        QDir(dir_.path()).removeRecursively();
        QDir().mkpath(dir_.path());
        module_ = dir_.filePath("modGlobals.bas");
        QVERIFY(QFile::copy(KEMPTOR_EXAMPLES "/vbp/modGlobals.bas", module_));
    }

    void ShowsTheFirstRoutineWithItsHeadingNavyAndTheRestGrey() {
        ScriptedPrompter prompter;
        TfrmCommentor w(prompter);
        w.resize(800, 600);
        w.show();
        QVERIFY(w.Open(module_.toStdString(), ".\\STYLED\\"));
        QVERIFY(prompter.Messages().empty());

        QCOMPARE(w.windowTitle(), "Module: " + module_);
        QCOMPARE(HelpContextOf(&w), 72);
        QStringList hints;
        for (QAction* a : w.pnlTools->actions())
            hints << a->toolTip();
        QCOMPARE(hints, QStringList({"Prior Routine", "Next Routine", "Save changes"}));
        QVERIFY(w.lblModuleName->font().bold());
        QVERIFY(w.edtAuthor->isReadOnly() && w.edtParameters->isReadOnly() && w.edtReturns->isReadOnly());
        QVERIFY(!w.memoComments->isReadOnly());

        // InitGlobals: heading on line 41 (index 40), ended by the End Sub on index 45.
        QCOMPARE(w.lblModuleName->text(), QString("Public Sub InitGlobals()"));
        QCOMPARE(w.memoComments->toPlainText(), QString("Public Sub InitGlobals()"));
        QVERIFY(w.btnSave->isEnabled());
        QVERIFY(!IsNavy(w.memoSource, 39));
        QVERIFY(IsNavy(w.memoSource, 40) && IsNavy(w.memoSource, 45));
        QVERIFY(!IsNavy(w.memoSource, 46));
        QCOMPARE(w.memoSource->VPos(), 40);

        w.btnNextClick();
        QCOMPARE(w.lblModuleName->text(),
                 QString("Public Function ItemTypeName(ByVal nType As Long) As String"));
        QVERIFY(!IsNavy(w.memoSource, 40) && IsNavy(w.memoSource, 47));
        QVERIFY2(prompter.Messages().empty(), "an untouched memo asks nothing");
        w.close();
    }

    void EditedBlockAsksOnNextAndSaveWritesOnlyTheCopy() {
        const QByteArray before = Checksum(module_);
        ScriptedPrompter prompter;
        TfrmCommentor w(prompter);
        w.resize(800, 600);
        w.show();
        QVERIFY(w.Open(module_.toStdString(), ".\\STYLED\\"));

        TypeAtTop(w.memoComments, "'  Author :  Ann");
        prompter.Answer(PromptAnswer::Cancel);
        w.btnNextClick();
        QVERIFY(prompter.Saw("Comments have changed.  Do you wish to save?"));
        QCOMPARE(w.lblModuleName->text(), QString("Public Sub InitGlobals()"));
        QVERIFY(w.memoComments->toPlainText().startsWith("'  Author :  Ann\n"));

        w.btnSaveClick();
        const QString copy = dir_.filePath("STYLED/modGlobals.bas");
        QVERIFY(prompter.Saw("File saved as: " + copy.toStdString() + "."));
        QCOMPARE(Checksum(module_), before);
        QVERIFY(Contents(copy).contains("Option Explicit"));
        QVERIFY(Contents(copy).contains("'  Author :  Ann\r\nPublic Sub InitGlobals()\r\n"));
        QCOMPARE(w.edtAuthor->text(), QString("Ann"));
        QVERIFY(!w.memoComments->document()->isModified());
        QVERIFY2(IsNavy(w.memoSource, 41) && !IsNavy(w.memoSource, 40), "the heading moved down a line");

        // Closing with an edit asks; Cancel keeps the window, No lets it go without a save.
        TypeAtTop(w.memoComments, "' more");
        prompter.Answer(PromptAnswer::Cancel);
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        prompter.Answer(PromptAnswer::No);
        QVERIFY(w.close());
        QVERIFY(!Contents(copy).contains("' more"));
        QCOMPARE(Checksum(module_), before);
    }

    // Saved, closed and opened again on the same module, the window starts from the saved copy and says
    // so in its caption; its own Save then keeps the first window's edit beside the second's.
    void ASecondWindowStartsFromTheSavedCopyAndKeepsBothEdits() {
        ScriptedPrompter prompter;
        const QString copy = dir_.filePath("STYLED/modGlobals.bas");
        {
            TfrmCommentor first(prompter);
            first.show();
            QVERIFY(first.Open(module_.toStdString(), ".\\STYLED\\"));
            QVERIFY(!first.windowTitle().contains("copy"));
            TypeAtTop(first.memoComments, "' first window");
            first.btnSaveClick();
            QVERIFY(first.close());
        }
        TfrmCommentor second(prompter);
        second.show();
        QVERIFY(second.Open(module_.toStdString(), ".\\STYLED\\"));
        QCOMPARE(second.windowTitle(), "Module: " + module_ + " (from the output copy " + copy + ")");
        QVERIFY(second.memoComments->toPlainText().startsWith("' first window\n"));
        second.btnNextClick();
        TypeAtTop(second.memoComments, "' second window");
        second.btnSaveClick();
        const QByteArray saved = Contents(copy);
        QVERIFY(saved.contains("' first window\r\nPublic Sub InitGlobals()\r\n"));
        QVERIFY(saved.contains("' second window\r\nPublic Function ItemTypeName("));
        QVERIFY(!Contents(module_).contains("window"));
    }

    // A failed save leaves the memo marked, so leaving asks again; without routines Save is disabled.
    void FailedSaveKeepsTheMemoMarkedAndNoRoutineDisablesSave() {
        QVERIFY(QDir().mkpath(dir_.filePath("STYLED/modGlobals.bas"))); // a directory in the copy's place
        ScriptedPrompter prompter;
        TfrmCommentor w(prompter);
        QVERIFY(w.Open(module_.toStdString(), ".\\STYLED\\"));
        TypeAtTop(w.memoComments, "' kept");
        w.btnSaveClick();
        QVERIFY(prompter.Saw("Unable to save "));
        QVERIFY(w.memoComments->document()->isModified());
        prompter.Answer(PromptAnswer::No);
        QVERIFY(w.close());
        QVERIFY(prompter.Saw("Comments have changed."));

        QFile empty(dir_.filePath("Empty.bas"));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.write("Attribute VB_Name = \"Empty\"\r\nOption Explicit\r\n");
        empty.close();
        TfrmCommentor none(prompter);
        QVERIFY(none.Open(empty.fileName().toStdString(), ".\\STYLED\\"));
        QVERIFY(prompter.Saw("Module does not contain any sub or function routines."));
        QVERIFY(!none.btnSave->isEnabled());
        QCOMPARE(none.memoSource->Count(), 2);
    }

    void MainWindowCommandOpensTheCommentorForTheSelectedFile() {
        QDir().mkpath(dir_.filePath("vbp/Utils"));
        for (const char* name :
             {"Inventory.vbp", "frmMain.frm", "frmMain.frx", "frmItem.frm", "modGlobals.bas",
              "clsStockItem.cls", "ctlQtyBox.ctl", "ctlQtyBox.ctx", "Utils/modFileIO.bas"})
            QVERIFY(QFile::copy(QString(KEMPTOR_EXAMPLES "/vbp/") + name, dir_.filePath("vbp/") + name));
        ScriptedPrompter prompter;
        TfrmMain main(prompter, nullptr, dir_.filePath("main.ini").toStdString());
        main.resize(1100, 800);
        main.show();
        main.OpenProject(dir_.filePath("vbp/Inventory.vbp"));
        QVERIFY(main.ProjectLoaded());
        auto found = main.ProjectTree()->findItems("modFileIO.bas", Qt::MatchContains | Qt::MatchRecursive);
        QVERIFY(!found.isEmpty());
        main.ProjectTree()->setCurrentItem(found.first());
        main.Action("mnuPopupViewCommentor")->trigger();

        QCOMPARE(main.MdiArea()->subWindowList().size(), 1);
        auto* w = qobject_cast<TfrmCommentor*>(main.MdiArea()->subWindowList().first()->widget());
        QVERIFY(w);
        // The caption names the module as it is on disk; the copy goes where a run writes the module.
        QCOMPARE(w->windowTitle(), "Module: " + dir_.filePath("vbp/Utils/modFileIO.bas"));
        QVERIFY(w->lblModuleName->text().startsWith("Public Function LoadInventory("));
        QVERIFY(w->memoSource->VPos() > 0);
        TypeAtTop(w->memoComments, "' saved");
        w->btnSaveClick();
        QVERIFY(prompter.Saw("File saved as: " + dir_.filePath("vbp/STYLED/modFileIO.bas").toStdString() + "."));
        QVERIFY(!QFileInfo::exists(dir_.filePath("vbp/Utils/STYLED")));

        // Closing the main window closes the commentor through its change question.
        TypeAtTop(w->memoComments, "' edited");
        prompter.Answer(PromptAnswer::Cancel);
        QVERIFY(!main.close());
        QCOMPARE(main.MdiArea()->subWindowList().size(), 1);
        prompter.Answer(PromptAnswer::No);
        QVERIFY(main.close());
    }
};

QTEST_MAIN(CommentorWindowTest)
#include "commentor_test.moc"
