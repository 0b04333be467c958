#include "spell/ui/TfrmSpellDialog.h"

#include "platform/ui/Help.h"
#include "view/ui/TBigText.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace kemptor {

namespace {

constexpr int kHelpContext = 31;

struct ButtonDef {
    SpellButton button;
    const char* caption;
    const char* name;
};
constexpr ButtonDef kButtons[] = {
    {SpellButton::Suggestions, "&Suggestions", "btnSuggest"},
    {SpellButton::SuggestionsReplacement, "S&uggestions", "btnSuggestReplacement"},
    {SpellButton::Ignore, "&Ignore", "btnIgnore"},
    {SpellButton::IgnoreAll, "I&gnore All", "btnIgnoreAll"},
    {SpellButton::Options, "&Options", "btnOptions"},
    {SpellButton::Replace, "&Replace", "btnReplace"},
    {SpellButton::ReplaceAll, "R&eplace All", "btnReplaceAll"},
    {SpellButton::CancelSpellcheck, "&Cancel Spellcheck", "btnCancel"},
    {SpellButton::AddToCustom, "&Add To Custom", "btnAddToCustom"},
};

QString Text(const std::string& text) {
    return TBigText::FromWindows1252(text);
}

} // namespace

TfrmSpellDialog::TfrmSpellDialog(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName("frmSpellDialog");
    setWindowTitle("Word Not Found in Dictionary");
    setModal(true);
    SetHelpContext(this, kHelpContext);
    InstallHelpKey(this);

    for (const ButtonDef& def : kButtons) {
        auto* b = new QPushButton(def.caption, this);
        b->setObjectName(def.name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, button = def.button] { Click(button); });
        buttons_[static_cast<int>(def.button)] = b;
    }
    Button(SpellButton::Ignore)->setDefault(true);

    txtDisplay = new TBigText(this);
    txtDisplay->setObjectName("txtDisplay");
    txtDisplay->SetScrollBars(TBigText::TScrollStyle::Horizontal);
    txtDisplay->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    txtDisplay->setFixedHeight(2 * txtDisplay->fontMetrics().height() + 28);
    txtDisplay->setFocusPolicy(Qt::NoFocus);

    Misspell = new QLineEdit(this);
    Misspell->setObjectName("Misspell");
    ReplaceWith = new QLineEdit(this);
    ReplaceWith->setObjectName("ReplaceWith");
    SuggestList = new QListWidget(this);
    SuggestList->setObjectName("SuggestList");
    Customs = new QComboBox(this);
    Customs->setObjectName("Customs");
    connect(SuggestList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (!logic_ || !item)
            return;
        logic_->SelectSuggestion(SuggestList->row(item));
        ReplaceWith->setText(Text(logic_->State().ReplaceWith));
    });

    auto labelled = [](const QString& text, QWidget* buddy) {
        auto* label = new QLabel(text);
        label->setBuddy(buddy);
        return label;
    };
    auto* words = new QGridLayout;
    words->addWidget(labelled("&Not in Dictionary:", Misspell), 0, 0);
    words->addWidget(Misspell, 0, 1);
    words->addWidget(Button(SpellButton::Suggestions), 0, 2);
    words->addWidget(labelled("Replace &With:", ReplaceWith), 1, 0);
    words->addWidget(ReplaceWith, 1, 1);
    words->addWidget(Button(SpellButton::SuggestionsReplacement), 1, 2);
    words->addWidget(SuggestList, 2, 1, 5, 1);
    words->addWidget(Button(SpellButton::Replace), 2, 2);
    words->addWidget(Button(SpellButton::ReplaceAll), 3, 2);
    words->addWidget(Button(SpellButton::Ignore), 4, 2);
    words->addWidget(Button(SpellButton::IgnoreAll), 5, 2);
    words->addWidget(labelled("Custom &Dictionary:", Customs), 7, 0);
    words->addWidget(Customs, 7, 1);
    words->addWidget(Button(SpellButton::AddToCustom), 7, 2);
    words->setColumnStretch(1, 1);
    words->setRowStretch(6, 1); // below the buttons beside the list

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(Button(SpellButton::Options));
    bottom->addWidget(Button(SpellButton::CancelSpellcheck));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Context of spelling error:"));
    layout->addWidget(txtDisplay);
    layout->addLayout(words, 1); // the suggestion list takes the height to spare
    layout->addLayout(bottom);
    resize(560, 400);
}

void TfrmSpellDialog::ShowModal(SpellDialogLogic& logic) {
    logic_ = &logic;
    txtDisplay->Clear();
    txtDisplay->AddLine(logic.State().ContextLine, clBlack, clWindow, false);
    txtDisplay->AddLine(logic.State().CheckedText, clBlack, clSilver, false);
    txtDisplay->ScrollTo(0, 0);
    txtDisplay->viewport()->update();
    ShowState();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    exec();
    logic_ = nullptr;
}

void TfrmSpellDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ReplaceWith->setFocus();
    if (OnShown)
        QTimer::singleShot(0, this, [this] {
            if (isVisible() && OnShown)
                OnShown(*this);
        });
}

// Copies the two edit boxes into the logic's state: the user may have typed in either.
void TfrmSpellDialog::TakeEdits() {
    logic_->State().Misspell = TBigText::ToWindows1252(Misspell->text());
    logic_->State().ReplaceWith = TBigText::ToWindows1252(ReplaceWith->text());
}

void TfrmSpellDialog::ShowState() {
    const SpellDialogState& s = logic_->State();
    Misspell->setText(Text(s.Misspell));
    ReplaceWith->setText(Text(s.ReplaceWith));
    SuggestList->clear();
    for (const std::string& suggestion : s.SuggestList)
        SuggestList->addItem(Text(suggestion));
    SuggestList->setEnabled(s.SuggestListEnabled);
    SuggestList->setCurrentRow(s.SuggestIndex);
    Customs->clear();
    for (const std::string& name : s.Customs)
        Customs->addItem(Text(name));
    Customs->setCurrentIndex(s.CustomsIndex);
    Customs->setEnabled(s.CustomsEnabled);
    Button(SpellButton::AddToCustom)->setEnabled(s.AddToCustomEnabled);
}

void TfrmSpellDialog::Click(SpellButton button) {
    if (!logic_)
        return;
    TakeEdits();
    const bool closes = logic_->Press(button);
    ShowState();
    if (closes)
        accept();
}

} // namespace kemptor
