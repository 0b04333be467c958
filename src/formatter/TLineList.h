#pragma once
// A list of text lines in which every line carries one TColorObject (changed or unchanged).
//
// The texts live in character blocks of up to a megabyte, filled one after another, and each line is
// one 64-bit entry holding its block, its offset in the block, its length and its marker. A
// million-line file so costs its bytes plus eight bytes a line instead of one heap string per line,
// and appending never moves a text already stored. Replacing a line stores its new text and repoints
// the line; the old bytes stay until Clear. A list read once from start to end can hand back the
// blocks of the lines it has read (Release), so that a formatting pass does not hold its whole input
// beside its whole output. A line of a list read in place (a mapped file) can be appended to another
// list as a view of the same bytes (AppendShared): a formatting pass copies only the lines it changes.
// Texts are 8-bit: every byte, NUL and CR included, is kept as given.
//
// A list can stand for another (VerifyAgainst): a later formatting pass, which nearly always gives
// its input back line for line, then stores nothing while it does, and its input is the result.

#include "formatter/TColorObject.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kemptor {

class TLineList {
public:
    TLineList() = default;
    // Every line of `lines`, each carrying the given marker.
    explicit TLineList(const std::vector<std::string>& lines, bool changed = false);
    TLineList(const TLineList& other);
    TLineList& operator=(const TLineList& other);
    // A list moved from is empty.
    TLineList(TLineList&& other) noexcept;
    TLineList& operator=(TLineList&& other) noexcept;

    // Splits text at CR LF, LF or a lone CR; a final line end adds no empty line.
    static TLineList FromText(std::string_view text);
    // The same, but the lines are read where they stand in `text` instead of being copied; `keeper`
    // holds that memory (a mapped file, say) for as long as the list or a copy of it needs it.
    static TLineList InPlace(std::string_view text, std::shared_ptr<const void> keeper);

    std::size_t size() const { return reference_ ? verified_ : entries_.size(); }
    bool empty() const { return size() == 0; }

    std::string_view operator[](std::size_t i) const {
        if (reference_)
            return (*reference_)[i];
        const std::uint64_t entry = entries_[i];
        std::size_t length = (entry & kLengthMask) >> kLengthShift;
        if (length == 0)
            return {};
        const char* text = blocks_[(entry >> kBlockShift) & kBlockMask].base + (entry & kOffsetMask);
        if (length == kLongLength)
            length = StoredLength(text);
        return {text, length};
    }
    bool Changed(std::size_t i) const {
        return reference_ ? reference_->Changed(i) : (entries_[i] & kChangedBit) != 0;
    }
    TColorObject Color(std::size_t i) const {
        return Changed(i) ? TColorObject::Changed() : TColorObject::Unchanged();
    }

    // `text` may be a line of this same list.
    void Append(std::string_view text, bool changed);
    // Appends line i of `from`: a view of the same bytes when they lie in memory read in place (which
    // this list then keeps too), else a copy. `from` may be released or cleared afterwards.
    void AppendShared(const TLineList& from, std::size_t i, bool changed);
    // The same, and a text in a block of `from`'s own is shared too: the block passes to this list,
    // and `from` goes on reading its bytes where they stand. For a list read once and then dropped
    // (a pass's input), which is never appended to again.
    void AppendTakingOver(TLineList& from, std::size_t i, bool changed);
    // Appends a text that recurs in this list, such as a line of the header comment put in above every
    // procedure: one equal to a recent text appended this way shares its bytes instead of a copy.
    void AppendRecurring(std::string_view text, bool changed);
    void Insert(std::size_t index, std::string_view text, bool changed);
    void InsertRecurring(std::size_t index, std::string_view text, bool changed);
    // New text for line i; its marker is kept.
    void Replace(std::size_t i, std::string_view text);
    void SetChanged(std::size_t i, bool changed);
    // The lowest line that Insert or Replace has touched since the last ForgetEdits (a line appended
    // at the end is no edit); size_t's largest value when none has been.
    std::size_t FirstEditedLine() const { return firstEdited_; }
    void ForgetEdits() { firstEdited_ = kNoEdit; }
    // Line i will not be read again: it reads as empty from now on, and the memory of its text goes
    // back as soon as no line that is still held has its text in the same block.
    void Release(std::size_t i);

    // Verifying: the list, empty, stands for `reference` as long as the lines appended to it repeat
    // the reference's, line for line and in their texts (a marker appended goes to the reference's
    // line). It stores nothing meanwhile, and reads its lines from the reference. The first line that
    // differs, an insertion or another change makes it a list of its own, which takes over the lines
    // repeated so far: the reference must keep them (not Release them) while the list verifies.
    void VerifyAgainst(TLineList& reference);
    bool Verifying() const { return reference_ != nullptr; }
    // Ends verifying: the list holds the lines repeated so far as its own.
    void StopVerifying();

    // Frees the markers and texts of every line and the memory they held (FreeLineObjects and Clear).
    void Clear();
    // Removes every line but keeps the memory for the lines that follow: the room for line entries
    // and the text blocks still held.
    void Reset();
    // Room for this many line entries.
    void Reserve(std::size_t lines);
    // Bytes of text stored, including texts that replaced lines have left behind.
    std::size_t BufferBytes() const { return textBytes_; }
    std::size_t LineCapacity() const { return entries_.capacity(); }
    // Bytes the list holds allocated for texts and line entries.
    std::size_t AllocatedBytes() const;

    std::vector<std::string> Texts() const;
    bool operator==(const TLineList& other) const;
    // The same texts line by line, whatever the markers.
    bool SameTexts(const TLineList& other) const;

private:
    // An entry: bits 0-19 the offset of the text in its block, bits 20-39 the block, bits 40-62 the
    // length, bit 63 the changed marker. A line too long for the length bits has kLongLength there
    // and its length stored in the eight bytes before its text. An empty line uses no block.
    static constexpr int kBlockShift = 20;
    static constexpr int kLengthShift = 40;
    static constexpr std::uint64_t kOffsetMask = (std::uint64_t{1} << kBlockShift) - 1;
    static constexpr std::uint64_t kBlockMask = (std::uint64_t{1} << (kLengthShift - kBlockShift)) - 1;
    static constexpr std::uint64_t kChangedBit = std::uint64_t{1} << 63;
    static constexpr std::uint64_t kLengthMask =
        ((std::uint64_t{1} << 63) - 1) & ~((std::uint64_t{1} << kLengthShift) - 1);
    static constexpr std::size_t kLongLength = kLengthMask >> kLengthShift;
    // Blocks grow from the first size to the largest; a longer line gets a block of its own.
    static constexpr std::size_t kFirstBlockBytes = std::size_t{4} << 10;
    static constexpr std::size_t kBlockBytes = std::size_t{1} << kBlockShift;

    // Frees a block's bytes; a full-size block goes to a small pool that the next block taken reuses,
    // so that a pass filling its output while it releases its input does not fault in fresh pages.
    struct BlockBytes {
        std::size_t capacity = 0;
        void operator()(char* bytes) const;
    };
    using BlockData = std::unique_ptr<char[], BlockBytes>;
    static BlockData NewBlockData(std::size_t capacity);

    struct Block {
        BlockData data;             // null once released, and for text read in place
        const char* base = nullptr; // where the block's texts start
        std::size_t used = 0;
        std::size_t capacity = 0;
        std::size_t lines = 0; // lines held whose text lies here
        bool takenOver = false; // its bytes passed to another list (AppendTakingOver), which keeps them
    };

    // Stores the text and returns its entry, unmarked.
    std::uint64_t Store(std::string_view text);
    // The same, sharing the bytes of an equal recent text stored this way.
    std::uint64_t StoreRecurring(std::string_view text);
    void InsertEntry(std::size_t index, std::uint64_t entry, bool changed);
    // The block that takes the next `bytes` bytes of text: the one being filled, the next kept one,
    // or a new one at the end (a block never changes its index while a line refers to it).
    Block& BlockFor(std::size_t bytes);
    // The index of this list's block over the bytes of `block`, a block of text read in place that
    // `keeper` holds; kNoBlock when this list keeps other memory.
    std::size_t SharedBlock(const Block& block, const std::shared_ptr<const void>& keeper);
    static constexpr std::size_t kNoBlock = ~std::size_t{0};
    // The index of this list's block over the bytes of `block`, a block of another list that this list
    // has taken over or takes over now; kNoBlock for bytes read in place.
    std::size_t TakenBlock(Block& block);
    static std::size_t StoredLength(const char* text);
    // The block of a non-empty entry's text, to count the lines that use it.
    Block* BlockOf(std::uint64_t entry);

    std::vector<Block> blocks_;
    std::shared_ptr<const void> keeper_; // the memory of the texts read in place
    std::size_t current_ = 0;            // the block being filled; those after it are empty, kept by Reset
    // The last block over shared bytes looked up: its base and its index here.
    const char* sharedBase_ = nullptr;
    std::size_t sharedIndex_ = 0;
    // The last block taken over from another list: its base and its index here.
    const char* takenBase_ = nullptr;
    std::size_t takenIndex_ = 0;
    std::vector<std::uint64_t> entries_;
    std::size_t textBytes_ = 0;
    static constexpr std::size_t kNoEdit = ~std::size_t{0};
    std::size_t firstEdited_ = kNoEdit;
    // The entries of texts appended by AppendRecurring, in the slot of a digest of their text (0: none).
    // Their blocks' indices hold until Reset.
    static constexpr int kRecurringBits = 6;
    std::array<std::uint64_t, std::size_t{1} << kRecurringBits> recurring_{};
    // Verifying: the list repeated, and the number of its lines repeated so far.
    TLineList* reference_ = nullptr;
    std::size_t verified_ = 0;
    // Verifying: `text`, appended with `changed`, repeats the reference's next line (which then takes
    // the marker). Else the list stops verifying.
    bool Repeats(std::string_view text, bool changed);
};

} // namespace kemptor
