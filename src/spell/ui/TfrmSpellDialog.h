#pragma once
// TfrmSpellDialog, "Word Not Found in Dictionary": the window of the spell dialog. It shows the state of
// a SpellDialogLogic (the context line and the checked text, the unknown word, the replacement, the
// suggestions and the custom dictionaries) and hands every button to the logic. Made once, hidden
// between uses, stays on top, centred on the screen; closing it only hides it (the word is left).

#include "spell/SpellDialogLogic.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kemptor {

class TBigText;

class TfrmSpellDialog : public QDialog, public SpellDialogView {
    Q_OBJECT
public:
    explicit TfrmSpellDialog(QWidget* parent = nullptr);

    void ShowModal(SpellDialogLogic& logic) override;

    // Called each time the dialog has been shown and filled, before the user acts (tests script the
    // dialog here).
    std::function<void(TfrmSpellDialog&)> OnShown;

    QPushButton* Button(SpellButton button) const { return buttons_[static_cast<int>(button)]; }
    TBigText* txtDisplay = nullptr;
    QLineEdit* Misspell = nullptr;
    QLineEdit* ReplaceWith = nullptr;
    QListWidget* SuggestList = nullptr;
    QComboBox* Customs = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Click(SpellButton button);
    void ShowState();
    void TakeEdits();

    SpellDialogLogic* logic_ = nullptr;
    QPushButton* buttons_[9] = {};
};

} // namespace kemptor
