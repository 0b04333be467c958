#include "formatter/TLineList.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <stdexcept>

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
    const char* base = text_.data();
    // A text taken from this list would dangle if the buffer grew while appending it: it is copied
    // by its position instead.
    const bool own = !text.empty() && text.data() >= base && text.data() < base + text_.size();
    const std::size_t from = own ? static_cast<std::size_t>(text.data() - base) : 0;
    const std::size_t length = text.size();
    if (length >= kLongLength) {
        const std::uint64_t stored = length;
        char prefix[sizeof stored];
        std::memcpy(prefix, &stored, sizeof stored);
        text_.append(prefix, sizeof prefix);
    }
    const std::size_t offset = text_.size();
    if (length > kOffsetMask - offset)
        throw std::length_error("TLineList: text beyond the list's capacity");
    if (own)
        text_.append(text_, from, length);
    else
        text_.append(text);
    return offset | (static_cast<std::uint64_t>(std::min(length, kLongLength)) << kLengthShift);
}

std::size_t TLineList::StoredLength(std::size_t offset) const {
    std::uint64_t stored = 0;
    std::memcpy(&stored, text_.data() + offset - sizeof stored, sizeof stored);
    return static_cast<std::size_t>(stored);
}

void TLineList::Append(std::string_view text, bool changed) {
    entries_.push_back(Store(text) | (changed ? kChangedBit : 0));
}

void TLineList::Insert(std::size_t index, std::string_view text, bool changed) {
    assert(index <= size());
    const std::uint64_t entry = Store(text) | (changed ? kChangedBit : 0);
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(index), entry);
}

void TLineList::Replace(std::size_t i, std::string_view text) {
    entries_[i] = Store(text) | (entries_[i] & kChangedBit);
}

void TLineList::SetChanged(std::size_t i, bool changed) {
    entries_[i] = (entries_[i] & ~kChangedBit) | (changed ? kChangedBit : 0);
}

void TLineList::Clear() { *this = TLineList(); }

void TLineList::Reset() {
    text_.clear();
    entries_.clear();
}

void TLineList::Reserve(std::size_t lines, std::size_t bytes) {
    text_.reserve(bytes);
    entries_.reserve(lines);
}

std::size_t TLineList::AllocatedBytes() const {
    return text_.capacity() + entries_.capacity() * sizeof(std::uint64_t);
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
