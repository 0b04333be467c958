// Widget tests of the view windows, run on the offscreen platform. With KEMPTOR_SHOTS set to a directory,
// the preview and the compared dual view are also saved there as PNG files for a look.
#include "platform/Prompter.h"
#include "platform/ui/Help.h"
#include "view/ui/TBigText.h"
#include "view/ui/TFindDialog.h"
#include "view/ui/TSizeAllChildren.h"
#include "view/ui/TfrmViewDual.h"
#include "view/ui/TfrmViewDualMDI.h"
#include "view/ui/TfrmViewSingle.h"
#include "view/ui/TfrmViewSingleMDI.h"
#include "view/ui/ViewWindows.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollBar>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include <fstream>

using namespace kemptor;

namespace {

TextLines Numbered(const char* prefix, int count) {
    TextLines lines;
    for (int k = 0; k < count; ++k)
        lines.push_back(prefix + std::to_string(k));
    return lines;
}

// Resizes the window so that each viewer shows exactly `rows` rows.
void ShowRows(TViewDualBase& window, int rows) {
    window.show();
    QCoreApplication::processEvents();
    const int delta = rows * window.memoCodeAfter->LineHeight() - window.memoCodeAfter->viewport()->height();
    window.resize(window.width(), window.height() + delta);
    QCoreApplication::processEvents();
}

QStringList Hints(const QToolBar* bar) {
    QStringList hints;
    for (const QAction* action : bar->actions()) {
        hints << action->toolTip();
        if (!action->text().isEmpty())
            hints << "caption!";
    }
    return hints;
}

QStringList Items(const QMenu* menu) {
    QStringList items;
    for (const QAction* action : menu->actions())
        items << action->text();
    return items;
}

void WriteFile(const QString& path, const std::string& bytes) {
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
}

void Shot(QWidget& window, const char* name) {
    const QByteArray dir = qgetenv("KEMPTOR_SHOTS");
    if (!dir.isEmpty())
        window.grab().save(QString::fromUtf8(dir) + "/" + name + ".png");
}

} // namespace

class ViewWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void WindowsCarryTheirButtonsMenusAndCaptions() {
        ScriptedPrompter prompter;
        TfrmViewDual dual(prompter);
        TfrmViewDualMDI dualMdi(prompter);
        TfrmViewSingleMDI singleMdi(prompter);
        TfrmViewSingle single(prompter);
        QCOMPARE(dual.windowTitle(), QString("View Dual"));
        QCOMPARE(dualMdi.windowTitle(), QString("View Dual MDI"));
        QCOMPARE(singleMdi.windowTitle(), QString("View Single MDI"));
        QCOMPARE(single.windowTitle(), QString("View Single"));
        QCOMPARE(Hints(dual.ButtonBar()), QStringList({"Close", "Print (preview)", "Cancel processing"}));
        QCOMPARE(Hints(dualMdi.ButtonBar()), QStringList({"Close", "Print (preview)", "Diff"}));
        QCOMPARE(Hints(single.ButtonBar()), QStringList({"Close", "Print (preview)", "Search"}));
        QCOMPARE(Items(dual.mnuPopupBefore), QStringList({"&Search"}));
        QCOMPARE(Items(dualMdi.mnuPopupAfter), QStringList({"&Diff", "&Search"}));
        QCOMPARE(Items(singleMdi.mnuPopup), QStringList({"&Search"}));
        QCOMPARE(HelpContextOf(&dual), 64); // the topic F1 and Help open
        QCOMPARE(HelpContextOf(&single), 64);
        const TBigText* viewer = singleMdi.memoSource;
        QCOMPARE(viewer->font().family(), QString("Courier New"));
        QCOMPARE(viewer->font().pixelSize(), 11);
        QVERIFY(viewer->FillBack());
        QVERIFY(viewer->ScrollBars() == TBigText::TScrollStyle::Both);
    }

    void SharedBarFollowsTheLongerText() {
        ScriptedPrompter prompter;
        TfrmViewDual window(prompter);
        window.Fill("a.bas", Numbered("left ", 10), Numbered("right ", 500), {});
        ShowRows(window, 20);
        QCOMPARE(window.memoCodeAfter->PageLines(), 20);
        QCOMPARE(window.ScrollBothBar->minimum(), 0);
        QCOMPARE(window.ScrollBothBar->maximum(), 480);
        QCOMPARE(window.ScrollBothBar->pageStep(), 19);
        QCOMPARE(window.ScrollBothBar->singleStep(), 1);
        window.ScrollBothBar->setValue(480);
        QCOMPARE(window.memoCodeAfter->VPos(), 480);
        QCOMPARE(window.memoCodeAfter->GetLine(window.memoCodeAfter->VPos()), std::string("right 480"));
        QCOMPARE(window.memoCodeBefore->VPos(), 0);

        // Equal lengths: the right text decides; one visible row keeps the large step at 1.
        window.Fill("b.bas", Numbered("l", 50), Numbered("r", 50), {});
        for (TBigText* viewer : {window.memoCodeBefore, window.memoCodeAfter}) {
            QFont big = viewer->font();
            big.setPixelSize(90); // rows taller than a third of the smallest window
            viewer->setFont(big);
        }
        ShowRows(window, 1);
        QCOMPARE(window.memoCodeAfter->PageLines(), 1);
        QCOMPARE(window.ScrollBothBar->maximum(), 49);
        QCOMPARE(window.ScrollBothBar->pageStep(), 1);

        // Short texts: the maximum stays at 1.
        window.Fill("c.bas", Numbered("l", 1), Numbered("r", 0), {});
        QCOMPARE(window.ScrollBothBar->maximum(), 1);
        window.hide();

        // The bar's panel keeps it filling the panel.
        TSizeAllChildren panel;
        auto* child = new QWidget(&panel);
        panel.resize(17, 300);
        panel.show();
        QCoreApplication::processEvents();
        QCOMPARE(child->geometry(), QRect(0, 0, 17, 300));
    }

    void PreviewShowsChangeColoursAndReturnsTheAnswer() {
        ScriptedPrompter prompter;
        TfrmViewDual window(prompter);
        const TextLines before{"If a Then b", "x = 1"};
        const TextLines after{"If a Then", "    b", "End If", "x = 1"};
        QTimer::singleShot(0, &window, [&window] {
            QCOMPARE(window.windowTitle(), QString("File: Form1.frm"));
            QVERIFY(window.isModal() || window.windowModality() == Qt::ApplicationModal);
            Shot(window, "preview");
            window.ButtonBar()->actions().at(0)->trigger(); // Close
        });
        QVERIFY(window.Preview("Form1.frm", before, after, {true, true, true, false}) ==
                PreviewAnswer::Close);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.memoCodeBefore->Count(), 2);
        QCOMPARE(window.memoCodeAfter->Count(), 4);
        QVERIFY(window.memoCodeBefore->LineAttributes(0).BackColor == clWindow);
        QVERIFY(window.memoCodeAfter->LineAttributes(1).BackColor == clYellow);
        QVERIFY(window.memoCodeAfter->LineAttributes(1).FontColor == clBlack);
        QVERIFY(window.memoCodeAfter->LineAttributes(3).BackColor == clWindow);

        QTimer::singleShot(0, &window, [&window] { window.ButtonBar()->actions().at(2)->trigger(); });
        QVERIFY(window.Preview("Form2.frm", before, after, {}) == PreviewAnswer::CancelProcessing);
        // Closing the window by its frame only hides it, and counts as Close.
        QTimer::singleShot(0, &window, [&window] { window.close(); });
        QVERIFY(window.Preview("Form3.frm", before, after, {}) == PreviewAnswer::Close);
    }

    void RightClickInThePreviewSearchesTheFormattedText() {
        ScriptedPrompter prompter;
        TfrmViewDual window(prompter);
        window.Fill("x.bas", {"alpha", "beta", "beta"}, {"gamma", "delta", "zeta", "delta"}, {});
        window.show();
        QCOMPARE(window.SearchTarget, 1);
        emit window.mnuPopupAfter->aboutToShow();
        QCOMPARE(window.SearchTarget, 0);
        QVERIFY(window.FindDialog()->isVisible());
        window.FindDialog()->SetFindText("DELTA");
        emit window.FindDialog()->Find();
        QCOMPARE(window.memoCodeAfter->HighlightedLine(), 1);
        // Its "&Search" item searches the formatted text too.
        window.mnuPopupBefore->actions().at(0)->trigger();
        QCOMPARE(window.SearchTarget, 1);
        window.mnuPopupAfter->actions().at(0)->trigger();
        QCOMPARE(window.SearchTarget, 0);
        window.hide();
    }

    void FindWithoutHitSaysNotFound() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Module1.bas");
        WriteFile(path,
                  "Attribute VB_Name = \"Module1\"\r\nOption Explicit\r\n\r\nSub Main()\r\nEnd Sub\r\n");
        ScriptedPrompter prompter;
        TfrmViewSingleMDI window(prompter);
        QVERIFY(window.Open(path.toStdString(), "File: " + path));
        QCOMPARE(window.windowTitle(), "File: " + path);
        QCOMPARE(window.memoSource->Count(), 5);
        window.FindDialog()->SetFindText("sub main");
        emit window.FindDialog()->Find();
        QVERIFY(prompter.Messages().empty());
        QCOMPARE(window.memoSource->HighlightedLine(), 3);
        window.FindDialog()->SetMatchCase(true);
        emit window.FindDialog()->Find();
        QVERIFY(prompter.Saw("Not Found"));
        QVERIFY(prompter.Messages().at(0).kind == PromptKind::Information);

        QVERIFY(!window.Open(dir.filePath("gone.bas").toStdString(), "File: gone"));
        QVERIFY(prompter.Saw("Cannot read file"));
    }

    // Views open in the client area large enough to read, each a step down from the last, never
    // outside the area.
    void MdiViewsOpenReadableAndCascadedInsideTheArea() {
        ScriptedPrompter prompter;
        QTemporaryDir dir;
        const QString file = dir.filePath("a.bas");
        WriteFile(file, "x = 1\r\n");
        QMdiArea area;
        area.resize(1000, 700);
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        for (int k = 0; k < 10; ++k)
            OpenSingleView(&area, prompter, "File: " + file, file);
        OpenDualView(&area, prompter, "File: " + file, file, file);
        const QList<QMdiSubWindow*> views = area.subWindowList();
        QCOMPARE(views.size(), 11);
        const QRect room(QPoint(0, 0), area.viewport()->size());
        for (const QMdiSubWindow* view : views) {
            QVERIFY(room.contains(view->geometry()));
            QVERIFY(view->height() >= room.height() * 3 / 4);
        }
        QVERIFY(views[1]->pos().y() > views[0]->pos().y());
        QVERIFY(views.back()->width() > views.front()->width()); // two texts side by side get more room
    }

    void DiffAlignsBothSides() {
        QTemporaryDir dir;
        const QString before = dir.filePath("Form1.frm");
        const QString after = dir.filePath("STYLED/Form1.frm");
        QDir().mkpath(dir.filePath("STYLED"));
        WriteFile(before, "Sub Main()\r\nIf a Then b\r\nx = 1\r\nEnd Sub\r\nExtra\r\n");
        WriteFile(after,
                  "Sub Main()\r\n    If a Then\r\n        b\r\n    End If\r\n    x = 1\r\nEnd Sub\r\n");
        ScriptedPrompter prompter;
        TfrmViewDualMDI window(prompter);
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(window.Open(before.toStdString(), after.toStdString()));
        QCOMPARE(window.windowTitle(), "File: " + before);
        QCOMPARE(window.BeforeFile, before.toStdString());
        QCOMPARE(window.memoCodeBefore->Count(), 5);
        QCOMPARE(window.memoCodeAfter->Count(), 6);
        ShowRows(window, 20);
        window.ButtonBar()->actions().at(2)->trigger(); // Diff
        QCOMPARE(window.memoCodeBefore->Count(), window.memoCodeAfter->Count());
        QCOMPARE(window.memoCodeBefore->Count(), 7);
        // Row 0 matched, then changed pairs, inserted rows facing silver fillers, "End Sub" matched.
        QVERIFY(window.memoCodeBefore->LineAttributes(0).BackColor == clWindow);
        QVERIFY(window.memoCodeBefore->LineAttributes(1).BackColor == clYellow);
        QCOMPARE(window.memoCodeAfter->GetLine(5), std::string("End Sub"));
        QCOMPARE(window.memoCodeBefore->GetLine(5), std::string("End Sub"));
        QCOMPARE(window.memoCodeBefore->GetLine(6), std::string("Extra"));
        QVERIFY(window.memoCodeBefore->LineAttributes(6).FontColor == clBlue);
        QVERIFY(window.memoCodeAfter->LineAttributes(6).BackColor == clSilver);
        QVERIFY(prompter.Messages().empty());
        Shot(window, "diff");

        // The output copy vanished: the error is shown and the comparison stays as it was.
        QFile::remove(after);
        window.Diff();
        QVERIFY(prompter.Saw("Cannot read file " + after.toStdString()));
        QCOMPARE(window.memoCodeBefore->Count(), 7);
        window.mnuPopupAfter->actions().at(1)->trigger();
        QCOMPARE(window.SearchTarget, 0);
        window.mnuPopupBefore->actions().at(1)->trigger();
        QCOMPARE(window.SearchTarget, 1);
        window.hide();
    }
};

QTEST_MAIN(ViewWindowsTest)
#include "viewwindows_test.moc"
