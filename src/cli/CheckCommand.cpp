// kemptor-cli check [common] [--kind KIND] [--only NAME,...] [--diff] [--color WHEN]
// [--format text|github|json|gitlab] [--stdin-filename NAME] [--quiet|--verbose] PATH...: formats in
// memory and writes nothing; reports each file that would change. A PATH is a source file, a directory
// (every Visual Basic source below it: see InputFiles.h), a project file (.vbp, .mak, .vbg: its selected
// files, each with the kind the project gives it, as `process` would format them), or "-" for
// standard input (named by --stdin-filename in every report).
//
// Exit status: the highest of 0 nothing would change, 1 something would, 2 bad usage or a file that
// could not be read (also one the project names but that is missing), 3 a file whose formatted text the
// code check refused, 4 an internal error.
#include "cli/CheckReport.h"
#include "cli/CliCommand.h"
#include "cli/CliMessages.h"
#include "cli/CodeCheckRefusal.h"
#include "cli/FileEngines.h"
#include "cli/InputFiles.h"
#include "cli/TextChanges.h"

#include "platform/Host.h"
#include "platform/Progress.h"
#include "platform/SafeFile.h"
#include "platform/TextFile.h"
#include "platform/WinPath.h"
#include "run/GuardedFormat.h"

#include <algorithm>
#include <chrono>
#include <iostream>
#include <iterator>
#include <new>

namespace kemptor {
namespace {

// The bytes of one input: a file read where it stands (mapped) or standard input read whole.
struct InputBytes {
    std::shared_ptr<const void> keeper;
    std::string_view bytes;
};

std::optional<InputBytes> ReadInput(const InputFile& input, std::string& problem) {
    if (input.path.empty()) {
        auto text = std::make_shared<std::string>(std::istreambuf_iterator<char>(std::cin),
                                                  std::istreambuf_iterator<char>());
        if (std::cin.bad()) {
            problem = "cannot read standard input";
            return std::nullopt;
        }
        const std::string_view bytes = *text;
        return InputBytes{std::move(text), bytes};
    }
    // Only a regular file of a sane size is read: a FIFO would block, a device never end.
    if (const FileProblem p = CheckHostTextFile(input.path); p != FileProblem::None) {
        problem = FileProblemText(input.display, p);
        return std::nullopt;
    }
    std::shared_ptr<const MappedFile> file = MappedFile::OpenHost(input.path);
    if (!file) {
        problem = "cannot read " + input.display;
        return std::nullopt;
    }
    const std::string_view bytes = file->Bytes();
    return InputBytes{std::move(file), bytes};
}

class CheckCommand : public CliCommand {
public:
    void Setup(CLI::App& sub) override {
        common_.AddTo(sub);
        AddKindOption(sub, kind_);
        sub.add_option("--only", only_, "In a project, check only the files of these names (comma-separated)")
            ->delimiter(',');
        sub.add_flag("--diff", diff_, "Print the changes as a unified diff (the files' line ends kept)");
        sub.add_option("--format", format_, "Report format: text (default), github, json or gitlab")
            ->check(CLI::IsMember({"text", "github", "json", "gitlab"}));
        sub.add_option(
            "--stdin-filename", stdinName_,
            "For PATH '-': the name reports give standard input; its settings file and kind apply");
        output_.AddTo(sub, true);
        sub.add_option(
               "PATH", paths_,
               "Source files, directories, a project file (*.vbp, *.mak, *.vbg), or '-' for standard input")
            ->required();
        // Hidden: breaks every formatted text before the code check, to prove the check refuses it.
        sub.add_flag("--break-code-for-test", breakCode_)->group("");
    }

    int Run() override {
        common_.SetQuiet(output_.quiet);
        InputRequest request{paths_, kind_, stdinName_, true, only_};
        const InputListing inputs = ListInputFiles(request, common_);
        if (!inputs.ok)
            return kExitBadInput;

        ReportOptions options;
        options.format = format_;
        options.diff = diff_;
        options.color = diff_ && format_ == "text" && output_.ColorOnStdout();
        options.quiet = output_.quiet;
        options.stepSummaryPath = host::GetEnv("GITHUB_STEP_SUMMARY").value_or("");
        const std::unique_ptr<CheckReporter> reporter = MakeCheckReporter(options);

        CliPrompter prompter;
        FileEngines engines(common_, prompter);
        std::vector<FileOutcome> outcomes;
        // Files the project names that were left out (warned about by the project reader): errors.
        for (const std::string& name : inputs.leftOut) {
            FileOutcome missing;
            missing.path = name;
            missing.status = FileOutcome::Status::Unreadable;
            missing.reason =
                "the project names this file but it cannot be read (missing or not a regular file)";
            reporter->File(missing, nullptr);
            outcomes.push_back(std::move(missing));
        }
        for (const InputFile& input : inputs.files) {
            TVBSrcFormatter* const engine = engines.For(input.settingsPath);
            if (!engine)
                return kExitBadInput; // the settings could not be loaded: the message is on stderr
            const auto started = std::chrono::steady_clock::now();
            FileOutcome outcome = CheckOne(*engine, input, *reporter);
            outcome.milliseconds = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                         std::chrono::steady_clock::now() - started)
                                                         .count());
            if (output_.verbose)
                std::cerr << EscapedName(outcome.path) << ": " << StatusName(outcome.status) << " ("
                          << outcome.milliseconds << " ms)\n";
            outcomes.push_back(std::move(outcome));
        }
        reporter->Finish(outcomes);

        int status = inputs.skipped > 0 ? kExitBadInput : kExitOk;
        for (const FileOutcome& o : outcomes)
            status = std::max(status, ExitStatusOf(o));
        return status;
    }

private:
    // Checks one file and hands it to the reporter; no exception leaves it (an unexpected one becomes
    // an internal error of this file, and the other files are still checked).
    FileOutcome CheckOne(TVBSrcFormatter& engine, const InputFile& input, CheckReporter& reporter) {
        FileOutcome outcome;
        outcome.path = input.display;
        try {
            std::string problem;
            std::optional<InputBytes> read = ReadInput(input, problem);
            if (!read) {
                outcome.status = FileOutcome::Status::Unreadable;
                outcome.reason = problem;
                reporter.File(outcome, nullptr);
                return outcome;
            }
            const TLineList lines = TLineList::InPlace(read->bytes, read->keeper);
            outcome.lineCount = lines.size();
            ProgressObserver progress;
            const OutputTamper tamper = breakCode_ ? OutputTamper(BreakCodeForTest) : OutputTamper();
            const GuardedFormatResult guarded = FormatGuarded(
                engine, lines, ExtractFileName(input.settingsPath), input.kind, progress, tamper);
            if (!guarded.mismatch && engine.OutputLines.SameTexts(lines)) {
                engine.FreeLineObjects();
                reporter.File(outcome, nullptr);
                return outcome;
            }
            const TextLines before = lines.Texts();
            const TextLines after = engine.TakeOutput().Texts();
            if (guarded.mismatch) {
                const RefusalPlace place =
                    LocateRefusal(before, after, *guarded.mismatch, "it counts as unchanged");
                outcome.status = FileOutcome::Status::Refused;
                outcome.line = place.line;
                outcome.column = place.column;
                outcome.reason = place.reason;
                reporter.File(outcome, nullptr);
                return outcome;
            }
            outcome.status = FileOutcome::Status::Changed;
            outcome.blocks = FindChangeBlocks(before, after);
            const std::vector<std::string> lineEnds =
                diff_ ? LineEndsOf(read->bytes) : std::vector<std::string>();
            const FileTexts texts{before, after, lineEnds};
            reporter.File(outcome, &texts);
        } catch (const std::bad_alloc&) {
            Fail(engine, outcome, FileOutcome::Status::Unreadable, "not enough memory to check this file",
                 reporter);
        } catch (const std::exception& e) {
            Fail(engine, outcome, FileOutcome::Status::Internal, std::string("internal error: ") + e.what(),
                 reporter);
        }
        return outcome;
    }

    static void Fail(TVBSrcFormatter& engine, FileOutcome& outcome, FileOutcome::Status status,
                     const std::string& reason, CheckReporter& reporter) {
        engine.FreeLineObjects();
        outcome.status = status;
        outcome.blocks.clear();
        outcome.reason = reason;
        reporter.File(outcome, nullptr);
    }

    CommonOptions common_;
    OutputOptions output_;
    std::string kind_;
    std::vector<std::string> only_;
    bool diff_ = false;
    std::string format_ = "text";
    std::string stdinName_;
    std::vector<std::string> paths_;
    bool breakCode_ = false;
};

const bool registered = RegisterCliCommand<CheckCommand>(
    "check", "Report the files that formatting would change, writing nothing");

} // namespace
} // namespace kemptor
