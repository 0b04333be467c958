#pragma once
// The module of bench/format-real.sh, a large module that reads like kept legacy code: the procedures
// and declarations of the sample projects (renamed so that every procedure is its own), and between
// them what real projects hold more of than the samples: documentation blocks of long comment lines,
// SQL texts built over continued lines, long message literals, trailing comments, and code indented by
// hand, tabs included. Lines end in CR LF. The same sample directory and line count give the same text.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace kemptor::bench {

namespace fs = std::filesystem;

inline std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    return s;
}

inline std::string TrimLeft(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t");
    return b == std::string::npos ? std::string() : s.substr(b);
}

inline bool IsHeading(const std::string& line) {
    std::string t = Upper(TrimLeft(line));
    for (const char* mod : {"PUBLIC ", "PRIVATE ", "FRIEND ", "STATIC "})
        if (t.rfind(mod, 0) == 0)
            t = TrimLeft(t.substr(std::string(mod).size()));
    return t.rfind("SUB ", 0) == 0 || t.rfind("FUNCTION ", 0) == 0 || t.rfind("PROPERTY ", 0) == 0;
}

inline bool IsEndOfProcedure(const std::string& line) {
    const std::string t = Upper(TrimLeft(line));
    return t.rfind("END SUB", 0) == 0 || t.rfind("END FUNCTION", 0) == 0 || t.rfind("END PROPERTY", 0) == 0;
}

inline std::vector<std::string> ReadLines(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The procedures of the samples, each as its lines, and their module-level declarations.
struct Pool {
    std::vector<std::vector<std::string>> procedures;
    std::vector<std::string> declarations;
};

inline Pool Collect(const fs::path& dir) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        const std::string ext = Upper(entry.path().extension().string());
        if (entry.is_regular_file() && (ext == ".BAS" || ext == ".CLS" || ext == ".FRM" || ext == ".CTL"))
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    Pool pool;
    for (const auto& file : files) {
        const std::vector<std::string> lines = ReadLines(file);
        // The code starts after the designer part's closing END, or at the top.
        size_t start = 0;
        for (size_t i = 0; i < lines.size() && !IsHeading(lines[i]); ++i)
            if (Upper(lines[i]) == "END")
                start = i + 1;
        std::vector<std::string>* current = nullptr;
        for (size_t i = start; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            if (line.rfind("Attribute ", 0) == 0 || line.rfind("Option ", 0) == 0)
                continue;
            if (!current && IsHeading(line)) {
                pool.procedures.emplace_back();
                current = &pool.procedures.back();
            }
            if (current) {
                current->push_back(line);
                if (IsEndOfProcedure(line))
                    current = nullptr;
            } else if (!TrimLeft(line).empty() && TrimLeft(line)[0] != '\'') {
                pool.declarations.push_back(line);
            }
        }
    }
    return pool;
}

// The heading with its procedure's name made unique.
inline std::string Renamed(const std::string& heading, long n) {
    const size_t paren = heading.find('(');
    if (paren == std::string::npos)
        return heading + std::to_string(n);
    std::string name = heading.substr(0, paren);
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return name + "_" + std::to_string(n) + heading.substr(paren);
}

class Writer {
public:
    Writer(std::ostream& out, long target) : out_(out), target_(target) {}
    void Line(const std::string& s) {
        out_ << s << "\r\n";
        ++lines_;
    }
    bool Full() const { return lines_ >= target_; }
    long Lines() const { return lines_; }

private:
    std::ostream& out_;
    long target_;
    long lines_ = 0;
};

inline const char* const kWords[] = {"the",      "stock",   "item",  "record",   "is",       "written", "when",
                              "quantity", "reorder", "level", "changes",  "customer", "invoice", "report",
                              "before",   "after",   "every", "file",     "returns",  "zero",    "error",
                              "value",    "of",      "a",     "movement", "price",    "total",   "list"};

// Random comment words, SQL strings and message procedures for the generated module: the same seed
// gives the same text.
class FillerText {
public:
    explicit FillerText(unsigned seed) : rng_(seed) {}
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    std::string Words(size_t chars) {
        std::string s;
        while (s.size() < chars) {
            if (!s.empty())
                s += ' ';
            s += kWords[Pick(static_cast<int>(std::size(kWords)))];
        }
        return s;
    }

    // A documentation block: a border, lines of words, a border.
    void CommentBlock(Writer& w, const std::string& indent) {
        const std::string border = indent + "'" + std::string(50, '=');
        w.Line(border);
        for (int n = 3 + Pick(8); n > 0; --n)
            w.Line(indent + "' " + Words(20 + static_cast<size_t>(Pick(40))));
        w.Line(border);
    }

    // A SQL text built over continued lines, then run.
    void SqlStatement(Writer& w, const std::string& indent, long n) {
        w.Line(indent + "sSQL" + std::to_string(n) +
               " = \"SELECT ItemCode, Description, Quantity, ReorderLevel \" & _");
        for (int k = 2 + Pick(6); k > 0; --k)
            w.Line(indent + "    \"  AND " + Words(8 + static_cast<size_t>(Pick(20))) +
                   " = '\" & sValue & \"' \" & _");
        w.Line(indent + "    \"ORDER BY ItemCode\"");
        w.Line(indent + "Set rs = db.OpenRecordset(sSQL" + std::to_string(n) + ", dbOpenSnapshot)   ' " +
               Words(20));
    }

    // A procedure of message boxes and trailing comments, indented carelessly.
    void MessageProcedure(Writer& w, long n) {
        w.Line("Private Sub ShowMessages_" + std::to_string(n) + "(ByVal nCode As Long)");
        w.Line("Dim sText As String   ' " + Words(30));
        for (int k = 3 + Pick(6); k > 0; --k) {
            const std::string indent(static_cast<size_t>(Pick(3) * 2), ' ');
            switch (Pick(4)) {
            case 0:
                w.Line(indent + "\t' " + Words(30 + static_cast<size_t>(Pick(50))));
                break;
            case 1:
                w.Line(indent + "sText = \"" + Words(30 + static_cast<size_t>(Pick(70))) + "\"");
                break;
            case 2:
                w.Line(indent + "If nCode = " + std::to_string(Pick(100)) + " Then");
                w.Line(indent + "    MsgBox sText & \" " + Words(30) + "\", vbInformation, APP_TITLE");
                w.Line(indent + "End If");
                break;
            default:
                w.Line(indent + "nCode = nCode + " + std::to_string(Pick(9)) + "    ' " + Words(25));
                break;
            }
        }
        w.Line("End Sub");
        w.Line("");
    }

private:
    std::mt19937 rng_;
};

// Writes a module of at least `target` lines built from the samples under `examples`; the number of
// lines written, 0 when the samples hold no procedure.
inline long WriteRealModule(const fs::path& examples, std::ostream& out, long target) {
    const Pool pool = Collect(examples);
    if (pool.procedures.empty())
        return 0;
    Writer w(out, target);
    FillerText filler(20240611);
    w.Line("Attribute VB_Name = \"modReal\"");
    w.Line("Option Explicit");
    w.Line("");
    for (const auto& d : pool.declarations)
        w.Line(d);
    long n = 0;
    while (!w.Full()) {
        const auto& proc = pool.procedures[static_cast<size_t>(n) % pool.procedures.size()];
        if (n % 4 == 0)
            filler.CommentBlock(w, "");
        w.Line(Renamed(proc.front(), n));
        if (n % 4 == 0) {
            w.Line("Dim sSQL" + std::to_string(n) + " As String, rs As Recordset");
            filler.SqlStatement(w, "    ", n);
        }
        for (size_t i = 1; i < proc.size(); ++i)
            w.Line(proc[i]);
        w.Line("");
        if (n % 5 == 0)
            filler.MessageProcedure(w, n);
        ++n;
    }
    return w.Lines();
}

} // namespace kemptor::bench
