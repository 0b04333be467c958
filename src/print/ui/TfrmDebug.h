#pragma once
// TfrmDebug ("Debug Output"): a log window that other windows offer diagnostic lines to. It keeps them
// only while switched on (it starts off) and can clear, save and print its log. Made once at program
// start; closing it only hides it.

#include "platform/DebugOutput.h"

#include <QWidget>

#include <functional>

class QToolButton;

namespace kemptor {

class Prompter;
class TBigText;

class TfrmDebug : public QWidget, public DebugOutput {
    Q_OBJECT
public:
    explicit TfrmDebug(Prompter& prompter, QWidget* parent = nullptr);

    TBigText* memDebug;
    QToolButton* btnClear;
    QToolButton* btnSave;
    QToolButton* btnPrint;

    bool DebugActive() const override { return debugActive_; }
    // Appends the line in black on the window colour, painted at once, while switched on.
    void AddDebugLine(const std::string& line) override;
    // Lines appended since the last clear.
    int DebugLineCount() const { return debugLineCount_; }

    // Switches the log on and shows the window / switches it off and hides the window.
    void DebugOn();
    void DebugOff();
    // Shows the window in front of the others (the Window menu's "Debug Output"), on the screen.
    void ShowInFront();

    void btnClearClick();
    void btnSaveClick();
    void btnPrintClick();

    // The save dialog ("Save Debug Output", .LOG); returns the chosen file or an empty text. Replaceable
    // so that tests can answer it.
    std::function<QString()> ChooseSaveFile;
    // Prints the log through the report preview; replaceable so that tests can see what is printed.
    std::function<void(TBigText* viewer, const QString& caption)> PrintText;

private:
    Prompter& prompter_;
    bool debugActive_ = false;
    int debugLineCount_ = 0;
};

} // namespace kemptor
