#include "platform/ui/Help.h"

#include "platform/ui/ScreenFit.h"

#include <QApplication>
#include <QEvent>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QVariant>
#include <QWidget>

#include <algorithm>

// The program's resources live in a static library: registering them here makes every user of the help
// file (and of the background bitmap, through the main window) pull them in.
static void RegisterKemptorResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(kemptor);
        return true;
    }();
    (void)registered;
}

namespace kemptor {

namespace {

constexpr const char* kContextProperty = "kemptorHelpContext";

class HelpWindow : public QWidget {
public:
    HelpWindow() : QWidget(nullptr, Qt::Window), browser_(new QTextBrowser(this)) {
        setObjectName("frmHelp");
        setWindowTitle("Kemptor/VB 3.0 Help");
        setAttribute(Qt::WA_QuitOnClose, false);
        browser_->setOpenExternalLinks(false);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(browser_);
        resize(620, 560);
    }

    void ShowContext(int context) {
        context_ = context;
        FollowModalDialog();
        QUrl url("qrc" + HelpFilePath());
        url.setFragment(context == 0 ? QString("contents") : QString("context-%1").arg(context));
        browser_->setSource(url);
        browser_->scrollToAnchor(url.fragment());
        if (!isVisible())
            PlaceBeside(parentWidget() ? parentWidget() : QApplication::activeWindow());
        show();
        raise();
        activateWindow();
    }

    int Context() const { return context_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The dialog is closing: the help stays open as a window of its own.
        if (watched == parentWidget() && event->type() == QEvent::Hide)
            Reparent(nullptr);
        return QWidget::eventFilter(watched, event);
    }

private:
    // A modal dialog blocks every window that is not its own: while one is open, the help window
    // becomes a window of that dialog, so that it opens in front of it and can be scrolled and closed.
    void FollowModalDialog() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == this || modal == parentWidget())
            return;
        Reparent(modal);
    }

    void Reparent(QWidget* owner) {
        if (QWidget* old = parentWidget())
            old->removeEventFilter(this);
        const bool shown = isVisible();
        const QRect where = geometry();
        // Owned by a dialog, it is a dialog window itself: window managers keep those above their owner.
        setParent(owner, owner ? Qt::Dialog : Qt::Window);
        setAttribute(Qt::WA_QuitOnClose, false);
        if (owner)
            owner->installEventFilter(this);
        if (shown) { // setParent hides a window; it comes back where it stood
            setGeometry(where);
            show();
        }
    }

    // Beside the window the user works in, on the side with more room, narrowed to that room (down to
    // a readable width), so that help and dialog can be read together.
    void PlaceBeside(const QWidget* other) {
        if (!other || !other->screen())
            return;
        constexpr int kReadableWidth = 360;
        const QRect area = other->screen()->availableGeometry();
        const QRect frame = other->frameGeometry();
        const int roomRight = area.right() - frame.right();
        const int roomLeft = frame.left() - area.left();
        const int room = std::max(roomRight, roomLeft);
        const int width =
            room >= kReadableWidth ? std::min(this->width(), room) : std::min(this->width(), area.width());
        const int height = std::min(std::max(this->height(), frame.height()), area.height());
        int x = roomRight >= roomLeft ? frame.right() + 1 : frame.left() - width;
        x = std::clamp(x, area.left(), area.right() + 1 - width);
        const int y = std::clamp(frame.top(), area.top(), area.bottom() + 1 - height);
        resize(width, height);
        move(x, y);
        FitOnScreen(*this, other); // the title bar and borders stay on the screen too
    }

    QTextBrowser* browser_;
    int context_ = -1;
};

QPointer<HelpWindow> window;

HelpWindow* Window() {
    if (!window) {
        window = new HelpWindow;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, window, &QObject::deleteLater);
    }
    return window;
}

} // namespace

void EnsureResources() {
    RegisterKemptorResources();
}

QString HelpFilePath() {
    EnsureResources();
    return ":/help/VBKEMPT3.html";
}

void SetHelpContext(QWidget* widget, int context) {
    widget->setProperty(kContextProperty, context);
}

int HelpContextOf(const QWidget* widget) {
    // A child window's frame (focused after a click on its title bar) stands for the window inside it.
    if (const auto* frame = qobject_cast<const QMdiSubWindow*>(widget); frame && frame->widget())
        widget = frame->widget();
    // A tab bar stands for the page it shows: F1 on a tab opens that tab's topic.
    if (const auto* tabs = widget ? qobject_cast<const QTabWidget*>(widget->parentWidget()) : nullptr)
        if (qobject_cast<const QTabBar*>(widget) && tabs->currentWidget())
            widget = tabs->currentWidget();
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        QVariant v = w->property(kContextProperty);
        if (v.isValid())
            return v.toInt();
    }
    return 0;
}

void ShowHelp(int context) {
    Window()->ShowContext(context);
}

int ShownHelpContext() {
    return window ? window->Context() : -1;
}

void InstallHelpKey(QWidget* target) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F1), target);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, target, [target] {
        QWidget* focus = QApplication::focusWidget();
        bool inside = focus && (focus == target || target->isAncestorOf(focus));
        ShowHelp(HelpContextOf(inside ? focus : target));
    });
}

} // namespace kemptor
