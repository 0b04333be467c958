#include "formatter/PassTrace.h"

#include <cstring>
#include <string>
#include <type_traits>

namespace kemptor {

namespace {

// Folds values into a 64-bit digest (a multiply-xorshift mix per value).
struct StateHasher {
    std::uint64_t h = 0x243F6A8885A308D3ULL;

    void Mix(std::uint64_t v) {
        h ^= v + 0x9E3779B97F4A7C15ULL + (h << 6) + (h >> 2);
        h *= 0xBF58476D1CE4E5B9ULL;
        h ^= h >> 31;
    }
    void Add(const std::string& s) {
        // Eight bytes at a time; the last word holds the rest, its unused bytes zero (the length
        // mixed in first tells "a" from "a\0").
        Mix(s.size());
        std::size_t k = 0;
        for (; k + 8 <= s.size(); k += 8) {
            std::uint64_t word;
            std::memcpy(&word, s.data() + k, 8);
            Mix(word);
        }
        std::uint64_t word = 0;
        std::memcpy(&word, s.data() + k, s.size() - k);
        Mix(word);
    }
    template <class T>
    void Add(const T& value) {
        if constexpr (std::is_enum_v<T>)
            Mix(static_cast<std::uint64_t>(value));
        else
            Mix(static_cast<std::uint64_t>(static_cast<std::int64_t>(value)));
    }
    void Add(const TForStack& stack) {
        Mix(stack.Nodes().size());
        for (const TForStackNode& node : stack.Nodes())
            Add(node.Name);
    }
    void Add(const std::vector<TCondFrame>& frames) {
        Mix(frames.size());
        for (const TCondFrame& frame : frames) {
            Add(frame.Start);
            Add(frame.FirstBranchEnd);
            Add(frame.Branched);
        }
    }
};

} // namespace

std::uint64_t TPassState::Hash() const {
    StateHasher h;
    h.Add(ForStack);
    h.Add(DimCount);
    h.Add(DimMaxCol);
    h.Add(IndentLevel);
    h.Add(PrevIndent);
    h.Add(ContinuedFrom);
    h.Add(PrevLine);
    h.Add(IgnoreLines);
    h.Add(Continued);
    if (Continued)
        h.Add(StatementClass);
    h.Add(CommentGroupCount);
    if (CommentGroupCount != 0)
        h.Add(CommentGroupStart);
    h.Add(CommentContinues);
    h.Add(PendingHeading.active);
    if (PendingHeading.active) {
        h.Add(PendingHeading.text);
        h.Add(PendingHeading.cls);
    }
    h.Add(CondFrames);
    return h.h;
}

void TPassTrace::Clear() {
    stretches_ = {};
    rests_ = {};
    next_ = 0;
    open_ = false;
    noted_ = false;
    recentCount_ = 0;
    recentHead_ = 0;
}

void TPassTrace::BeforeLine(std::size_t outputSize, std::string_view lastLine, const TPassState& state) {
    lineStart_ = outputSize;
    if (!open_) {
        lineHash_ = state.Hash();
        return;
    }
    if (recentCount_ == kRecent) {
        // A long stretch is noted as far as its oldest state kept before that state is let go of: an
        // edit further back than the states kept then costs the part after the note, not the whole
        // stretch. The note moves on with the stretch, and its end moves on when the stretch ends.
        // Moved every few lines: each move copies a state.
        Snapshot& oldest = recent_[recentHead_];
        if (oldest.prevIsLastLine && oldest.position - openBegin_ >= kMinLines &&
            (!noted_ || oldest.position >= stretches_.back().Resume + kRecent / 2))
            NoteOpenUpTo(oldest.position, oldest.state);
    }
    // The state before each line of an open stretch: the stretch may end at any of them.
    Snapshot& slot = recent_[(recentHead_ + recentCount_) % kRecent];
    if (recentCount_ == kRecent)
        recentHead_ = (recentHead_ + 1) % kRecent;
    else
        ++recentCount_;
    slot.position = outputSize;
    slot.prevIsLastLine = state.PrevLine == lastLine;
    TPassState& kept = slot.state;
    static_cast<TPassCounts&>(kept) = state;
    if (!kept.ForStack.Empty() || !state.ForStack.Empty())
        kept.ForStack = state.ForStack;
    if (kept.PendingHeading.active || state.PendingHeading.active)
        kept.PendingHeading = state.PendingHeading;
    if (!kept.CondFrames.empty() || !state.CondFrames.empty())
        kept.CondFrames = state.CondFrames;
}

void TPassTrace::AfterLine(bool alike, std::size_t firstEdited) {
    if (firstEdited != kNoEdit) {
        ForgetFrom(firstEdited);
        alike = false; // the line's own place may have moved
    }
    if (!alike) {
        if (open_)
            CloseBefore(lineStart_);
        return;
    }
    if (!open_) {
        open_ = true;
        openBegin_ = lineStart_;
        openHash_ = lineHash_;
        recentCount_ = 0;
    }
}

void TPassTrace::Finish(std::size_t outputSize, std::size_t firstEdited) {
    if (firstEdited != kNoEdit)
        ForgetFrom(firstEdited);
    if (open_)
        CloseBefore(outputSize);
}

void TPassTrace::CloseBefore(std::size_t end) {
    open_ = false;
    // The stretch goes on at the newest line before `end` whose state was kept: the lines before it
    // are taken over, and it is formatted again, since the line after it may read otherwise.
    for (std::size_t k = recentCount_; k-- > 0;) {
        Snapshot& snapshot = recent_[(recentHead_ + k) % kRecent];
        if (snapshot.position <= openBegin_)
            break;
        if (snapshot.position < end) {
            // A stretch keeps no PrevLine: when it resumes, the line before is there to read.
            if (snapshot.position - openBegin_ >= kMinLines && snapshot.prevIsLastLine)
                NoteOpenUpTo(snapshot.position, snapshot.state);
            break;
        }
    }
    recentCount_ = 0;
    noted_ = false;
}

void TPassTrace::NoteOpenUpTo(std::size_t resume, const TPassState& state) {
    if (!noted_) {
        stretches_.push_back(Stretch{openBegin_, resume, openHash_, state, kNoLists});
        noted_ = true;
    }
    Stretch& stretch = stretches_.back();
    stretch.Resume = resume;
    stretch.Counts = state;
    // The stretch's lists are the last kept, when it has any.
    if (state.OnlyCounts()) {
        if (stretch.Lists != kNoLists)
            rests_.pop_back();
        stretch.Lists = kNoLists;
    } else if (stretch.Lists != kNoLists) {
        rests_.back() = state;
    } else {
        stretch.Lists = static_cast<std::uint32_t>(rests_.size());
        rests_.push_back(state);
    }
}

void TPassTrace::ForgetFrom(std::size_t at) {
    // A stretch holds when nothing up to its resuming line changed after the pass read it.
    while (!stretches_.empty() && stretches_.back().Resume >= at) {
        if (stretches_.back().Lists != kNoLists)
            rests_.pop_back();
        stretches_.pop_back();
        noted_ = false; // the open stretch's note, when it had one, is the newest
    }
    if (open_) {
        if (openBegin_ >= at) {
            open_ = false;
            recentCount_ = 0;
        } else {
            CloseBefore(at);
        }
    }
}

const TPassTrace::Stretch* TPassTrace::StretchAt(std::size_t line) {
    while (next_ < stretches_.size() && stretches_[next_].Begin < line)
        ++next_;
    return next_ < stretches_.size() && stretches_[next_].Begin == line ? &stretches_[next_] : nullptr;
}

void TPassTrace::Resume(const Stretch& stretch, TPassState& state) {
    if (stretch.Lists != kNoLists) {
        TPassState& rest = rests_[stretch.Lists];
        state.ForStack = std::move(rest.ForStack);
        state.PendingHeading = std::move(rest.PendingHeading);
        state.CondFrames = std::move(rest.CondFrames);
    } else {
        state.ForStack.Clear();
        state.PendingHeading = TPendingHeading();
        state.CondFrames.clear();
    }
    static_cast<TPassCounts&>(state) = stretch.Counts;
}

} // namespace kemptor
