#pragma once
// Random Visual Basic modules for the formatter's invariant tests: nested blocks of every kind, labels,
// continuation lines, single-line Ifs, declarations, comments, literals holding apostrophes, colons,
// tabs and doubled quotes, bytes above 127, ragged indentation with blanks and tabs, and now and then an
// unbalanced block. The same seed gives the same module.

#include <random>
#include <string>
#include <vector>

namespace kemptor::test {

class VbSourceGenerator {
public:
    explicit VbSourceGenerator(unsigned seed) : rng_(seed) {}

    std::vector<std::string> Module() {
        lines_.clear();
        if (Chance(30)) {
            lines_.push_back("Attribute VB_Name = \"mod" + std::to_string(Pick(100)) + "\"");
            if (Chance(50))
                lines_.push_back("Attribute VB_Exposed = False");
        }
        if (Chance(50))
            lines_.push_back("Option Explicit");
        for (int n = Pick(6); n > 0; --n)
            Declaration();
        if (Chance(30))
            TypeBlock();
        for (int n = 1 + Pick(4); n > 0; --n)
            Procedure();
        return lines_;
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool Chance(int percent) { return Pick(100) < percent; }
    template <class T> const T& OneOf(const std::vector<T>& items) { return items[Pick(static_cast<int>(items.size()))]; }

    std::string Indent() {
        switch (Pick(5)) {
        case 0:
            return "";
        case 1:
            return std::string(Pick(13), ' ');
        case 2:
            return std::string(1 + Pick(3), '\t');
        case 3:
            return " \t  ";
        default:
            return std::string(4 * Pick(4), ' ');
        }
    }

    std::string Name() {
        static const std::vector<std::string> names = {"a",     "b",      "nCount", "sText", "Then1",
                                                       "Authenticated", "ElseValue", "x_", "\xE9t\xE9"};
        return OneOf(names);
    }

    std::string Literal() {
        static const std::vector<std::string> texts = {"\"plain\"",        "\"it's\"",        "\"a:b\"",
                                                       "\"tab\there\"",    "\"say \"\"hi\"\"\"", "\"\"",
                                                       "\"x, y\"",         "\"\xFC\xDF\"",   "\"' not a comment\""};
        return OneOf(texts);
    }

    std::string Comment() {
        static const std::vector<std::string> texts = {"' note",  "'tight",        "'   spaced  out",
                                                       "' \"quoted\" text", "' it's fine", "' a: b",
                                                       "'\tafter a tab",     "' \xA9 1999"};
        return OneOf(texts);
    }

    std::string Statement() {
        std::string s;
        switch (Pick(10)) {
        case 0:
            s = Name() + " = " + Literal();
            break;
        case 1:
            s = Name() + " = " + Name() + " + " + std::to_string(Pick(100));
            break;
        case 2:
            s = "Call Work(" + Name() + ", Mode:=" + std::to_string(Pick(3)) + ")";
            break;
        case 3:
            s = "Debug.Print " + Literal() + "; " + Name();
            break;
        case 4:
            s = "MsgBox " + Literal() + ", vbOKOnly";
            break;
        case 5:
            s = "x = 1: y = " + Literal();
            break;
        case 6:
            s = "Set obj = Nothing";
            break;
        case 7:
            s = "ReDim arr(1 To " + std::to_string(1 + Pick(9)) + ")";
            break;
        default:
            s = Name() + " = " + Name();
            break;
        }
        if (Chance(20))
            s += std::string(1 + Pick(8), ' ') + Comment();
        return s;
    }

    void Line(const std::string& text) { lines_.push_back(Indent() + text); }

    void Declaration() {
        switch (Pick(5)) {
        case 0:
            Line("Dim " + Name() + " As Long");
            break;
        case 1:
            Line("Private m" + std::to_string(Pick(50)) + " As String   ' kept");
            break;
        case 2:
            Line("Const LIMIT_" + std::to_string(Pick(9)) + " = " + std::to_string(Pick(999)));
            break;
        case 3:
            Line("Global g" + std::to_string(Pick(9)) + " As Integer");
            break;
        default:
            lines_.push_back("");
            break;
        }
    }

    void TypeBlock() {
        Line("Private Type Rec" + std::to_string(Pick(9)));
        Line("Code As String * 12");
        Line("Type As Integer");
        Line("End Type");
    }

    void Procedure() {
        static const std::vector<std::string> heads = {"Sub Run()", "Private Sub Form_Load()",
                                                       "Public Function Total(ByVal n As Long) As Long",
                                                       "Public Property Get Value() As Long", "Static Sub Tick()"};
        const std::string head = OneOf(heads);
        Line(head);
        if (Chance(40))
            lines_.push_back("Attribute Value.VB_UserMemId = 0");
        Body(0);
        if (Chance(95))
            Line(head.find("Function") != std::string::npos   ? "End Function"
                 : head.find("Property") != std::string::npos ? "End Property"
                                                              : "End Sub");
        if (Chance(50))
            lines_.push_back("");
    }

    void Body(int depth) {
        for (int n = 1 + Pick(5); n > 0; --n) {
            const int choice = depth > 3 ? 0 : Pick(16);
            switch (choice) {
            case 1:
                Line("If " + Name() + " > 0 Then");
                Body(depth + 1);
                if (Chance(50)) {
                    Line("ElseIf " + Name() + " = " + Literal() + " Then");
                    Body(depth + 1);
                }
                if (Chance(50)) {
                    Line("Else");
                    Body(depth + 1);
                }
                if (Chance(95))
                    Line("End If");
                break;
            case 2:
                Line("Select Case " + Name());
                Line("Case 1, 2");
                Body(depth + 1);
                Line("Case Else");
                Body(depth + 1);
                Line("End Select");
                break;
            case 3:
                Line(Chance(50) ? "Do While " + Name() + " < 10" : "Do");
                Body(depth + 1);
                Line(Chance(50) ? "Loop" : "Loop Until " + Name());
                break;
            case 4:
                Line("While " + Name());
                Body(depth + 1);
                Line("Wend");
                break;
            case 5:
                Line(Chance(50) ? "For i = 1 To 10" : "For Each c In Items");
                Body(depth + 1);
                Line(Chance(50) ? "Next" : "Next i");
                break;
            case 6:
                Line("With Me");
                Body(depth + 1);
                Line("End With");
                break;
            case 7:
                Line("#If Win32 Then");
                Body(depth + 1);
                Line("#Else");
                Body(depth + 1);
                Line("#End If");
                break;
            case 8:
                Line(Comment());
                if (Chance(50))
                    Line(Comment());
                break;
            case 9:
                lines_.push_back(Chance(50) ? "" : "   ");
                break;
            case 10:
                lines_.push_back(Chance(50) ? "ErrHandler:" : "Retry: " + Statement());
                break;
            case 11:
                Line(Name() + " = " + Name() + " & _");
                Line(Literal() + " & _");
                Line(Name());
                break;
            case 12:
                Line("If " + Name() + " Then " + Statement());
                break;
            case 13:
                Line("If " + Name() + " Then a = 1 Else a = 2");
                break;
            case 14:
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
