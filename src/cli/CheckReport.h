#pragma once
// What `check` found for each file and the writers that report it: text (a line per file or a unified
// diff), GitHub workflow commands, JSON, and GitLab's code-quality report. A writer sees each file as
// soon as it is checked (a diff is written then, so only one file's texts are held at a time) and all
// of them at the end.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "cli/TextChanges.h"
#include "platform/TextFile.h"

namespace kemptor {

struct FileOutcome {
    enum class Status {
        Unchanged,
        Changed,
        Unreadable, // missing, not a regular file, too large, out of memory, or left out by its project
        Refused,    // its formatted text failed the code check
        Internal,   // an internal error
    };
    std::string path; // as reports name it (raw bytes; each writer escapes it its own way)
    Status status = Status::Unchanged;
    std::vector<ChangeBlock> blocks;
    std::size_t lineCount = 0;
    // Where an error is (lines and columns from 1; 0 when it concerns the whole file) and what it is.
    std::size_t line = 0;
    std::size_t column = 0;
    std::string reason;
    long milliseconds = 0;

    bool IsError() const { return status >= Status::Unreadable; }
};

// The exit status for one file: 0 unchanged, 1 changed, 2 unreadable, 3 refused, 4 internal error. A
// command ends with the highest of its files'.
int ExitStatusOf(const FileOutcome& outcome);
// "unchanged", "changed", "unreadable", "refused", "internal".
const char* StatusName(FileOutcome::Status status);
// The changed lines of all blocks: a replaced line counts once.
std::size_t ChangedLineCount(const std::vector<ChangeBlock>& blocks);
// The first and last line of the original that a block concerns (from 1); a block that only inserts
// lines is placed at the line before which they go.
std::size_t BlockStartLine(const ChangeBlock& block, std::size_t lineCount);
std::size_t BlockEndLine(const ChangeBlock& block, std::size_t lineCount);

// A file's texts, for a writer that shows the changes themselves.
struct FileTexts {
    const TextLines& before;
    const TextLines& after;
    const std::vector<std::string>& lineEnds;
};

struct ReportOptions {
    std::string format = "text"; // text, github, json, gitlab
    bool diff = false;
    bool color = false;
    bool quiet = false;
    std::size_t annotationsPerFile = 10; // github: changed blocks annotated per file
    std::string stepSummaryPath;         // github: $GITHUB_STEP_SUMMARY, empty when unset
};

class CheckReporter {
public:
    virtual ~CheckReporter() = default;
    // One file, as soon as it has been checked; `texts` for a changed file.
    virtual void File(const FileOutcome& outcome, const FileTexts* texts) = 0;
    // Every file, in order, after the last.
    virtual void Finish(const std::vector<FileOutcome>& outcomes) = 0;
};

std::unique_ptr<CheckReporter> MakeTextReporter(const ReportOptions& options);
std::unique_ptr<CheckReporter> MakeGithubReporter(const ReportOptions& options);
std::unique_ptr<CheckReporter> MakeJsonReporter(const ReportOptions& options);
std::unique_ptr<CheckReporter> MakeGitlabReporter(const ReportOptions& options);
std::unique_ptr<CheckReporter> MakeCheckReporter(const ReportOptions& options);

// An error as a message on stderr in the compiler convention ("PATH:LINE:COL: error: REASON").
void PrintErrorMessage(const FileOutcome& outcome);

} // namespace kemptor
