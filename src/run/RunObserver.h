#pragma once
// The window seam of a processing run. The run never shows a window itself: it tells its observer which
// window is up, what its label says and where its gauge stands, and asks it for the preview.
//
//   window        shown by the run while ...                         label (SetCaption)
//   Processing    the selected files are formatted ("Processing...")  FileName + " (Pass 1)" / 2 / 3
//   Copy          the backup copies are made ("Backing up files...")  "Backing Up File: " + name
//
// SetRange/SetPosition move the gauge of the window in view. LineDone is called after every line the
// engine formats; the GUI handles pending events there so that its Cancel button can call
// RequestCancel(). The flag is an atomic so that a signal handler (Ctrl+C in the CLI) may set it too.
// The run clears it when it starts and reads it between lines and between files.
//
// GUI: busy cursor and disabled main window between RunStarting and RunFinishing; the processing and
// copy windows; the modal before/after window in Preview. CLI: a progress line, Ctrl+C, no preview.
// Tests: script a cancel at a chosen caption and line.

#include "platform/Progress.h"
#include "platform/TextFile.h"

#include <atomic>
#include <string>
#include <vector>

namespace kemptor {

class SpellTextChecker;

enum class RunWindow {
    Processing, // "Processing...": label lblProcessingFile, gauge guageProcessing, Cancel button
    Copy,       // "Backing up files...": label and gauge, no Cancel
};

// How the user closed the preview: its Close button, or its "Cancel processing" button.
enum class PreviewAnswer { Close, CancelProcessing };

class RunObserver : public ProgressObserver {
public:
    // The run is about to start / has ended; the GUI shows the busy cursor and disables the main window,
    // then enables it again and handles pending events (before "Conversion Completed." is shown).
    virtual void RunStarting() {}
    virtual void RunFinishing() {}

    // Shows or hides one of the run's windows (not modal). Captions, range and position that follow go to
    // the window in view.
    virtual void ShowWindow(RunWindow /*window*/) {}
    virtual void HideWindow(RunWindow /*window*/) {}

    // The modal before/after window: caption "File: " + fileName, the unformatted lines on the left, the
    // formatted lines on the right with `changed[i]` telling whether line i carries the change colour.
    // The run saves the file whatever the answer; CancelProcessing stops the run before the next file.
    virtual PreviewAnswer Preview(const std::string& /*fileName*/, const TextLines& /*before*/,
                                  const TextLines& /*after*/, const std::vector<bool>& /*changed*/) {
        return PreviewAnswer::Close;
    }

    // How many files the run may format at once, on threads of its own. Their engines report no
    // progress per line (only the cancel flag is read from them), so an observer that must see every
    // line, or pump events while lines are formatted (the GUI), keeps 1. A run with a preview or with
    // spell checking formats one file at a time whatever this says.
    virtual int FormattingThreads() const { return 1; }

    // The spell checker of the run's engine when the settings ask for spell checking (GUI: the spell
    // dialog; CLI: a reporter that prints unknown words). None: nothing is checked.
    void SetSpellChecker(SpellTextChecker* checker) { spellChecker_ = checker; }
    SpellTextChecker* SpellChecker() const { return spellChecker_; }

    // The run's cancel flag (CancelRequested): set by a Cancel button, the preview or Ctrl+C.
    void RequestCancel() { cancel_.store(true); }
    void ClearCancel() { cancel_.store(false); }
    bool CancelRequested() const override { return cancel_.load(); }

private:
    std::atomic<bool> cancel_{false};
    SpellTextChecker* spellChecker_ = nullptr;
};

static_assert(std::atomic<bool>::is_always_lock_free, "the cancel flag is set from a signal handler");

} // namespace kemptor
