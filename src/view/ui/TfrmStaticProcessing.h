#pragma once
// The "Processing..." wait window shown while a comparison is computed. It has no buttons; ShowNow paints
// it at once because the work that follows keeps the event loop busy.

#include <QDialog>

namespace kemptor {

class TfrmStaticProcessing : public QDialog {
    Q_OBJECT
public:
    explicit TfrmStaticProcessing(QWidget* parent = nullptr);
    void ShowNow();
};

} // namespace kemptor
