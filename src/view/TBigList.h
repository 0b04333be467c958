#pragma once
// TBigList: an indexed list spread over up to four chunks, each an ordinary growable list, so that one
// list can hold more entries than a single allocation allows. Entries are numbered 0 to Count() - 1
// across the chunks in order.

#include <array>
#include <cstddef>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace kemptor {

// Raised when no chunk can take another entry.
class TBigListOutOfMemory : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

template <class T> class TBigList {
public:
    static constexpr int kMaxChunks = 4;

    int Count() const {
        std::size_t n = 0;
        for (int c = 0; c < chunkCount_; ++c)
            n += chunks_[c].size();
        return static_cast<int>(n);
    }
    std::size_t Capacity() const {
        std::size_t n = 0;
        for (int c = 0; c < chunkCount_; ++c)
            n += chunks_[c].capacity();
        return n;
    }
    int ChunkCount() const { return chunkCount_; }

    // Appends to the last chunk, or to a new chunk when the last one cannot grow. Returns the new index.
    int Add(T entry) {
        while (true) {
            try {
                Append(chunks_[chunkCount_ - 1], std::move(entry));
                return Count() - 1;
            } catch (const std::bad_alloc&) {
                if (chunkCount_ == kMaxChunks)
                    throw TBigListOutOfMemory("Out of Memory at line " + std::to_string(Count()));
                ++chunkCount_;
            }
        }
    }

    T& Get(int index) { return At(index); }
    const T& Get(int index) const { return const_cast<TBigList*>(this)->At(index); }

    void Delete(int index) {
        auto [chunk, offset] = Locate(index);
        chunks_[chunk].erase(chunks_[chunk].begin() + static_cast<std::ptrdiff_t>(offset));
    }

    // Removes the first n entries (all when there are fewer).
    void DeleteFirst(int n) {
        for (int c = 0; c < chunkCount_ && n > 0; ++c) {
            const auto take = std::min<std::size_t>(static_cast<std::size_t>(n), chunks_[c].size());
            chunks_[c].erase(chunks_[c].begin(), chunks_[c].begin() + static_cast<std::ptrdiff_t>(take));
            n -= static_cast<int>(take);
        }
    }

    // Moves entries from each later chunk into the one before it as far as that one can grow, then drops
    // the later chunks that became empty and gives spare capacity back.
    void Pack() {
        for (int c = 1; c < chunkCount_; ++c) {
            auto& into = chunks_[c - 1];
            auto& from = chunks_[c];
            std::size_t moved = 0;
            try {
                for (; moved < from.size(); ++moved)
                    Append(into, std::move(from[moved]));
            } catch (const std::bad_alloc&) {
            }
            from.erase(from.begin(), from.begin() + static_cast<std::ptrdiff_t>(moved));
        }
        while (chunkCount_ > 1 && chunks_[chunkCount_ - 1].empty()) {
            chunks_[chunkCount_ - 1] = std::vector<T>();
            --chunkCount_;
        }
        for (int c = 0; c < chunkCount_; ++c) {
            try {
                chunks_[c].shrink_to_fit();
            } catch (const std::bad_alloc&) {
            }
        }
    }

    void Clear() {
        for (auto& chunk : chunks_)
            chunk = std::vector<T>();
        chunkCount_ = 1;
    }

private:
    std::array<std::vector<T>, kMaxChunks> chunks_;
    int chunkCount_ = 1;

    // Grows by half rather than doubling, which keeps the spare capacity of a large list small.
    static void Append(std::vector<T>& chunk, T&& entry) {
        if (chunk.size() == chunk.capacity())
            chunk.reserve(chunk.capacity() < 16 ? 16 : chunk.capacity() + chunk.capacity() / 2);
        chunk.push_back(std::move(entry));
    }

    std::pair<int, std::size_t> Locate(int index) const {
        if (index >= 0) {
            auto rest = static_cast<std::size_t>(index);
            for (int c = 0; c < chunkCount_; ++c) {
                if (rest < chunks_[c].size())
                    return {c, rest};
                rest -= chunks_[c].size();
            }
        }
        throw std::out_of_range("TBigList Index out of bounds");
    }
    T& At(int index) {
        auto [chunk, offset] = Locate(index);
        return chunks_[chunk][offset];
    }
};

} // namespace kemptor
