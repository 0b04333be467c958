#pragma once
// What a formatting pass carries from one line to the next, as one value.
//
// A pass reads each line in the state the lines before it left, and that state is all it carries: two
// passes in equal states that read alike lines do alike things. The confirming pass builds on that to
// skip the stretches the first pass left as they were (PassTrace.h): it compares its state with the one
// the first pass had at a stretch's start, and takes up the first pass's state at the stretch's end.
// Every member a pass changes and reads again at a later line belongs here, and in Hash().

#include "formatter/StatementClass.h"
#include "formatter/TForStackNode.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kemptor {

// An #If block being indented: the level at which it started (where its #Else and #End If go) and
// the level its first branch left, which holds after #End If.
struct TCondFrame {
    int Start = 0;
    int FirstBranchEnd = 0;
    bool Branched = false; // an #Else or #ElseIf has been met
    bool operator==(const TCondFrame&) const = default;
};

// A heading whose header comment goes after it, waiting for the heading's last line and for the
// Attribute lines below it.
struct TPendingHeading {
    bool active = false;
    std::string text; // the whole heading, continuation lines joined
    TStatementClass cls = TStatementClass::scOther;
    bool operator==(const TPendingHeading&) const = default;
};

// The state's numbers and flags: all of it but its lists and texts.
struct TPassCounts {
    int DimCount = 0;          // consecutive declaration lines in the current group
    int DimMaxCol = 0;         // largest As column within that group
    int IndentLevel = 0;       // current indentation level in blanks (may go negative)
    int PrevIndent = 0;        // leading blanks of the preceding line after its formatting
    int ContinuedFrom = 0;     // the column the continuation lines of the statement in hand go on from
    int IgnoreLines = 0;       // lines still to pass through untouched; -1 up to "' kemptor: on"
    int CommentGroupCount = 0; // whole-line comments since the last code line (this pass)
    std::size_t CommentGroupStart = 0; // index in OutputLines where the current comment group began
    bool Continued = false;            // the preceding line ends in a line continuation
    bool CommentContinues = false;     // the preceding line's comment goes on in the next line
    TStatementClass StatementClass = TStatementClass::scOther; // class of the statement in hand's first line
};

struct TPassState : TPassCounts {
    TForStack ForStack;                 // loop variables of the open For statements
    std::string PrevLine;               // the preceding line as it stood after its formatting
    TPendingHeading PendingHeading;     // a heading waiting for its header comment
    std::vector<TCondFrame> CondFrames; // the #If blocks open, innermost last

    // Only the numbers and flags hold anything.
    bool OnlyCounts() const { return ForStack.Empty() && !PendingHeading.active && CondFrames.empty(); }
    // A 64-bit digest of the state: what the first pass keeps of it where a stretch starts. Every
    // member goes in, but for those the pass reads no more in the state it is in (a group's start
    // when no group is open, a heading's text when none is waiting, the first line's class when the
    // line before is not continued): equal digests then mean states that go on alike.
    std::uint64_t Hash() const;
};

} // namespace kemptor
