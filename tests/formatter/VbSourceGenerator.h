#pragma once
// Random Visual Basic modules for the formatter's invariant tests: nested blocks of every kind, labels,
// continuation lines, single-line Ifs, declarations, comments, literals holding apostrophes, colons,
// tabs and doubled quotes, bytes above 127, ragged indentation with blanks and tabs, and now and then an
// unbalanced block. The same sample number gives the same module.

#include <random>
#include <string>
#include <vector>

namespace kemptor::test {

class VbSourceGenerator {
public:
    explicit VbSourceGenerator(unsigned sampleNo) : rng_(sampleNo) {}

    std::vector<std::string> Module() {
        lines_.clear();
        if (Chance(30))
            lines_.insert(lines_.end(), {"Attribute VB_Name = \"modX\"", "Attribute VB_Exposed = False"});
        if (Chance(50))
            lines_.push_back("Option Explicit");
        for (int n = Pick(6); n > 0; --n)
            Line(OneOf({"Dim " + Name() + " As Long", "Private mA As String   ' kept", "Const LIMIT = 9", "",
                        "Global gB As Integer"}));
        if (Chance(30))
            for (const char* member :
                 {"Private Type Rec", "Code As String * 12", "Type As Integer", "End Type"})
                Line(member);
        for (int n = 1 + Pick(4); n > 0; --n) {
            const std::string head = OneOf({"Sub Run()", "Private Sub Form_Load()", "Static Sub Tick()",
                                            "Public Function Total(ByVal n As Long) As Long",
                                            "Public Property Get Value() As Long"});
            Line(head);
            if (Chance(40))
                lines_.push_back("Attribute Value.VB_UserMemId = 0");
            Body(0);
            if (Chance(95))
                Line(head.find("Function") != std::string::npos   ? "End Function"
                     : head.find("Property") != std::string::npos ? "End Property"
                                                                  : "End Sub");
        }
        return lines_;
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool Chance(int percent) { return Pick(100) < percent; }
    std::string OneOf(const std::vector<std::string>& items) {
        return items[Pick(static_cast<int>(items.size()))];
    }

    std::string Name() {
        return OneOf({"a", "nCount", "Then1", "Authenticated", "ElseValue", "x_", "\xE9t\xE9"});
    }
    std::string Literal() {
        return OneOf({"\"plain\"", "\"it's\"", "\"a:b\"", "\"tab\there\"", "\"say \"\"hi\"\"\"", "\"\"",
                      "\"x, y\"", "\"\xFC\xDF\"", "\"' not a comment\""});
    }
    std::string Comment() {
        return OneOf({"' note", "'tight", "'   spaced  out", "' \"quoted\" text", "' it's fine", "' a: b",
                      "'\tafter a tab", "' \xA9 1999"});
    }
    std::string Statement() {
        std::string s =
            OneOf({Name() + " = " + Literal(), Name() + " = " + Name() + " + 1",
                   "Call Work(" + Name() + ", Mode:=2)", "Debug.Print " + Literal() + "; " + Name(),
                   "x = 1: y = " + Literal(), "ReDim arr(1 To 5)", "Set obj = Nothing"});
        return Chance(20) ? s + std::string(1 + Pick(8), ' ') + Comment() : s;
    }
    std::string Indent() {
        return OneOf({"", std::string(Pick(13), ' '), std::string(1 + Pick(3), '\t'), " \t  ", "        "});
    }
    void Line(const std::string& text) { lines_.push_back(Indent() + text); }

    // A block: its opening line, a body, then each further (keyword, has body) part in turn.
    void Block(const std::string& open, std::initializer_list<std::pair<std::string, bool>> parts,
               int depth) {
        Line(open);
        Body(depth + 1);
        for (const auto& [keyword, hasBody] : parts) {
            Line(keyword);
            if (hasBody)
                Body(depth + 1);
        }
    }

    void Body(int depth) {
        for (int n = 1 + Pick(5); n > 0; --n) {
            switch (depth > 3 ? 0 : Pick(15)) {
            case 1:
                Block("If " + Name() + " > 0 Then",
                      {{"ElseIf a = " + Literal() + " Then", true}, {"Else", true}}, depth);
                if (Chance(95))
                    Line("End If");
                break;
            case 2:
                Block("Select Case " + Name(),
                      {{"Case 1, 2", true}, {"Case Else", true}, {"End Select", false}}, depth);
                break;
            case 3:
                Block(Chance(50) ? "Do While a < 10" : "Do", {{Chance(50) ? "Loop" : "Loop Until a", false}},
                      depth);
                break;
            case 4:
                Block("While " + Name(), {{"Wend", false}}, depth);
                break;
            case 5:
                Block(Chance(50) ? "For i = 1 To 10" : "For Each c In Items",
                      {{Chance(50) ? "Next" : "Next i", false}}, depth);
                break;
            case 6:
                Block("With Me", {{"End With", false}}, depth);
                break;
            case 7:
                Block("#If Win32 Then", {{"#Else", true}, {"#End If", false}}, depth);
                break;
            case 8:
                Line(Comment());
                break;
            case 9:
                lines_.push_back(OneOf({"", "   ", "ErrHandler:", "Retry: " + Statement()}));
                break;
            case 10:
                Line(Name() + " = " + Name() + " & _");
                Line(Literal() + " & _");
                Line(Name());
                break;
            case 11:
                Line("If " + Name() + " Then " + Statement());
                break;
            case 12:
                Line("If " + Name() + " Then a = 1 Else a = 2");
                break;
            case 13:
                Line("end if");
                break;
            default:
                Line(Statement());
                break;
            }
        }
    }

    std::mt19937 rng_;
    std::vector<std::string> lines_;
};

} // namespace kemptor::test
