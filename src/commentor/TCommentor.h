#pragma once
// The commentor's model: one module's lines, the routine in hand with its comment block, the memo in
// which the user edits that block, and the saving of the edited module as a copy in the output
// directory. The module's own file is only ever read. The window shows what this model holds; every
// message and question goes through the prompter.

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
    // absolute directory as it stands, any other below the module's directory.
    TCommentor(Prompter& prompter, std::string modulePath, const std::string& outputSetting);

    // Reads the module and shows its first routine (searched from the second line). An unreadable
    // module (false) and a module without routines are reported; nothing is shown then.
    bool Open();

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
    // The output directory exists and is not the module's own; reported otherwise.
    bool PrepareOutputDirectory();

    Prompter& prompter_;
    std::string modulePath_;
    std::string outputDir_;
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
