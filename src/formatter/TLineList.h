#pragma once
// A list of text lines in which every line carries one TColorObject (changed or unchanged).
//
// The texts live in one growing character buffer and each line is one 64-bit entry holding its offset
// into it, its length and its marker, so a million-line file costs its bytes plus eight bytes a line
// instead of one heap string per line. Replacing a line appends its new text and repoints the line;
// the old bytes stay until Clear. Texts are 8-bit: every byte, NUL and CR included, is kept as given.

#include "formatter/TColorObject.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kemptor {

class TLineList {
public:
    TLineList() = default;
    // Every line of `lines`, each carrying the given marker.
    explicit TLineList(const std::vector<std::string>& lines, bool changed = false);

    // Splits text at CR LF, LF or a lone CR; a final line end adds no empty line.
    static TLineList FromText(std::string_view text);

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }

    std::string_view operator[](std::size_t i) const {
        const std::uint64_t entry = entries_[i];
        const std::size_t offset = entry & kOffsetMask;
        std::size_t length = (entry & kLengthMask) >> kLengthShift;
        if (length == kLongLength)
            length = StoredLength(offset);
        return {text_.data() + offset, length};
    }
    bool Changed(std::size_t i) const { return (entries_[i] & kChangedBit) != 0; }
    TColorObject Color(std::size_t i) const {
        return Changed(i) ? TColorObject::Changed() : TColorObject::Unchanged();
    }

    // `text` may be a line of this same list.
    void Append(std::string_view text, bool changed);
    void Insert(std::size_t index, std::string_view text, bool changed);
    // New text for line i; its marker is kept.
    void Replace(std::size_t i, std::string_view text);
    void SetChanged(std::size_t i, bool changed);

    // Frees the markers and texts of every line and the memory they held (FreeLineObjects and Clear).
    void Clear();
    // Removes every line but keeps the memory for the lines that follow.
    void Reset();
    void Reserve(std::size_t lines, std::size_t bytes);
    // Bytes of text held, including texts that replaced lines have left behind.
    std::size_t BufferBytes() const { return text_.size(); }
    std::size_t TextCapacity() const { return text_.capacity(); }
    std::size_t LineCapacity() const { return entries_.capacity(); }
    // Bytes the list has allocated for texts and line entries.
    std::size_t AllocatedBytes() const;

    std::vector<std::string> Texts() const;
    bool operator==(const TLineList& other) const;

private:
    // An entry: bits 0-39 the offset of the text in text_, bits 40-62 its length, bit 63 the changed
    // marker. A line too long for the length bits has kLongLength there and its length stored in
    // the eight bytes before its text.
    static constexpr int kLengthShift = 40;
    static constexpr std::uint64_t kOffsetMask = (std::uint64_t{1} << kLengthShift) - 1;
    static constexpr std::uint64_t kChangedBit = std::uint64_t{1} << 63;
    static constexpr std::uint64_t kLengthMask = ~kOffsetMask & ~kChangedBit;
    static constexpr std::size_t kLongLength = kLengthMask >> kLengthShift;

    // Appends the text to text_ and returns its entry, unmarked.
    std::uint64_t Store(std::string_view text);
    std::size_t StoredLength(std::size_t offset) const;

    std::string text_;
    std::vector<std::uint64_t> entries_;
};

} // namespace kemptor
