// What the formatter must never do, checked on every sample file and on generated modules: change the
// code (apart from an inserted Option Explicit), lose a comment, or move a formatted file again.
#include "FormatTestSupport.h"
#include "VbSourceGenerator.h"

#include "formatter/LineHelpers.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <filesystem>

namespace kemptor::test {
namespace {

constexpr std::string_view kInsertedComment = "Force all variables to be declared before their use";

// Runs of blanks and tabs folded to one blank, ends trimmed.
std::string FoldBlanks(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (c == ' ' || c == '\t') {
            if (!out.empty() && out.back() != ' ')
                out += ' ';
        } else {
            out += c;
        }
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

// The code of a line with blanks folded outside its literals; literals are kept byte for byte.
std::string CodeTokens(std::string_view line) {
    const std::string_view code = StripComment(line);
    std::string out;
    bool inside = false;
    for (char c : code) {
        if (c == '"')
            inside = !inside;
        if (!inside && (c == ' ' || c == '\t')) {
            if (!out.empty() && out.back() != ' ')
                out += ' ';
        } else {
            out += c;
        }
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

struct Digest {
    std::vector<std::string> code;     // non-empty code lines
    std::vector<std::string> comments; // comment texts, blanks folded
};

Digest DigestOf(const std::vector<std::string>& lines, bool dropInsertedOptionExplicit) {
    Digest d;
    for (const std::string& line : lines) {
        if (dropInsertedOptionExplicit && CodeTokens(line) == "Option Explicit" &&
            Trim(CommentText(line)) == kInsertedComment) {
            dropInsertedOptionExplicit = false;
            continue;
        }
        if (std::string code = CodeTokens(line); !code.empty())
            d.code.push_back(std::move(code));
        if (CommentPos(line) > 0)
            d.comments.push_back(FoldBlanks(CommentText(line)));
    }
    return d;
}

void ExpectInvariants(const std::vector<std::string>& input, const Settings& settings, TSourceKind kind,
                      const std::string& what) {
    const std::vector<std::string> output = FormatLines(input, settings, kind).Texts();
    const Digest before = DigestOf(input, false);
    const Digest after = DigestOf(output, true);
    EXPECT_EQ(before.code, after.code) << what << ": code changed";
    EXPECT_TRUE(IsSubsequence(before.comments, after.comments)) << what << ": a comment was lost";
    EXPECT_EQ(output, FormatLines(output, settings, kind).Texts()) << what << ": formatting again moves it";
}

TSourceKind KindOf(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::toupper(c); });
    if (ext == ".FRM")
        return skForm;
    if (ext == ".CLS")
        return skClass;
    if (ext == ".CTL")
        return skUserControl;
    return skModule;
}

std::vector<std::filesystem::path> SampleSources() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(KEMPTOR_EXAMPLES)) {
        std::string ext = entry.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::toupper(c); });
        if (entry.is_regular_file() && (ext == ".BAS" || ext == ".FRM" || ext == ".CLS" || ext == ".CTL"))
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Settings that keep the line structure of the code: the defaults and variations of them.
std::vector<std::pair<std::string, Settings>> SettingsVariants() {
    std::vector<std::pair<std::string, Settings>> variants;
    variants.emplace_back("defaults", Settings());
    Settings uneven;
    uneven.DefaultLineIndent = 2;
    uneven.SelectCaseIndent = 2;
    uneven.CaseCodeIndent = 3;
    uneven.IfThenElseIndent = 3;
    uneven.LineContinueIndent = 8;
    uneven.TabWidth = 3;
    variants.emplace_back("uneven widths", uneven);
    Settings off;
    off.CodeIndentPerform = false;
    off.OptionExplicitInsert = false;
    variants.emplace_back("indentation off", off);
    return variants;
}

TEST(FormatInvariant, SampleFiles) {
    const auto files = SampleSources();
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) {
        const auto lines = ReadTextLines(file.string());
        ASSERT_TRUE(lines.has_value()) << file;
        for (const auto& [name, settings] : SettingsVariants())
            ExpectInvariants(*lines, settings, KindOf(file), file.filename().string() + " with " + name);
    }
}

TEST(FormatInvariant, GeneratedModules) {
    for (unsigned sampleNo = 1; sampleNo <= 300; ++sampleNo) {
        const std::vector<std::string> module = VbSourceGenerator(sampleNo).Module();
        for (const auto& [name, settings] : SettingsVariants())
            ExpectInvariants(module, settings, skModule,
                             "sampleNo " + std::to_string(sampleNo) + " with " + name);
        if (HasFailure())
            break; // one reported sample is enough to reproduce
    }
}

} // namespace
} // namespace kemptor::test
