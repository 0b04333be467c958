#pragma once
// TfrmLeftorRight ("Print left or right?"): asks a dual window which of its two texts to print.

#include <QDialog>

class QPushButton;

namespace kemptor {

class TfrmLeftorRight : public QDialog {
    Q_OBJECT
public:
    // The dialog's results.
    enum Answer { Left = 1, Cancel = 2, Right = 4 };

    explicit TfrmLeftorRight(QWidget* parent = nullptr);

    QPushButton* btnCancel; // also the Escape key
    QPushButton* btnLeft;
    QPushButton* btnRight;

    // Shows the question modally and returns the answer.
    static Answer Ask(QWidget* parent);

    // Escape and the window's close both answer Cancel.
    void reject() override { done(Cancel); }
};

} // namespace kemptor
