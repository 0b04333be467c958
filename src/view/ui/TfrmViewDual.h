#pragma once
// TfrmViewDual: the modal before/after preview of one file during a processing run, made once at program
// start and hidden between files. Close lets the run go on; "Cancel processing" asks it to stop.
// Make it without a parent (and give it a prompter whose boxes it parents): the run disables the main
// window, and a disabled window disables every dialog it parents.

#include "run/RunObserver.h"
#include "view/ui/TViewDualBase.h"

class QEventLoop;

namespace kemptor {

class TfrmViewDual : public TViewDualBase {
    Q_OBJECT
public:
    explicit TfrmViewDual(Prompter& prompter, QWidget* parent = nullptr);

    // Fills the viewers (source lines black on the window colour; formatted lines black on yellow where
    // `changed` says so), titles the window "File: " + fileName and shows it modally.
    PreviewAnswer Preview(const std::string& fileName, const TextLines& before, const TextLines& after,
                          const std::vector<bool>& changed);
    // The same without showing: used by Preview and by tests.
    void Fill(const std::string& fileName, const TextLines& before, const TextLines& after,
              const std::vector<bool>& changed);
    // Shows the window modally until Close or Cancel processing.
    PreviewAnswer ShowModal();
    // Height at the foot of the screen that the first placement leaves free for the processing window.
    static constexpr int kFootLeftFree = 170;

    void btnCloseClick();
    void btnCancelClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    PreviewAnswer answer_ = PreviewAnswer::Close;
    QEventLoop* modalLoop_ = nullptr;
    bool placed_ = false; // sized and centred once; afterwards the user's size and place are kept
};

} // namespace kemptor
