#pragma once
// The spell-checking seams.
//
// `Speller` is the spell-checker component as the program drives it: a text is handed over, checking
// stops at each unknown word, the caller decides (ignore, replace, stop) and resumes. The members
// mirror the properties of the component one to one, so the dialog's logic reads the same whatever
// checker stands behind it (the Hunspell speller in the program, a fake in tests).
//
// `SpellTextChecker` is what the formatting engine sees: check one text with a source line as its
// context, possibly correcting it. The spell dialog implements it on a `Speller`; tests script it.

#include <string>

namespace kemptor {

// Values of `Speller::ResultCode`.
namespace spell_result {
inline constexpr int NoMoreWords = 0;      // no (further) unknown word in the text
inline constexpr int UnknownWord = -1;     // stopped at an unknown word
inline constexpr int StoredAction = -2;    // stopped at a word with a stored ignore/replace action
inline constexpr int CancelledByUser = -3; // written by the dialog's "Cancel Spellcheck"
} // namespace spell_result

// Values of `Speller::IRAction` and `AddToCommonIRList`.
namespace spell_action {
inline constexpr int IgnoreAlways = 5;  // ignore `MisspelledWord` from now on
inline constexpr int ReplaceAlways = 9; // replace `MisspelledWord` by `ReplacementWord` from now on
} // namespace spell_action

class Speller {
public:
    virtual ~Speller() = default;

    // Behaviour switches; the program sets all three to false so the checker never acts on its own.
    virtual void SetAutoPopup(bool on) = 0;
    virtual void SetAutoReplace(bool on) = 0;
    virtual void SetAutoSuggest(bool on) = 0;
    // Any value resets the checker's counters.
    virtual void SetClearCounts(int value) = 0;

    // Starts checking `text` from its beginning; stops at the first unknown word or at the end.
    virtual void SetCheckText(const std::string& text) = 0;
    // 0: no (further) unknown word; -1/-2: stopped at an unknown word (-2 with IRAction 9: a stored
    // replacement applies); > 0: checking of this text is over; other negatives: go on.
    virtual int ResultCode() const = 0;
    virtual void SetResultCode(int code) = 0;
    // Continues after the last stop and updates ResultCode; the returned value carries no meaning.
    virtual int ResumeCheck() = 0;

    virtual std::string MisspelledWord() const = 0;
    virtual void SetMisspelledWord(const std::string& word) = 0;
    virtual int IRAction() const = 0;
    virtual std::string ReplacementWord() const = 0;
    virtual void SetReplacementWord(const std::string& word) = 0;
    // Any value replaces the word of the last stop by ReplacementWord inside the checked text.
    virtual void SetReplaceLastWord(int value) = 0;
    // True once a replacement was made in the current text.
    virtual bool ReplaceOccurred() const = 0;
    // The current text with every replacement made.
    virtual std::string Text() const = 0;

    // Afterwards ResultCode is 0 when `word` is known, not 0 otherwise.
    virtual void SetCheckWord(const std::string& word) = 0;
    virtual void SetFindSuggestions(const std::string& word) = 0;
    virtual int SuggestionCount() const = 0;
    virtual std::string Suggestion(int index) const = 0; // index 1 .. SuggestionCount

    virtual int CustomCount() const = 0;
    virtual int DictionaryFlags(int index) const = 0;        // index -1 .. -CustomCount; bit 0: accepts words
    virtual std::string DictionaryName(int index) const = 0; // same indices
    // (-1, 5): add the unknown word to the first custom dictionary.
    virtual void DictionaryAction(int index, int action) = 0;
    // 5 (IgnoreAlways) or 9 (ReplaceAlways), applied to MisspelledWord.
    virtual void SetAddToCommonIRList(int action) = 0;
    // Any value shows the checker's own options dialog.
    virtual void SetPopupOptions(int value) = 0;

    // Why the checker cannot check at all (no dictionary), or empty when it can.
    virtual std::string UnavailableReason() { return {}; }
};

// Where a checked text stands in its file: the source line (from 1) and the column (from 1) of the
// text's first character in the context line; 0 when not known.
struct SpellTextPlace {
    int line = 0;
    int column = 0;
};

// The outcome of checking one text.
struct SpellCheckOutcome {
    bool cancelled = false; // the user ended spell checking
    bool changed = false;   // the text was corrected
};

class SpellTextChecker {
public:
    virtual ~SpellTextChecker() = default;
    // Checks `text`, showing the whole source line `context` beside it; may replace `text`.
    virtual SpellCheckOutcome SpellCheckText(const std::string& context, std::string& text,
                                             const SpellTextPlace& place) = 0;
    // Why no text can be checked (no dictionary installed), or empty when checking works. A run asks
    // once before its first file and then leaves spell checking off.
    virtual std::string UnavailableReason() { return {}; }
};

} // namespace kemptor
