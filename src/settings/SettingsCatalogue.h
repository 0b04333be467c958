#pragma once
// The catalogue of every setting kept in VBKEMPT3.INI: defined once here and expanded into the
// `Settings` struct, the profile loader and saver, the Options dialog and the command line.
//
// Columns: kind, section, key, default, minimum, maximum, Options page, caption, items.
//   Bool    check box, stored "1"/"0"
//   Radio   one button of a radio group stored as one boolean per button; `items` names the group
//   Int     spin box, clamped into [minimum, maximum]
//   Choice  radio group stored as the chosen item's index; `items` lists the captions, "|"-separated
//   Str     edit box; `maximum` > 0 limits what the user can type

#include <string>

#define KEMPTOR_SETTINGS(X)                                                                                  \
    X(Bool, "General", PreviewBeforeSaving, 1, 0, 0, "General", "Preview before saving", "")                 \
    X(Bool, "General", OptionExplicitInsert, 1, 0, 0, "General", "Insert 'Option Explicit'", "")             \
    X(Bool, "General", MultiConstSplit, 0, 0, 0, "General",                                                  \
      "Split multiple Const declarations on a single line", "")                                              \
    X(Bool, "General", MultiVarSplit, 0, 0, 0, "General",                                                    \
      "Split multiple variable declarations on a single line", "")                                           \
    X(Bool, "General", CorrectAsProblem, 1, 0, 0, "General", "Correct multiple variable", "")                \
    X(Bool, "General", IfThenSplit, 0, 0, 0, "General", "Split single line 'If - Then' statements", "")      \
    X(Bool, "General", MultiStatementSplit, 0, 0, 0, "General",                                              \
      "Split multiple statements separated by a :", "")                                                      \
    X(Bool, "General", AlignMultiDimAs, 1, 0, 0, "General", "Align multiple Dim xxx As statements", "")      \
    X(Int, "General", AlignDimAsGroupQty, 2, 1, 80, "General", "Quantity before grouping:", "")              \
    X(Choice, "General", GrpForNextProcessing, 0, 0, 2, "General", "For - Next Processing",                  \
      "Ignore|Add variable name to the Next|Remove variable name from the Next")                             \
    X(Bool, "General", TrimTrailingBlanks, 0, 0, 0, "General", "Remove trailing blanks", "")                 \
    X(Bool, "Indents", CodeIndentPerform, 1, 0, 0, "Indents", "Perform code indentation", "")                \
    X(Int, "Indents", DefaultLineIndent, 4, 0, 80, "Indents", "Base line indent", "")                        \
    X(Int, "Indents", LineContinueIndent, 4, 0, 80, "Indents", "Line continuation '_'", "")                  \
    X(Int, "Indents", IfThenElseIndent, 4, 0, 80, "Indents", "If - Then - Else", "")                         \
    X(Int, "Indents", SelectCaseIndent, 4, 0, 80, "Indents", "Select - Case", "")                            \
    X(Int, "Indents", CaseCodeIndent, 4, 0, 80, "Indents", "Case - Code", "")                                \
    X(Int, "Indents", DoLoopIndent, 4, 0, 80, "Indents", "Do - Loop", "")                                    \
    X(Int, "Indents", WhileWendIndent, 4, 0, 80, "Indents", "While - Wend", "")                              \
    X(Int, "Indents", ForNextIndent, 4, 0, 80, "Indents", "For - Next", "")                                  \
    X(Int, "Indents", TypeEndIndent, 4, 0, 80, "Indents", "Type - End", "")                                  \
    X(Int, "Indents", WithEndIndent, 4, 0, 80, "Indents", "With - End", "")                                  \
    X(Choice, "SingleLineComments", GrpSingleLineComments, 2, 0, 4, "Comments/Single Line", "",              \
      "Leave as is|Use fixed column|Start at indent level of prior line|Start at indent level of next "      \
      "line|Remove")                                                                                         \
    X(Int, "SingleLineComments", SingleLineCommentColumn, 4, 1, 80, "Comments/Single Line", "", "")          \
    X(Bool, "SingleLineComments", SingleLineCommentBlocks, 1, 0, 0, "Comments/Single Line",                  \
      "Block Comments", "")                                                                                  \
    X(Int, "SingleLineComments", SingleLineCommentGroupQty, 5, 1, 80, "Comments/Single Line",                \
      "Quantity before grouping:", "")                                                                       \
    X(Str, "SingleLineComments", SingleLineCommentBlockCharacters, "-", 0, 5, "Comments/Single Line",        \
      "Blocking character(s):", "")                                                                          \
    X(Int, "SingleLineComments", SingleLineCommentBlockCharacterTotal, 50, 0, 80, "Comments/Single Line",    \
      "Total blocking characters:", "")                                                                      \
    X(Choice, "InLineComments", GrpInLineComments, 1, 0, 3, "Comments/In-line", "",                          \
      "Leave as is|Use fixed column:|Position to the right by:|Remove")                                      \
    X(Int, "InLineComments", InLineCommentsFixedColumn, 40, 1, 80, "Comments/In-line", "", "")               \
    X(Int, "InLineComments", InLineCommentsIndent, 4, 1, 80, "Comments/In-line", "", "")                     \
    X(Choice, "InLineComments", GrpInLineCommentsFixedColUnavail, 0, 0, 3, "Comments/In-line",               \
      "If fixed column is unavailable...",                                                                   \
      "Position to the right by:|Place on previous line|Place on next line|Remove")                          \
    X(Int, "InLineComments", InLineCommentsUnavailColIndent, 4, 1, 80, "Comments/In-line", "", "")           \
    X(Bool, "SubComments", SubLevelCommentsPerform, 0, 0, 0, "Comments/Subroutines",                         \
      "Insert sub level comments", "")                                                                       \
    X(Choice, "SubComments", GrpSubLevelComments, 2, 0, 2, "Comments/Subroutines", "",                       \
      "Add in form level code|Add in module level code|Add in both form and module level code")              \
    X(Radio, "SubComments", SubLevelCommentsBeforeProcedure, 0, 0, 0, "Comments/Subroutines",                \
      "Before start of procedure", "SubPlacement")                                                           \
    X(Radio, "SubComments", SubLevelCommentsAfterProcedure, 1, 0, 0, "Comments/Subroutines",                 \
      "After start of procedure", "SubPlacement")                                                            \
    X(Str, "SubComments", SubLevelCommentsFile, "", 0, 0, "Comments/Subroutines", "Load from file:", "")     \
    X(Bool, "FunctionComments", FunctionLevelCommentsPerform, 0, 0, 0, "Comments/Functions",                 \
      "Insert function level comments", "")                                                                  \
    X(Choice, "FunctionComments", GrpFunctionLevelComments, 2, 0, 2, "Comments/Functions", "",               \
      "Add in form level code|Add in module level code|Add in both form and module level code")              \
    X(Radio, "FunctionComments", FunctionLevelCommentsBeforeProcedure, 0, 0, 0, "Comments/Functions",        \
      "Before start of function", "FunctionPlacement")                                                       \
    X(Radio, "FunctionComments", FunctionLevelCommentsAfterProcedure, 1, 0, 0, "Comments/Functions",         \
      "After start of function", "FunctionPlacement")                                                        \
    X(Str, "FunctionComments", FunctionLevelCommentsFile, "", 0, 0, "Comments/Functions",                    \
      "Load from file:", "")                                                                                 \
    X(Bool, "SpecialComments", SpecialRemoveComments, 0, 0, 0, "Comments/Special",                           \
      "Remove any comment lines that start with:", "")                                                       \
    X(Str, "SpecialComments", SpecialRemoveCommentCharacters, "!", 0, 5, "Comments/Special", "", "")         \
    X(Choice, "BlankLines", GrpBlankLines, 0, 0, 2, "Blank Lines", "",                                       \
      "No change|Use below rules|Remove all blank lines")                                                    \
    X(Int, "BlankLines", BlankLinesIfThenBefore, 1, 0, 80, "Blank Lines", "If - Then", "")                   \
    X(Int, "BlankLines", BlankLinesIfThenAfter, 0, 0, 80, "Blank Lines", "If - Then", "")                    \
    X(Int, "BlankLines", BlankLinesElseBefore, 0, 0, 80, "Blank Lines", "Else - ElseIf", "")                 \
    X(Int, "BlankLines", BlankLinesElseAfter, 0, 0, 80, "Blank Lines", "Else - ElseIf", "")                  \
    X(Int, "BlankLines", BlankLinesEndIfBefore, 0, 0, 80, "Blank Lines", "End If", "")                       \
    X(Int, "BlankLines", BlankLinesEndIfAfter, 1, 0, 80, "Blank Lines", "End If", "")                        \
    X(Int, "BlankLines", BlankLinesSelectBefore, 1, 0, 80, "Blank Lines", "Select", "")                      \
    X(Int, "BlankLines", BlankLinesSelectAfter, 0, 0, 80, "Blank Lines", "Select", "")                       \
    X(Int, "BlankLines", BlankLinesCaseBefore, 0, 0, 80, "Blank Lines", "Case", "")                          \
    X(Int, "BlankLines", BlankLinesCaseAfter, 0, 0, 80, "Blank Lines", "Case", "")                           \
    X(Int, "BlankLines", BlankLinesEndSelectBefore, 0, 0, 80, "Blank Lines", "End Select", "")               \
    X(Int, "BlankLines", BlankLinesEndSelectAfter, 1, 0, 80, "Blank Lines", "End Select", "")                \
    X(Int, "BlankLines", BlankLinesForBefore, 1, 0, 80, "Blank Lines", "For", "")                            \
    X(Int, "BlankLines", BlankLinesForAfter, 0, 0, 80, "Blank Lines", "For", "")                             \
    X(Int, "BlankLines", BlankLinesNextBefore, 0, 0, 80, "Blank Lines", "Next", "")                          \
    X(Int, "BlankLines", BlankLinesNextAfter, 1, 0, 80, "Blank Lines", "Next", "")                           \
    X(Int, "BlankLines", BlankLinesDoBefore, 1, 0, 80, "Blank Lines", "Do", "")                              \
    X(Int, "BlankLines", BlankLinesDoAfter, 0, 0, 80, "Blank Lines", "Do", "")                               \
    X(Int, "BlankLines", BlankLinesLoopBefore, 0, 0, 80, "Blank Lines", "Loop", "")                          \
    X(Int, "BlankLines", BlankLinesLoopAfter, 1, 0, 80, "Blank Lines", "Loop", "")                           \
    X(Int, "BlankLines", BlankLinesWhileBefore, 1, 0, 80, "Blank Lines", "While", "")                        \
    X(Int, "BlankLines", BlankLinesWhileAfter, 0, 0, 80, "Blank Lines", "While", "")                         \
    X(Int, "BlankLines", BlankLinesWendBefore, 0, 0, 80, "Blank Lines", "Wend", "")                          \
    X(Int, "BlankLines", BlankLinesWendAfter, 1, 0, 80, "Blank Lines", "Wend", "")                           \
    X(Bool, "SpellCheck", SpellingPerform, 0, 0, 0, "Spell Check", "Perform spell checking", "")             \
    X(Bool, "SpellCheck", SpellingLiterals, 0, 0, 0, "Spell Check", "String literals", "")                   \
    X(Bool, "SpellCheck", SpellingComments, 0, 0, 0, "Spell Check", "Comments", "")                          \
    X(Str, "BackupInformation", BackupNewCodeDirectory, ".\\STYLED\\", 0, 0, "Save",                         \
      "Create new code in:", "")                                                                             \
    X(Radio, "BackupInformation", BackupOnlyNewFiles, 0, 0, 0, "Save", "Only create new files", "Backup")    \
    X(Radio, "BackupInformation", BackupMAKFiles, 1, 0, 0, "Save",                                           \
      "Copy all files in the .Mak file (including .FRX's)", "Backup")                                        \
    X(Radio, "BackupInformation", BackupAllFiles, 0, 0, 0, "Save",                                           \
      "Copy all files in the original directory", "Backup")                                                  \
    X(Bool, "BackupInformation", CreateLog, 0, 0, 0, "Save", "Create a log file", "")                        \
    X(Str, "UserInformation", UserName, "Unknown", 0, 0, "User", "User name:", "")                           \
    X(Str, "UserInformation", UserCompany, "Unknown", 0, 0, "User", "Company:", "")

namespace kemptor {

enum class SettingKind { Bool, Radio, Int, Choice, Str };

namespace settings_detail {
using Bool = bool;
using Radio = bool;
using Int = int;
using Choice = int;
using Str = std::string;
} // namespace settings_detail

// The settings in force: one member per catalogue key, named after the key, holding its default.
// The header comment templates and the tab width travel beside it (they are not profile keys).
struct Settings {
#define KEMPTOR_SETTING_MEMBER(kind, section, key, def, lo, hi, page, caption, items)                        \
    settings_detail::kind key = def;
    KEMPTOR_SETTINGS(KEMPTOR_SETTING_MEMBER)
#undef KEMPTOR_SETTING_MEMBER

    int TabWidth = 4; // VB.INI [Visual Basic] TabStops

    bool operator==(const Settings&) const = default;
};

// One row of the catalogue, for code that walks every setting (loader, saver, dialog, --set).
struct SettingDef {
    SettingKind kind;
    const char* section;
    const char* key;
    int defaultInt;          // Bool/Radio/Int/Choice
    const char* defaultText; // Str
    int minimum;
    int maximum; // Int: range; Choice: last index; Str: longest typed text (0 = no limit)
    const char* page;
    const char* caption;
    const char* items; // Choice: captions "|"-separated; Radio: the group's name
};

} // namespace kemptor
