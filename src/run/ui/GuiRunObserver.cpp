#include "run/ui/GuiRunObserver.h"

#include "run/ui/TfrmCopyFiles.h"
#include "run/ui/TfrmProcessing.h"

#include <QApplication>
#include <QWidget>

namespace kemptor {

namespace {
// Pending events are handled at most this often; a cancel or a repaint waits no longer than this.
constexpr qint64 kEventIntervalMs = 15;
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
        w->move(mainWindow_->geometry().center() - w->rect().center()); // over the main window
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
    QApplication::restoreOverrideCursor(); // the preview is read with the normal cursor
    PreviewAnswer answer = preview_(fileName, before, after, changed);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (answer == PreviewAnswer::CancelProcessing)
        RequestCancel();
    return answer;
}

} // namespace kemptor
