#include "lsp/WordChecker.h"

namespace kemptor::lsp {

std::vector<TextWord> SpellerWordChecker::UnknownWords(const std::string& text) {
    std::vector<TextWord> words;
    speller_.SetCheckText(text);
    while (speller_.ResultCode() < 0) {
        words.push_back({speller_.MisspelledOffset(), speller_.MisspelledWord().size()});
        speller_.ResumeCheck();
    }
    return words;
}

void SpellerWordChecker::AddToDictionary(const std::string& word) {
    speller_.SetMisspelledWord(word);
    speller_.DictionaryAction(-1, spell_action::IgnoreAlways);
    // Without a custom dictionary that takes words, the word is at least accepted for the session.
    speller_.SetAddToCommonIRList(spell_action::IgnoreAlways);
}

void SpellerWordChecker::Ignore(const std::string& word) {
    speller_.SetMisspelledWord(word);
    speller_.SetAddToCommonIRList(spell_action::IgnoreAlways);
}

} // namespace kemptor::lsp
