#pragma once
// The four measures taken from the text of one file: routines, globals, and the comment and
// whitespace ratios to the code lines. Each takes the file's lines and returns one integer.

#include <string_view>

#include "platform/TextFile.h"

namespace kemptor {

// True when the line's code (the comment removed, trimmed) is a Sub or Function heading: any of the
// modifiers Public, Private, Friend and Static, in any order, then "Sub" or "Function" and the name,
// every word in any letter case. A Declare statement, an End or Exit statement, and a heading inside a
// literal or a comment are none.
bool IsRoutineHeading(std::string_view line);

// The number of Sub and Function headings.
int CountRoutines(const TextLines& lines);

// The names a Global statement declares: one more than its commas outside parentheses and string
// literals; 0 for any other line. "Global" is matched in any letter case.
int GlobalNamesOf(std::string_view line);
// The number of names declared with Global.
int CountGlobals(const TextLines& lines);

// Lines holding a comment per 100 code lines (a line whose code part is not blank), rounded to the
// nearest integer with ties to the even one. No code line counts as one, so the ratio is defined for a
// file of comments only; it may exceed 100.
int CommentPercent(const TextLines& lines);
// Blank lines (no comment, nothing but blanks) per 100 code lines, rounded as above.
int WhitespacePercent(const TextLines& lines);

// part * 100 / whole rounded to the nearest integer, a tie going to the even one; whole below 1 is
// taken as 1. Exact in integers, so 12.5 gives 12 and 37.5 gives 38 on every platform.
int RoundedPercent(long long part, long long whole);

} // namespace kemptor
