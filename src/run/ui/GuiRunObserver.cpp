#include "run/ui/GuiRunObserver.h"

#include "run/ui/TfrmCopyFiles.h"
#include "run/ui/TfrmProcessing.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace kemptor {

namespace {
// Pending events are handled at most this often; a cancel or a repaint waits no longer than this.
constexpr qint64 kEventIntervalMs = 15;

// Where a run's window stands: at the foot of the main window's screen, centred under the main window.
// The preview leaves that band free and the run's questions open in the middle, so it covers neither.
QPoint BelowEverythingElse(const QWidget& mainWindow, const QWidget& window) {
    const QScreen* screen = mainWindow.screen();
    if (!screen)
        return mainWindow.geometry().center() - window.rect().center();
    const QRect area = screen->availableGeometry();
    // The frame is not known before the first showing; a title bar's height is allowed for it.
    const int frameTop = window.isVisible() ? window.geometry().top() - window.frameGeometry().top() : 32;
    const int margin = 8;
    const int x =
        std::clamp(mainWindow.frameGeometry().center().x() - window.width() / 2, area.left() + margin,
                   std::max(area.left() + margin, area.right() - window.width() - margin));
    // move() places the frame; the frame's top (title bar) comes above the window's own height.
    const int y = std::max(area.top(), area.bottom() - window.height() - frameTop - margin);
    return {x, y};
}
} // namespace

GuiRunObserver::GuiRunObserver(QWidget* mainWindow, TfrmProcessing& processing, TfrmCopyFiles& copy)
    : mainWindow_(mainWindow), processing_(processing), copy_(copy) {
    processing_.OnCancel = [this] { RequestCancel(); };
    sinceEvents_.start();
}

GuiRunObserver::~GuiRunObserver() {
    processing_.OnCancel = nullptr;
    if (running_)
        RunFinishing();
}

void GuiRunObserver::RunStarting() {
    running_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (mainWindow_)
        mainWindow_->setEnabled(false);
    // The run's windows are tool windows of the main window; disabling it disables them, so they are
    // enabled again by themselves: the processing window's Cancel must answer during the run.
    processing_.setEnabled(true);
    copy_.setEnabled(true);
}

void GuiRunObserver::RunFinishing() {
    if (!running_)
        return;
    running_ = false;
    processing_.hide();
    copy_.hide();
    if (mainWindow_)
        mainWindow_->setEnabled(true);
    QApplication::restoreOverrideCursor();
    QApplication::processEvents();
}

TfrmProgressWindow* GuiRunObserver::InView() const {
    if (inView_ == RunWindow::Copy)
        return &copy_;
    return &processing_;
}

void GuiRunObserver::ShowWindow(RunWindow window) {
    inView_ = window;
    TfrmProgressWindow* w = InView();
    if (!w->isVisible() && mainWindow_) {
        w->adjustSize();
        w->move(BelowEverythingElse(*mainWindow_, *w));
    }
    w->show();
    w->raise();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); // paint it before work begins
}

void GuiRunObserver::HideWindow(RunWindow window) {
    (window == RunWindow::Copy ? static_cast<TfrmProgressWindow&>(copy_) : processing_).hide();
    if (window == RunWindow::Copy)
        inView_ = RunWindow::Processing;
}

void GuiRunObserver::SetCaption(const std::string& caption) {
    InView()->SetLabel(QString::fromStdString(caption));
}

void GuiRunObserver::SetRange(int maximum) {
    InView()->SetRange(maximum);
}

void GuiRunObserver::SetPosition(int position) {
    InView()->SetPosition(position);
}

void GuiRunObserver::LineDone() {
    if (sinceEvents_.elapsed() < kEventIntervalMs)
        return;
    QApplication::processEvents();
    sinceEvents_.restart();
}

PreviewAnswer GuiRunObserver::Preview(const std::string& fileName, const TextLines& before,
                                      const TextLines& after, const std::vector<bool>& changed) {
    if (!preview_)
        return PreviewAnswer::Close;
    // The preview has its own "Cancel processing".
    PreviewAnswer answer = PreviewAnswer::Close;
    WaitOnModal([&] { answer = preview_(fileName, before, after, changed); });
    if (answer == PreviewAnswer::CancelProcessing)
        RequestCancel();
    return answer;
}

void GuiRunObserver::WaitOnModal(const std::function<void()>& showModal) {
    if (running_)
        QApplication::restoreOverrideCursor(); // a modal window is read with the normal cursor
    processing_.SetCancelEnabled(false);
    showModal();
    processing_.SetCancelEnabled(true);
    if (running_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        // What the window covered is repainted before the run goes on.
        QApplication::processEvents();
        sinceEvents_.restart();
    }
}

} // namespace kemptor
