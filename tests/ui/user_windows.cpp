// The windows as a user meets them around a run and beside the main window: the questions of a run can be
// answered while the main window is disabled, the processing window stays clear of the preview, help opens
// in front of a modal dialog, F1 opens each window's own topic, cascaded views stay readable, and the
// smaller habits of the windows (Escape, Ctrl+F4, captions, the about box, the Options dialog's place).
#include "app/ui/TfrmMain.h"
#include "platform/ui/Help.h"
#include "platform/ui/QtPrompter.h"
#include "print/ui/TfrmDebug.h"
#include "project/TSourceMgt.h"
#include "run/ui/TfrmCopyFiles.h"
#include "run/ui/TfrmProcessing.h"
#include "settings/ui/TfrmOptions.h"
#include "ui/UiTestSupport.h"
#include "view/ui/TBigText.h"
#include "view/ui/TfrmViewDual.h"
#include "view/ui/TfrmViewSingleMDI.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <functional>

using namespace kemptor;

namespace {

using test::CopyTree;

QTreeWidgetItem* Node(TfrmMain& w, const QString& text) {
    return w.ProjectTree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive).value(0);
}

QWidget* HelpWindow() {
    for (QWidget* top : QApplication::allWidgets())
        if (top->objectName() == "frmHelp")
            return top;
    return nullptr;
}

// Answers what comes up modally while a command runs, as a user with the mouse would: each message box
// by the button `answer` gives for its text, each preview by Close or "Cancel processing".
class Answerer : public QObject {
public:
    struct Box {
        QString text;
        bool enabled;
    };
    std::function<QMessageBox::StandardButton(const QString& text)> answer = [](const QString&) {
        return QMessageBox::Ok;
    };
    std::function<bool(TfrmViewDual& preview)> cancelPreview = [](TfrmViewDual&) { return false; };
    std::vector<Box> boxes;

    Answerer() {
        timer_.callOnTimeout(this, [this] { Step(); });
        timer_.start(5);
    }

private:
    void Step() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal); box && box->isVisible()) {
            boxes.push_back({box->text(), box->isEnabled()});
            QAbstractButton* button = box->button(answer(box->text()));
            if (!button)
                button = box->buttons().value(0);
            button->click();
        } else if (auto* preview = qobject_cast<TfrmViewDual*>(modal); preview && preview->isVisible()) {
            const bool cancel = cancelPreview(*preview);
            preview->ButtonBar()->actions().at(cancel ? 2 : 0)->trigger();
        }
    }
    QTimer timer_;
};

} // namespace

class UserWindowsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    int serial_ = 0;

    QString FreshCopy(const char* sample, const char* project) {
        QString copy = dir_.filePath(QString("user%1").arg(++serial_));
        CopyTree(QString(KEMPTOR_EXAMPLES "/") + sample, copy);
        return copy + "/" + project;
    }
    std::string FreshIni() { return dir_.filePath(QString("user%1.ini").arg(++serial_)).toStdString(); }

private slots:
    // The user's road: a run completes, the next is cancelled in its first preview and the delete
    // question is answered Yes with the mouse. The question is enabled (the main window is disabled at
    // that moment), names the directory as the host writes it, and its Yes leaves no file of the run
    // and no processed entry behind.
    void DeleteQuestionAfterACancelIsAnsweredAndEmptiesTheOutput() {
        const QString project = FreshCopy("vbp", "Inventory.vbp");
        const QString styled = QFileInfo(project).absolutePath() + "/STYLED/";
        QtPrompter prompter;
        TfrmMain w(prompter, nullptr, FreshIni());
        prompter = QtPrompter(&w);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.OpenProject(project);

        Answerer user;
        user.answer = [](const QString& text) {
            return text.endsWith('?') ? QMessageBox::Yes : QMessageBox::Ok;
        };
        w.btnProcessClick();
        QCOMPARE(QDir(styled).entryList(QDir::Files).size(), 9);

        bool previewSeen = false;
        QRect processingFrame, previewFrame;
        bool processingUsable = false, cancelDisabled = false;
        user.cancelPreview = [&](TfrmViewDual& preview) {
            previewSeen = true;
            processingFrame = w.ProcessingWindow().frameGeometry();
            previewFrame = preview.frameGeometry();
            processingUsable = w.ProcessingWindow().isVisible() && w.ProcessingWindow().isEnabled();
            cancelDisabled = !w.ProcessingWindow().findChild<QPushButton*>("btnCancel")->isEnabled();
            return true;
        };
        user.boxes.clear();
        w.btnProcessClick();

        QVERIFY(previewSeen);
        QVERIFY(processingUsable);
        QVERIFY(cancelDisabled);
        QVERIFY2(!processingFrame.intersects(previewFrame), "the processing window covers the preview");
        QCOMPARE(user.boxes.size(), size_t(3));
        QCOMPARE(user.boxes[1].text, "Delete all files in " + styled + "?");
        QVERIFY(user.boxes[1].enabled);
        QCOMPARE(user.boxes[2].text, QString("Conversion Completed."));
        QCOMPARE(QDir(styled).entryList(QDir::Files), QStringList());
        for (const TSourceEntry& entry : w.Model()->Files())
            QVERIFY2(!entry.Processed, entry.FileName.c_str());
        QVERIFY(w.isEnabled());

        // View Current Source shows the single view again.
        w.ProjectTree()->setCurrentItem(Node(w, "modGlobals.bas"));
        w.btnViewSourceClick();
        QMdiSubWindow* view = w.MdiArea()->subWindowList().value(0);
        QVERIFY(view && qobject_cast<TfrmViewSingleMDI*>(view->widget()));
        w.close();
    }

    void RunWindowsAreToolWindowsOfTheMainWindow() {
        ScriptedPrompter prompter;
        TfrmMain w(prompter, nullptr, FreshIni());
        for (QWidget* run :
             {static_cast<QWidget*>(&w.ProcessingWindow()), static_cast<QWidget*>(&w.CopyWindow())}) {
            QCOMPARE(run->parentWidget(), &w);
            QCOMPARE(run->windowType(), Qt::Tool);
            QVERIFY(!(run->windowFlags() & Qt::WindowStaysOnTopHint));
        }
    }

    // Help and F1 from the Options dialog while it is modal: the help window belongs to the dialog for
    // that time (so the dialog does not block it), shows the page's or the tab's topic, and stays open,
    // a window of its own, when the dialog closes.
    void HelpFromTheModalOptionsDialogIsInFrontAndStaysOpen() {
        ScriptedPrompter prompter;
        TfrmMain w(prompter, nullptr, FreshIni());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        TfrmOptions& options = w.Options();
        bool checked = false;
        auto during = [&] {
            QVERIFY(QTest::qWaitForWindowActive(&options));
            options.findChild<QPushButton*>("btnHelp")->click();
            QWidget* help = HelpWindow();
            QVERIFY(help && help->isVisible() && help->isEnabled());
            QCOMPARE(help->parentWidget(), &options);
            QCOMPARE(ShownHelpContext(), 11);

            options.SelectPage(2);
            auto* tabs = options.findChild<QTabWidget*>("pageComments");
            tabs->setCurrentIndex(1);
            options.activateWindow(); // the user clicks back into the dialog
            QTRY_COMPARE(QApplication::activeWindow(), &options);
            tabs->tabBar()->setFocus();
            QTest::keyClick(tabs->tabBar(), Qt::Key_F1);
            QCOMPARE(ShownHelpContext(), 14);
            checked = true;
        };
        QTimer::singleShot(0, &options, [&] {
            during();
            options.reject(); // also after a failed check, so that the test goes on
        });
        options.Execute();
        QVERIFY(checked);
        QWidget* help = HelpWindow();
        QVERIFY(help->isVisible());
        QCOMPARE(help->parentWidget(), nullptr);
        help->close();
    }

    void F1OpensTheTopicOfEachWindowAndEscapeClosesThePreview() {
        const QString project = FreshCopy("vbp", "Inventory.vbp");
        ScriptedPrompter prompter;
        TfrmMain w(prompter, nullptr, FreshIni());
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.OpenProject(project);
        w.ProjectTree()->setCurrentItem(Node(w, "modGlobals.bas"));
        w.btnViewSourceClick();
        auto* view = qobject_cast<TfrmViewSingleMDI*>(w.MdiArea()->subWindowList().value(0)->widget());
        view->memoSource->setFocus();
        QTest::keyClick(view->memoSource, Qt::Key_F1);
        QCOMPARE(ShownHelpContext(), 64);
        w.ProjectTree()->setFocus();
        w.activateWindow();
        QTest::keyClick(w.ProjectTree(), Qt::Key_F1);
        QCOMPARE(ShownHelpContext(), 2);

        TfrmViewDual preview(prompter);
        bool helped = false;
        QTimer::singleShot(0, &preview, [&] {
            if (QTest::qWaitForWindowActive(&preview)) {
                preview.memoCodeAfter->setFocus();
                QTest::keyClick(preview.memoCodeAfter, Qt::Key_F1);
                helped = ShownHelpContext() == 64;
                preview.activateWindow();
                QTRY_COMPARE(QApplication::activeWindow(), &preview);
                QTest::keyClick(preview.memoCodeAfter, Qt::Key_Escape);
            }
            QTimer::singleShot(200, &preview, [&] { preview.hide(); }); // ends a failed check
        });
        ShowHelp(0);
        QVERIFY(preview.Preview("a.bas", {"x"}, {"x"}, {false}) == PreviewAnswer::Close);
        QVERIFY(helped);
        QVERIFY(!preview.isVisible());
        HelpWindow()->close();
        w.close();
    }

    // Cascade keeps each window at least three quarters of the client area, each a step further down and
    // right, all inside the area; Ctrl+F4 closes the active one; another project closes the views.
    void CascadeCtrlF4AndAnotherProjectAndCaptions() {
        const QString vbp = FreshCopy("vbp", "Inventory.vbp");
        const QString mak = FreshCopy("mak", "Stock.mak");
        ScriptedPrompter prompter;
        TfrmMain w(prompter, nullptr, FreshIni());
        w.resize(1000, 760);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.OpenProject(vbp);
        QTreeWidgetItem* root = w.ProjectTree()->topLevelItem(0);
        QCOMPARE(root->childCount(), 6);
        for (int i = 0; i < root->childCount(); ++i) {
            w.ProjectTree()->setCurrentItem(root->child(i));
            w.btnViewSourceClick();
        }
        w.mnuWindowCascadeClick();
        const QRect area = w.MdiArea()->viewport()->rect();
        const QList<QMdiSubWindow*> views = w.MdiArea()->subWindowList(QMdiArea::CreationOrder);
        QCOMPARE(views.size(), 6);
        for (int i = 0; i < views.size(); ++i) {
            const QRect g = views[i]->geometry();
            QVERIFY2(g.width() >= area.width() * 3 / 4 && g.height() >= area.height() * 3 / 4,
                     qPrintable(QString("%1x%2 in %3x%4")
                                    .arg(g.width())
                                    .arg(g.height())
                                    .arg(area.width())
                                    .arg(area.height())));
            QVERIFY(area.contains(g));
            if (i > 0 && g.topLeft() != QPoint(0, 0))
                QVERIFY(g.top() > views[i - 1]->geometry().top() &&
                        g.left() > views[i - 1]->geometry().left());
        }

        w.MdiArea()->setActiveSubWindow(views.last());
        views.last()->widget()->setFocus();
        QTest::keyClick(views.last()->widget(), Qt::Key_F4, Qt::ControlModifier);
        QTRY_COMPARE(w.MdiArea()->subWindowList().size(), 5);
        // With the focus left on the tree (a view opened from it) the key closes the active view too.
        w.ProjectTree()->setFocus();
        QTest::keyClick(w.ProjectTree(), Qt::Key_F4, Qt::ControlModifier);
        QTRY_COMPARE(w.MdiArea()->subWindowList().size(), 4);

        w.OpenProject(mak);
        QTRY_COMPARE(w.MdiArea()->subWindowList().size(), 0);
        // A file the project names as SUB\UTIL.BAS is captioned with its path as the host writes it.
        w.ProjectTree()->setCurrentItem(Node(w, "UTIL.BAS"));
        w.btnViewSourceClick();
        QCOMPARE(w.MdiArea()->subWindowList().value(0)->windowTitle(),
                 "File: " + QFileInfo(mak).absolutePath() + "/Sub/Util.bas");
        w.close();
    }

    // A short text does not make the box so narrow that the window manager cuts its caption.
    void MessageBoxesLeaveRoomForTheirCaption() {
        QtPrompter prompter;
        int width = 0;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            width = box->width();
            box->button(QMessageBox::Ok)->click();
        });
        prompter.Show(PromptKind::Information, "Not Found", PromptButtons::Ok);
        QVERIFY2(width >= CaptionWidth(QApplication::applicationName()), qPrintable(QString::number(width)));
    }

    // The debug window opens inside the screen; once behind the main window, the Window menu brings it
    // back while it is on. The help window fits the screen beside a main window as tall as the screen.
    void DebugAndHelpWindowsFitTheScreenAndTheWindowMenuReachesTheDebugWindow() {
        ScriptedPrompter prompter;
        TfrmMain w(prompter, nullptr, FreshIni());
        auto* windowMenu = w.findChild<QMenu*>("mnuWindow");
        emit windowMenu->aboutToShow();
        QVERIFY(!w.Action("mnuWindowDebugOutput"));
        const QRect area = w.screen()->availableGeometry();
        w.setGeometry(area.adjusted(0, 32, 0, 0));
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* debug = w.findChild<TfrmDebug*>();
        debug->DebugOn();
        QVERIFY(debug->isVisible());
        // Inside the screen, with room for the title bar and borders that a window manager adds.
        QVERIFY(area.contains(debug->frameGeometry()) && debug->height() <= area.height() - 36);
        w.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &w);
        emit windowMenu->aboutToShow();
        QVERIFY(w.Action("mnuWindowDebugOutput"));
        w.Action("mnuWindowDebugOutput")->trigger();
        QTRY_COMPARE(QApplication::activeWindow(), debug);
        debug->DebugOff();
        emit windowMenu->aboutToShow();
        QVERIFY(!w.Action("mnuWindowDebugOutput"));

        w.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &w);
        ShowHelp(2);
        QWidget* help = HelpWindow();
        QVERIFY(help && help->isVisible());
        QVERIFY2(area.contains(help->frameGeometry()) && help->height() <= area.height() - 36,
                 qPrintable(QString("%1,%2 %3x%4").arg(help->x()).arg(help->y()).arg(help->width()).arg(help->height())));
        help->close();
        w.close();
    }

    void AboutBoxKeepsItsVersionOnOneLine() {
        ScriptedPrompter prompter;
        TfrmMain w(prompter, nullptr, FreshIni());
        int lines = 0;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            for (QLabel* label : box->findChildren<QLabel*>())
                if (label->text().contains("Version 3.08 Build 971031")) {
                    // A label that wraps needs more than one line's height at its width.
                    const int height = label->wordWrap() ? label->heightForWidth(label->width())
                                                         : label->fontMetrics().lineSpacing();
                    lines = height / label->fontMetrics().lineSpacing();
                    QVERIFY(label->width() >= label->sizeHint().width());
                }
            box->accept();
        });
        w.mnuHelpAboutClick();
        QCOMPARE(lines, 1);
    }

    // Centred on the screen at every showing, also after the user moved it; the indent labels keep a gap
    // before their spin boxes.
    void OptionsDialogIsCentredEachTimeAndItsLabelsStandClear() {
        ScriptedPrompter prompter;
        TfrmMain w(prompter, nullptr, FreshIni());
        w.show();
        TfrmOptions& options = w.Options();
        const QPoint centre = options.screen()->availableGeometry().center();
        for (int showing = 0; showing < 2; ++showing) {
            QPoint shownAt;
            auto during = [&] {
                QVERIFY(QTest::qWaitForWindowExposed(&options));
                shownAt = options.frameGeometry().center();
                options.SelectPage(1);
                QTest::qWait(10);
                for (QLabel* label : options.findChildren<QLabel*>()) {
                    auto* spin = qobject_cast<QSpinBox*>(label->buddy());
                    if (!spin || !label->isVisible())
                        continue;
                    QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(label->text()));
                    QVERIFY2(label->mapTo(&options, QPoint(label->width(), 0)).x() + 4 <=
                                 spin->mapTo(&options, QPoint(0, 0)).x(),
                             qPrintable(label->text()));
                }
            };
            QTimer::singleShot(0, &options, [&] {
                during();
                options.move(options.pos() + QPoint(120, 90)); // the user moves it away
                options.reject();
            });
            options.Execute();
            QVERIFY2((shownAt - centre).manhattanLength() <= 4,
                     qPrintable(QString("%1,%2").arg(shownAt.x()).arg(shownAt.y())));
        }
    }
};

QTEST_MAIN(UserWindowsTest)
#include "user_windows.moc"
