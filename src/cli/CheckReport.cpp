#include "cli/CheckReport.h"

#include "cli/CliMessages.h"

#include <algorithm>
#include <iostream>

namespace kemptor {

int ExitStatusOf(const FileOutcome& outcome) {
    switch (outcome.status) {
    case FileOutcome::Status::Unchanged:
        return 0;
    case FileOutcome::Status::Changed:
        return 1;
    case FileOutcome::Status::Unreadable:
        return 2;
    case FileOutcome::Status::Refused:
        return 3;
    case FileOutcome::Status::Internal:
        return 4;
    }
    return 4;
}

const char* StatusName(FileOutcome::Status status) {
    switch (status) {
    case FileOutcome::Status::Unchanged:
        return "unchanged";
    case FileOutcome::Status::Changed:
        return "changed";
    case FileOutcome::Status::Unreadable:
        return "unreadable";
    case FileOutcome::Status::Refused:
        return "refused";
    case FileOutcome::Status::Internal:
        return "internal";
    }
    return "internal";
}

std::size_t ChangedLineCount(const std::vector<ChangeBlock>& blocks) {
    std::size_t total = 0;
    for (const auto& b : blocks)
        total += b.ChangedLines();
    return total;
}

std::size_t BlockStartLine(const ChangeBlock& block, std::size_t lineCount) {
    return lineCount == 0 ? 1 : std::min(block.leftStart + 1, lineCount);
}

std::size_t BlockEndLine(const ChangeBlock& block, std::size_t lineCount) {
    const std::size_t start = BlockStartLine(block, lineCount);
    return block.leftCount == 0 ? start : std::max(start, block.leftStart + block.leftCount);
}

void PrintErrorMessage(const FileOutcome& outcome) {
    std::cerr << LocatedMessage(outcome.path, outcome.line, outcome.column, "error", outcome.reason) << '\n';
}

std::unique_ptr<CheckReporter> MakeCheckReporter(const ReportOptions& options) {
    if (options.format == "github")
        return MakeGithubReporter(options);
    if (options.format == "json")
        return MakeJsonReporter(options);
    if (options.format == "gitlab")
        return MakeGitlabReporter(options);
    return MakeTextReporter(options);
}

} // namespace kemptor
