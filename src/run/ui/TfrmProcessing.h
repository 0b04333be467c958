#pragma once
// "Processing...": the file and pass in hand, the gauge, and Cancel, which asks the run to stop at its
// next line.

#include "run/ui/TfrmProgressWindow.h"

#include <functional>

class QPushButton;

namespace kemptor {

class TfrmProcessing : public TfrmProgressWindow {
    Q_OBJECT
public:
    explicit TfrmProcessing(QWidget* parent = nullptr);
    // Called by Cancel (and by Escape).
    std::function<void()> OnCancel;
    // Cancel is disabled while the run's preview, which has its own "Cancel processing", is up.
    void SetCancelEnabled(bool enabled);

public slots:
    void btnCancelClick();
    void reject() override;

private:
    QPushButton* btnCancel_;
};

} // namespace kemptor
