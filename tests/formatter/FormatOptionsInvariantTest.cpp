// With every option on in turn, and with all of them on together, formatting never loses or repeats a
// name, number or string literal of the code and never loses a comment. Only what a transformation asks
// for may differ: keywords that a split writes again (Dim, Const, End If), the variables of Next
// statements, the types that the variable split copies, and comments that a setting removes.
#include "FormatTestSupport.h"
#include "OptionVariants.h"
#include "VbSourceGenerator.h"

#include "formatter/CodeTokenGuard.h"
#include "formatter/LineHelpers.h"
#include "formatter/LineSplits.h"
#include "formatter/StatementCuts.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>

namespace kemptor::test {
namespace {

using TokenCounts = std::map<std::string, int>;

// Keywords that splitting writes again or that the declaration split adds.
bool IsRepeatableKeyword(const std::string& upper) {
    static const char* const kWords[] = {"IF",     "END",   "DIM", "REDIM",  "GLOBAL",
                                         "STATIC", "CONST", "AS",  "VARIANT"};
    return std::find(std::begin(kWords), std::end(kWords), upper) != std::end(kWords);
}

bool IsDeclarationStatement(std::string_view statement) {
    const std::string up = UpperCase(LeftStr(Trim(statement), 8));
    return StartsWith(up, "DIM ") || StartsWith(up, "REDIM ") || StartsWith(up, "STATIC ") ||
           (StartsWith(up, "GLOBAL ") && !StartsWith(up, "GLOBAL C"));
}

// Names (upper-cased), numbers and literals of a piece of code.
void AddTokens(std::string_view code, TokenCounts& counts) {
    for (std::size_t i = 0; i < code.size();) {
        if (code[i] == '"') {
            std::size_t end = i + 1;
            while (end < code.size() &&
                   !(code[end] == '"' && (end + 1 >= code.size() || code[end + 1] != '"')))
                end += code[end] == '"' ? 2 : 1;
            ++counts[std::string(code.substr(i, end + 1 - i))];
            i = end + 1;
        } else if (cuts::IsNameChar(code[i])) {
            std::size_t end = i;
            while (end < code.size() && cuts::IsNameChar(code[end]))
                ++end;
            std::string word = UpperCase(code.substr(i, end - i));
            if (!IsRepeatableKeyword(word))
                ++counts[word];
            i = end;
        } else {
            ++i;
        }
    }
}

struct Digest {
    TokenCounts code;
    std::vector<std::string> comments; // trimmed, blanks folded
};

std::string Folded(std::string_view s) {
    std::string out;
    for (char c : Trim(s)) {
        if (c == ' ' && !out.empty() && out.back() == ' ')
            continue;
        out += c;
    }
    return out;
}

Digest DigestOf(const std::vector<std::string>& lines) {
    Digest d;
    bool commentGoesOn = false;
    for (const std::string& line : lines) {
        if (commentGoesOn) {
            d.comments.push_back(Folded(line));
            commentGoesOn = EndsWithContinuation(line);
            continue;
        }
        std::string_view code = StripComment(line);
        if (CommentPos(line) > 0)
            d.comments.push_back(Folded(CommentText(line)));
        if (const std::size_t rem = cuts::RemStart(code); rem != cuts::npos) {
            d.comments.push_back(Folded(code.substr(rem + 3)));
            code = code.substr(0, rem);
        }
        commentGoesOn = HasContinuedComment(line);
        for (std::string_view statement : cuts::Statements(code)) {
            if (TVBSrcFormatter::IsNextLine(statement))
                continue; // Next variables are the For/Next setting's to change
            if (!IsDeclarationStatement(statement)) {
                AddTokens(statement, d.code);
                continue;
            }
            // Declarations: the names only; the variable split may give a type to several names.
            for (std::string_view item : cuts::CommaItems(statement))
                AddTokens(item.substr(0, cuts::FindWord(item, "As")), d.code);
        }
    }
    return d;
}

void ExpectInvariants(const std::vector<std::string>& input, const Variant& variant, TSourceKind kind,
                      const std::string& what) {
    const std::vector<std::string> output = FormatLines(input, variant.settings, kind).Texts();
    const Digest before = DigestOf(input);
    Digest after = DigestOf(output);
    // An inserted Option Explicit brings its two words.
    for (const char* word : {"OPTION", "EXPLICIT"})
        if (after.code[word] > (before.code.contains(word) ? before.code.at(word) : 0))
            --after.code[word];
    std::erase_if(after.code, [](const auto& entry) { return entry.second == 0; });
    TokenCounts expected = before.code;
    std::erase_if(expected, [](const auto& entry) { return entry.second == 0; });
    EXPECT_EQ(expected, after.code) << what << ": a name, number or literal was lost or repeated\n"
                                    << JoinLines(output);
    if (variant.keepsComments) {
        EXPECT_TRUE(IsSubsequence(before.comments, after.comments)) << what << ": a comment was lost\n"
                                                                    << JoinLines(output);
    }
}

// Formats with a fixed date so that two runs can be compared. `unsettled`: the first pass did not
// reach the result (a third pass was needed), or a warning was shown.
std::vector<std::string> FormatOnce(const std::vector<std::string>& lines, const Settings& s, bool& unsettled,
                                    TSourceKind kind = skModule) {
    ScriptedPrompter prompter;
    ProgressObserver progress;
    TVBSrcFormatter engine(s, prompter);
    engine.SetDateSource([] { return std::string("12/08/2026"); });
    const TFormatFileResult result = engine.FormatFile(lines, "Fixed.bas", kind, progress);
    unsettled = result.Unsettled || result.Passes > 2 || !prompter.Messages().empty();
    return engine.TakeOutput().Texts();
}

TEST(FormatOptionsInvariant, TheFirstPassReachesTheFixedPointUnderAnyCombinationOfOptions) {
    std::vector<Settings> settings;
    for (const Variant& variant : Variants())
        settings.push_back(variant.settings);
    std::mt19937 rng(2026);
    for (int n = 0; n < 60; ++n)
        settings.push_back(RandomSettings(rng));
    for (std::size_t k = 0; k < settings.size(); ++k) {
        for (unsigned sampleNo = 1; sampleNo <= 12; ++sampleNo) {
            const std::vector<std::string> modules[] = {SplitProneModule(sampleNo),
                                                        VbSourceGenerator(sampleNo).Module()};
            for (const auto& module : modules) {
                bool unsettled = false;
                const auto once = FormatOnce(module, settings[k], unsettled);
                EXPECT_FALSE(unsettled) << "settings " << k << ", sampleNo " << sampleNo;
                EXPECT_EQ(once, FormatOnce(once, settings[k], unsettled))
                    << "settings " << k << ", sampleNo " << sampleNo;
                EXPECT_FALSE(unsettled) << "again: settings " << k << ", sampleNo " << sampleNo;
            }
        }
        if (HasFailure())
            break; // one reported combination is enough to reproduce
    }
}

TEST(FormatOptionsInvariant, GeneratedModulesKeepTheirCodeUnderEveryOption) {
    const std::vector<Variant> variants = Variants();
    for (unsigned sampleNo = 1; sampleNo <= 60; ++sampleNo) {
        const std::vector<std::string> modules[] = {SplitProneModule(sampleNo),
                                                    VbSourceGenerator(sampleNo).Module()};
        for (const auto& module : modules)
            for (const Variant& variant : variants)
                ExpectInvariants(module, variant, skModule,
                                 "sampleNo " + std::to_string(sampleNo) + " with " + variant.name);
        if (HasFailure())
            break; // one reported sample is enough to reproduce
    }
}

TEST(FormatOptionsInvariant, SampleFilesKeepTheirCodeUnderEveryOption) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(KEMPTOR_EXAMPLES)) {
        std::string ext = UpperCase(entry.path().extension().string());
        if (entry.is_regular_file() && (ext == ".BAS" || ext == ".FRM" || ext == ".CLS" || ext == ".CTL"))
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) {
        const auto lines = ReadTextLines(file.string());
        ASSERT_TRUE(lines.has_value()) << file;
        const TSourceKind kind = UpperCase(file.extension().string()) == ".FRM" ? skForm : skModule;
        for (const Variant& variant : Variants()) {
            ExpectInvariants(*lines, variant, kind, file.filename().string() + " with " + variant.name);
            bool unsettled = false;
            FormatOnce(*lines, variant.settings, unsettled, kind);
            EXPECT_FALSE(unsettled) << file.filename().string() << " with " << variant.name
                                    << ": the first pass did not give the result";
        }
    }
}

TEST(FormatOptionsInvariant, EachOptionOnItsOwnGivesAStableResult) {
    // Formatting the result again changes nothing, whichever single option is on.
    for (const Variant& variant : Variants()) {
        for (unsigned sampleNo = 1; sampleNo <= 15; ++sampleNo) {
            const auto once = FormatLines(SplitProneModule(sampleNo), variant.settings).Texts();
            EXPECT_EQ(once, FormatLines(once, variant.settings).Texts())
                << variant.name << ", sampleNo " << sampleNo;
        }
        if (HasFailure())
            break;
    }
}

TEST(FormatOptionsInvariant, SplittingSettlesWithinTheRunsOfTwoFormattings) {
    // What one run splits, the next run leaves alone: pieces are never cut again into something else.
    Settings s;
    s.IfThenSplit = s.MultiStatementSplit = s.MultiVarSplit = s.MultiConstSplit = true;
    for (unsigned sampleNo = 1; sampleNo <= 30; ++sampleNo) {
        const auto once = FormatLines(SplitProneModule(sampleNo), s).Texts();
        const auto twice = FormatLines(once, s).Texts();
        EXPECT_EQ(twice, FormatLines(twice, s).Texts()) << "sampleNo " << sampleNo;
    }
}

// Awkward inputs from real Visual Basic 3 to 6 projects and VBA libraries, each a whole file with its
// kind: what the engine once refused or formatted wrongly.
struct AwkwardFile {
    const char* name;
    TSourceKind kind;
    const char* text;
};

const AwkwardFile kAwkwardFiles[] = {
    {"type characters and date literals", skModule,
     "Option Explicit\nDim f%, L$, d#, c@, n&\nConst T0 = #1/2/1999#, T1 = #5:00:00 PM#\nSub A()\n"
     "t = #10:30:00 AM#: Print #1, t\nx! = 1.5!: y# = 2#\nIf d# > 1 Then d# = 0 Else d# = 1 ' d\nEnd Sub"},
    {"Then and Else followed by a colon", skModule,
     "Sub A()\nIf x Then: y = 1\nIf n = 8 Then: a(i) = b: n = 0: i = i + 1 ' n\nIf a Then b = 1 Else: c = 2\n"
     "If a Then: Else b = 2\nEnd Sub"},
    {"line numbers", skModule,
     "Sub A()\n100 If a Then\n110 b = 1: c = 2\n115 For i = 1 To 3\n116 If i Then c = 1 Else c = 2\n"
     "117 Next i\n120 End If\n125 GoTo 100\n130 End Sub"},
    {"conditional compilation, PtrSafe and LongPtr", skModule,
     "Attribute VB_Name = \"modApi\"\n#If VBA7 Then\n"
     "Private Declare PtrSafe Function GetTickCount Lib \"kernel32\" () As LongPtr\n#Else\n"
     "Private Declare Function GetTickCount Lib \"kernel32\" () As Long\n#End If\n#If Win64 Then\n"
     "Private Sub Foo(ByVal h As LongPtr)\n#Else\nPrivate Sub Foo(ByVal h As Long)\n#End If\n"
     "Dim p As LongPtr, q As LongPtr: p = h\n#If VBA7 Then\nq = p\n#End If\nEnd Sub"},
    {"Attribute block after a blank line", skModule,
     "\nAttribute VB_Name = \"M\"\nAttribute VB_Description = \"d\"\n\nPublic Sub A()\nAttribute A.VB_Description = \"a\"\n"
     "x = 1\nEnd Sub"},
    {"VB6 form designer block", skForm,
     "VERSION 5.00\nObject = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; \"MSCOMCTL.OCX\"\n"
     "Begin VB.Form frmMain\n   Caption = \"Main\"\n   Begin VB.CommandButton cmdOk\n      Caption = \"OK\"\n"
     "      BeginProperty Font\n         Name = \"Arial\"\n      EndProperty\n   End\nEnd\n"
     "Attribute VB_Name = \"frmMain\"\nAttribute VB_Exposed = False\nPrivate Sub cmdOk_Click()\nUnload Me\nEnd Sub"},
    {"VB3 form", skForm,
     "VERSION 2.00\nBegin Form Form1\n   Caption = \"Form1\"\n   Begin CommandButton Command1\n"
     "      Caption = \"Go\"\n   End\nEnd\nSub Command1_Click ()\n10 If Text1.Text = \"\" Then Exit Sub\n"
     "20 MsgBox \"Go\"\nEnd Sub"},
    {"VBA user form", skForm,
     "VERSION 5.00\nBegin {C62A69F0-16DC-11CE-9E98-00AA00656041} UserForm1\n   Caption = \"User\"\n"
     "   OleObjectBlob = \"UserForm1.frx\":0000\nEnd\nAttribute VB_Name = \"UserForm1\"\n"
     "Attribute VB_PredeclaredId = True\nPrivate Sub UserForm_Click()\nMe.Hide\nEnd Sub"},
    {"class with properties", skClass,
     "VERSION 1.0 CLASS\nBEGIN\n  MultiUse = -1  'True\nEND\nAttribute VB_Name = \"clsItem\"\n"
     "Private m As Variant\nPublic Property Get Item(ByVal i As Long) As Variant\nAttribute Item.VB_UserMemId = 0\n"
     "Item = m\nEnd Property\nFriend Sub Init()\nEnd Sub\nPrivate Static Function Tick(n As Long) As Long\n"
     "Tick = n\nEnd Function"},
    {"empty comments", skModule,
     "Sub A()\nx = 1: y = 2 '\nDim a As Boolean, b As Boolean  '\nIf a Then b = 1 '\nFor c = 1 To 2\n"
     "Next c '\nConst K = 1, L = 2 '\n'\nEnd Sub"},
    {"continued headings and statements", skModule,
     "Public Function Bar(ByVal a As Long, _\n    ByVal b As Long) As Long\nAttribute Bar.VB_UserMemId = 0\n"
     "Do\nLoop Until a = 1 Or _\n b = 2\nIf a = 1 And _\n b = 2 Then c = 3\nBar = a\nEnd Function"},
    {"keywords in any letter case", skModule,
     "option explicit\nsub A()\nif x then\nselect case n\ncase 1\ndo while y: y = y - 1: loop\nend select\n"
     "ELSE\nFOR i = 1 TO 2: NEXT\nEND IF\nend sub"},
    {"byte order mark", skModule, "\xEF\xBB\xBFSub A()\nx = 1\nEnd Sub"},
    {"numbered loops", skModule,
     "Sub A()\nFor i = 1 To 3\n100 For j = 1 To 2\nNext ' j\n110 For k = 1 To 2: Next k\n120 Next i\n"
     "130 For n = 1 To 2: x = n\nNext\nEnd Sub"},
    {"continued block statements", skModule,
     "Sub A()\nIf a = 1 And _\n b = 2 Then\nFor i = 1 To _\n 10 ' to ten\nNext\nElseIf a = 2 Or _\n b Then\n"
     "Select Case _\n n\nCase 1, _\n 2\nEnd Select\nEnd If\n100 Do While a And _\n b\nLoop\nEnd Sub"},
    {"Option Explicit below a procedure", skModule,
     "Attribute VB_Name = \"M\"\nSub A()\nEnd Sub\n  option explicit ' late\nSub B()\nEnd Sub"},
};

TEST(FormatOptionsInvariant, AwkwardInputsAreNeverRefusedAndOneRunReachesTheResult) {
    std::vector<std::pair<std::string, Settings>> sets;
    for (const Variant& variant : Variants())
        sets.emplace_back(variant.name, variant.settings);
    std::mt19937 rng(24);
    for (int n = 0; n < 20; ++n)
        sets.emplace_back("random settings " + std::to_string(n), RandomSettings(rng));
    for (int trim = 0; trim < 2; ++trim) {
        Settings s = EveryOption();
        s.TrimTrailingBlanks = trim == 1;
        sets.emplace_back(trim ? "all on, trailing blanks trimmed" : "defaults", trim ? s : Settings());
    }
    for (const AwkwardFile& file : kAwkwardFiles) {
        const std::vector<std::string> input = SplitLines(file.text);
        for (const auto& [name, settings] : sets) {
            const std::string what = std::string(file.name) + " with " + name;
            bool unsettled = false;
            const std::vector<std::string> once = FormatOnce(input, settings, unsettled, file.kind);
            EXPECT_FALSE(unsettled) << what << ": one run did not reach the result";
            const auto mismatch = CompareCodeTokens(input, once, settings);
            EXPECT_FALSE(mismatch) << what << ": refused at line " << mismatch->originalLine << "\n"
                                   << JoinLines(once);
            EXPECT_EQ(once, FormatOnce(once, settings, unsettled, file.kind)) << what << ": a second run changed it";
        }
    }
}

} // namespace
} // namespace kemptor::test
