// kemptor-cli format [common] [--kind KIND] [--stdin-filename NAME] [-i | --check | --diff] PATH...: runs
// the engine's passes on single files exactly as a processing run does and writes the result to stdout
// (CR LF), in place (-i), as a unified diff (--diff), or lists the files that would change (--check, exit
// status 1). PATH "-" is standard input, so that an editor can format a buffer (its text comes back
// with the buffer's own line ends); a directory (with -i, --check or --diff) stands for every Visual
// Basic source below it (InputFiles.h).
//
// Every result goes through the code check first. A file whose formatted code differs from its original
// gets a warning naming the first differing line; it is not rewritten (-i), shown as unchanged (--check,
// --diff) or written to stdout as it was read, and the command ends with exit status 3. A file that
// cannot be read gives 2, an internal error 4; the highest status of the files is the command's.
//
// -i rewrites regular files only, through a symbolic link to its target, keeping owner, group, mode and
// hard links; a file without write permission is left alone unless --force is given.
#include "cli/CliCommand.h"
#include "cli/CliMessages.h"
#include "cli/CodeCheckRefusal.h"
#include "cli/FileEngines.h"
#include "cli/InputFiles.h"
#include "cli/TextChanges.h"

#include "formatter/TVBSrcFormatter.h"
#include "platform/Host.h"
#include "platform/Progress.h"
#include "platform/Prompter.h"
#include "platform/SafeFile.h"
#include "platform/TextFile.h"
#include "platform/WinPath.h"
#include "run/GuardedFormat.h"
#include "settings/Settings.h"

#include <algorithm>
#include <chrono>
#include <iostream>
#include <iterator>
#include <memory>
#include <new>
#include <optional>

namespace kemptor {

namespace {

// The lines of a file read where they stand in the mapped file: no string per line, no copy. The
// name is the host's own (a name given on the command line is not a Windows path).
std::optional<TLineList> ReadLineList(const std::string& path, std::string_view& bytes) {
    std::shared_ptr<const MappedFile> file = MappedFile::OpenHost(path);
    if (!file)
        return std::nullopt;
    bytes = file->Bytes();
    return TLineList::InPlace(bytes, std::move(file));
}

// The name standard input goes by without --stdin-filename: a module.
constexpr const char* kStdinDefaultName = "stdin.bas";

// Standard input read whole, its lines kept where they stand in the text read. The size limit of files
// holds here too: a stream that goes on past it is refused, not gathered until memory runs out.
std::optional<TLineList> ReadStandardInput(std::string_view& bytes, bool& tooLarge) {
    auto text = std::make_shared<std::string>();
    char buffer[1 << 16];
    while (std::cin.read(buffer, sizeof buffer) || std::cin.gcount() > 0) {
        text->append(buffer, static_cast<std::size_t>(std::cin.gcount()));
        if (static_cast<std::int64_t>(text->size()) > kMaxTextFileBytes) {
            tooLarge = true;
            return std::nullopt;
        }
    }
    if (std::cin.bad())
        return std::nullopt;
    bytes = *text;
    return TLineList::InPlace(bytes, std::move(text));
}

bool HoldsNul(const TLineList& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].find('\0') != std::string_view::npos)
            return true;
    return false;
}

class FormatCommand : public CliCommand {
public:
    void Setup(CLI::App& sub) override {
        common_.AddTo(sub);
        AddKindOption(sub, kind_);
        auto* inPlace = sub.add_flag("-i,--in-place", inPlace_, "Rewrite the files in place");
        auto* check = sub.add_flag("--check", check_, "List the files that would change; exit 1 if any");
        auto* diff = sub.add_flag("--diff", diff_, "Show the changes as a unified diff");
        sub.add_flag("--force", force_, "With -i, also rewrite files without write permission");
        inPlace->excludes(check, diff);
        check->excludes(diff);
        sub.add_option("--stdin-filename", stdinName_,
                       "For FILE '-': the name whose settings file and extension apply");
        output_.AddTo(sub, true);
        sub.add_option("PATH", files_,
                       "Source files or directories (with -i, --check or --diff); '-' reads standard input")
            ->required();
        // Hidden: breaks every formatted text before the code check, to prove the check refuses it.
        sub.add_flag("--break-code-for-test", breakCode_)->group("");
    }

    int Run() override {
        if (inPlace_ && std::find(files_.begin(), files_.end(), "-") != files_.end()) {
            std::cerr << "error: standard input cannot be rewritten in place\n";
            return kExitBadInput;
        }
        common_.SetQuiet(output_.quiet);
        const bool toStdout = !inPlace_ && !check_ && !diff_;
        for (const std::string& path : files_) {
            if (toStdout && path != "-" && host::StatusOf(path).kind == host::FileKind::Directory) {
                std::cerr << "error: " << EscapedName(path)
                          << " is a directory: its files are formatted with -i, --check or --diff\n";
                return kExitBadInput;
            }
        }
        const InputListing inputs = ListInputFiles({files_, kind_, stdinName_, false, {}, true}, common_);
        if (!inputs.ok)
            return kExitBadInput;
        CliPrompter prompter;
        ProgressObserver progress;
        FileEngines engines(common_, prompter);
        const OutputTamper tamper = breakCode_ ? OutputTamper(BreakCodeForTest) : OutputTamper();
        bool anyWouldChange = false;
        int status = inputs.skipped > 0 ? kExitBadInput : kExitOk;
        const auto failed = [&](int code) { status = std::max(status, code); };
        for (const InputFile& input : inputs.files) {
            // Standard input goes by the name --stdin-filename gives it: its settings file, its kind.
            const bool fromStdin = input.path.empty();
            const std::string& file = input.display;
            const std::string name =
                fromStdin ? (stdinName_.empty() ? kStdinDefaultName : stdinName_) : input.path;
            TVBSrcFormatter* const found = engines.For(input.settingsPath);
            if (!found)
                return kExitBadInput;
            TVBSrcFormatter& engine = *found;
            const auto started = std::chrono::steady_clock::now();
            // Only a regular file of a sane size is read: a FIFO would block, a device never end.
            FileProblem problem = fromStdin ? FileProblem::None : CheckHostTextFile(input.path);
            std::string_view bytes;
            bool tooLarge = false;
            const std::optional<TLineList> lines = fromStdin ? ReadStandardInput(bytes, tooLarge)
                                                   : problem == FileProblem::None
                                                       ? ReadLineList(input.path, bytes)
                                                       : std::nullopt;
            if (tooLarge)
                problem = FileProblem::TooLarge;
            // Standard input's text comes back with its own line ends (an editor's buffer keeps its own).
            const std::string_view lineEnd = fromStdin && lines ? FirstLineEnd(bytes) : "\r\n";
            if (!lines) {
                std::cerr << LocatedMessage(file, 0, 0, "error",
                                            problem == FileProblem::None ? "cannot read the file"
                                                                         : FileProblemText(file, problem))
                          << "\n";
                failed(kExitBadInput);
                continue;
            }
            const TSourceKind kind = input.kind;
            std::optional<GuardedFormatResult> result;
            try {
                result = FormatGuarded(engine, *lines, ExtractFileName(name), kind, progress, tamper);
            } catch (const std::bad_alloc&) {
                engine.TakeOutput();
                std::cerr << LocatedMessage(file, 0, 0, "error", "not enough memory to format the file")
                          << "\n";
                failed(kExitBadInput);
                continue;
            } catch (const std::exception& e) {
                engine.TakeOutput();
                std::cerr << LocatedMessage(file, 0, 0, "error", std::string("internal error: ") + e.what())
                          << "\n";
                failed(kExitInternal);
                continue;
            }
            if (result->mismatch) {
                const std::string consequence = check_ || diff_ ? "it counts as unchanged"
                                                : inPlace_      ? "the file is not rewritten"
                                                                : "the original text is written unchanged";
                const RefusalPlace place =
                    LocateRefusal(lines->Texts(), engine.OutputLines.Texts(), *result->mismatch, consequence);
                std::cerr << LocatedMessage(file, place.line, place.column, "error", place.reason) << "\n";
                engine.FreeLineObjects(); // from here on the original stands for the file
                failed(kExitRefused);
            }
            const TLineList& formatted = result->mismatch ? *lines : engine.OutputLines;
            const bool changed = !formatted.SameTexts(*lines);
            anyWouldChange = anyWouldChange || changed;

            if (check_) {
                if (changed)
                    std::cout << EscapedName(file) << "\n";
            } else if (diff_) {
                WriteUnifiedDiff(std::cout, file, lines->Texts(), formatted.Texts(),
                                 DiffStyle{LineEndsOf(bytes), output_.ColorOnStdout()});
            } else if (inPlace_) {
                // Line ends are rewritten as CR LF: a file with NUL bytes is most likely not source
                // text, and rewriting it would corrupt it.
                if (changed && HoldsNul(*lines)) {
                    std::cerr << LocatedMessage(file, 0, 0, "error",
                                                "holds NUL bytes and looks binary; it is not rewritten")
                              << "\n";
                    failed(kExitBadInput);
                } else if (changed && !RewriteInPlace(input.path, file, formatted)) {
                    failed(kExitBadInput);
                }
            } else {
                std::cout.flush();
                if (!WriteLines(STDOUT_FILENO, formatted.size(), [&](std::size_t i) { return formatted[i]; },
                                lineEnd)) {
                    std::cerr << "error: cannot write the formatted text of " << EscapedName(file) << "\n";
                    failed(kExitBadInput);
                }
            }
            if (output_.verbose)
                std::cerr << EscapedName(file) << ": " << (changed ? "changed" : "unchanged") << " ("
                          << std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - started)
                                 .count()
                          << " ms)\n";
        }
        if (status != kExitOk)
            return status;
        return check_ && anyWouldChange ? kExitWouldChange : kExitOk;
    }

private:
    // Gives the file its formatted text; false (and the reason on stderr) when it is left as it was.
    bool RewriteInPlace(const std::string& hostPath, const std::string& file,
                        const TLineList& formatted) const {
        RemoveStaleTemporaries(ExtractFileDir(hostPath));
        std::string text;
        for (std::size_t i = 0; i < formatted.size(); ++i) {
            text += formatted[i];
            text += "\r\n";
        }
        switch (ReplaceHostFileContents(hostPath, text, force_)) {
        case ReplaceOutcome::Replaced:
            return true;
        case ReplaceOutcome::NotRegular:
            std::cerr << LocatedMessage(file, 0, 0, "error", "not a regular file; it is not rewritten")
                      << "\n";
            return false;
        case ReplaceOutcome::ReadOnly:
            std::cerr << LocatedMessage(file, 0, 0, "error",
                                        "no write permission; it is not rewritten (--force does)")
                      << "\n";
            return false;
        case ReplaceOutcome::Failed:
            break;
        }
        std::cerr << LocatedMessage(file, 0, 0, "error", "cannot be written; it is left as it was") << "\n";
        return false;
    }

    CommonOptions common_;
    std::string kind_;
    std::string stdinName_;
    bool force_ = false;
    bool inPlace_ = false;
    bool check_ = false;
    bool diff_ = false;
    std::vector<std::string> files_;
    OutputOptions output_;
    bool breakCode_ = false;
};

const bool registered =
    RegisterCliCommand<FormatCommand>("format", "Format Visual Basic source files as a processing run does");

} // namespace
} // namespace kemptor
