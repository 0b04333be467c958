#include "cli/TextChanges.h"

#include "platform/Host.h"
#include "view/TVisDiff.h"

#include <algorithm>

namespace kemptor {

namespace {

enum class Op { Same, Delete, Insert };
struct Edit {
    Op op;
    std::size_t left;
    std::size_t right;
};

// The edit script of two texts: every line of both, in order, as kept, deleted or inserted.
std::vector<Edit> EditScript(const TextLines& before, const TextLines& after) {
    const DiffLinks links = TVisDiff::FindOptimalDiff(before, after, false);
    std::vector<Edit> edits;
    std::size_t i = 0, j = 0;
    while (i < before.size() || j < after.size()) {
        if (i < before.size() && links.left[i].Partner < 0)
            edits.push_back({Op::Delete, i++, j});
        else if (j < after.size() && links.right[j].Partner < 0)
            edits.push_back({Op::Insert, i, j++});
        else
            edits.push_back({Op::Same, i++, j++});
    }
    return edits;
}

} // namespace

std::vector<ChangeBlock> FindChangeBlocks(const TextLines& before, const TextLines& after) {
    std::vector<ChangeBlock> blocks;
    bool open = false;
    for (const Edit& e : EditScript(before, after)) {
        if (e.op == Op::Same) {
            open = false;
            continue;
        }
        if (!open)
            blocks.push_back({e.left, 0, e.right, 0});
        open = true;
        (e.op == Op::Delete ? blocks.back().leftCount : blocks.back().rightCount) += 1;
    }
    return blocks;
}

namespace {

// A name as git writes it in diff headers: in double quotes with C escapes when it holds a quote, a
// backslash (where it is no directory separator) or a control character.
std::string DiffHeaderName(const std::string& path) {
    const bool backslashIsPlain = host::kSeparator == '\\';
    bool plain = true;
    for (unsigned char c : path)
        plain = plain && c >= 0x20 && c != 0x7F && c != '"' && (c != '\\' || backslashIsPlain);
    if (plain)
        return path;
    std::string quoted = "\"";
    for (unsigned char c : path) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += backslashIsPlain ? "\\" : "\\\\";
            break;
        case '\t':
            quoted += "\\t";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\r':
            quoted += "\\r";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                const char octal[] = {'\\', static_cast<char>('0' + (c >> 6)),
                                      static_cast<char>('0' + ((c >> 3) & 7)),
                                      static_cast<char>('0' + (c & 7)), 0};
                quoted += octal;
            } else {
                quoted += static_cast<char>(c);
            }
        }
    }
    return quoted + "\"";
}

// The line end of the new lines: the file's own (its first line's), CR LF for a file of one line
// without one, LF when the line ends are not known.
std::string NewLineEnd(const std::vector<std::string>& lineEnds) {
    if (lineEnds.empty())
        return "\n";
    return lineEnds.front().empty() ? "\r\n" : lineEnds.front();
}

// Writes the lines of a diff with their line ends and colours.
class DiffLines {
public:
    DiffLines(std::ostream& out, const DiffStyle& style, std::size_t beforeCount)
        : out_(out), style_(style), beforeCount_(beforeCount), newEnd_(NewLineEnd(style.lineEnds)) {}

    void Header(const std::string& text) { Plain(text, "\033[1m"); }
    void Hunk(const std::string& text) { Plain(text, "\033[36m"); }

    // A line of the original: kept (' ') or deleted ('-'), with its own line end.
    void Old(char mark, const std::string& text, std::size_t index) {
        const std::string& end = index < style_.lineEnds.size() ? style_.lineEnds[index] : kLf;
        Line(mark, text, end.empty() ? kLf : end, mark == '-' ? "\033[31m" : "");
        if (end.empty()) // the original's last line had no line end
            out_ << "\\ No newline at end of file\n";
    }
    void New(const std::string& text) { Line('+', text, newEnd_, "\033[32m"); }

    // True when the original line `index` is its last line and has no line end.
    bool Unterminated(std::size_t index) const {
        return index + 1 == beforeCount_ && index < style_.lineEnds.size() && style_.lineEnds[index].empty();
    }

private:
    void Plain(const std::string& text, const char* color) {
        if (style_.color)
            out_ << color << text << "\033[m\n";
        else
            out_ << text << '\n';
    }
    void Line(char mark, const std::string& text, const std::string& end, const char* color) {
        // The colour ends before the line end, so the CR stays the last byte before LF.
        const bool colored = style_.color && *color;
        if (colored)
            out_ << color;
        out_ << mark << text;
        if (colored)
            out_ << "\033[m";
        out_ << end;
    }

    inline static const std::string kLf = "\n";
    std::ostream& out_;
    const DiffStyle& style_;
    std::size_t beforeCount_;
    std::string newEnd_;
};

} // namespace

std::vector<std::string> LineEndsOf(std::string_view bytes) {
    std::vector<std::string> ends;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t at = bytes.find_first_of("\r\n", pos);
        if (at == std::string_view::npos) {
            ends.emplace_back();
            break;
        }
        const bool crlf = bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n';
        ends.emplace_back(bytes.substr(at, crlf ? 2 : 1));
        pos = at + (crlf ? 2 : 1);
    }
    return ends;
}

// A unified diff of two texts with three lines of context, lines matched by the optimal diff.
void WriteUnifiedDiff(std::ostream& out, const std::string& path, const TextLines& before,
                      const TextLines& after, const DiffStyle& style) {
    constexpr std::size_t kContext = 3;
    std::vector<Edit> edits = EditScript(before, after);
    DiffLines lines(out, style, before.size());
    // An original last line without a line end changes: the formatted text ends every line.
    for (std::size_t m = 0; m < edits.size(); ++m) {
        if (edits[m].op == Op::Same && lines.Unterminated(edits[m].left)) {
            edits[m].op = Op::Delete;
            edits.insert(edits.begin() + static_cast<std::ptrdiff_t>(m) + 1,
                         Edit{Op::Insert, edits[m].left + 1, edits[m].right});
            ++m;
        }
    }
    bool headerWritten = false;
    std::size_t k = 0;
    while (k < edits.size()) {
        if (edits[k].op == Op::Same) {
            ++k;
            continue;
        }
        // A hunk runs from the change's context to the end of the last change that lies within twice
        // the context of the one before it.
        const std::size_t start = k > kContext ? k - kContext : 0;
        std::size_t end = k;
        std::size_t sameRun = 0;
        for (std::size_t m = k; m < edits.size(); ++m) {
            if (edits[m].op == Op::Same) {
                if (++sameRun > 2 * kContext)
                    break;
            } else {
                sameRun = 0;
                end = m + 1;
            }
        }
        end = std::min(edits.size(), end + kContext);

        std::size_t leftCount = 0, rightCount = 0;
        for (std::size_t m = start; m < end; ++m) {
            leftCount += edits[m].op != Op::Insert;
            rightCount += edits[m].op != Op::Delete;
        }
        if (!headerWritten) {
            lines.Header("--- " + DiffHeaderName(path));
            lines.Header("+++ " + DiffHeaderName(path));
            headerWritten = true;
        }
        const std::size_t leftStart = leftCount > 0 ? edits[start].left + 1 : edits[start].left;
        const std::size_t rightStart = rightCount > 0 ? edits[start].right + 1 : edits[start].right;
        lines.Hunk("@@ -" + std::to_string(leftStart) + ',' + std::to_string(leftCount) + " +" +
                   std::to_string(rightStart) + ',' + std::to_string(rightCount) + " @@");
        for (std::size_t m = start; m < end; ++m) {
            switch (edits[m].op) {
            case Op::Same:
                lines.Old(' ', before[edits[m].left], edits[m].left);
                break;
            case Op::Delete:
                lines.Old('-', before[edits[m].left], edits[m].left);
                break;
            case Op::Insert:
                lines.New(after[edits[m].right]);
                break;
            }
        }
        k = end;
    }
}

} // namespace kemptor
