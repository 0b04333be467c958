#include "run/GuardedFormat.h"

#include "formatter/LineHelpers.h"

#include <string>

namespace kemptor {

namespace {

template <class Lines>
GuardedFormatResult Run(TVBSrcFormatter& engine, const Lines& lines, std::string_view fileName,
                        TSourceKind kind, ProgressObserver& progress, const OutputTamper& tamper) {
    GuardedFormatResult result;
    result.cancelled = engine.FormatFile(lines, fileName, kind, progress).Cancelled;
    if (result.cancelled)
        return result;
    if (tamper)
        tamper(engine.OutputLines);
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
