#pragma once
// The desktop side of a processing run: the busy cursor and the disabled main window for the run's
// length, the processing and copy windows with their labels and gauges, the Cancel button, event handling
// after each line, and the modal preview.

#include "run/RunObserver.h"

#include <QElapsedTimer>
#include <QPointer>

#include <functional>
#include <memory>

class QWidget;

namespace kemptor {

class TfrmCopyFiles;
class TfrmProcessing;
class TfrmProgressWindow;

class GuiRunObserver : public RunObserver {
public:
    using PreviewFunction =
        std::function<PreviewAnswer(const std::string& fileName, const TextLines& before,
                                    const TextLines& after, const std::vector<bool>& changed)>;

    // `mainWindow` is disabled during a run; the two windows are owned by the caller and outlive the run.
    GuiRunObserver(QWidget* mainWindow, TfrmProcessing& processing, TfrmCopyFiles& copy);
    ~GuiRunObserver() override;

    void SetPreview(PreviewFunction preview) { preview_ = std::move(preview); }
    bool Running() const { return running_; }

    void RunStarting() override;
    void RunFinishing() override;
    void ShowWindow(RunWindow window) override;
    void HideWindow(RunWindow window) override;
    void SetCaption(const std::string& caption) override;
    void SetRange(int maximum) override;
    void SetPosition(int position) override;
    void LineDone() override;
    PreviewAnswer Preview(const std::string& fileName, const TextLines& before, const TextLines& after,
                          const std::vector<bool>& changed) override;

    // Runs a modal window of the run (the preview, the spell dialog): with the normal cursor, and with the
    // processing window's Cancel greyed, since the modal window blocks it (each has its own way to stop).
    void WaitOnModal(const std::function<void()>& showModal);

private:
    TfrmProgressWindow* InView() const;

    QPointer<QWidget> mainWindow_;
    TfrmProcessing& processing_;
    TfrmCopyFiles& copy_;
    RunWindow inView_ = RunWindow::Processing;
    PreviewFunction preview_;
    QElapsedTimer sinceEvents_;
    bool running_ = false;
};

} // namespace kemptor
