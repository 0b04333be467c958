#pragma once
// The line store of the large text viewer (TBigText): every line's text, at most 255 characters, and its
// attributes, in two parallel TBigLists of equal length. The texts are packed into shared blocks that are
// released once every line in them has gone, so a million short lines cost little more than their bytes.

#include "view/TBigList.h"
#include "view/TColor.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kemptor {

enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TTextAttributes {
    TColor FontColor;
    TColor BackColor;
    std::uint8_t Alignment = 0; // 0 left, 1 centred, 2 right
    std::uint8_t FontStyle = 0; // TFontStyle bits
};

class TBigTextStore {
public:
    static constexpr std::size_t kMaxLineLength = 255;

    std::uint16_t MaxLines = 0;     // line limit of AddLine; 0 = none
    std::uint16_t PurgeLines = 200; // lines dropped from the top at the limit; 0 = refuse the line instead

    TBigTextStore();
    ~TBigTextStore();
    TBigTextStore(const TBigTextStore&) = delete;
    TBigTextStore& operator=(const TBigTextStore&) = delete;

    // Number of lines; -1 when the text and attribute lists differ in length.
    int Count() const;

    // Appends a line cut at its first zero character and after 255 characters, left aligned, plain style.
    // At the line limit the first PurgeLines lines are dropped first. False, with the reason in `error`,
    // when the line could not be added ("Maximum line count at line N", "Out of Memory at line N").
    bool AddLine(std::string_view text, TColor textColor, TColor backColor, std::string* error = nullptr);
    void Clear();

    // The line's text; empty when the index is outside the store.
    std::string_view Line(int index) const;
    const TTextAttributes& Attributes(int index) const;
    void SetLineColors(int index, TColor textColor, TColor backColor);

    // Searches from the line after `top` down to the last line, or from the line before it up to line 0;
    // -1 when no line holds `what`.
    int FindLine(std::string_view what, int top, bool downwards, bool matchCase) const;

    // 1-based position of `what` in `line`, 0 when absent or empty; without match case the letters a to z
    // compare as upper case.
    static int LineMatches(std::string_view line, std::string_view what, bool matchCase);
    // Tabs of a line read from a file: each tab becomes the blanks that bring the following character to a
    // 1-based position that is a multiple of 8 (none when it already stands at one).
    static std::string ExpandTabsToEights(std::string_view line);

    // Bytes held for texts, entries and attributes (capacity included).
    std::size_t MemoryBytes() const;

private:
    // Where a line's text lives: a length byte followed by the characters, in one of the text blocks.
    struct TextRef {
        std::uint32_t block;
        std::uint32_t offset;
    };
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::uint32_t size = 0;
        std::uint32_t used = 0;
        std::uint32_t live = 0; // lines still stored in this block
    };

    TBigList<TextRef> lines_;
    TBigList<TTextAttributes> attributes_;
    std::vector<Block> blocks_;
    std::uint32_t firstLiveBlock_ = 0;

    void StoreLine(std::string_view text, TColor textColor, TColor backColor);
    void Purge();
    void ReleaseText(const TextRef& ref);
};

} // namespace kemptor
