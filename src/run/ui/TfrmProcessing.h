#pragma once
// The run's two small windows: "Processing..." with the file and pass in hand, its gauge and Cancel, and
// "Backing up files..." shown while the backup copies are made. Both are modeless top-level windows, so
// that they stay usable while the main window is disabled during a run.

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace kemptor {

// The label-and-gauge window both share.
class TfrmProgressWindow : public QDialog {
    Q_OBJECT
public:
    TfrmProgressWindow(const QString& caption, QWidget* parent);
    void SetLabel(const QString& text);
    void SetRange(int maximum);
    void SetPosition(int position);
    QString Label() const;
    int Position() const;
    int Maximum() const;

protected:
    QLabel* lblProcessingFile_;
    QProgressBar* guageProcessing_;
};

class TfrmProcessing : public TfrmProgressWindow {
    Q_OBJECT
public:
    explicit TfrmProcessing(QWidget* parent = nullptr);
    // Called by Cancel (and by Escape): asks the run to stop at its next line.
    std::function<void()> OnCancel;

public slots:
    void btnCancelClick();
    void reject() override;

private:
    QPushButton* btnCancel_;
};

class TfrmCopyFiles : public TfrmProgressWindow {
    Q_OBJECT
public:
    explicit TfrmCopyFiles(QWidget* parent = nullptr);

public slots:
    void reject() override {} // copying cannot be cancelled; Escape does nothing
};

} // namespace kemptor
