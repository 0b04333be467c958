#pragma once
// A second benchmark module, written from nothing but a seed: what old code bases hold more of than the
// samples do. Many short procedures, each under a header comment block; deep nesting of every block
// kind; line numbers and labels with On Error and GoTo; #If blocks at module level and inside
// procedures; date literals; type characters on names, functions and numbers; and long lines (about
// 3 % over 100 characters: Declare statements, long conditions, messages and concatenations). The code
// is indented by hand and unevenly, tabs included. Lines end in CR LF. The same seed and line count
// give the same text.
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace kemptor::bench {

class LegacyModuleGenerator {
public:
    LegacyModuleGenerator(std::ostream& out, unsigned seed) : out_(out), rng_(seed) {}

    // Writes at least `target` lines (the procedure in hand is finished); the number written.
    long Write(long target) {
        Line("Attribute VB_Name = \"modLedger\"");
        Line("Option Explicit");
        Line("");
        ModuleDeclarations();
        for (long n = 0; lines_ < target; ++n) {
            if (Chance(4))
                DeepProcedure(n);
            else
                ShortProcedure(n);
            if (Chance(6))
                DirectiveBlock(n);
        }
        return lines_;
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool Chance(int percent) { return Pick(100) < percent; }
    template <std::size_t N> const char* OneOf(const char* const (&items)[N]) {
        return items[Pick(static_cast<int>(N))];
    }
    void Line(const std::string& s) {
        out_ << s << "\r\n";
        ++lines_;
    }

    std::string Words(std::size_t chars) {
        static const char* const kWords[] = {"posts",  "the",    "ledger", "entry",   "for",     "each",
                                             "open",   "period", "of",     "account", "balance", "and",
                                             "writes", "totals", "to",     "a",       "journal", "when",
                                             "closed", "rate",   "due",    "date",    "batch",   "checks"};
        std::string s;
        while (s.size() < chars) {
            if (!s.empty())
                s += ' ';
            s += OneOf(kWords);
        }
        return s;
    }
    std::string Number(int n) { return std::to_string(n); }
    std::string Date() {
        return "#" + Number(1 + Pick(12)) + "/" + Number(1 + Pick(28)) + "/" + Number(1985 + Pick(15)) +
               (Chance(30) ? " " + Number(1 + Pick(12)) + ":" + Number(10 + Pick(50)) + ":00 PM#" : "#");
    }
    // Hand-made indentation: usually blanks by the level, now and then off by some, or a tab.
    std::string Indent(int level) {
        const int r = Pick(20);
        if (r == 0)
            return std::string(static_cast<std::size_t>(level), '\t');
        if (r == 1)
            return std::string(static_cast<std::size_t>(level * 4 + 1 + Pick(3)), ' ');
        if (r == 2)
            return std::string(static_cast<std::size_t>(level * 2), ' ');
        return std::string(static_cast<std::size_t>(level * 4), ' ');
    }

    // One long line: more than 100 characters.
    std::string LongStatement() {
        switch (Pick(4)) {
        case 0:
            return "MsgBox \"The " + Words(50) + " could not be completed.\" & vbCrLf & sMsg$, vbExclamation, APP_NAME$";
        case 1:
            return "If (nType% = ACCT_ASSET Or nType% = ACCT_LIABILITY) And dtPosted > " + Date() +
                   " And curAmount@ <> 0 Then bPost = True";
        case 2:
            return "sLine$ = Format$(dtDue, \"mm/dd/yyyy\") & vbTab & Left$(sName$ & Space$(30), 30) & vbTab & "
                   "Format$(curAmount@, \"#,##0.00\")   ' " +
                   Words(20);
        default:
            return "lResult& = LedgerPost(hBatch&, nPeriod%, curDebit@, curCredit@, dtPosted, sRef$, sMemo$, "
                   "bReverse, lFlags&)";
        }
    }
    std::string Statement(int n) {
        if (Chance(8))
            return LongStatement();
        switch (Pick(14)) {
        case 0:
            return "nCount% = nCount% + 1";
        case 1:
            return "sName$ = Trim$(Left$(sRec$, " + Number(8 + Pick(24)) + "))";
        case 2:
            return "dtDue = " + Date();
        case 3:
            return "curAmount@ = curAmount@ * 1.5# + " + Number(Pick(100)) + "!";
        case 4:
            return "lFlags& = lFlags& Or &H" + Number(10 + Pick(80)) + "&   ' " + Words(15 + Pick(20));
        case 5:
            return "If dtPosted < " + Date() + " Then nPeriod% = nPeriod% - 1";
        case 6:
            return "dblRate# = CDbl(sRate$) / 100#";
        case 7:
            return "Call WriteJournal(hFile%, sRef$, curAmount@)";
        case 8:
            return "x = " + Number(n % 97) + ": y = x * 2";
        case 9:
            return "sKey$ = UCase$(sName$) & \":\" & Format$(Now, \"yyyymmdd\")";
        case 10:
            return "' " + Words(20 + Pick(40));
        case 11:
            return "GoTo " + Number(100 + 10 * Pick(5));
        case 12:
            return "Debug.Print \"" + Words(10) + "\"; nCount%";
        default:
            return "bDone = (nCount% >= MAX_ROWS%)";
        }
    }

    void ModuleDeclarations() {
        Line("'----------------------------------------------------------------");
        Line("' Module    : modLedger");
        Line("' Purpose   : " + Words(50));
        Line("'----------------------------------------------------------------");
        Line("DefInt A-Z");
        Line("#Const DEBUG_MODE = 1");
        Line("Global gnUser%, gsUser$");
        Line("Public Const APP_NAME$ = \"Ledger\"");
        Line("Public Const MAX_ROWS% = 500");
        Line("Const ACCT_ASSET = 1, ACCT_LIABILITY = 2");
        Line("Private mcurTotal@, mdblRate#, mlHandle&");
        Line("Dim msPath$");
        Line("#If Win32 Then");
        Line("Private Declare Function GetPrivateProfileString Lib \"kernel32\" Alias \"GetPrivateProfileStringA\" "
             "(ByVal lpApplicationName As String, ByVal lpKeyName As Any, ByVal lpDefault As String, "
             "ByVal lpReturnedString As String, ByVal nSize As Long, ByVal lpFileName As String) As Long");
        Line("#Else");
        Line("Private Declare Function GetPrivateProfileString% Lib \"Kernel\" (ByVal sApp$, ByVal sKey As Any, "
             "ByVal sDef$, ByVal sRet$, ByVal nSize%, ByVal sFile$)");
        Line("#End If");
        Line("");
    }

    void HeaderComment(const std::string& name) {
        Line("'----------------------------------------------------------------");
        Line("' Procedure : " + name);
        Line("' Purpose   : " + Words(30 + Pick(40)));
        if (Chance(50))
            Line("' Written   : " + Number(1 + Pick(12)) + "/" + Number(1 + Pick(28)) + "/" + Number(1990 + Pick(9)));
        Line("'----------------------------------------------------------------");
    }

    // A procedure of a few lines, with line numbers and an error handler now and then.
    void ShortProcedure(long n) {
        static const char* const kKinds[] = {"Private Sub ", "Public Function ", "Sub ", "Private Function ",
                                             "Function "};
        const std::string kind = OneOf(kKinds);
        const bool function = kind.find("Function") != std::string::npos;
        const std::string name = std::string(function ? "CalcTotal" : "PostEntry") + "_" + Number(static_cast<int>(n));
        HeaderComment(name);
        Line(kind + name + (function ? "%(ByVal nRow%, sRef$)" : "(ByVal hFile%, curAmount@)"));
        const bool numbered = Chance(25);
        const bool handler = Chance(30);
        if (Chance(60))
            Line(Indent(1) + "Dim nCount%, sName$, dtDue As Date");
        if (handler)
            Line(Indent(1) + "On Error GoTo " + name + "_Err");
        for (int k = 2 + Pick(7), number = 100; k > 0; --k, number += 10) {
            const std::string statement = Statement(static_cast<int>(n) + k);
            Line(numbered ? Number(number) + " " + statement : Indent(1) + statement);
        }
        if (function)
            Line(Indent(1) + name + " = nCount%");
        if (handler) {
            Line(Indent(1) + "Exit " + std::string(function ? "Function" : "Sub"));
            Line(name + "_Err:");
            Line(Indent(1) + "MsgBox Error$(Err), vbCritical, \"" + name + "\"");
            Line(Indent(1) + "Resume Next");
        }
        Line(std::string("End ") + (function ? "Function" : "Sub"));
        Line("");
    }

    // A procedure nested six to ten blocks deep.
    void DeepProcedure(long n) {
        const std::string name = "Reconcile_" + Number(static_cast<int>(n));
        HeaderComment(name);
        Line("Private Sub " + name + "(ByVal nPeriod%)");
        Line(Indent(1) + "Dim i%, j%, k%, sAcct$");
        const int depth = 6 + Pick(5);
        std::vector<std::string> closers;
        for (int level = 1; level <= depth; ++level) {
            switch (Pick(7)) {
            case 0:
                Line(Indent(level) + "If nPeriod% > " + Number(level) + " Then");
                closers.push_back("End If");
                break;
            case 1:
                Line(Indent(level) + "For i" + Number(level) + "% = 1 To nPeriod%");
                closers.push_back("Next i" + Number(level) + "%");
                break;
            case 2:
                Line(Indent(level) + "Do While Not rs.EOF");
                closers.push_back("Loop");
                break;
            case 3:
                Line(Indent(level) + "Select Case nType%");
                Line(Indent(level) + "Case ACCT_ASSET");
                closers.push_back("End Select");
                break;
            case 4:
                Line(Indent(level) + "With rs.Fields(\"Amount\")");
                closers.push_back("End With");
                break;
            case 5:
                Line(Indent(level) + "While j% < MAX_ROWS%");
                closers.push_back("Wend");
                break;
            default:
                Line("#If DEBUG_MODE Then");
                Line(Indent(level) + "Debug.Print \"level " + Number(level) + "\"; " + Date());
                Line("#End If");
                Line(Indent(level) + "If sAcct$ = \"" + Number(level) + "\" Then");
                closers.push_back("End If");
                break;
            }
            for (int k = Pick(3); k > 0; --k)
                Line(Indent(level + 1) + Statement(static_cast<int>(n)));
        }
        for (int level = depth; level >= 1; --level) {
            Line(Indent(level + 1) + Statement(static_cast<int>(n)));
            Line(Indent(level) + closers[static_cast<std::size_t>(level - 1)]);
        }
        Line("End Sub");
        Line("");
    }

    // Conditional compilation between procedures: two versions of one declaration.
    void DirectiveBlock(long n) {
        Line("#If Win32 Then");
        Line("Private Declare Function LedgerPost_" + Number(static_cast<int>(n)) +
             "& Lib \"ledger32.dll\" (ByVal hBatch As Long, ByVal nPeriod As Integer)");
        Line("#Else");
        Line("Private Declare Function LedgerPost_" + Number(static_cast<int>(n)) +
             "% Lib \"ledger.dll\" (ByVal hBatch%, ByVal nPeriod%)");
        Line("#End If");
        Line("");
    }

    std::ostream& out_;
    std::mt19937 rng_;
    long lines_ = 0;
};

} // namespace kemptor::bench
