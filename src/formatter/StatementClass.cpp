#include "formatter/StatementClass.h"

#include "formatter/LineHelpers.h"
#include "formatter/StatementCuts.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace kemptor {

namespace {

// Where a keyword is looked for: at the start of the line (keyword with its blank or a colon), at the
// start of the line with one blank appended (so a closing keyword may end the line), or anywhere after
// the keyword's blank. Keywords compare in any letter case: code written outside the Visual Basic
// editor ("end if", "SUB") has its blocks as the editor's has.
enum class Match { Start, StartOrWhole, StartUpper };

struct Rule {
    const char* keyword; // ends with a blank
    Match match;
    TStatementClass cls;
};

using C = TStatementClass;

// Every heading form: Public, Private or Friend, then optionally Static, then Sub, Function or
// Property. Friend procedures take the public classes; an Enum block is indented as a Type block.
constexpr std::array<Rule, 55> kRules{{
    {"Property ", Match::Start, C::scFunction},
    {"Private Property ", Match::Start, C::scPrivateFunction},
    {"Static Property ", Match::Start, C::scStaticFunction},
    {"Public Property ", Match::Start, C::scPublicFunction},
    {"Private Static Property ", Match::Start, C::scPrivateFunction},
    {"Public Static Property ", Match::Start, C::scPublicFunction},
    {"Friend Property ", Match::Start, C::scPublicFunction},
    {"Friend Static Property ", Match::Start, C::scPublicFunction},
    {"End Property ", Match::StartOrWhole, C::scEndFunction},
    {"Function ", Match::Start, C::scFunction},
    {"Private Function ", Match::Start, C::scPrivateFunction},
    {"Static Function ", Match::Start, C::scStaticFunction},
    {"Public Function ", Match::Start, C::scPublicFunction},
    {"Private Static Function ", Match::Start, C::scPrivateFunction},
    {"Public Static Function ", Match::Start, C::scPublicFunction},
    {"Friend Function ", Match::Start, C::scPublicFunction},
    {"Friend Static Function ", Match::Start, C::scPublicFunction},
    {"End Function ", Match::StartOrWhole, C::scEndFunction},
    {"Sub ", Match::Start, C::scSub},
    {"Private Sub ", Match::Start, C::scPrivateSub},
    {"Static Sub ", Match::Start, C::scStaticSub},
    {"Public Sub ", Match::Start, C::scPublicSub},
    {"Private Static Sub ", Match::Start, C::scPrivateSub},
    {"Public Static Sub ", Match::Start, C::scPublicSub},
    {"Friend Sub ", Match::Start, C::scPublicSub},
    {"Friend Static Sub ", Match::Start, C::scPublicSub},
    {"End Sub ", Match::StartOrWhole, C::scEndSub},
    {"With ", Match::Start, C::scWith},
    {"End With ", Match::StartOrWhole, C::scEndWith},
    {"Type ", Match::Start, C::scType},
    {"Public Type ", Match::Start, C::scType},
    {"Private Type ", Match::Start, C::scType},
    {"Enum ", Match::Start, C::scType},
    {"Public Enum ", Match::Start, C::scType},
    {"Private Enum ", Match::Start, C::scType},
    {"TYPE AS ", Match::StartUpper, C::scOther},
    {"End Type ", Match::StartOrWhole, C::scEndType},
    {"End Enum ", Match::StartOrWhole, C::scEndType},
    {"If ", Match::Start, C::scIf},
    {"Else ", Match::StartOrWhole, C::scElse},
    {"ElseIf ", Match::Start, C::scElseIf},
    {"End If ", Match::StartOrWhole, C::scEndIf},
    {"#If ", Match::Start, C::scIf},
    {"#Else ", Match::StartOrWhole, C::scElse},
    {"#ElseIf ", Match::Start, C::scElseIf},
    {"#End If ", Match::StartOrWhole, C::scEndIf},
    {"Select Case ", Match::Start, C::scSelectCase},
    {"Case ", Match::Start, C::scCase},
    {"End Select ", Match::StartOrWhole, C::scEndSelect},
    {"Do ", Match::StartOrWhole, C::scDo},
    {"Loop ", Match::StartOrWhole, C::scLoop},
    {"While ", Match::Start, C::scWhile},
    {"Wend ", Match::StartOrWhole, C::scWend},
    {"For ", Match::Start, C::scFor},
    {"Next ", Match::StartOrWhole, C::scNext},
}};

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool EqualUpper(const char* upperKeyword, std::string_view t, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        char c = t[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != upperKeyword[i])
            return false;
    }
    return true;
}

// The first n bytes of t are those of keyword, in any letter case. A plain loop: most candidates
// differ within the first few bytes, sooner than a library comparison is set up. Exact bytes are
// compared first, the common case of code in the editor's capitalisation.
bool SameStart(std::string_view t, const char* keyword, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        if (t[i] != keyword[i] && !(IsLetter(keyword[i]) && (t[i] | 0x20) == (keyword[i] | 0x20)))
            return false;
    return true;
}

// What may follow a keyword: a blank, or the ":" that joins the next statement ("Do: n = n + 1").
bool EndsKeyword(char c) {
    return c == ' ' || c == ':';
}

bool Matches(const Rule& rule, std::string_view t, std::size_t length) {
    switch (rule.match) {
    case Match::Start:
        return t.size() >= length && SameStart(t, rule.keyword, length - 1) && EndsKeyword(t[length - 1]);
    case Match::StartOrWhole:
        // The keyword followed by a blank or a colon, or the keyword ending the line.
        if (t.size() < length - 1 || !SameStart(t, rule.keyword, length - 1))
            return false;
        return t.size() == length - 1 || EndsKeyword(t[length - 1]);
    case Match::StartUpper:
        return t.size() >= length && EqualUpper(rule.keyword, t, length);
    }
    return false;
}

// The rules that can match a line starting with a given byte, in table order, with their keyword
// lengths and second letters: a line is tried against a handful of rules instead of all of them, and
// most of those are told apart by its second byte.
struct RuleIndex {
    std::array<std::size_t, kRules.size()> lengths{};
    std::array<char, kRules.size()> secondLetters{}; // upper case: every keyword's second byte is a letter
    std::array<std::vector<std::uint8_t>, 256> byFirstByte;
    RuleIndex() {
        for (std::size_t i = 0; i < kRules.size(); ++i) {
            lengths[i] = std::strlen(kRules[i].keyword);
            secondLetters[i] = static_cast<char>(kRules[i].keyword[1] & ~0x20);
            const auto first = static_cast<unsigned char>(kRules[i].keyword[0]);
            byFirstByte[first].push_back(static_cast<std::uint8_t>(i));
            if (first >= 'A' && first <= 'Z')
                byFirstByte[first - 'A' + 'a'].push_back(static_cast<std::uint8_t>(i));
        }
    }
};

} // namespace

TStatementClass ClassifyLine(std::string_view s) {
    static const RuleIndex index;
    // A leading line number is a label: the statement after it is what is classified.
    const std::string_view t = AfterLineNumber(s);
    TStatementClass result = C::scOther;
    if (t.size() < 2)
        return result; // shorter than any keyword
    const char second = static_cast<char>(t[1] & ~0x20); // a letter upper-cased; no other byte passes
    for (const std::uint8_t i : index.byFirstByte[static_cast<unsigned char>(t[0])])
        if (second == index.secondLetters[i] && Matches(kRules[i], t, index.lengths[i]))
            result = kRules[i].cls;
    // A first word followed by As declares a member or variable of that name ("Type As Long",
    // "Next      As Long" in a Type block), whatever keyword the name spells.
    if (result != C::scOther && cuts::IsWordAsDeclaration(t))
        result = C::scOther;
    return result;
}

std::string_view StatementClassName(TStatementClass c) {
    static constexpr std::string_view names[] = {"other",
                                                 "function",
                                                 "private function",
                                                 "static function",
                                                 "public function",
                                                 "end function",
                                                 "sub",
                                                 "private sub",
                                                 "static sub",
                                                 "public sub",
                                                 "end sub",
                                                 "With",
                                                 "End With",
                                                 "Type",
                                                 "End Type",
                                                 "If",
                                                 "Else",
                                                 "ElseIf",
                                                 "End If",
                                                 "Select Case",
                                                 "Case",
                                                 "End Select",
                                                 "Do",
                                                 "Loop",
                                                 "While",
                                                 "Wend",
                                                 "For",
                                                 "Next"};
    return names[static_cast<int>(c)];
}

} // namespace kemptor
