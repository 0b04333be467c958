#include "settings/ui/TfrmSaveOrLoad.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace kemptor {

TfrmSaveOrLoad::TfrmSaveOrLoad(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) { // no close box
    setObjectName("frmSaveOrLoad");
    setWindowTitle("Save or Load?");
    auto* text = new QLabel("Do you wish to save the current comment header or load a new one?", this);
    text->setWordWrap(true);
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));

    auto* cancel = new QPushButton("&Cancel", this);
    auto* save = new QPushButton("&Save", this);
    auto* load = new QPushButton("&Load", this);
    cancel->setObjectName("btnCancel");
    save->setObjectName("btnSave");
    load->setObjectName("btnLoad");
    save->setDefault(true);
    connect(cancel, &QPushButton::clicked, this, [this] { done(ChoiceCancel); });
    connect(save, &QPushButton::clicked, this, [this] { done(ChoiceSave); });
    connect(load, &QPushButton::clicked, this, [this] { done(ChoiceLoad); });

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(load);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    setFixedWidth(360);
}

TfrmSaveOrLoad::Choice TfrmSaveOrLoad::Ask() {
    int result = exec();
    return (result == ChoiceSave || result == ChoiceLoad) ? static_cast<Choice>(result) : ChoiceCancel;
}

} // namespace kemptor
