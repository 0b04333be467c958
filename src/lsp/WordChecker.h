#pragma once
// The spell checker as the language server uses it: find the unknown words of a text, offer
// suggestions, and take a word into the dictionary or the session's ignore list. The program's
// Hunspell speller stands behind it; the protocol tests use a scripted one.

#include "spell/HunspellSpeller.h"
#include "spell/SpellWords.h"

#include <string>
#include <vector>

namespace kemptor::lsp {

class WordChecker {
public:
    virtual ~WordChecker() = default;
    // Why no word can be checked (no dictionary installed), or empty when checking works.
    virtual std::string UnavailableReason() = 0;
    // The unknown words of an 8-bit (Windows-1252) text, in order.
    virtual std::vector<TextWord> UnknownWords(const std::string& text) = 0;
    // Suggestions for an unknown word, best first.
    virtual std::vector<std::string> Suggestions(const std::string& word) = 0;
    // Adds the word to the user's custom dictionary (kept for later sessions).
    virtual void AddToDictionary(const std::string& word) = 0;
    // Accepts the word for the rest of the session.
    virtual void Ignore(const std::string& word) = 0;
};

// The checker over the program's speller: its dictionary, custom dictionary and options.
class SpellerWordChecker : public WordChecker {
public:
    std::string UnavailableReason() override { return speller_.UnavailableReason(); }
    std::vector<TextWord> UnknownWords(const std::string& text) override;
    std::vector<std::string> Suggestions(const std::string& word) override { return speller_.Suggest(word); }
    void AddToDictionary(const std::string& word) override;
    void Ignore(const std::string& word) override;

private:
    HunspellSpeller speller_;
};

} // namespace kemptor::lsp
