#pragma once
// The label-and-gauge window that the processing window and the copy window share. Both are modeless
// tool windows of the main window: above it, never above the questions and the preview of a run.

#include <QDialog>

class QLabel;
class QProgressBar;

namespace kemptor {

class TfrmProgressWindow : public QDialog {
    Q_OBJECT
public:
    TfrmProgressWindow(const QString& caption, QWidget* parent);
    // Shows the text at once, also when no events are handled before the next label.
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

} // namespace kemptor
