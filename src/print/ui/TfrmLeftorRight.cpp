#include "print/ui/TfrmLeftorRight.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kemptor {

TfrmLeftorRight::TfrmLeftorRight(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName("frmLeftorRight");
    setWindowTitle("Print left or right?");
    QFont bold("Arial");
    bold.setStyleHint(QFont::SansSerif);
    bold.setBold(true);
    setFont(bold);

    auto* layout = new QVBoxLayout(this);
    auto* question = new QLabel("Do you wish to print the code on the left or on the right?");
    question->setObjectName("lblQuestion");
    layout->addWidget(question);
    auto* buttons = new QHBoxLayout;
    auto makeButton = [this, buttons](const char* name, const QString& caption, Answer answer) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, answer] { done(answer); });
        buttons->addWidget(button);
        return button;
    };
    buttons->addStretch(1);
    btnCancel = makeButton("btnCancel", "&Cancel", Cancel);
    btnLeft = makeButton("btnLeft", "&Left", Left);
    btnRight = makeButton("btnRight", "&Right", Right);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

TfrmLeftorRight::Answer TfrmLeftorRight::Ask(QWidget* parent) {
    TfrmLeftorRight dialog(parent);
    const int result = dialog.exec();
    return result == Left || result == Right ? static_cast<Answer>(result) : Cancel;
}

} // namespace kemptor
