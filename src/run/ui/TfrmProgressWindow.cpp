#include "run/ui/TfrmProgressWindow.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include <algorithm>

namespace kemptor {

TfrmProgressWindow::TfrmProgressWindow(const QString& caption, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      lblProcessingFile_(new QLabel(this)), guageProcessing_(new QProgressBar(this)) {
    setWindowTitle(caption);
    setModal(false);
    lblProcessingFile_->setObjectName("lblProcessingFile");
    lblProcessingFile_->setMinimumWidth(320);
    lblProcessingFile_->setTextFormat(Qt::PlainText);
    guageProcessing_->setObjectName("guageProcessing");
    guageProcessing_->setRange(0, 100);
    guageProcessing_->setValue(0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblProcessingFile_);
    layout->addWidget(guageProcessing_);
}

void TfrmProgressWindow::SetLabel(const QString& text) {
    lblProcessingFile_->setText(text);
    lblProcessingFile_->repaint(); // shown at once, also when no events are handled before the next label
}

void TfrmProgressWindow::SetRange(int maximum) {
    guageProcessing_->setRange(0, std::max(0, maximum));
    guageProcessing_->setValue(0);
}

void TfrmProgressWindow::SetPosition(int position) {
    guageProcessing_->setValue(
        std::clamp(position, guageProcessing_->minimum(), guageProcessing_->maximum()));
}

QString TfrmProgressWindow::Label() const {
    return lblProcessingFile_->text();
}
int TfrmProgressWindow::Position() const {
    return guageProcessing_->value();
}
int TfrmProgressWindow::Maximum() const {
    return guageProcessing_->maximum();
}

} // namespace kemptor
