#pragma once
// The header of a source file, which the Visual Basic editor reads before the code: the designer part
// of a form, class, user control or VBA user form (a VERSION line, then a block opened by Begin and
// closed by its own End), then the Attribute lines. Option Explicit goes right after it. The engine
// and the code check find it alike.
//
// `Lines` is any list of lines with size() and an operator[] that gives a std::string_view.

#include "formatter/LineHelpers.h"

#include <cstddef>
#include <string_view>

namespace kemptor {

// The UTF-8 byte order mark: when a file starts with it, it belongs to the file, not to its first line.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// True when `word` (upper case, a whole word, compared in any letter case) begins the line, after
// blanks and tabs.
inline bool StartsWithHeaderWord(std::string_view line, std::string_view upperWord) {
    const std::string_view t = Trim(line);
    return StartsWithUpper(t, upperWord) && (t.size() == upperWord.size() || !IsNameChar(t[upperWord.size()]));
}

// An Attribute line, in any letter case and indentation.
inline bool IsAttributeLine(std::string_view line) {
    return StartsWithHeaderWord(line, "ATTRIBUTE");
}

// An Option Explicit statement, in any letter case and indentation, with or without a comment.
inline bool IsOptionExplicitLine(std::string_view line) {
    if (!StartsWithHeaderWord(line, "OPTION"))
        return false; // most lines: told without looking for a comment
    const std::string_view t = Trim(StripComment(line));
    const std::string_view rest = TrimLeft(t.substr(6));
    return rest.size() == 8 && StartsWithUpper(rest, "EXPLICIT");
}

// The lines hold an Option Explicit statement anywhere: one that stands below a procedure counts too,
// so that none is inserted beside it.
template <class Lines> bool HasOptionExplicit(const Lines& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (IsOptionExplicitLine(lines[i]))
            return true;
    return false;
}

// The number of lines of the designer part that the lines start with: a VERSION line, then a block
// opened by Begin ("Begin VB.Form frmMain", "Begin {GUID} UserForm1", "BEGIN") and closed by its own
// End (nested Begin/End blocks of controls inside it). 0 when there is no such part, or when the
// block is never closed. A bare End statement in the code is no designer END: only the END that
// closes this first block is.
template <class Lines> std::size_t DesignerPartLength(const Lines& lines) {
    std::size_t i = 0;
    const std::size_t count = lines.size();
    while (i < count && Trim(lines[i]).empty())
        ++i;
    if (i == count || !StartsWithHeaderWord(lines[i], "VERSION"))
        return 0;
    int depth = 0;
    for (++i; i < count; ++i) {
        const std::string_view line = lines[i];
        if (StartsWithHeaderWord(line, "BEGIN")) {
            ++depth;
        } else if (depth > 0 && StartsWithHeaderWord(line, "END") && Trim(line).size() == 3) {
            if (--depth == 0)
                return i + 1;
        } else if (depth == 0 && !StartsWithHeaderWord(line, "OBJECT") && !Trim(line).empty()) {
            return 0; // something other than the Object lines of a form before its Begin
        }
    }
    return 0;
}

// Where the header ends: the line after the last Attribute line of the blank and Attribute lines that
// start at `from` (the end of the designer part); `from` itself when they hold no Attribute line.
template <class Lines> std::size_t HeaderEnd(const Lines& lines, std::size_t from) {
    std::size_t end = from;
    for (std::size_t i = from; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (IsAttributeLine(line))
            end = i + 1;
        else if (!Trim(line).empty())
            break;
    }
    return end;
}

} // namespace kemptor
