#pragma once
// What the first pass leaves for the confirming pass: the stretches of its output that the confirming
// pass may take over without reading them.
//
// The first pass notes each stretch of its output that the confirming pass will read line by line as
// the first pass read it: each line of the stretch came from one line the first pass formatted (an
// input line, a piece of a split line, or a header line put in after a heading, which goes through the
// pass as a line of its own), read alike by a later pass (the same text after the indentation, or a
// comment placed alike), with no later line of the pass editing what it had written there. Blank lines
// that the blank-line rules put before or after such a line, and blank lines of the input that the
// settings drop, belong to the stretch when a later pass drops them without a change of state and
// puts them back. A confirming pass that reaches such a stretch in the state the first pass had at its
// start (compared by digest) would do what the first pass did: read alike lines, in the same states,
// see the same lines written before them and the same line after each, and so give back those lines
// unchanged and end in the same state. So it appends them as they stand and goes on from the first
// pass's state at the stretch's last line, which it formats itself (what follows that line may
// differ). Anything the first pass did differently (a line dropped or put in otherwise, a line written
// earlier changed later) is outside every stretch, and the confirming pass reads it as it would
// without a trace.

#include "formatter/PassState.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace kemptor {

class TPassTrace {
public:
    // A stretch: output lines [Begin, Resume) are taken over; the pass goes on at line Resume in the
    // state the first pass had there (Resume()).
    struct Stretch {
        std::size_t Begin = 0;
        std::size_t Resume = 0;
        std::uint64_t BeginHash = 0;
        TPassCounts Counts;        // the state at Resume: its numbers and flags
        std::uint32_t Lists = kNoLists; // and the rest of it (rests_), where it has any
    };
    static constexpr std::uint32_t kNoLists = ~std::uint32_t{0};
    // Stretches shorter than this are not noted: taking one over must save more than it costs.
    static constexpr std::size_t kMinLines = 4;

    // --- While the first pass runs -------------------------------------------------------------
    void Clear();
    // Before the pass reads a line: `outputSize` lines are written, the last of them `lastLine`, and
    // the pass is in `state`.
    void BeforeLine(std::size_t outputSize, std::string_view lastLine, const TPassState& state);
    // After the line: `alike` when the lines it gave, from LineStart() on, are what a later pass gives
    // back as it reads them in the state noted before it; `firstEdited`: the lowest line written
    // earlier that the pass changed or put in since the last call (size_t's largest value when none).
    // A line that gave nothing and left the state as it was (a blank line dropped) gets no call.
    void AfterLine(bool alike, std::size_t firstEdited);
    // Where the output of the line in hand begins (BeforeLine's `outputSize`).
    std::size_t LineStart() const { return lineStart_; }
    // The pass is over (`firstEdited` as for AfterLine): the stretch still open ends at the last line.
    void Finish(std::size_t outputSize, std::size_t firstEdited);
    static constexpr std::size_t kNoEdit = ~std::size_t{0};

    // --- While the confirming pass runs ----------------------------------------------------------
    // The stretch that begins at output line `line`, or null; stretches before it are passed over.
    const Stretch* StretchAt(std::size_t line);
    // Puts `state` in the first pass's state at the stretch's resuming line, but for its PrevLine.
    void Resume(const Stretch& stretch, TPassState& state);
    std::size_t Size() const { return stretches_.size(); }

private:
    // A state taken before a line, without its PrevLine: whether that was the output line before is
    // all a stretch needs of it. Its lists are copied only when there is something to copy.
    struct Snapshot {
        std::size_t position = 0; // the output line the state is taken before
        TPassState state;
        bool prevIsLastLine = false; // PrevLine was the output line before `position`
    };
    static constexpr std::size_t kRecent = 16; // states kept of the lines just read

    // Ends the open stretch before output line `end`, noting it when long enough.
    void CloseBefore(std::size_t end);
    // Notes the open stretch as going on at line `resume` in `state`, or moves its note there.
    void NoteOpenUpTo(std::size_t resume, const TPassState& state);
    // Forgets what an edit at output line `at` makes untrue.
    void ForgetFrom(std::size_t at);

    // In the order of their lines. Most states at a resuming line are numbers and flags only: the
    // few with an open loop, #If block or waiting heading keep the rest of their state beside.
    // Deques: a long file notes tens of thousands of stretches, and a vector that grows would hold
    // its old and new room at once.
    std::deque<Stretch> stretches_;
    std::deque<TPassState> rests_;
    std::size_t next_ = 0; // the first stretch the confirming pass has not passed over

    bool open_ = false;
    bool noted_ = false; // the newest stretch noted is the open one, as far as it had come
    std::size_t openBegin_ = 0;
    std::uint64_t openHash_ = 0;
    std::size_t lineStart_ = 0;  // the output line where the line in hand's output begins
    std::uint64_t lineHash_ = 0; // the state's digest before the line in hand, when no stretch is open
    std::array<Snapshot, kRecent> recent_;
    std::size_t recentCount_ = 0; // snapshots held, the newest at (recentHead_ + kRecent - 1) % kRecent
    std::size_t recentHead_ = 0;
};

} // namespace kemptor
