#include "formatter/TLineList.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace kemptor {

TLineList::TLineList(const std::vector<std::string>& lines, bool changed) {
    Reserve(lines.size());
    for (const auto& line : lines)
        Append(line, changed);
}

TLineList::TLineList(const TLineList& other) {
    Reserve(other.size());
    for (std::size_t i = 0; i < other.size(); ++i)
        Append(other[i], other.Changed(i));
}

TLineList& TLineList::operator=(const TLineList& other) {
    if (this != &other) {
        TLineList copy(other);
        *this = std::move(copy);
    }
    return *this;
}

TLineList::TLineList(TLineList&& other) noexcept
    : blocks_(std::exchange(other.blocks_, {})), current_(std::exchange(other.current_, 0)),
      entries_(std::exchange(other.entries_, {})), textBytes_(std::exchange(other.textBytes_, 0)) {}

TLineList& TLineList::operator=(TLineList&& other) noexcept {
    blocks_ = std::exchange(other.blocks_, {});
    current_ = std::exchange(other.current_, 0);
    entries_ = std::exchange(other.entries_, {});
    textBytes_ = std::exchange(other.textBytes_, 0);
    return *this;
}

TLineList TLineList::FromText(std::string_view text) {
    TLineList list;
    std::size_t lineCount = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            ++lineCount;
    list.Reserve(lineCount + 1);
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

TLineList::Block& TLineList::BlockFor(std::size_t bytes) {
    const auto fits = [bytes](const Block& block) {
        return block.data && block.capacity - block.used >= bytes;
    };
    if (current_ < blocks_.size() && fits(blocks_[current_]))
        return blocks_[current_];
    // The rest of the current block stays unused; the next kept one takes over when it is large
    // enough, or else a new block comes before the kept ones (they hold no line yet).
    if (current_ + 1 < blocks_.size() && fits(blocks_[current_ + 1]))
        return blocks_[++current_];
    if (blocks_.size() > kBlockMask)
        throw std::length_error("TLineList: text beyond the list's capacity");
    // Small lists stay small; large ones take a megabyte at a time.
    const std::size_t grown =
        current_ < blocks_.size() ? std::min(kBlockBytes, blocks_[current_].capacity * 2) : kFirstBlockBytes;
    const std::size_t capacity = std::max(grown, bytes);
    const std::size_t at = std::min(current_ + 1, blocks_.size());
    blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(at),
                   Block{std::unique_ptr<char[]>(new char[capacity]), 0, capacity, 0});
    current_ = at;
    return blocks_[current_];
}

std::uint64_t TLineList::Store(std::string_view text) {
    const std::size_t length = text.size();
    if (length == 0)
        return 0;
    const bool isLong = length >= kLongLength;
    const std::size_t prefix = isLong ? sizeof(std::uint64_t) : 0;
    // Texts already stored never move, so `text` may be a line of this list.
    Block& block = BlockFor(prefix + length);
    char* at = block.data.get() + block.used;
    if (isLong) {
        const std::uint64_t stored = length;
        std::memcpy(at, &stored, prefix);
        at += prefix;
    }
    std::memcpy(at, text.data(), length);
    const auto offset = static_cast<std::uint64_t>(at - block.data.get());
    const auto index = static_cast<std::uint64_t>(&block - blocks_.data());
    block.used += prefix + length;
    ++block.lines;
    textBytes_ += length;
    return offset | (index << kBlockShift) |
           (static_cast<std::uint64_t>(std::min(length, kLongLength)) << kLengthShift);
}

std::size_t TLineList::StoredLength(const char* text) {
    std::uint64_t stored = 0;
    std::memcpy(&stored, text - sizeof stored, sizeof stored);
    return static_cast<std::size_t>(stored);
}

TLineList::Block* TLineList::BlockOf(std::uint64_t entry) {
    if ((entry & kLengthMask) == 0)
        return nullptr;
    return &blocks_[(entry >> kBlockShift) & kBlockMask];
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
    const std::uint64_t entry = Store(text);
    // The old text stays where it is (a view of it remains readable) until its block goes.
    if (Block* old = BlockOf(entries_[i]))
        --old->lines;
    entries_[i] = entry | (entries_[i] & kChangedBit);
}

void TLineList::SetChanged(std::size_t i, bool changed) {
    entries_[i] = (entries_[i] & ~kChangedBit) | (changed ? kChangedBit : 0);
}

void TLineList::Release(std::size_t i) {
    const std::uint64_t entry = entries_[i];
    entries_[i] = entry & kChangedBit;
    Block* block = BlockOf(entry);
    if (block && --block->lines == 0)
        block->data.reset();
}

void TLineList::Clear() {
    *this = TLineList();
}

void TLineList::Reset() {
    std::erase_if(blocks_, [](const Block& block) { return !block.data; });
    for (Block& block : blocks_) {
        block.used = 0;
        block.lines = 0;
    }
    current_ = 0;
    entries_.clear();
    textBytes_ = 0;
}

void TLineList::Reserve(std::size_t lines) {
    entries_.reserve(lines);
}

std::size_t TLineList::AllocatedBytes() const {
    std::size_t bytes = entries_.capacity() * sizeof(std::uint64_t);
    for (const Block& block : blocks_)
        if (block.data)
            bytes += block.capacity;
    return bytes;
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
