#pragma once
// What the spell dialog does, apart from drawing it: checking one text word by word on a `Speller`,
// filling the dialog's controls for each unknown word, and the effect of each of its buttons. The
// window (TfrmSpellDialog) shows `State()` and hands its button presses to `Press`; tests drive the
// same logic through a scripted view.

#include "spell/Speller.h"

#include <string>
#include <vector>

namespace kemptor {

class Prompter;

// The dialog's controls as values.
struct SpellDialogState {
    std::string ContextLine; // txtDisplay, row 1: the whole source line
    std::string CheckedText; // txtDisplay, row 2: the text being checked
    std::string Misspell;    // "Not in Dictionary:"
    std::string ReplaceWith; // "Replace With:"
    std::vector<std::string> SuggestList;
    bool SuggestListEnabled = true;
    int SuggestIndex = -1;            // the selected suggestion, -1 for none
    std::vector<std::string> Customs; // the custom dictionaries that accept words
    bool CustomsEnabled = true;
    int CustomsIndex = -1;
    bool AddToCustomEnabled = true;
};

enum class SpellButton {
    Suggestions,            // "&Suggestions": suggestions for the unknown word
    SuggestionsReplacement, // "S&uggestions": suggestions for the replacement
    Ignore,                 // "&Ignore"
    IgnoreAll,              // "I&gnore All"
    Options,                // "&Options"
    Replace,                // "&Replace"
    ReplaceAll,             // "R&eplace All"
    CancelSpellcheck,       // "&Cancel Spellcheck"
    AddToCustom,            // "&Add To Custom"
};

inline constexpr const char* kNoSuggestions = "[No suggestions]";
inline constexpr const char* kReplacementNotInDictionary =
    "NOTE: Replacement word not in dictionary.  Continue?";

class SpellDialogLogic;

// The window side: shows the dialog modally until a button closes it.
class SpellDialogView {
public:
    virtual ~SpellDialogView() = default;
    // Shows `logic.State()` and passes every button to `logic.Press`; returns once Press answers that
    // the dialog closes, or the user closed the window (which leaves the word as it is).
    virtual void ShowModal(SpellDialogLogic& logic) = 0;
};

class SpellDialogLogic : public SpellTextChecker {
public:
    // The speller, the prompter and the view must outlive the logic.
    SpellDialogLogic(Speller& speller, Prompter& prompter, SpellDialogView& view);

    // Checks `text`, showing the dialog for each word the speller stops at; `context` is the whole
    // source line. Replacements are written into `text`.
    SpellCheckOutcome SpellCheckText(const std::string& context, std::string& text,
                                     const SpellTextPlace& place) override;
    std::string UnavailableReason() override { return speller_.UnavailableReason(); }

    // Fills the controls for the word at the speller's stop.
    void PrepareDialog();
    // Suggestions for `word` into SuggestList; the first is selected and copied into ReplaceWith.
    void FillSuggest(const std::string& word);
    // A click on suggestion `index`: it goes into ReplaceWith.
    void SelectSuggestion(int index);
    // The effect of a button; true when the dialog closes.
    bool Press(SpellButton button);

    SpellDialogState& State() { return state_; }
    const SpellDialogState& State() const { return state_; }
    Speller& SpellerControl() { return speller_; }

private:
    // The replacement buttons: false when the user declined an unknown replacement.
    bool ReplaceWord();

    Speller& speller_;
    Prompter& prompter_;
    SpellDialogView& view_;
    SpellDialogState state_;
};

} // namespace kemptor
