#pragma once
// A spell checker for tests: records every text it is asked to check (with its context line),
// replaces words by a prepared table, and ends spell checking when a prepared text comes up.

#include "spell/Speller.h"

#include <map>
#include <string>
#include <vector>

namespace kemptor::test {

class ScriptedSpellChecker : public SpellTextChecker {
public:
    struct Call {
        std::string context;
        std::string text;
        SpellTextPlace place;
    };

    // Every whole-word occurrence of `wrong` in a checked text becomes `right`.
    void Replace(std::string wrong, std::string right) { replacements_[std::move(wrong)] = std::move(right); }
    // Checking a text that contains `part` ends spell checking (after its replacements are made).
    void CancelOn(std::string part) { cancelOn_.push_back(std::move(part)); }

    SpellCheckOutcome SpellCheckText(const std::string& context, std::string& text,
                                     const SpellTextPlace& place) override {
        calls_.push_back({context, text, place});
        SpellCheckOutcome outcome;
        for (const auto& [wrong, right] : replacements_)
            outcome.changed |= ReplaceWords(text, wrong, right);
        for (const auto& part : cancelOn_)
            if (calls_.back().text.find(part) != std::string::npos)
                outcome.cancelled = true;
        return outcome;
    }

    const std::vector<Call>& Calls() const { return calls_; }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& call : calls_)
            texts.push_back(call.text);
        return texts;
    }

private:
    static bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

    static bool ReplaceWords(std::string& text, const std::string& wrong, const std::string& right) {
        bool changed = false;
        for (size_t at = text.find(wrong); at != std::string::npos; at = text.find(wrong, at)) {
            bool whole = (at == 0 || !IsLetter(text[at - 1])) &&
                         (at + wrong.size() == text.size() || !IsLetter(text[at + wrong.size()]));
            if (!whole) {
                at += wrong.size();
                continue;
            }
            text.replace(at, wrong.size(), right);
            at += right.size();
            changed = true;
        }
        return changed;
    }

    std::map<std::string, std::string> replacements_;
    std::vector<std::string> cancelOn_;
    std::vector<Call> calls_;
};

} // namespace kemptor::test
