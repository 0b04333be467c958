#pragma once
// Spell checking without a dialog, for the command line: every unknown word of a checked text is
// reported as one line, `PATH:LINE:COLUMN: unknown word "WORD"; suggestions: S1, S2` (at most five, or
// "no suggestions"), and no text is changed.

#include "spell/Speller.h"

#include <functional>
#include <string>
#include <vector>

namespace kemptor {

class HunspellSpeller;

inline constexpr int kReportedSuggestions = 5;

// One report line.
std::string UnknownWordLine(const std::string& path, int line, int column, const std::string& word,
                            const std::vector<std::string>& suggestions);

class SpellReporter : public SpellTextChecker {
public:
    using PathSource = std::function<std::string()>;
    using LineSink = std::function<void(const std::string&)>;

    // `path` names the file in hand at each check; `sink` receives each report line.
    SpellReporter(HunspellSpeller& speller, PathSource path, LineSink sink);

    SpellCheckOutcome SpellCheckText(const std::string& context, std::string& text,
                                     const SpellTextPlace& place) override;
    std::string UnavailableReason() override;

    // Unknown words reported so far.
    int Found() const { return found_; }

private:
    HunspellSpeller& speller_;
    PathSource path_;
    LineSink sink_;
    int found_ = 0;
};

} // namespace kemptor
