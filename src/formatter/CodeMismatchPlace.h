#pragma once
// Naming the place of a refusal of the code check: the original line that lost (or changed) code or a
// comment, also where what it lost repeats what follows it. Only the code check includes this.

#include "formatter/CodeTokenStream.h"

#include <algorithm>
#include <cstddef>
#include <optional>

namespace kemptor::guard {

// A place where both texts start a statement at the start of a line, having read the same tokens
// before it: reading again from there, the streams stay in step.
struct SyncPoint {
    std::size_t original = 0;
    std::size_t formatted = 0;
};

// The last places in step, so that a refusal can read again a little before its first difference.
class SyncPoints {
public:
    SyncPoints() { Push(0, 0); }
    void Push(std::size_t original, std::size_t formatted) {
        if (count_ > 0 && points_[(count_ - 1) % kKept].original == original)
            return;
        points_[count_++ % kKept] = {original, formatted};
    }
    // The newest place at least kLinesBack original lines before `line`, or the oldest kept when
    // none is; never one so far back that reading again would cost more than the run did near it.
    SyncPoint Before(std::size_t line) const {
        const std::size_t kept = std::min(count_, kKept);
        SyncPoint chosen = points_[(count_ - 1) % kKept];
        for (std::size_t k = 1; k < kept; ++k) {
            const SyncPoint& p = points_[(count_ - 1 - k) % kKept];
            if (p.original > line || line - p.original > kMostLinesBack)
                break;
            chosen = p;
            if (line - p.original >= kLinesBack)
                break;
        }
        return chosen.original <= line ? chosen : SyncPoint{};
    }

private:
    static constexpr std::size_t kKept = 32;
    static constexpr std::size_t kLinesBack = 24;
    static constexpr std::size_t kMostLinesBack = 2000;
    SyncPoint points_[kKept];
    std::size_t count_ = 0;
};

// A code mismatch named again: read both texts from a place in step before it and look for a loss or
// an addition whose first visible difference lies later than itself. No result when the first
// difference is the place.
std::optional<CodeMismatch> PlaceOfEditedCode(const Unmarked& original, const Unmarked& formatted,
                                              const Allowances& allow, bool insertedOptionExplicit,
                                              SyncPoint from);

// The first comment of the original that no formatted comment at its place keeps. Both texts are
// read whole, once; a comment pairs with the first formatted comment of its text at its place after
// the one the comment before it paired with.
std::optional<CommentMark> FirstLostComment(const Unmarked& original, const Unmarked& formatted,
                                            const Allowances& allow, bool insertedOptionExplicit);

} // namespace kemptor::guard
