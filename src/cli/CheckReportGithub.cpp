// The GitHub Actions report of `check`: workflow commands that annotate the pull request, and a
// Markdown table appended to the job's step summary.
//
//   ::warning file=PATH,line=N,endLine=M,title=TITLE::MESSAGE    a changed block (up to a limit per file)
//   ::notice file=PATH,line=N,title=TITLE::MESSAGE                how many more blocks the file has
//   ::error file=PATH[,line=N,endLine=N],title=TITLE::MESSAGE     a file refused or unreadable
//
// GitHub shows only a handful of annotations per step, so each file gets at most a few and one line
// that counts the rest. In a message '%', CR and LF are escaped as %25, %0D and %0A; in a property
// ':' and ',' too, as %3A and %2C.
#include "cli/CheckReport.h"
#include "cli/CliMessages.h"
#include "platform/Host.h"

#include <fstream>
#include <iostream>
#include <sstream>

namespace kemptor {

namespace {

// A text for a workflow command: its message, or (property) a value of file=, title=, ...
std::string EscapeGithub(const std::string& text, bool property) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '%':
            out += "%25";
            break;
        case '\r':
            out += "%0D";
            break;
        case '\n':
            out += "%0A";
            break;
        case ':':
            out += property ? "%3A" : ":";
            break;
        case ',':
            out += property ? "%2C" : ",";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string Lines(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " line" : " lines");
}

// One workflow command: "::KIND PROPERTIES::MESSAGE".
void Command(const char* kind, const std::string& path, std::size_t line, std::size_t endLine,
             const std::string& title, const std::string& message) {
    std::cout << "::" << kind << " file=" << EscapeGithub(path, true);
    if (line > 0)
        std::cout << ",line=" << line << ",endLine=" << (endLine > 0 ? endLine : line);
    std::cout << ",title=" << EscapeGithub(title, true) << "::" << EscapeGithub(message, false) << '\n';
}

// A name for a Markdown table cell: escaped for one line, "|" and "`" kept from ending the cell.
std::string MarkdownCell(const std::string& path) {
    std::string out;
    for (char c : EscapedName(path)) {
        if (c == '|' || c == '`' || c == '*' || c == '_' || c == '[' || c == ']' || c == '<' || c == '>')
            out += '\\';
        out += c;
    }
    return out;
}

class GithubReporter : public CheckReporter {
public:
    explicit GithubReporter(const ReportOptions& options) : options_(options) {}

    void File(const FileOutcome& o, const FileTexts*) override {
        switch (o.status) {
        case FileOutcome::Status::Unchanged:
            return;
        case FileOutcome::Status::Changed:
            Annotate(o);
            return;
        case FileOutcome::Status::Refused:
            Command("error", o.path, o.line, o.line, "Refused by the code check", o.reason);
            return;
        case FileOutcome::Status::Unreadable:
            Command("error", o.path, 0, 0, "Cannot be checked", o.reason);
            return;
        case FileOutcome::Status::Internal:
            Command("error", o.path, o.line, o.line, "Internal error", o.reason);
            return;
        }
    }

    void Finish(const std::vector<FileOutcome>& outcomes) override {
        if (options_.stepSummaryPath.empty())
            return;
        std::ofstream summary(host::FsPath(options_.stepSummaryPath), std::ios::app | std::ios::binary);
        summary << StepSummary(outcomes);
        if (!summary.flush())
            std::cerr << "warning: cannot append the summary to " << EscapedName(options_.stepSummaryPath)
                      << '\n';
    }

private:
    void Annotate(const FileOutcome& o) const {
        const std::size_t shown = std::min(o.blocks.size(), options_.annotationsPerFile);
        for (std::size_t i = 0; i < shown; ++i) {
            const ChangeBlock& b = o.blocks[i];
            Command("warning", o.path, BlockStartLine(b, o.lineCount), BlockEndLine(b, o.lineCount),
                    "Not in the house style",
                    Lines(b.ChangedLines()) + " would change (kemptor-cli format -i)");
        }
        if (shown < o.blocks.size()) {
            const std::size_t more = o.blocks.size() - shown;
            const ChangeBlock& next = o.blocks[shown];
            Command("notice", o.path, BlockStartLine(next, o.lineCount), 0, "More changes in this file",
                    std::to_string(more) + " more " + (more == 1 ? "block" : "blocks") + " (" +
                        Lines(ChangedLineCount(
                            std::vector<ChangeBlock>(o.blocks.begin() + shown, o.blocks.end()))) +
                        ") would change; kemptor-cli check --diff shows them all");
        }
    }

    static std::string StepSummary(const std::vector<FileOutcome>& outcomes) {
        std::size_t changed = 0, errors = 0, lines = 0;
        for (const auto& o : outcomes) {
            changed += o.status == FileOutcome::Status::Changed;
            errors += o.IsError();
            lines += ChangedLineCount(o.blocks);
        }
        std::ostringstream md;
        md << "### Visual Basic house style\n\n";
        if (changed == 0 && errors == 0) {
            md << "All " << outcomes.size() << " files are in the house style.\n\n";
            return md.str();
        }
        md << changed << " of " << outcomes.size() << " files would change (" << Lines(lines) << ")";
        if (errors > 0)
            md << "; " << errors << (errors == 1 ? " file" : " files") << " could not be checked";
        md << ".\n\n| File | Result | Changed lines | Blocks |\n| --- | --- | ---: | ---: |\n";
        for (const auto& o : outcomes) {
            if (o.status == FileOutcome::Status::Unchanged)
                continue;
            md << "| " << MarkdownCell(o.path) << " | ";
            if (o.IsError())
                md << StatusName(o.status) << ": " << MarkdownCell(o.reason) << " | | |\n";
            else
                md << "would change | " << ChangedLineCount(o.blocks) << " | " << o.blocks.size() << " |\n";
        }
        md << "\nRun `kemptor-cli format -i` on these files to fix them.\n\n";
        return md.str();
    }

    const ReportOptions options_;
};

} // namespace

std::unique_ptr<CheckReporter> MakeGithubReporter(const ReportOptions& options) {
    return std::make_unique<GithubReporter>(options);
}

} // namespace kemptor
