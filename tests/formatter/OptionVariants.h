#pragma once
// The option sets and generated modules that the invariant tests and the golden output test share:
// each option on its own, every option together, random combinations, and modules full of lines that
// the splitters, the comment placement and the For/Next handling must treat with care.
#include "FormatTestSupport.h"

#include <random>
#include <string>
#include <vector>

namespace kemptor::test {

struct Variant {
    std::string name;
    Settings settings;
    bool keepsComments = true;
};

inline std::vector<Variant> Variants() {
    std::vector<Variant> v;
    auto add = [&](std::string name, auto change, bool keepsComments = true) {
        Settings s;
        change(s);
        v.push_back({std::move(name), s, keepsComments});
    };
    add("If split", [](Settings& s) { s.IfThenSplit = true; });
    add("statement split", [](Settings& s) { s.MultiStatementSplit = true; });
    add("variable split", [](Settings& s) { s.MultiVarSplit = true; });
    add("variable split without types", [](Settings& s) {
        s.MultiVarSplit = true;
        s.CorrectAsProblem = false;
    });
    add("constant split", [](Settings& s) { s.MultiConstSplit = true; });
    add("alignment off", [](Settings& s) { s.AlignMultiDimAs = false; });
    add("Next gets variables", [](Settings& s) { s.GrpForNextProcessing = 1; });
    add("Next loses variables", [](Settings& s) { s.GrpForNextProcessing = 2; });
    for (int item = 0; item <= 3; ++item)
        add("whole-line comments " + std::to_string(item),
            [item](Settings& s) { s.GrpSingleLineComments = item; });
    add(
        "whole-line comments removed", [](Settings& s) { s.GrpSingleLineComments = 4; }, false);
    add("comment blocks off", [](Settings& s) { s.SingleLineCommentBlocks = false; });
    add("comment blocks of 1", [](Settings& s) {
        s.SingleLineCommentGroupQty = 1;
        s.SingleLineCommentBlockCharacters = "*=";
    });
    for (int item : {0, 2})
        add("in-line comments " + std::to_string(item), [item](Settings& s) { s.GrpInLineComments = item; });
    add(
        "in-line comments removed", [](Settings& s) { s.GrpInLineComments = 3; }, false);
    for (int fallback = 0; fallback <= 2; ++fallback)
        add("narrow column, fallback " + std::to_string(fallback), [fallback](Settings& s) {
            s.InLineCommentsFixedColumn = 6;
            s.GrpInLineCommentsFixedColUnavail = fallback;
        });
    add(
        "narrow column, removed",
        [](Settings& s) {
            s.InLineCommentsFixedColumn = 6;
            s.GrpInLineCommentsFixedColUnavail = 3;
        },
        false);
    add(
        "special comments removed",
        [](Settings& s) {
            s.SpecialRemoveComments = true;
            s.SpecialRemoveCommentCharacters = " n";
        },
        false);
    add("blank lines by rules", [](Settings& s) { s.GrpBlankLines = 1; });
    add("blank lines removed", [](Settings& s) { s.GrpBlankLines = 2; });
    add("headers after",
        [](Settings& s) { s.SubLevelCommentsPerform = s.FunctionLevelCommentsPerform = true; });
    add("headers before", [](Settings& s) {
        s.SubLevelCommentsPerform = s.FunctionLevelCommentsPerform = true;
        s.SubLevelCommentsBeforeProcedure = s.FunctionLevelCommentsBeforeProcedure = true;
        s.SubLevelCommentsAfterProcedure = s.FunctionLevelCommentsAfterProcedure = false;
    });
    auto allOn = [](Settings& s) { s = EveryOption(); };
    add("all on", allOn);
    add(
        "all on with removals",
        [&](Settings& s) {
            allOn(s);
            s.GrpForNextProcessing = 2;
            s.SpecialRemoveComments = true;
            s.GrpInLineCommentsFixedColUnavail = 3;
            s.GrpBlankLines = 2;
        },
        false);
    return v;
}

// Lines that the splitters, the comment placement and the For/Next handling must treat with care.
inline std::vector<std::string> SplitProneModule(unsigned sampleNo) {
    std::mt19937 rng(sampleNo);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    static const std::vector<std::string> kLines = {
        "Dim a, b As Integer, c",
        "Dim s As String, t ' two",
        "dim p,q as long",
        "Static n1, n2",
        "Const A1 = 1, B1 = \"x, y\" ' consts",
        "Global Const G1 = (1 + 2), H1 = 3",
        "Dim m(1, 2) As Integer, k",
        "Dim u, v As Long: w = 1",
        "If x Then y = 1 Else y = 2",
        "if a then b = \"Then Else\": c = 3 ' both",
        "If ThenValue Then ElseCount = 1",
        "If a Then If b Then c = 1 Else c = 2",
        "If a Then _",
        "Iffy = ThenCount + 1",
        "x = 1: y = \"a:b\": z = 3 ' c",
        "Call Work(Mode:=1): n = 2",
        "Rem note: with, commas",
        "x = 2: Rem it's: here",
        "x = 1 ' this comment goes on _",
        "Next more: text, If y Then it",
        "For i = 1 To 3",
        "For j=1 To 2: n = n + j: Next",
        "Next j, i",
        "Next",
        "Next i ' done",
        "For Each c In col",
        "nTotal = nTotal + nCount + nOther + nMore ' a long line with a comment",
        "' a whole-line comment",
        "'! special",
        "x = 1 '! special too",
        "",
        "Type                As Long",
        "Next      As Long",
        "If a Then If b Then If c Then x = 1",
        "t = #10:30:00 AM#: Print #1, t",
        "Const T0 = #8:00:00 AM#, T1 = #5:00:00 PM#",
        "Dim f%, L$, e As Long",
        "MsgBox \"Done\": Exit Sub",
        "y = x_",
        "' first of a group",
        "' second of a group",
        "'! special in a group",
        "nLongerName = nLongerName + 1 ' a comment that will not fit before the column",
        "Dim s2 As String ' with a note",
        "Dim nVeryLongVariableName As Long ' no room once the group is aligned",
        "Dim f As Integer, sLine As String",
        "If Left$(sLine, 1) = REMARK_CHAR Then GoTo NextLine       'a remark",
        "Next ' the loop ends",
        "10 Print L$; n%: GoTo 10",
    };
    std::vector<std::string> lines = {"Option Explicit", "Sub Extra()"};
    for (int n = 10 + pick(30); n > 0; --n) {
        std::string line = std::string(static_cast<std::size_t>(pick(3) * 4), ' ') +
                           kLines[pick(static_cast<int>(kLines.size()))];
        lines.push_back(line);
        if (line.ends_with("If a Then _"))
            lines.push_back("    b = 1");
        if (pick(8) == 0)
            for (const char* continued : {"If a = 1 And _", "b = 2 Then c = 3"})
                lines.push_back(continued);
    }
    lines.push_back("End Sub");
    lines.push_back("Public Function Sum(a As Long, b As Long) As Long");
    lines.push_back("    Sum = a + b ' adds");
    lines.push_back("End Function");
    if (pick(2) == 0)
        lines.insert(lines.end(), {"#If Win32 Then", "Private Static Sub Foo(ByVal h As Long)", "#Else",
                                   "Friend Sub Foo(ByVal h As Integer)", "#End If", "End", "End Sub",
                                   "Public Function Bar(ByVal a As Long, _", "ByVal b As Long) As Long",
                                   "Attribute Bar.VB_UserMemId = 0", "Bar = a", "End Function"});
    return lines;
}

// A setting of every option picked at random: the combinations that a user's settings file may hold.
inline Settings RandomSettings(std::mt19937& rng) {
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    auto flip = [&] { return pick(2) == 1; };
    Settings s;
    s.IfThenSplit = flip();
    s.MultiStatementSplit = flip();
    s.MultiVarSplit = flip();
    s.MultiConstSplit = flip();
    s.CorrectAsProblem = flip();
    s.AlignMultiDimAs = flip();
    s.OptionExplicitInsert = flip();
    s.GrpForNextProcessing = pick(3);
    s.GrpSingleLineComments = pick(5);
    s.SingleLineCommentColumn = 1 + pick(12);
    s.SingleLineCommentBlocks = flip();
    s.SingleLineCommentGroupQty = 1 + pick(4);
    s.GrpInLineComments = pick(4);
    s.InLineCommentsFixedColumn = pick(2) == 0 ? 6 + pick(10) : 30 + pick(20);
    s.GrpInLineCommentsFixedColUnavail = pick(4);
    s.SpecialRemoveComments = flip();
    s.GrpBlankLines = pick(3);
    s.SubLevelCommentsPerform = flip();
    s.FunctionLevelCommentsPerform = flip();
    s.SubLevelCommentsBeforeProcedure = s.FunctionLevelCommentsBeforeProcedure = flip();
    s.SubLevelCommentsAfterProcedure = s.FunctionLevelCommentsAfterProcedure =
        !s.SubLevelCommentsBeforeProcedure;
    s.IfThenElseIndent = 2 + pick(3);
    s.LineContinueIndent = pick(2) == 0 ? 4 : 8;
    return s;
}

} // namespace kemptor::test
