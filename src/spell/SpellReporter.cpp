#include "spell/SpellReporter.h"

#include "spell/HunspellSpeller.h"

#include <algorithm>

namespace kemptor {

std::string UnknownWordLine(const std::string& path, int line, int column, const std::string& word,
                            const std::vector<std::string>& suggestions) {
    std::string text = path + ':' + std::to_string(line) + ':' + std::to_string(column) +
                       ": unknown word \"" + word + "\"; suggestions: ";
    if (suggestions.empty())
        return text + "no suggestions";
    const std::size_t count = std::min<std::size_t>(suggestions.size(), kReportedSuggestions);
    for (std::size_t k = 0; k < count; ++k)
        text += (k ? ", " : "") + suggestions[k];
    return text;
}

SpellReporter::SpellReporter(HunspellSpeller& speller, PathSource path, LineSink sink)
    : speller_(speller), path_(std::move(path)), sink_(std::move(sink)) {}

std::string SpellReporter::UnavailableReason() {
    return speller_.UnavailableReason();
}

SpellCheckOutcome SpellReporter::SpellCheckText(const std::string&, std::string& text,
                                                const SpellTextPlace& place) {
    speller_.SetCheckText(text);
    for (int r = speller_.ResultCode(); r < 0; r = speller_.ResultCode()) {
        const std::string word = speller_.MisspelledWord();
        const int column = place.column + static_cast<int>(speller_.MisspelledOffset());
        sink_(UnknownWordLine(path_(), place.line, column, word, speller_.Suggest(word)));
        ++found_;
        speller_.ResumeCheck();
    }
    return {};
}

} // namespace kemptor
