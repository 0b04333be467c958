#pragma once
// The commentor's model: one module's lines, the routine in hand with its comment block, the memo in
// which the user edits that block, and the saving of the edited module as a copy in the output
// directory. The module's own file is only ever read. When the output copy exists already (an earlier
// Save, or a processing run), the lines come from that copy, so that a later Save keeps what it holds.
// The window shows what this model holds; every message and question goes through the prompter.

#include "platform/TextFile.h"

#include <functional>
#include <string>
#include <string_view>

namespace kemptor {

class Prompter;

// Routine headings as the commentor walks them: the line, without its leading blanks, begins with
// "Sub ", "Function " or one of them after "Private ", "Static " or "Public " (exact case). Property
// headings and combined modifiers ("Private Static Sub") are not routines here.
bool IsCommentorHeading(std::string_view line);
// "End Sub" or "End Function" (exact case, leading blanks ignored), alone or followed by a blank;
// "End Subx" is no end.
bool IsCommentorRoutineEnd(std::string_view line);

// The comment memo of the window: the lines it holds and whether the user edited them since they were
// filled from the module.
struct CommentMemo {
    TextLines Lines;
    bool Edited = false;
};

class TCommentor {
public:
    // `modulePath` is the module's full path; `outputSetting` the text of BackupNewCodeDirectory: an
    // absolute directory as it stands, any other below `projectDir`, the directory of the project the
    // module belongs to, so that the copy goes where a processing run writes the module (a module in a
    // subfolder too). Without a project the module's own directory stands in.
    TCommentor(Prompter& prompter, std::string modulePath, const std::string& outputSetting,
               std::string projectDir = {});

    // Reads the output copy when it exists, else the module, and shows the first routine (searched from
    // the second line). An unreadable file (false) and a module without routines are reported; nothing
    // is shown then.
    bool Open();
    // The lines were read from the existing output copy, not from the module.
    bool FromOutputCopy() const { return fromOutputCopy_; }

    // Change check, then the next (previous) routine; "No further routines." ("No prior routines.")
    // when there is none. False when the current routine stays.
    bool Next();
    bool Prior();
    // Puts the memo in place of the comment block and writes all lines to the output copy. False, with
    // the reason reported and the memo still marked edited, when nothing was written.
    bool Save();
    // The change check before the window closes; false means stay open.
    bool CanClose() { return ChangeCheck(); }

    CommentMemo Memo;
    // Called whenever the lines were read or a routine was shown, before any message that follows, so
    // that a window is up to date behind the message box.
    std::function<void()> Changed;

    const TextLines& Lines() const { return lines_; }
    const std::string& ModulePath() const { return modulePath_; }
    const std::string& OutputDirectory() const { return outputDir_; }
    // The output copy: the output directory and the module's file name.
    std::string OutputFile() const;

    bool HasRoutine() const { return current_ >= 0; }
    // Index of the current heading line, -1 when no routine is shown.
    int Current() const { return current_; }
    // First and last line of the comment block, the heading included.
    int BlockStart() const { return blockStart_; }
    int BlockEnd() const { return blockEnd_; }
    // Last line of the routine: its first end after the heading, else the last line of the module.
    int RoutineEnd() const { return routineEnd_; }
    // The heading line as it stands, the values of the block's "'  Author :" and "'  Params :" lines.
    std::string Heading() const;
    const std::string& Author() const { return author_; }
    const std::string& Params() const { return params_; }

    // Counters the window compares to know when to refill the memo (a routine was shown) and when to
    // reload the source view (the lines changed).
    unsigned ShownCount() const { return shownCount_; }
    unsigned LinesRevision() const { return linesRevision_; }

private:
    // Asks "Comments have changed..." when the memo was edited. Yes saves (a failed save stays), No goes
    // on, Cancel stays. True means go on.
    bool ChangeCheck();
    bool MoveTo(int step, const char* noneMessage);
    void ShowRoutine();
    // The first heading from `from` in direction `step`, not below line 1; -1 when none.
    int FindHeading(int from, int step) const;
    // The output directory exists and is neither the module's nor the project's own; reported otherwise.
    bool PrepareOutputDirectory();
    // An output copy that is not the module itself (as it would be with the module's own directory).
    bool OutputCopyExists() const;

    Prompter& prompter_;
    std::string modulePath_;
    std::string projectDir_;
    std::string outputDir_;
    bool fromOutputCopy_ = false;
    TextLines lines_;
    int current_ = -1;
    int blockStart_ = -1;
    int blockEnd_ = -1;
    int routineEnd_ = -1;
    std::string author_;
    std::string params_;
    unsigned shownCount_ = 0;
    unsigned linesRevision_ = 0;
};

} // namespace kemptor
