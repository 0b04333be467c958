#pragma once
// The progress and cancel seam of long operations (reading a project, a processing run, copying).
// The GUI moves a gauge and processes pending events in LineDone, so its Cancel button can set the
// flag that CancelRequested reports; the CLI prints a progress line and maps Ctrl+C to cancel; tests
// script a cancel at a chosen point. Every member has a do-nothing default.

#include <string>

namespace kemptor {

class ProgressObserver {
public:
    virtual ~ProgressObserver() = default;
    virtual void SetCaption(const std::string& /*caption*/) {}
    virtual void SetRange(int /*maximum*/) {}
    virtual void SetPosition(int /*position*/) {}
    // Called after each line of a long operation; the GUI handles pending events here.
    virtual void LineDone() {}
    virtual bool CancelRequested() const { return false; }
};

} // namespace kemptor
