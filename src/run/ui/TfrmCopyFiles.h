#pragma once
// "Backing up files...": shown while the backup copies are made; copying cannot be cancelled.

#include "run/ui/TfrmProgressWindow.h"

namespace kemptor {

class TfrmCopyFiles : public TfrmProgressWindow {
    Q_OBJECT
public:
    explicit TfrmCopyFiles(QWidget* parent = nullptr);

public slots:
    void reject() override {} // Escape does nothing
};

} // namespace kemptor
