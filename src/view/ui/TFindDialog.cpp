#include "view/ui/TFindDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kemptor {

TFindDialog::TFindDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Find");
    setModal(false);
    edtFind_ = new QLineEdit(this);
    chkMatchCase_ = new QCheckBox("Match &case", this);
    auto* direction = new QGroupBox("Direction", this);
    rdoUp_ = new QRadioButton("&Up", direction);
    rdoDown_ = new QRadioButton("&Down", direction);
    rdoDown_->setChecked(true);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(rdoUp_);
    directionLayout->addWidget(rdoDown_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* btnFind = buttons->addButton("&Find Next", QDialogButtonBox::AcceptRole);
    btnFind->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (!edtFind_->text().isEmpty())
            emit Find();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);

    auto* form = new QFormLayout;
    form->addRow("Fi&nd what:", edtFind_);
    auto* options = new QHBoxLayout;
    options->addWidget(chkMatchCase_);
    options->addWidget(direction);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(options);
    layout->addWidget(buttons);
}

QString TFindDialog::FindText() const {
    return edtFind_->text();
}
void TFindDialog::SetFindText(const QString& text) {
    edtFind_->setText(text);
}
bool TFindDialog::Down() const {
    return rdoDown_->isChecked();
}
void TFindDialog::SetDown(bool down) {
    (down ? rdoDown_ : rdoUp_)->setChecked(true);
}
bool TFindDialog::MatchCase() const {
    return chkMatchCase_->isChecked();
}
void TFindDialog::SetMatchCase(bool on) {
    chkMatchCase_->setChecked(on);
}

void TFindDialog::Execute() {
    show();
    raise();
    activateWindow();
    edtFind_->setFocus();
    edtFind_->selectAll();
}

} // namespace kemptor
