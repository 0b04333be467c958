#include "run/ui/TfrmProcessing.h"

#include <QBoxLayout>
#include <QPushButton>

namespace kemptor {

TfrmProcessing::TfrmProcessing(QWidget* parent)
    : TfrmProgressWindow("Processing...", parent), btnCancel_(new QPushButton("Cancel", this)) {
    setObjectName("frmProcessing");
    btnCancel_->setObjectName("btnCancel");
    connect(btnCancel_, &QPushButton::clicked, this, &TfrmProcessing::btnCancelClick);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(btnCancel_);
    row->addStretch();
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

void TfrmProcessing::SetCancelEnabled(bool enabled) {
    btnCancel_->setEnabled(enabled);
}

void TfrmProcessing::btnCancelClick() {
    if (OnCancel && btnCancel_->isEnabled())
        OnCancel();
}

void TfrmProcessing::reject() {
    btnCancelClick();
}

} // namespace kemptor
