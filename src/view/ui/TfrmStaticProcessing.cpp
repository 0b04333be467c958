#include "view/ui/TfrmStaticProcessing.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

namespace kemptor {

TfrmStaticProcessing::TfrmStaticProcessing(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Processing...");
    setModal(false);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel("Processing...", this);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    resize(260, 80);
}

void TfrmStaticProcessing::ShowNow() {
    show();
    raise();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace kemptor
