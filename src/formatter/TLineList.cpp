#include "formatter/TLineList.h"

#include "platform/Host.h"
#include "platform/Text.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <utility>

namespace kemptor {

namespace {

// Full-size blocks given back and not yet taken again; a bounded number, so that memory a list no
// longer needs still goes back to the system.
struct BlockPool {
    static constexpr std::size_t kMaxBlocks = 32;
    std::mutex mutex;
    std::vector<char*> blocks;
    ~BlockPool() {
        for (char* bytes : blocks)
            delete[] bytes;
    }
};

BlockPool& Pool() {
    static BlockPool pool;
    return pool;
}

} // namespace

void TLineList::BlockBytes::operator()(char* bytes) const {
    if (capacity == kBlockBytes) {
        BlockPool& pool = Pool();
        const std::lock_guard lock(pool.mutex);
        if (pool.blocks.size() < BlockPool::kMaxBlocks) {
            pool.blocks.push_back(bytes);
            return;
        }
    }
    delete[] bytes;
}

TLineList::BlockData TLineList::NewBlockData(std::size_t capacity) {
    if (capacity == kBlockBytes) {
        BlockPool& pool = Pool();
        const std::lock_guard lock(pool.mutex);
        if (!pool.blocks.empty()) {
            char* bytes = pool.blocks.back();
            pool.blocks.pop_back();
            return BlockData(bytes, BlockBytes{capacity});
        }
    }
    return BlockData(new char[capacity], BlockBytes{capacity});
}

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
    : blocks_(std::exchange(other.blocks_, {})), keeper_(std::exchange(other.keeper_, {})),
      current_(std::exchange(other.current_, 0)), sharedBase_(std::exchange(other.sharedBase_, nullptr)),
      sharedIndex_(std::exchange(other.sharedIndex_, 0)), takenBase_(std::exchange(other.takenBase_, nullptr)),
      takenIndex_(std::exchange(other.takenIndex_, 0)), entries_(std::exchange(other.entries_, {})),
      textBytes_(std::exchange(other.textBytes_, 0)),
      firstEdited_(std::exchange(other.firstEdited_, kNoEdit)), recurring_(std::exchange(other.recurring_, {})),
      reference_(std::exchange(other.reference_, nullptr)), verified_(std::exchange(other.verified_, 0)) {}

TLineList& TLineList::operator=(TLineList&& other) noexcept {
    blocks_ = std::exchange(other.blocks_, {});
    keeper_ = std::exchange(other.keeper_, {});
    current_ = std::exchange(other.current_, 0);
    sharedBase_ = std::exchange(other.sharedBase_, nullptr);
    sharedIndex_ = std::exchange(other.sharedIndex_, 0);
    takenBase_ = std::exchange(other.takenBase_, nullptr);
    takenIndex_ = std::exchange(other.takenIndex_, 0);
    entries_ = std::exchange(other.entries_, {});
    textBytes_ = std::exchange(other.textBytes_, 0);
    firstEdited_ = std::exchange(other.firstEdited_, kNoEdit);
    recurring_ = std::exchange(other.recurring_, {});
    reference_ = std::exchange(other.reference_, nullptr);
    verified_ = std::exchange(other.verified_, 0);
    return *this;
}

TLineList TLineList::FromText(std::string_view text) {
    TLineList list;
    const std::vector<std::string_view> lines = SplitTextLineViews(text);
    list.Reserve(lines.size());
    for (const std::string_view line : lines)
        list.Append(line, false);
    return list;
}

TLineList TLineList::InPlace(std::string_view text, std::shared_ptr<const void> keeper) {
    TLineList list;
    list.keeper_ = std::move(keeper);
    // One block per megabyte of text, each starting where its megabyte starts: a line is addressed in
    // the block of its first byte, whatever its length. No text is ever stored in them.
    const std::size_t blockCount = (text.size() + kBlockBytes - 1) / kBlockBytes;
    if (blockCount > kBlockMask)
        return FromText(text);
    list.blocks_.reserve(blockCount);
    for (std::size_t k = 0; k < blockCount; ++k)
        list.blocks_.push_back(
            Block{BlockData(nullptr, BlockBytes{}), text.data() + k * kBlockBytes, 0, kBlockBytes, 0});
    list.current_ = blockCount > 0 ? blockCount - 1 : 0;
    list.Reserve(text.size() / 32 + 16);
    const auto add = [&](std::size_t start, std::size_t end) {
        const std::size_t length = end - start;
        if (length == 0) {
            list.entries_.push_back(0);
        } else if (length >= kLongLength) {
            list.Append(text.substr(start, length), false); // too long to address in place: copied
        } else {
            Block& block = list.blocks_[start / kBlockBytes];
            ++block.lines;
            list.textBytes_ += length;
            list.entries_.push_back((start % kBlockBytes) |
                                    (static_cast<std::uint64_t>(start / kBlockBytes) << kBlockShift) |
                                    (static_cast<std::uint64_t>(length) << kLengthShift));
        }
    };
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* start = begin;
    for (const char* at; (at = FindLineBreak(start, end)) != end;) {
        add(static_cast<std::size_t>(start - begin), static_cast<std::size_t>(at - begin));
        start = AfterLineBreak(at, end);
    }
    if (start < end)
        add(static_cast<std::size_t>(start - begin), text.size());
    return list;
}

TLineList::Block& TLineList::BlockFor(std::size_t bytes) {
    const auto fits = [bytes](const Block& block) {
        return block.data && block.capacity - block.used >= bytes;
    };
    if (current_ < blocks_.size() && fits(blocks_[current_]))
        return blocks_[current_];
    // The rest of the current block stays unused; a kept one after it (empty, kept by Reset) takes
    // over when it is large enough, or else a new block is added at the end. Blocks over shared
    // bytes are passed by.
    for (std::size_t k = current_ + 1; k < blocks_.size(); ++k) {
        if (blocks_[k].data && blocks_[k].used == 0 && fits(blocks_[k])) {
            current_ = k;
            return blocks_[k];
        }
    }
    if (blocks_.size() > kBlockMask)
        throw std::length_error("TLineList: text beyond the list's capacity");
    // Small lists stay small; large ones take a megabyte at a time.
    const bool filling = current_ < blocks_.size() && blocks_[current_].data;
    const std::size_t grown = filling ? std::min(kBlockBytes, blocks_[current_].capacity * 2)
                              : blocks_.empty() ? kFirstBlockBytes
                                                : kBlockBytes;
    const std::size_t capacity = std::max(grown, bytes);
    blocks_.push_back(Block{NewBlockData(capacity), nullptr, 0, capacity, 0});
    blocks_.back().base = blocks_.back().data.get();
    // A text larger than a block gets one of its own; the lines after it go on where they were.
    if (bytes <= grown)
        current_ = blocks_.size() - 1;
    return blocks_.back();
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
    if (reference_ && Repeats(text, changed))
        return;
    entries_.push_back(Store(text) | (changed ? kChangedBit : 0));
}

std::size_t TLineList::SharedBlock(const Block& block, const std::shared_ptr<const void>& keeper) {
    if (block.base == sharedBase_)
        return sharedIndex_;
    if (keeper_ != keeper) {
        if (keeper_)
            return kNoBlock; // one list keeps the memory of one text read in place
        keeper_ = keeper;
    }
    // The bytes are looked for among the shared blocks already known: a pass appends its lines in
    // order, so a new block is met only once a megabyte of text.
    std::size_t index = kNoBlock;
    for (std::size_t k = blocks_.size(); k-- > 0;) {
        if (!blocks_[k].data && blocks_[k].base == block.base) {
            index = k;
            break;
        }
    }
    if (index == kNoBlock) {
        if (blocks_.size() > kBlockMask)
            return kNoBlock;
        blocks_.push_back(Block{BlockData(nullptr, BlockBytes{}), block.base, 0, block.capacity, 0});
        index = blocks_.size() - 1;
    }
    sharedBase_ = block.base;
    sharedIndex_ = index;
    return index;
}

void TLineList::AppendShared(const TLineList& from, std::size_t i, bool changed) {
    if (reference_ && Repeats(from[i], changed))
        return;
    const std::uint64_t entry = from.entries_[i];
    const std::uint64_t marker = changed ? kChangedBit : 0;
    if ((entry & kLengthMask) == 0) {
        entries_.push_back(marker);
        return;
    }
    const Block& block = from.blocks_[(entry >> kBlockShift) & kBlockMask];
    // Bytes read in place are never released while a list keeps them; a block of `from`'s own may go
    // with `from`, so its text is copied.
    const std::size_t index = !block.data && !block.takenOver && from.keeper_ && (entry & kLengthMask) != kLengthMask
                                  ? SharedBlock(block, from.keeper_)
                                  : kNoBlock;
    if (index == kNoBlock) {
        Append(from[i], changed);
        return;
    }
    ++blocks_[index].lines;
    const std::size_t length = (entry & kLengthMask) >> kLengthShift;
    textBytes_ += length;
    entries_.push_back((entry & (kOffsetMask | kLengthMask)) | (static_cast<std::uint64_t>(index) << kBlockShift) |
                       marker);
}

std::size_t TLineList::TakenBlock(Block& block) {
    if (!block.data && !block.takenOver)
        return kNoBlock; // text read in place
    if (block.base == takenBase_)
        return takenIndex_;
    std::size_t index = kNoBlock;
    if (block.data) {
        // Full for this list: it never stores a text there, so `from`'s lines keep their bytes.
        if (blocks_.size() > kBlockMask)
            return kNoBlock;
        blocks_.push_back(Block{std::move(block.data), block.base, block.capacity, block.capacity, 0});
        block.takenOver = true;
        index = blocks_.size() - 1;
    } else {
        // Taken over before: a line inserted or replaced earlier in `from` stores its text in a later
        // block. Gone from this list when it has been reset since: then copied.
        for (std::size_t k = blocks_.size(); k-- > 0 && index == kNoBlock;)
            if (blocks_[k].data && blocks_[k].base == block.base)
                index = k;
        if (index == kNoBlock)
            return kNoBlock;
    }
    takenBase_ = block.base;
    takenIndex_ = index;
    return index;
}

void TLineList::AppendTakingOver(TLineList& from, std::size_t i, bool changed) {
    if (reference_ && Repeats(from[i], changed))
        return;
    const std::uint64_t entry = from.entries_[i];
    const std::uint64_t length = entry & kLengthMask;
    // A long line's length lies before its text: copied, as AppendShared copies it.
    const std::size_t index = length != 0 && length != kLengthMask
                                  ? TakenBlock(from.blocks_[(entry >> kBlockShift) & kBlockMask])
                                  : kNoBlock;
    if (index == kNoBlock) {
        AppendShared(from, i, changed);
        return;
    }
    ++blocks_[index].lines;
    textBytes_ += length >> kLengthShift;
    entries_.push_back((entry & (kOffsetMask | kLengthMask)) | (static_cast<std::uint64_t>(index) << kBlockShift) |
                       (changed ? kChangedBit : 0));
}

std::uint64_t TLineList::StoreRecurring(std::string_view text) {
    if (text.empty())
        return 0;
    // A digest of the length and the last bytes tells the recurring texts apart (their starts, the
    // comment's indentation and mark, are alike); equality is then checked byte by byte.
    const std::size_t tailBytes = std::min<std::size_t>(text.size(), 8);
    std::uint64_t tail = 0;
    std::memcpy(&tail, text.data() + text.size() - tailBytes, tailBytes);
    const std::uint64_t digest = (tail ^ (text.size() * 0x9E3779B97F4A7C15ULL)) * 0xBF58476D1CE4E5B9ULL;
    std::uint64_t& slot = recurring_[digest >> (64 - kRecurringBits)];
    const std::uint64_t length = (slot & kLengthMask) >> kLengthShift;
    if (length == text.size() && length != kLongLength) {
        Block& block = blocks_[(slot >> kBlockShift) & kBlockMask];
        // A block released or passed to another list holds the text no longer.
        if (block.data && std::memcmp(block.base + (slot & kOffsetMask), text.data(), text.size()) == 0) {
            ++block.lines;
            textBytes_ += text.size();
            return slot;
        }
    }
    slot = Store(text);
    return slot;
}

void TLineList::AppendRecurring(std::string_view text, bool changed) {
    if (reference_ && Repeats(text, changed))
        return;
    entries_.push_back(StoreRecurring(text) | (changed ? kChangedBit : 0));
}

void TLineList::Insert(std::size_t index, std::string_view text, bool changed) {
    assert(index <= size());
    StopVerifying();
    InsertEntry(index, Store(text), changed);
}

void TLineList::InsertRecurring(std::size_t index, std::string_view text, bool changed) {
    assert(index <= size());
    StopVerifying();
    InsertEntry(index, StoreRecurring(text), changed);
}

void TLineList::InsertEntry(std::size_t index, std::uint64_t entry, bool changed) {
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(index), entry | (changed ? kChangedBit : 0));
    firstEdited_ = std::min(firstEdited_, index);
}

void TLineList::Replace(std::size_t i, std::string_view text) {
    if (reference_) {
        if ((*reference_)[i] == text)
            return;
        StopVerifying();
    }
    const std::uint64_t entry = Store(text);
    // The old text stays where it is (a view of it remains readable) until its block goes.
    if (Block* old = BlockOf(entries_[i]))
        --old->lines;
    entries_[i] = entry | (entries_[i] & kChangedBit);
    firstEdited_ = std::min(firstEdited_, i);
}

void TLineList::SetChanged(std::size_t i, bool changed) {
    if (reference_) {
        reference_->SetChanged(i, changed);
        return;
    }
    entries_[i] = (entries_[i] & ~kChangedBit) | (changed ? kChangedBit : 0);
}

void TLineList::Release(std::size_t i) {
    const std::uint64_t entry = entries_[i];
    entries_[i] = entry & kChangedBit;
    Block* block = BlockOf(entry);
    if (block && --block->lines == 0 && block->data) {
        block->data.reset();
        block->base = nullptr; // no longer a block of this list's own, nor over shared bytes
    }
}

void TLineList::VerifyAgainst(TLineList& reference) {
    Reset();
    reference_ = &reference;
}

bool TLineList::Repeats(std::string_view text, bool changed) {
    if (verified_ < reference_->size() && SameText((*reference_)[verified_], text)) {
        reference_->SetChanged(verified_, changed);
        ++verified_;
        return true;
    }
    StopVerifying();
    return false;
}

void TLineList::StopVerifying() {
    if (!reference_)
        return;
    TLineList& reference = *std::exchange(reference_, nullptr);
    const std::size_t count = std::exchange(verified_, 0);
    Reserve(count + count / 4 + 16);
    for (std::size_t i = 0; i < count; ++i)
        AppendTakingOver(reference, i, reference.Changed(i));
}

void TLineList::Clear() {
    *this = TLineList();
}

void TLineList::Reset() {
    // No line is left to refer to a block: the blocks over shared bytes go, and the memory they kept.
    std::erase_if(blocks_, [](const Block& block) { return !block.data; });
    keeper_.reset();
    sharedBase_ = nullptr;
    takenBase_ = nullptr;
    for (Block& block : blocks_) {
        block.used = 0;
        block.lines = 0;
    }
    current_ = 0;
    entries_.clear();
    textBytes_ = 0;
    recurring_ = {};
    firstEdited_ = kNoEdit;
    reference_ = nullptr;
    verified_ = 0;
}

void TLineList::Reserve(std::size_t lines) {
    entries_.reserve(lines);
    host::AdviseLargePages(entries_.data(), entries_.capacity() * sizeof(std::uint64_t));
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
    if (!SameTexts(other))
        return false;
    for (std::size_t i = 0; i < size(); ++i)
        if (Changed(i) != other.Changed(i))
            return false;
    return true;
}

bool TLineList::SameTexts(const TLineList& other) const {
    if (size() != other.size())
        return false;
    for (std::size_t i = 0; i < size(); ++i)
        if ((*this)[i] != other[i])
            return false;
    return true;
}

} // namespace kemptor
