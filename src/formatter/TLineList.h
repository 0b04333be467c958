#pragma once
// A list of text lines in which every line carries one TColorObject (changed or unchanged).
//
// The texts live in one growing character buffer and each line is an (offset, length) pair into it, so
// a million-line file costs its bytes plus twelve bytes a line instead of one heap string per line.
// Replacing a line appends its new text and repoints the line; the old bytes stay until Clear.
// Texts are 8-bit: every byte, NUL and CR included, is kept as given.

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

    std::size_t size() const { return lengths_.size(); }
    bool empty() const { return lengths_.empty(); }

    std::string_view operator[](std::size_t i) const {
        return {text_.data() + (offsets_[i] & kOffsetMask), lengths_[i]};
    }
    bool Changed(std::size_t i) const { return (offsets_[i] & kChangedBit) != 0; }
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
    std::size_t LineCapacity() const { return lengths_.capacity(); }
    // Bytes the list has allocated for texts and line entries.
    std::size_t AllocatedBytes() const;

    std::vector<std::string> Texts() const;
    bool operator==(const TLineList& other) const;

private:
    static constexpr std::uint64_t kChangedBit = std::uint64_t{1} << 63;
    static constexpr std::uint64_t kOffsetMask = kChangedBit - 1;

    std::uint64_t Store(std::string_view text);

    std::string text_;
    std::vector<std::uint64_t> offsets_; // offset into text_, top bit: changed marker
    std::vector<std::uint32_t> lengths_;
};

} // namespace kemptor
