#pragma once
// Spell checking in the main window: one Hunspell speller and one spell dialog for the window's life.
// The run observer hands the dialog to each run's engine; the Options dialog's "Configure Spell
// Checker" and the spell dialog's "Options" open the speller's options.

class QWidget;

namespace kemptor {

class HunspellSpeller;
class Prompter;
class GuiRunObserver;
class TfrmOptions;
class TfrmSpellDialog;

// Creates the speller and the dialog, owned by `owner`, and connects them. The speller's options file is
// the one in the settings directory.
void WireSpellChecking(QWidget* owner, TfrmOptions& options, GuiRunObserver& runObserver, Prompter& prompter);

// The dialog and the speller that WireSpellChecking made for `owner` (nullptr before), for tests.
TfrmSpellDialog* SpellDialogOf(QWidget* owner);
HunspellSpeller* SpellerOf(QWidget* owner);

} // namespace kemptor
