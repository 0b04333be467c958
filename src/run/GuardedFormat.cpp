#include "run/GuardedFormat.h"

#include "formatter/LineHelpers.h"
#include "platform/Text.h"

#include <string>

namespace kemptor {

namespace {

bool HoldsLineBreak(const TLineList& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (FindLineBreak(line.data(), line.data() + line.size()) != line.data() + line.size())
            return true;
    }
    return false;
}

// The formatted lines as a reader will see them once they are written: each line ends in CR LF, and a
// CR or LF inside a line (a settings value carried into a header or a comment border) ends a line too.
// The check must judge those lines, not the ones the engine meant to write.
TextLines AsWrittenAndRead(const TLineList& lines) {
    TextLines texts;
    texts.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        texts.emplace_back(lines[i]);
    return SplitTextLines(CrLfText(texts));
}

template <class Lines>
GuardedFormatResult Run(TVBSrcFormatter& engine, const Lines& lines, std::string_view fileName,
                        TSourceKind kind, ProgressObserver& progress, const OutputTamper& tamper) {
    GuardedFormatResult result;
    result.cancelled = engine.FormatFile(lines, fileName, kind, progress).Cancelled;
    if (result.cancelled)
        return result;
    if (tamper)
        tamper(engine.OutputLines);
    if (HoldsLineBreak(engine.OutputLines))
        result.mismatch = CompareCodeTokens(lines, AsWrittenAndRead(engine.OutputLines), engine.Config());
    else
        result.mismatch = CompareCodeTokens(lines, engine.OutputLines, engine.Config());
    return result;
}

} // namespace

GuardedFormatResult FormatGuarded(TVBSrcFormatter& engine, const TLineList& lines, std::string_view fileName,
                                  TSourceKind kind, ProgressObserver& progress, const OutputTamper& tamper) {
    return Run(engine, lines, fileName, kind, progress, tamper);
}

GuardedFormatResult FormatGuarded(TVBSrcFormatter& engine, const TextLines& lines, std::string_view fileName,
                                  TSourceKind kind, ProgressObserver& progress, const OutputTamper& tamper) {
    return Run(engine, lines, fileName, kind, progress, tamper);
}

void BreakCodeForTest(TLineList& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const int at = PosOutsideQuotes(StripComment(line), '=');
        if (at > 0) {
            std::string broken(line);
            broken.replace(static_cast<std::size_t>(at - 1), 1, "<>");
            lines.Replace(i, broken);
            return;
        }
    }
    lines.Append("Stop", true);
}

} // namespace kemptor
