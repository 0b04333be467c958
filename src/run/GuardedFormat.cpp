#include "run/GuardedFormat.h"

#include "formatter/LineHelpers.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace kemptor {

namespace {

// A CR or LF in `text`, eight bytes at a time: a byte equal to one of them leaves a zero byte in
// the word xor-ed with its pattern, which the classic test for a zero byte finds.
bool HoldsCrOrLf(std::string_view text) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
    const auto hasZero = [](std::uint64_t v) { return ((v - kOnes) & ~v & kHighs) != 0; };
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if (hasZero(word ^ (kOnes * '\r')) || hasZero(word ^ (kOnes * '\n')))
            return true;
    }
    for (; i < text.size(); ++i)
        if (text[i] == '\r' || text[i] == '\n')
            return true;
    return false;
}

bool HoldsLineBreak(const TLineList& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (HoldsCrOrLf(lines[i]))
            return true;
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
