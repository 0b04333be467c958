#include "lsp/DocumentFormatter.h"

#include "formatter/HeaderTemplates.h"
#include "formatter/LineHelpers.h"
#include "formatter/TVBSrcFormatter.h"
#include "lsp/TextEncoding.h"
#include "platform/Progress.h"
#include "run/GuardedFormat.h"
#include "settings/Settings.h"
#include "spell/SpellRun.h"

namespace kemptor::lsp {

namespace {

// Where a text offered by the engine lies: the engine's line (from 1) and the offset of a word in the
// line with its tabs expanded.
struct OfferedWord {
    int line = 0;
    std::size_t expandedOffset = 0;
    std::size_t length = 0;
};

// Records the unknown words of every text the engine offers and changes none.
class UnknownWordCollector : public SpellTextChecker {
public:
    explicit UnknownWordCollector(WordChecker& checker) : checker_(checker) {}

    SpellCheckOutcome SpellCheckText(const std::string&, std::string& text, const SpellTextPlace& place) override {
        for (const TextWord& word : checker_.UnknownWords(text))
            found.push_back({place.line, static_cast<std::size_t>(place.column - 1) + word.offset, word.length});
        return {};
    }
    std::string UnavailableReason() override { return checker_.UnavailableReason(); }

    std::vector<OfferedWord> found;

private:
    WordChecker& checker_;
};

// The offset in `line` of the character at `expandedOffset` of the line with its tabs expanded. The
// width of a prefix after expansion grows with the prefix, so the search halves.
std::size_t UnexpandedOffset(std::string_view line, std::size_t expandedOffset, int tabWidth) {
    if (line.find('\t') == std::string_view::npos)
        return std::min(expandedOffset, line.size());
    std::size_t low = 0;
    std::size_t high = line.size();
    while (low < high) {
        const std::size_t middle = (low + high + 1) / 2;
        if (ExpandTabs(line.substr(0, middle), tabWidth).size() <= expandedOffset)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

} // namespace

std::string EngineText(std::string_view utf8) {
    std::optional<std::string> bytes = Utf8ToWindows1252(utf8);
    return bytes ? std::move(*bytes) : std::string(utf8);
}

FormattedDocument FormatDocument(const TextDocument& document, const std::string& fileName, TSourceKind kind,
                                 const Settings& settings, WordChecker* checker, Prompter& prompter,
                                 const OutputTamper& tamper) {
    // The engine counts columns in bytes: a buffer whose characters Windows-1252 holds is formatted as
    // the file it stands for; any other goes through as its UTF-8 bytes.
    const std::optional<std::string> converted = Utf8ToWindows1252(document.Text());
    const std::string_view text = converted ? std::string_view(*converted) : std::string_view(document.Text());
    const TLineList input = TLineList::FromText(text);
    const auto toUtf8 = [&](std::string_view bytes) {
        return converted ? Windows1252ToUtf8(bytes) : std::string(bytes);
    };

    TVBSrcFormatter engine(settings, prompter);
    engine.SetHeaderTemplates(TemplatesFromSettings(settings, prompter));
    std::optional<UnknownWordCollector> collector;
    if (checker && SpellingWanted(settings) && checker->UnavailableReason().empty()) {
        collector.emplace(*checker);
        engine.SetSpellChecker(&*collector);
    }
    ProgressObserver progress;
    const GuardedFormatResult result = FormatGuarded(engine, input, fileName, kind, progress, tamper);

    FormattedDocument formatted;
    if (result.mismatch) {
        formatted.refused = true;
        formatted.message = CodeMismatchMessage(fileName, *result.mismatch, "It is left as it is.");
    } else {
        const TLineList& output = engine.OutputLines;
        formatted.lines.reserve(output.size());
        for (std::size_t i = 0; i < output.size(); ++i)
            formatted.lines.push_back(toUtf8(output[i]));
    }
    engine.FreeLineObjects();

    if (collector) {
        for (const OfferedWord& word : collector->found) {
            const std::size_t line = static_cast<std::size_t>(word.line - 1);
            if (line >= input.size())
                continue;
            const std::string_view raw = input[line];
            const std::size_t start = UnexpandedOffset(raw, word.expandedOffset, settings.TabWidth);
            const std::string_view bytes = raw.substr(start, word.length);
            formatted.unknownWords.push_back(
                {line, toUtf8(raw.substr(0, start)).size(), toUtf8(bytes).size(), toUtf8(bytes)});
        }
    }
    return formatted;
}

} // namespace kemptor::lsp
