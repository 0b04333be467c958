// The text report of `check`: a line per file that would change and a count at the end, or with --diff
// a unified diff per file; errors on stderr.
#include "cli/CheckReport.h"
#include "cli/CliMessages.h"

#include <iostream>

namespace kemptor {

namespace {

class TextReporter : public CheckReporter {
public:
    explicit TextReporter(const ReportOptions& options) : options_(options) {}

    void File(const FileOutcome& outcome, const FileTexts* texts) override {
        if (outcome.IsError()) {
            PrintErrorMessage(outcome);
            return;
        }
        if (outcome.status != FileOutcome::Status::Changed)
            return;
        if (options_.diff && texts) {
            WriteUnifiedDiff(std::cout, outcome.path, texts->before, texts->after,
                             DiffStyle{texts->lineEnds, options_.color});
        } else if (!options_.diff && !options_.quiet) {
            const std::size_t n = ChangedLineCount(outcome.blocks);
            std::cout << EscapedName(outcome.path) << ": " << n << (n == 1 ? " line" : " lines")
                      << " would change\n";
        }
    }

    void Finish(const std::vector<FileOutcome>& outcomes) override {
        if (options_.diff || options_.quiet)
            return;
        std::size_t changed = 0;
        for (const auto& o : outcomes)
            changed += o.status == FileOutcome::Status::Changed;
        std::cout << changed << " of " << outcomes.size() << " files would change\n";
    }

private:
    const ReportOptions options_;
};

} // namespace

std::unique_ptr<CheckReporter> MakeTextReporter(const ReportOptions& options) {
    return std::make_unique<TextReporter>(options);
}

} // namespace kemptor
