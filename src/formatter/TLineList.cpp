#include "formatter/TLineList.h"

#include <cassert>
#include <limits>

namespace kemptor {

TLineList::TLineList(const std::vector<std::string>& lines, bool changed) {
    std::size_t bytes = 0;
    for (const auto& line : lines)
        bytes += line.size();
    Reserve(lines.size(), bytes);
    for (const auto& line : lines)
        Append(line, changed);
}

TLineList TLineList::FromText(std::string_view text) {
    TLineList list;
    std::size_t lineCount = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            ++lineCount;
    list.Reserve(lineCount + 1, text.size());
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\n' || c == '\r') {
            list.Append(text.substr(start, i - start), false);
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size())
        list.Append(text.substr(start), false);
    return list;
}

std::uint64_t TLineList::Store(std::string_view text) {
    assert(text.size() <= std::numeric_limits<std::uint32_t>::max());
    const char* base = text_.data();
    // A text taken from this list would dangle if the buffer grew while appending it.
    if (!text.empty() && text.data() >= base && text.data() < base + text_.size()) {
        const std::size_t from = static_cast<std::size_t>(text.data() - base);
        const std::size_t offset = text_.size();
        text_.append(text_, from, text.size());
        return offset;
    }
    const std::size_t offset = text_.size();
    text_.append(text);
    return offset;
}

void TLineList::Append(std::string_view text, bool changed) {
    const std::uint32_t length = static_cast<std::uint32_t>(text.size());
    const std::uint64_t offset = Store(text);
    offsets_.push_back(offset | (changed ? kChangedBit : 0));
    lengths_.push_back(length);
}

void TLineList::Insert(std::size_t index, std::string_view text, bool changed) {
    assert(index <= size());
    const std::uint32_t length = static_cast<std::uint32_t>(text.size());
    const std::uint64_t offset = Store(text);
    offsets_.insert(offsets_.begin() + static_cast<std::ptrdiff_t>(index), offset | (changed ? kChangedBit : 0));
    lengths_.insert(lengths_.begin() + static_cast<std::ptrdiff_t>(index), length);
}

void TLineList::Replace(std::size_t i, std::string_view text) {
    const std::uint32_t length = static_cast<std::uint32_t>(text.size());
    const std::uint64_t offset = Store(text);
    offsets_[i] = offset | (offsets_[i] & kChangedBit);
    lengths_[i] = length;
}

void TLineList::SetChanged(std::size_t i, bool changed) {
    offsets_[i] = (offsets_[i] & kOffsetMask) | (changed ? kChangedBit : 0);
}

void TLineList::Clear() { *this = TLineList(); }

void TLineList::Reset() {
    text_.clear();
    offsets_.clear();
    lengths_.clear();
}

void TLineList::Reserve(std::size_t lines, std::size_t bytes) {
    text_.reserve(bytes);
    offsets_.reserve(lines);
    lengths_.reserve(lines);
}

std::size_t TLineList::AllocatedBytes() const {
    return text_.capacity() + offsets_.capacity() * sizeof(std::uint64_t) +
           lengths_.capacity() * sizeof(std::uint32_t);
}

std::vector<std::string> TLineList::Texts() const {
    std::vector<std::string> lines;
    lines.reserve(size());
    for (std::size_t i = 0; i < size(); ++i)
        lines.emplace_back((*this)[i]);
    return lines;
}

bool TLineList::operator==(const TLineList& other) const {
    if (size() != other.size())
        return false;
    for (std::size_t i = 0; i < size(); ++i)
        if ((*this)[i] != other[i] || Changed(i) != other.Changed(i))
            return false;
    return true;
}

} // namespace kemptor
