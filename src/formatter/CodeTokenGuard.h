#pragma once
// The last check before a formatted file is written: its code must be the code of the original, and
// every comment of the original must still be there, apart from what the settings in force ask the
// engine to change.
//
// Both texts are read as one stream of code tokens each (names, numbers, string and date literals,
// operators), statement by statement; blanks, indentation, blank lines and line continuations do not
// count, nor does the letter case of a name (Visual Basic ignores it). Statement forms that mean the
// same are written alike on both sides before the streams are compared:
//   - ":" between statements reads as a line end;
//   - a single-line If reads as its block form, with its Else and End If, so that the If split passes
//     while a cut that moves a statement into or out of the If does not;
//   - a declaration of several names ("Dim a, b As Long", "Const A = 1, B = 2", with any of Private,
//     Public, Global, Static, ReDim, Dim, Const) reads as one declaration per name; with the variable
//     split correcting types, a name without a type reads with the type of the next typed name of the
//     list (not a name with a type character: "f%" is typed already);
//   - "Next j, i" reads as two Next statements; while the For/Next setting adds or removes variables,
//     the variables of Next do not count;
//   - with Option Explicit insertion on and none in the original, one Option Explicit before the
//     first procedure is the engine's; it must stand right after the file's header (the designer
//     part and the Attribute lines), where the Visual Basic editor still reads the header;
//   - a UTF-8 byte order mark that starts a text is no part of its first line, and it must start
//     both texts or neither.
// Comments are compared on their text without blanks: every comment of the original must appear in
// the formatted text in the same order (a comment copied onto the pieces of a split may appear more
// often; header comments and border lines are new ones). A comment that a setting removes (whole-line
// or in-line removal, a full column that drops it, special comments) may be missing. With spell
// checking on, corrected literals and comments are allowed to differ.
//
// Lines that the engine left as they were, up to their indentation, are passed over without being
// taken apart, so the check costs little beside a formatting run.
//
// A refusal names the original line that lost the code or comment. Reading the two streams in step
// finds the first token that differs, which may lie lines after the loss when the lost text repeats
// what follows it ("x = 1: y = 2" cut to "x = 1" above a line "y = 2"); the place is then found
// again around that token: the loss is put where the fewest other lines count as changed. A comment
// pairs only with a formatted comment on the same statements (or moved next to them), so a lost
// comment is not matched by the same text a few lines on.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kemptor {

class TLineList;
struct Settings;

// The lines of one text as the guard reads them: a TLineList or a vector of strings, unchanged while
// the check runs.
class GuardLines {
public:
    GuardLines(const TLineList& lines) : list_(&lines) {}
    GuardLines(const std::vector<std::string>& lines) : strings_(&lines) {}
    std::size_t size() const;
    std::string_view operator[](std::size_t i) const;

private:
    const TLineList* list_ = nullptr;
    const std::vector<std::string>* strings_ = nullptr;
};

// Where the formatted text departs from the original: the original line that lost (or changed) code
// or a comment, and the formatted line where that shows. Lines and columns count from 1; a line of 0
// stands for the end of that text, a column of 0 for a place that no character of the line marks.
struct CodeMismatch {
    std::size_t originalLine = 0;
    std::size_t formattedLine = 0;
    bool comment = false;   // a comment of the original is missing (rather than code differing)
    std::size_t column = 0; // in the original line: the first token or the comment that differs
};

// Compares `original` with `formatted` under `settings`; no result when the formatted text keeps the
// code and the comments.
std::optional<CodeMismatch> CompareCodeTokens(GuardLines original, GuardLines formatted,
                                              const Settings& settings);

// The warning for a refused file: names it and the first differing line, then `consequence`
// ("The file is not written.").
std::string CodeMismatchMessage(std::string_view fileName, const CodeMismatch& mismatch,
                                std::string_view consequence);

} // namespace kemptor
