#pragma once
// The find dialog of the view windows: the text to find, Match case, the direction (Down by default) and
// Find Next. It stays open, does not block its window, and reports each Find Next through Find.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace kemptor {

class TFindDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFindDialog(QWidget* parent = nullptr);

    QString FindText() const;
    void SetFindText(const QString& text);
    bool Down() const;
    void SetDown(bool down);
    bool MatchCase() const;
    void SetMatchCase(bool on);
    // Shows the dialog (or brings it forward) with the text selected.
    void Execute();

signals:
    void Find();

private:
    QLineEdit* edtFind_;
    QCheckBox* chkMatchCase_;
    QRadioButton* rdoUp_;
    QRadioButton* rdoDown_;
};

} // namespace kemptor
