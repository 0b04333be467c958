#pragma once
// String and line-analysis helpers shared by the formatting engine, the metrics, the header commentor
// and the form structure tree.
//
// Lines are 8-bit text; every byte, including bytes above 127, NUL and CR, is ordinary content.
// Positions are 1-based and 0 means "not found". A string literal runs between two double quotes
// (a doubled quote toggles twice and so keeps the literal open); a comment begins at the first
// apostrophe outside a literal. `Rem` comments are not recognised. Upper-casing touches ASCII letters
// only, and the keyword tests compare ASCII text.
//
// Functions that return std::string_view return a part of their argument: keep the argument alive
// while the result is in use (do not pass a temporary std::string and store the view).

#include <string>
#include <string_view>

namespace kemptor {

// Letters, digits, "_" and bytes above 127 (accented letters): the characters of a name.
inline bool IsNameChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '_' || u >= 128;
}
// A string of n blanks; empty for n <= 0.
std::string Spaces(int n);
// Number of leading blanks (code 32 only); the length for a line of blanks only.
inline int LeadingSpaces(std::string_view s) {
    std::size_t n = 0;
    while (n < s.size() && s[n] == ' ')
        ++n;
    return static_cast<int>(n);
}
// First / last n characters of s (all of s when n exceeds its length; empty for n <= 0).
std::string_view LeftStr(std::string_view s, int n);
std::string_view RightStr(std::string_view s, int n);
// Position of the first occurrence of sub in s at or after position i; 0 if none, if i is beyond the
// end of s or if sub is empty.
int PosFrom(int i, std::string_view s, std::string_view sub);
// pattern repeated to n characters (n limited to 1000); empty for an empty pattern or n <= 0.
std::string RepeatPattern(std::string_view pattern, int n);

// Every tab outside a string literal replaced by tabWidth blanks (a tab is not advanced to a tab
// stop). Tabs inside literals belong to the program's strings and are kept; tabs in a comment are
// expanded.
std::string ExpandTabs(std::string_view s, int tabWidth);
// The same, written into out (whose capacity is reused).
void ExpandTabsInto(std::string& out, std::string_view s, int tabWidth);

// Removal of characters with codes up to 32 (blanks and control characters) from both ends, the
// start or the end. Defined here: the line tests call them many times per line.
inline std::string_view TrimLeft(std::string_view s) {
    std::size_t b = 0;
    while (b < s.size() && static_cast<unsigned char>(s[b]) <= 32)
        ++b;
    return s.substr(b);
}
inline std::string_view TrimRight(std::string_view s) {
    std::size_t e = s.size();
    while (e > 0 && static_cast<unsigned char>(s[e - 1]) <= 32)
        --e;
    return s.substr(0, e);
}
inline std::string_view Trim(std::string_view s) {
    return TrimLeft(TrimRight(s));
}
// s with ASCII letters upper-cased; other bytes unchanged.
std::string UpperCase(std::string_view s);
inline bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}
// True when s, ASCII upper-cased, begins with upperPrefix (written in upper case); nothing is copied.
bool StartsWithUpper(std::string_view s, std::string_view upperPrefix);

// Position of the first apostrophe outside a string literal; 0 if none.
int CommentPos(std::string_view s);
// The text after that apostrophe; empty without a comment.
std::string_view CommentText(std::string_view s);
// A comment's text without the blanks and tabs before it and the blanks after it; control characters
// before it or at its end (a NUL, a form feed) are part of it and stay.
std::string_view CommentBody(std::string_view text);
// The text before the comment's apostrophe with trailing blanks removed; s itself without a comment.
std::string_view StripComment(std::string_view s);
// s without every double quote and every character between a pair of them.
std::string RemoveLiterals(std::string_view s);
// The code of s as the line tests see it: comment and literals removed, ASCII upper-cased, trimmed.
std::string UpperCodeText(std::string_view s);
// Position of the first ch outside a string literal; 0 if none.
int PosOutsideQuotes(std::string_view s, char ch);
// True when position i of s lies inside a string literal; false when i is outside the line.
bool InsideLiteralAt(int i, std::string_view s);

// The code before the comment contains a double quote.
bool HasLiteral(std::string_view s);
// The line, trimmed at its start, begins with an apostrophe. Inline: every step of a pass asks it.
inline bool IsCommentOnly(std::string_view s) {
    const std::string_view t = TrimLeft(s);
    return !t.empty() && t.front() == '\'';
}
// Literals and comment removed and trailing blanks ignored, the line ends with a "_" that stands alone
// (after a blank or at the line start); "y = x_" ends in a name.
bool IsContinuedLine(std::string_view s);
// A word that can name a line: a line number, or a name that is not a reserved word making a
// statement on its own (Do, Loop, Else, Next, Wend, End, Stop, Return, Resume, Rem, in any letter
// case). Blanks around the word are ignored.
bool IsLabelWord(std::string_view word);
// The length of the leading line number of s ("100 If a Then", VB3-era code numbers its lines without
// a colon), its leading blanks included: digits followed by blanks and a statement that starts with a
// letter. 0 for a line without one.
std::size_t LineNumberLength(std::string_view s);
// s from its first statement on: trimmed at its left, and after a leading line number and its blanks.
std::string_view AfterLineNumber(std::string_view s);
// The line's code starts with a label word directly followed by ":" ("Retry:", "10:"); in
// "MsgBox "Done": Exit Sub" a literal comes before the colon, so it is a statement.
bool StartsWithLabel(std::string_view s);
// A label line: it starts with a label, and its code ends with that label's ":" or the line starts in
// the first column ("Retry:", "ErrHandler: Resume Next"). "x = 1: y = 2" and "Do: n = n + 1" are
// statements wherever they stand.
bool IsLabelLine(std::string_view s);
// The code (outside literals, before the comment) holds a colon.
bool HasCodeColon(std::string_view s);
// Not a label, and the code holds ":" but no ":=".
bool HasStatementSeparator(std::string_view s);
// An If whose Then is followed by a statement on the same line. "If" and "Then" count only as whole
// words, so an identifier such as "Authenticated" never passes for a Then.
bool IsSingleLineIf(std::string_view s);
// A Const or Global Const statement with a comma in its code.
bool IsMultiConstDecl(std::string_view s);
// A Dim, ReDim, Global (not Global Const) or Static (not Static Sub/Function/Property) statement with a
// comma.
bool IsMultiVarDecl(std::string_view s);
// t (trimmed, any letter case) begins a Dim, ReDim, Global (not Global Const) or Static (not Static
// Sub/Function/Property) statement.
bool StartsVarDeclaration(std::string_view t);
// The code holds "(" and "," (array bounds or a parameter list).
bool HasBoundsList(std::string_view s);

} // namespace kemptor
