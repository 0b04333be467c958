#include "platform/ui/Help.h"

#include <QApplication>
#include <QPointer>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QVariant>
#include <QWidget>

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
        QUrl url("qrc" + HelpFilePath());
        url.setFragment(context == 0 ? QString("contents") : QString("context-%1").arg(context));
        browser_->setSource(url);
        browser_->scrollToAnchor(url.fragment());
        show();
        raise();
        activateWindow();
    }

    int Context() const { return context_; }

private:
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
