#include "lsp/TextDocument.h"

#include "lsp/TextEncoding.h"

#include <algorithm>

namespace kemptor::lsp {

void TextDocument::SetText(std::string text) {
    text_ = std::move(text);
    lines_.clear();
    lineEnd_ = "\r\n";
    bool endSeen = false;
    std::size_t start = 0;
    const std::size_t size = text_.size();
    for (std::size_t k = 0; k < size; ++k) {
        const char c = text_[k];
        if (c != '\n' && c != '\r')
            continue;
        const bool crLf = c == '\r' && k + 1 < size && text_[k + 1] == '\n';
        if (!endSeen) {
            lineEnd_ = crLf ? "\r\n" : c == '\n' ? "\n" : "\r";
            endSeen = true;
        }
        lines_.push_back({start, k - start});
        if (crLf)
            ++k;
        start = k + 1;
    }
    if (start < size)
        lines_.push_back({start, size - start});
}

void TextDocument::Replace(Position start, Position end, std::string_view text) {
    std::size_t from = OffsetOf(start);
    std::size_t to = OffsetOf(end);
    if (to < from)
        std::swap(from, to);
    std::string changed = text_;
    changed.replace(from, to - from, text);
    SetText(std::move(changed));
}

std::string_view TextDocument::Line(std::size_t i) const {
    return std::string_view(text_).substr(lines_[i].start, lines_[i].length);
}

bool TextDocument::EndsWithLineEnd() const {
    return !text_.empty() && (text_.back() == '\n' || text_.back() == '\r');
}

std::size_t TextDocument::LineStart(std::size_t i) const {
    return i < lines_.size() ? lines_[i].start : text_.size();
}

std::size_t TextDocument::OffsetOf(Position position) const {
    if (position.line >= lines_.size())
        return text_.size();
    return lines_[position.line].start + Utf8OffsetOfUtf16(Line(position.line), position.character);
}

Position TextDocument::PositionOf(std::size_t offset) const {
    offset = std::min(offset, text_.size());
    // The first line that starts after the offset; the offset lies in the line before it.
    const auto after = std::upper_bound(lines_.begin(), lines_.end(), offset,
                                        [](std::size_t o, const LineSpan& span) { return o < span.start; });
    if (after == lines_.begin())
        return {0, 0};
    const std::size_t line = static_cast<std::size_t>(after - lines_.begin()) - 1;
    const LineSpan& span = lines_[line];
    if (offset > span.start + span.length) {
        // In or after the line end: the start of the next line (which may be the empty line after a
        // final line end).
        return {line + 1, 0};
    }
    return {line, Utf16Length(std::string_view(text_).substr(span.start, offset - span.start))};
}

} // namespace kemptor::lsp
