#include "view/TBigTextStore.h"

#include <algorithm>
#include <cstring>

namespace kemptor {

namespace {

// Blocks start small, for the many short texts of dialogs, and grow to their full size with the text.
constexpr std::uint32_t kFirstBlockSize = 4 * 1024;
constexpr std::uint32_t kBlockSize = 256 * 1024;

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

const TTextAttributes& NoAttributes() {
    static const TTextAttributes none{clBlack, clWindow, 0, 0};
    return none;
}

} // namespace

TBigTextStore::TBigTextStore() = default;
TBigTextStore::~TBigTextStore() = default;

int TBigTextStore::Count() const {
    const int n = lines_.Count();
    return n == attributes_.Count() ? n : -1;
}

bool TBigTextStore::AddLine(std::string_view text, TColor textColor, TColor backColor, std::string* error) {
    const int count = lines_.Count();
    auto fail = [&](const char* reason) {
        if (error != nullptr)
            *error = reason + std::to_string(lines_.Count());
        return false;
    };
    if (MaxLines != 0 && (count >= MaxLines || count > 32000)) {
        if (PurgeLines == 0)
            return fail("Maximum line count at line ");
        Purge();
    }
    const auto cut = text.find('\0');
    if (cut != std::string_view::npos)
        text = text.substr(0, cut);
    text = text.substr(0, std::min(text.size(), kMaxLineLength));
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            StoreLine(text, textColor, backColor);
            return true;
        } catch (const std::bad_alloc&) {
        } catch (const TBigListOutOfMemory&) {
        }
        if (PurgeLines == 0)
            break;
        Purge();
    }
    return fail("Out of Memory at line ");
}

void TBigTextStore::StoreLine(std::string_view text, TColor textColor, TColor backColor) {
    const auto need = static_cast<std::uint32_t>(text.size() + 1);
    if (blocks_.empty() || blocks_.back().used + need > blocks_.back().size) {
        Block block;
        block.size = blocks_.empty() ? kFirstBlockSize : std::min(kBlockSize, 2 * blocks_.back().size);
        block.bytes = std::make_unique<char[]>(block.size);
        blocks_.push_back(std::move(block));
    }
    Block& block = blocks_.back();
    const TextRef ref{static_cast<std::uint32_t>(blocks_.size() - 1), block.used};
    // Reserve room in both lists before writing either, so a failure leaves them equal in length.
    lines_.Add(ref);
    try {
        attributes_.Add(TTextAttributes{textColor, backColor, 0, 0});
    } catch (...) {
        lines_.Delete(lines_.Count() - 1);
        throw;
    }
    block.bytes[block.used] = static_cast<char>(static_cast<unsigned char>(text.size()));
    std::memcpy(block.bytes.get() + block.used + 1, text.data(), text.size());
    block.used += need;
    ++block.live;
}

void TBigTextStore::ReleaseText(const TextRef& ref) {
    Block& block = blocks_[ref.block];
    if (--block.live == 0) {
        if (ref.block + 1 == blocks_.size())
            block.used = 0; // the block being filled is reused from its start
        else
            block.bytes.reset();
    }
}

void TBigTextStore::Purge() {
    const int drop = std::min<int>(PurgeLines, lines_.Count());
    for (int k = 0; k < drop; ++k)
        ReleaseText(lines_.Get(k));
    lines_.DeleteFirst(drop);
    attributes_.DeleteFirst(std::min(drop, attributes_.Count()));
    lines_.Pack();
    attributes_.Pack();
}

void TBigTextStore::Clear() {
    lines_.Clear();
    attributes_.Clear();
    blocks_.clear();
}

std::string_view TBigTextStore::Line(int index) const {
    if (index < 0 || index >= lines_.Count())
        return {};
    const TextRef& ref = lines_.Get(index);
    const char* at = blocks_[ref.block].bytes.get() + ref.offset;
    return std::string_view(at + 1, static_cast<unsigned char>(at[0]));
}

const TTextAttributes& TBigTextStore::Attributes(int index) const {
    if (index < 0 || index >= attributes_.Count())
        return NoAttributes();
    return attributes_.Get(index);
}

void TBigTextStore::SetLineColors(int index, TColor textColor, TColor backColor) {
    if (index < 0 || index >= attributes_.Count())
        return;
    TTextAttributes& attributes = attributes_.Get(index);
    attributes.FontColor = textColor;
    attributes.BackColor = backColor;
}

int TBigTextStore::LineMatches(std::string_view line, std::string_view what, bool matchCase) {
    if (what.empty() || what.size() > line.size())
        return 0;
    if (matchCase) {
        const auto at = line.find(what);
        return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
    }
    auto same = [](char a, char b) { return UpperAscii(a) == UpperAscii(b); };
    const auto it = std::search(line.begin(), line.end(), what.begin(), what.end(), same);
    return it == line.end() ? 0 : static_cast<int>(it - line.begin()) + 1;
}

int TBigTextStore::FindLine(std::string_view what, int top, bool downwards, bool matchCase) const {
    const int count = lines_.Count();
    if (downwards) {
        for (int i = std::max(top + 1, 0); i < count; ++i)
            if (LineMatches(Line(i), what, matchCase) > 0)
                return i;
    } else {
        for (int i = std::min(top - 1, count - 1); i >= 0; --i)
            if (LineMatches(Line(i), what, matchCase) > 0)
                return i;
    }
    return -1;
}

std::string TBigTextStore::ExpandTabsToEights(std::string_view line) {
    std::string out;
    out.reserve(line.size());
    for (char c : line) {
        if (c != '\t') {
            out += c;
            continue;
        }
        // The following character will stand at 1-based position out.size() + 1.
        while ((out.size() + 1) % 8 != 0)
            out += ' ';
    }
    return out;
}

std::size_t TBigTextStore::MemoryBytes() const {
    std::size_t bytes = lines_.Capacity() * sizeof(TextRef) +
                        attributes_.Capacity() * sizeof(TTextAttributes) + blocks_.capacity() * sizeof(Block);
    for (const Block& block : blocks_)
        if (block.bytes)
            bytes += block.size;
    return bytes;
}

} // namespace kemptor
