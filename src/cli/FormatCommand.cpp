// kemptor-cli format [common] [--kind KIND] [--stdin-filename NAME] [-i | --check | --diff] FILE...: runs
// the engine's passes on single files exactly as a processing run does and writes the result to stdout
// (CR LF), in place (-i), as a unified diff (--diff), or lists the files that would change (--check, exit
// status 1). FILE "-" is standard input, so that an editor can format a buffer; its text comes back
// with the buffer's own line ends.
//
// Every result goes through the code check first. A file whose formatted code differs from its original
// gets a warning naming the first differing line; it is not rewritten (-i), shown as unchanged (--check,
// --diff) or written to stdout as it was read, and the command ends with exit status 2.
//
// -i rewrites regular files only, through a symbolic link to its target, keeping owner, group, mode and
// hard links; a file without write permission is left alone unless --force is given.
#include "cli/CliCommand.h"
#include "cli/FileEngines.h"
#include "cli/TextChanges.h"

#include "formatter/TVBSrcFormatter.h"
#include "platform/Progress.h"
#include "platform/Prompter.h"
#include "platform/SafeFile.h"
#include "platform/TextFile.h"
#include "platform/WinPath.h"
#include "run/GuardedFormat.h"
#include "settings/Settings.h"

#include <algorithm>
#include <iostream>
#include <iterator>
#include <memory>
#include <new>
#include <optional>

namespace kemptor {

namespace {

// The lines of a file read where they stand in the mapped file: no string per line, no copy.
std::optional<TLineList> ReadLineList(const std::string& path) {
    std::shared_ptr<const MappedFile> file = MappedFile::Open(path);
    if (!file)
        return std::nullopt;
    const std::string_view bytes = file->Bytes();
    return TLineList::InPlace(bytes, std::move(file));
}

// The name standard input goes by without --stdin-filename: a module.
constexpr const char* kStdinDefaultName = "stdin.bas";

// Standard input read whole, its lines kept where they stand in the text read; `lineEnd` receives its
// first line end, which the formatted text gets back (an editor's buffer keeps its own).
std::optional<TLineList> ReadStandardInput(std::string_view& lineEnd) {
    auto text = std::make_shared<std::string>(std::istreambuf_iterator<char>(std::cin),
                                              std::istreambuf_iterator<char>());
    if (std::cin.bad())
        return std::nullopt;
    const std::string_view bytes = *text;
    lineEnd = FirstLineEnd(bytes);
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
        sub.add_option("FILE", files_, "Source files; '-' reads standard input")->required();
        // Hidden: breaks every formatted text before the code check, to prove the check refuses it.
        sub.add_flag("--break-code-for-test", breakCode_)->group("");
    }

    int Run() override {
        if (inPlace_ && std::find(files_.begin(), files_.end(), "-") != files_.end()) {
            std::cerr << "error: standard input cannot be rewritten in place\n";
            return kExitBadInput;
        }
        CliPrompter prompter;
        ProgressObserver progress;
        FileEngines engines(common_, prompter);
        const OutputTamper tamper = breakCode_ ? OutputTamper(BreakCodeForTest) : OutputTamper();
        bool anyWouldChange = false;
        bool anyFailed = false;
        for (const std::string& file : files_) {
            // Standard input goes by the name --stdin-filename gives it: its settings file, its kind.
            const bool fromStdin = file == "-";
            const std::string name = fromStdin ? (stdinName_.empty() ? kStdinDefaultName : stdinName_) : file;
            TVBSrcFormatter* const found = engines.For(fromStdin && stdinName_.empty() ? "." : name);
            if (!found)
                return kExitBadInput;
            TVBSrcFormatter& engine = *found;
            // Only a regular file of a sane size is read: a FIFO would block, a device never end.
            const FileProblem problem = fromStdin ? FileProblem::None : CheckTextFile(file);
            std::string_view lineEnd = "\r\n";
            const std::optional<TLineList> lines = fromStdin                      ? ReadStandardInput(lineEnd)
                                                   : problem == FileProblem::None ? ReadLineList(file)
                                                                                  : std::nullopt;
            if (!lines) {
                std::cerr << "error: "
                          << (problem == FileProblem::None ? "cannot read " + file
                                                           : FileProblemText(file, problem))
                          << "\n";
                anyFailed = true;
                continue;
            }
            const TSourceKind kind = KindOfFile(name, kind_);
            std::optional<GuardedFormatResult> result;
            try {
                result = FormatGuarded(engine, *lines, ExtractFileName(name), kind, progress, tamper);
            } catch (const std::bad_alloc&) {
                engine.TakeOutput();
                std::cerr << "error: not enough memory to format " << file << "\n";
                anyFailed = true;
                continue;
            }
            if (result->mismatch) {
                const std::string consequence = check_ || diff_ ? "It counts as unchanged."
                                                : inPlace_      ? "The file is not rewritten."
                                                                : "The original text is written unchanged.";
                prompter.Show(PromptKind::Warning, CodeMismatchMessage(file, *result->mismatch, consequence),
                              PromptButtons::Ok);
                engine.FreeLineObjects(); // from here on the original stands for the file
                anyFailed = true;
            }
            const TLineList& formatted = result->mismatch ? *lines : engine.OutputLines;
            const bool changed = !formatted.SameTexts(*lines);
            anyWouldChange = anyWouldChange || changed;

            if (check_) {
                if (changed)
                    std::cout << file << "\n";
            } else if (diff_) {
                WriteUnifiedDiff(std::cout, file, lines->Texts(), formatted.Texts());
            } else if (inPlace_) {
                // Line ends are rewritten as CR LF: a file with NUL bytes is most likely not source
                // text, and rewriting it would corrupt it.
                if (changed && HoldsNul(*lines)) {
                    std::cerr << "error: " << file
                              << " holds NUL bytes and looks binary; it is not rewritten\n";
                    anyFailed = true;
                } else if (changed && !RewriteInPlace(file, formatted)) {
                    anyFailed = true;
                }
            } else {
                std::cout.flush();
                if (!WriteLines(STDOUT_FILENO, formatted.size(), [&](std::size_t i) { return formatted[i]; },
                                lineEnd)) {
                    std::cerr << "error: cannot write the formatted text of " << file << "\n";
                    anyFailed = true;
                }
            }
        }
        if (anyFailed)
            return kExitBadInput;
        return check_ && anyWouldChange ? kExitWouldChange : kExitOk;
    }

private:
    // Gives the file its formatted text; false (and the reason on stderr) when it is left as it was.
    bool RewriteInPlace(const std::string& file, const TLineList& formatted) const {
        RemoveStaleTemporaries(ExtractFileDir(file));
        std::string text;
        for (std::size_t i = 0; i < formatted.size(); ++i) {
            text += formatted[i];
            text += "\r\n";
        }
        switch (ReplaceFileContents(file, text, force_)) {
        case ReplaceOutcome::Replaced:
            return true;
        case ReplaceOutcome::NotRegular:
            std::cerr << "error: " << file << " is not a regular file; it is not rewritten\n";
            return false;
        case ReplaceOutcome::ReadOnly:
            std::cerr << "error: " << file
                      << " has no write permission; it is not rewritten (--force does)\n";
            return false;
        case ReplaceOutcome::Failed:
            break;
        }
        std::cerr << "error: cannot write " << file << "\n";
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
    bool breakCode_ = false;
};

const bool registered =
    RegisterCliCommand<FormatCommand>("format", "Format Visual Basic source files as a processing run does");

} // namespace
} // namespace kemptor
