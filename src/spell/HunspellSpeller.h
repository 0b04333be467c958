#pragma once
// The program's speller: the checker behind `Speller`, built on Hunspell with a dictionary installed on
// the system. Beside the dictionary it keeps, for the life of the object, a list of words to ignore and
// a list of words with their replacements ("Ignore All", "Replace All"), and a custom dictionary: a
// word list file (one word a line) that "Add To Custom" appends to and that every later speller loads.
//
// The dictionary is loaded on first use and again whenever the options change; when none is installed
// for the chosen language, every word counts as known and UnavailableReason() says why.

#include "spell/Speller.h"
#include "spell/SpellerOptions.h"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace kemptor {

class HunspellSpeller : public Speller {
public:
    // The options are read from `optionsFile` (a bare name lives in the settings directory).
    explicit HunspellSpeller(std::string optionsFile = kSpellerOptionsFileName);
    ~HunspellSpeller() override;
    HunspellSpeller(const HunspellSpeller&) = delete;
    HunspellSpeller& operator=(const HunspellSpeller&) = delete;

    // --- The members the spell dialog drives ------------------------------------------------------
    void SetAutoPopup(bool on) override { autoPopup_ = on; }
    void SetAutoReplace(bool on) override { autoReplace_ = on; }
    void SetAutoSuggest(bool on) override { autoSuggest_ = on; }
    void SetClearCounts(int value) override;
    void SetCheckText(const std::string& text) override;
    int ResultCode() const override { return result_; }
    void SetResultCode(int code) override { result_ = code; }
    int ResumeCheck() override;
    std::string MisspelledWord() const override { return misspelled_; }
    void SetMisspelledWord(const std::string& word) override { misspelled_ = word; }
    int IRAction() const override { return irAction_; }
    std::string ReplacementWord() const override { return replacement_; }
    void SetReplacementWord(const std::string& word) override { replacement_ = word; }
    void SetReplaceLastWord(int value) override;
    bool ReplaceOccurred() const override { return replaceOccurred_; }
    std::string Text() const override { return text_; }
    void SetCheckWord(const std::string& word) override;
    void SetFindSuggestions(const std::string& word) override;
    int SuggestionCount() const override { return static_cast<int>(suggestions_.size()); }
    std::string Suggestion(int index) const override;
    int CustomCount() const override;
    int DictionaryFlags(int index) const override;
    std::string DictionaryName(int index) const override;
    void DictionaryAction(int index, int action) override;
    void SetAddToCommonIRList(int action) override;
    void SetPopupOptions(int value) override;
    std::string UnavailableReason() override;

    // --- Beside the dialog's members --------------------------------------------------------------
    // Offset in Text() of the word at the last stop.
    std::size_t MisspelledOffset() const { return misspelledAt_; }
    // Whether the dictionary, the custom words or the ignore list know `word`.
    bool IsKnown(const std::string& word);
    // Hunspell's suggestions for `word`, best first; none for a word longer than kMaxSuggestedWord (the
    // search grows with the square of a word's length, and no word of a language is that long).
    std::vector<std::string> Suggest(const std::string& word);
    static constexpr std::size_t kMaxSuggestedWord = 64;

    const SpellerOptions& Options() const { return options_; }
    // Takes new options (the dictionary and the custom words are loaded again at the next use).
    void SetOptions(const SpellerOptions& options);
    // Reads the options file again.
    void ReloadOptions();
    const std::string& OptionsFile() const { return optionsFile_; }
    // What "PopupOptions" shows: the front end's options dialog, which saves the options file; the
    // speller reads the file again afterwards. Without one, PopupOptions does nothing.
    void SetOptionsDialog(std::function<void()> show) { optionsDialog_ = std::move(show); }

private:
    struct Engine;
    bool EnsureLoaded();
    void LoadCustomWords();
    void Scan();
    bool CustomAcceptsWords() const;

    std::string optionsFile_;
    SpellerOptions options_;
    std::unique_ptr<Engine> engine_;
    // The dictionary's verdict and suggestions for each word met, so that a word repeated through a
    // project is looked up once; emptied whenever the dictionary's words change.
    std::unordered_map<std::string, bool> verdicts_;
    std::unordered_map<std::string, std::vector<std::string>> suggested_;
    void ForgetVerdicts();
    static constexpr std::size_t kCachedWords = std::size_t{1} << 18;
    bool loadTried_ = false;
    std::string unavailable_;
    std::function<void()> optionsDialog_;

    bool autoPopup_ = false, autoReplace_ = false, autoSuggest_ = false;
    std::string text_;
    std::size_t scanFrom_ = 0;
    int result_ = spell_result::NoMoreWords;
    std::string misspelled_;
    std::size_t misspelledAt_ = 0;
    std::size_t misspelledLength_ = 0;
    int irAction_ = 0;
    std::string replacement_;
    bool replaceOccurred_ = false;
    int checkedWords_ = 0;
    std::vector<std::string> suggestions_;
    std::set<std::string> ignoreAll_;
    std::map<std::string, std::string> replaceAll_;
};

} // namespace kemptor
