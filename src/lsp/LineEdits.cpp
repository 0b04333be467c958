#include "lsp/LineEdits.h"

#include "formatter/LineHelpers.h"
#include "view/TVisDiff.h"

#include <algorithm>

namespace kemptor::lsp {

namespace {

// What the matching compares: the line without its blanks and tabs.
std::string MatchKey(std::string_view line) {
    std::string key;
    key.reserve(line.size());
    for (char c : line)
        if (c != ' ' && c != '\t')
            key += c;
    return key;
}

} // namespace

std::vector<LineChange> FindLineChanges(const TextDocument& document,
                                        const std::vector<std::string>& formatted) {
    const std::size_t oldCount = document.LineCount();
    const std::size_t newCount = formatted.size();
    // Equal lines at both ends need no matching; the diff sees only the middle.
    std::size_t head = 0;
    while (head < oldCount && head < newCount && document.Line(head) == formatted[head])
        ++head;
    std::size_t tail = 0;
    while (tail < oldCount - head && tail < newCount - head &&
           document.Line(oldCount - 1 - tail) == formatted[newCount - 1 - tail])
        ++tail;

    std::vector<std::string> oldKeys;
    std::vector<std::string> newKeys;
    for (std::size_t i = head; i < oldCount - tail; ++i)
        oldKeys.push_back(MatchKey(document.Line(i)));
    for (std::size_t j = head; j < newCount - tail; ++j)
        newKeys.push_back(MatchKey(formatted[j]));
    const DiffLinks links = TVisDiff::FindOptimalDiff(oldKeys, newKeys, false);

    std::vector<LineChange> changes;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < oldKeys.size() || j < newKeys.size()) {
        LineChange change{head + i, 0, head + j, 0};
        while (i < oldKeys.size() && links.left[i].Partner < 0) {
            ++i;
            ++change.oldCount;
        }
        while (j < newKeys.size() && links.right[j].Partner < 0) {
            ++j;
            ++change.newCount;
        }
        if (change.oldCount > 0 || change.newCount > 0) {
            changes.push_back(change);
            continue;
        }
        // A matched pair: the same line apart from blanks, an edit of its own when the blanks moved.
        if (document.Line(head + i) != formatted[head + j])
            changes.push_back({head + i, 1, head + j, 1});
        ++i;
        ++j;
    }
    return changes;
}

void WidenToStatements(const TextDocument& document, std::size_t& first, std::size_t& last) {
    const std::size_t count = document.LineCount();
    if (count == 0) {
        first = last = 0;
        return;
    }
    last = std::min(last, count - 1);
    first = std::min(first, last);
    while (first > 0 && IsContinuedLine(document.Line(first - 1)))
        --first;
    while (last + 1 < count && IsContinuedLine(document.Line(last)))
        ++last;
}

std::vector<LineChange> ChangesTouching(const std::vector<LineChange>& changes, std::size_t first,
                                        std::size_t last) {
    std::vector<LineChange> touching;
    for (const LineChange& change : changes) {
        const bool replacesOne =
            change.oldCount > 0 && change.oldStart <= last && change.oldStart + change.oldCount > first;
        const bool insertsBeforeOne = change.oldCount == 0 && change.oldStart >= first && change.oldStart <= last;
        if (replacesOne || insertsBeforeOne)
            touching.push_back(change);
    }
    return touching;
}

std::vector<ByteEdit> EditsOf(const TextDocument& document, const std::vector<std::string>& formatted,
                              const std::vector<LineChange>& changes) {
    const std::string_view lineEnd = document.LineEnd();
    const std::size_t size = document.Text().size();
    std::vector<ByteEdit> edits;
    for (const LineChange& change : changes) {
        if (change.oldCount == 1 && change.newCount == 1) {
            // A line changed in place keeps its own line end: only its text is replaced.
            const std::size_t start = document.LineStart(change.oldStart);
            edits.push_back({start, start + document.Line(change.oldStart).size(), formatted[change.newStart]});
            continue;
        }
        ByteEdit edit{document.LineStart(change.oldStart), document.LineStart(change.oldStart + change.oldCount),
                      {}};
        for (std::size_t j = change.newStart; j < change.newStart + change.newCount; ++j) {
            edit.text += formatted[j];
            edit.text += lineEnd;
        }
        if (edit.end == size && !document.EndsWithLineEnd() && size > 0 && change.newCount > 0) {
            // The buffer's last line has no line end and neither gets the formatted last line; lines
            // added after it go behind a line end of their own.
            edit.text.erase(edit.text.size() - lineEnd.size());
            if (change.oldCount == 0)
                edit.text.insert(0, lineEnd);
        }
        if (!edits.empty() && edits.back().end == edit.start) {
            edits.back().end = edit.end;
            edits.back().text += edit.text;
        } else {
            edits.push_back(std::move(edit));
        }
    }
    return edits;
}

} // namespace kemptor::lsp
