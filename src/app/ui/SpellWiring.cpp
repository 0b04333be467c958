#include "app/ui/SpellWiring.h"

#include "run/ui/GuiRunObserver.h"
#include "settings/ui/TfrmOptions.h"
#include "spell/HunspellSpeller.h"
#include "spell/SpellDialogLogic.h"
#include "spell/ui/TfrmSpellDialog.h"
#include "spell/ui/TfrmSpellOptions.h"

#include <QApplication>
#include <QObject>

#include <memory>

namespace kemptor {

namespace {

// The dialog as the run shows it: a modal window of the run, during which the processing window's
// Cancel is greyed (the modal dialog blocks it; "Cancel Spellcheck" is the dialog's own way out).
class DialogDuringRun : public SpellDialogView {
public:
    DialogDuringRun(TfrmSpellDialog& dialog, GuiRunObserver& run) : dialog_(dialog), run_(run) {}
    void ShowModal(SpellDialogLogic& logic) override {
        run_.WaitOnModal([&] { dialog_.ShowModal(logic); });
    }

private:
    TfrmSpellDialog& dialog_;
    GuiRunObserver& run_;
};

// Owns the pieces; a child of the main window, so they go when it goes. The dialog has no parent so
// that it stays usable while the main window is disabled during a run.
class SpellChecking : public QObject {
public:
    SpellChecking(QWidget* owner, Prompter& prompter, GuiRunObserver& run)
        : QObject(owner), dialog(std::make_unique<TfrmSpellDialog>()), view(*dialog, run),
          logic(speller, prompter, view) {
        setObjectName("SpellChecking");
        speller.SetOptionsDialog([this, &prompter] {
            QWidget* parent = QApplication::activeModalWidget();
            TfrmSpellOptions options(prompter, speller.OptionsFile(), parent ? parent : dialog.get());
            options.exec();
        });
    }

    HunspellSpeller speller;
    std::unique_ptr<TfrmSpellDialog> dialog;
    DialogDuringRun view;
    SpellDialogLogic logic;
};

SpellChecking* Find(QWidget* owner) {
    return owner ? owner->findChild<SpellChecking*>("SpellChecking", Qt::FindDirectChildrenOnly) : nullptr;
}

} // namespace

void WireSpellChecking(QWidget* owner, TfrmOptions& options, GuiRunObserver& runObserver, Prompter& prompter) {
    auto* spell = new SpellChecking(owner, prompter, runObserver);
    runObserver.SetSpellChecker(&spell->logic);
    // The same as the spell dialog's "Options" button, without opening the spell dialog.
    options.SetSpellCheckerConfigure([spell] { spell->speller.SetPopupOptions(1); });
}

TfrmSpellDialog* SpellDialogOf(QWidget* owner) {
    SpellChecking* spell = Find(owner);
    return spell ? spell->dialog.get() : nullptr;
}

HunspellSpeller* SpellerOf(QWidget* owner) {
    SpellChecking* spell = Find(owner);
    return spell ? &spell->speller : nullptr;
}

} // namespace kemptor
