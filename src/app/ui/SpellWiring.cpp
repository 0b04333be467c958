#include "app/ui/SpellWiring.h"

#include "run/RunObserver.h"
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

// Owns the pieces; a child of the main window, so they go when it goes. The dialog has no parent so
// that it stays usable while the main window is disabled during a run.
class SpellChecking : public QObject {
public:
    SpellChecking(QWidget* owner, Prompter& prompter)
        : QObject(owner), dialog(std::make_unique<TfrmSpellDialog>()), logic(speller, prompter, *dialog) {
        setObjectName("SpellChecking");
        speller.SetOptionsDialog([this, &prompter] {
            QWidget* parent = QApplication::activeModalWidget();
            TfrmSpellOptions options(prompter, speller.OptionsFile(), parent ? parent : dialog.get());
            options.exec();
        });
    }

    HunspellSpeller speller;
    std::unique_ptr<TfrmSpellDialog> dialog;
    SpellDialogLogic logic;
};

SpellChecking* Find(QWidget* owner) {
    return owner ? owner->findChild<SpellChecking*>("SpellChecking", Qt::FindDirectChildrenOnly) : nullptr;
}

} // namespace

void WireSpellChecking(QWidget* owner, TfrmOptions& options, RunObserver& runObserver, Prompter& prompter) {
    auto* spell = new SpellChecking(owner, prompter);
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
