#pragma once
// Shared helpers of the formatter tests: texts written with "\n" between lines, formatted through the
// per-file driver as a processing run would.

#include "formatter/TVBSrcFormatter.h"
#include "platform/Progress.h"
#include "platform/Prompter.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace kemptor::test {

inline std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    if (text.empty())
        return lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (start == text.size())
            break;
    }
    return lines;
}

inline std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += '\n';
        text += lines[i];
    }
    return text;
}

// Settings that leave only indentation on: no Option Explicit, no comment placement, no alignment.
inline Settings IndentOnly() {
    Settings s;
    s.OptionExplicitInsert = false;
    s.AlignMultiDimAs = false;
    s.GrpSingleLineComments = 0;
    s.SingleLineCommentBlocks = false;
    s.GrpInLineComments = 0;
    return s;
}

// IndentOnly with every splitter on.
inline Settings Splitting() {
    Settings s = IndentOnly();
    s.IfThenSplit = true;
    s.MultiStatementSplit = true;
    s.MultiVarSplit = true;
    s.MultiConstSplit = true;
    return s;
}

inline TLineList FormatLines(const std::vector<std::string>& lines, const Settings& settings,
                             TSourceKind kind = TSourceKind::skModule) {
    ScriptedPrompter prompter;
    ProgressObserver progress;
    TVBSrcFormatter engine(settings, prompter);
    engine.FormatFile(lines, "Test.bas", kind, progress);
    return engine.TakeOutput();
}

inline std::string Format(std::string_view code, const Settings& settings,
                          TSourceKind kind = TSourceKind::skModule) {
    return JoinLines(FormatLines(SplitLines(code), settings, kind).Texts());
}

// Formats `code` with the given header templates and a fixed date for header comments; `passes`, when
// given, receives the passes the run took (2 when the first pass reached the result and the second
// only confirmed it).
inline std::string FormatWithHeaders(std::string_view code, const Settings& s, TSourceKind kind = skModule,
                                     HeaderTemplates templates = {{"' %n(%p) by %a on %d"},
                                                                  {"' %n -> %r", "'"}},
                                     int* passes = nullptr) {
    ScriptedPrompter prompter;
    ProgressObserver progress;
    TVBSrcFormatter engine(s, prompter);
    engine.SetHeaderTemplates(templates);
    engine.SetDateSource([] { return std::string("12/08/2026"); });
    const TFormatFileResult result = engine.FormatFile(SplitLines(code), "Test.bas", kind, progress);
    if (passes)
        *passes = result.Passes;
    return JoinLines(engine.TakeOutput().Texts());
}

// Formats `code` as FormatWithHeaders does with the default templates, giving the passes the run took.
inline std::string FormatCountingPasses(std::string_view code, const Settings& s, int& passes,
                                        TSourceKind kind = skModule) {
    return FormatWithHeaders(code, s, kind, DefaultHeaderTemplates(), &passes);
}

// Every option of the formatting on, with the comment column narrow enough to move comments.
inline Settings EveryOption() {
    Settings s;
    s.IfThenSplit = s.MultiStatementSplit = s.MultiVarSplit = s.MultiConstSplit = true;
    s.GrpForNextProcessing = 1;
    s.GrpSingleLineComments = 3;
    s.SingleLineCommentGroupQty = 2;
    s.InLineCommentsFixedColumn = 30;
    s.GrpInLineCommentsFixedColUnavail = 1;
    s.GrpBlankLines = 1;
    s.SubLevelCommentsPerform = s.FunctionLevelCommentsPerform = true;
    return s;
}

// Formats `code` and expects `expected`; formats `expected` again and expects it to stay as it is.
inline void VerifyFormat(std::string_view expected, std::string_view code, const Settings& settings,
                         TSourceKind kind = TSourceKind::skModule) {
    EXPECT_EQ(std::string(expected), Format(expected, settings, kind)) << "expected text is not stable";
    EXPECT_EQ(std::string(expected), Format(code, settings, kind));
}

inline void VerifyFormat(std::string_view expected, const Settings& settings) {
    VerifyFormat(expected, expected, settings);
}

// True when every item of `part` appears in `whole` in the same order (comments kept by formatting).
inline bool IsSubsequence(const std::vector<std::string>& part, const std::vector<std::string>& whole) {
    std::size_t k = 0;
    for (const std::string& item : whole)
        if (k < part.size() && item == part[k])
            ++k;
    return k == part.size();
}

} // namespace kemptor::test
