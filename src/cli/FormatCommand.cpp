// kemptor-cli format [common] [--kind KIND] [-i | --check | --diff] FILE...: runs the engine's passes on
// single files exactly as a processing run does and writes the result to stdout (CR LF), in place (-i),
// as a unified diff (--diff), or lists the files that would change (--check, exit status 1).
//
// Every result goes through the code check first. A file whose formatted code differs from its original
// gets a warning naming the first differing line; it is not rewritten (-i), shown as unchanged (--check,
// --diff) or written to stdout as it was read, and the command ends with exit status 2.
//
// -i rewrites regular files only, through a symbolic link to its target, keeping owner, group, mode and
// hard links; a file without write permission is left alone unless --force is given.
#include "cli/CliCommand.h"

#include "formatter/TVBSrcFormatter.h"
#include "platform/Progress.h"
#include "platform/Prompter.h"
#include "platform/SafeFile.h"
#include "platform/TextFile.h"
#include "platform/WinPath.h"
#include "run/GuardedFormat.h"
#include "settings/Settings.h"
#include "spell/HunspellSpeller.h"
#include "spell/SpellReporter.h"
#include "spell/SpellRun.h"
#include "view/TVisDiff.h"

#include <algorithm>
#include <iostream>
#include <memory>
#include <new>
#include <optional>

#include <unistd.h>

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

bool SameTexts(const TLineList& a, const TLineList& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

// A unified diff of two texts with three lines of context, lines matched by the optimal diff.
void WriteUnifiedDiff(std::ostream& out, const std::string& path, const TextLines& before,
                      const TextLines& after) {
    constexpr std::size_t kContext = 3;
    const DiffLinks links = TVisDiff::FindOptimalDiff(before, after, false);

    enum class Op { Same, Delete, Insert };
    struct Edit {
        Op op;
        std::size_t left;
        std::size_t right;
    };
    std::vector<Edit> edits;
    std::size_t i = 0, j = 0;
    while (i < before.size() || j < after.size()) {
        if (i < before.size() && links.left[i].Partner < 0)
            edits.push_back({Op::Delete, i++, j});
        else if (j < after.size() && links.right[j].Partner < 0)
            edits.push_back({Op::Insert, i, j++});
        else
            edits.push_back({Op::Same, i++, j++});
    }

    bool headerWritten = false;
    std::size_t k = 0;
    while (k < edits.size()) {
        if (edits[k].op == Op::Same) {
            ++k;
            continue;
        }
        // A hunk runs from the change's context to the end of the last change that lies within twice
        // the context of the one before it.
        const std::size_t start = k > kContext ? k - kContext : 0;
        std::size_t end = k;
        std::size_t sameRun = 0;
        for (std::size_t m = k; m < edits.size(); ++m) {
            if (edits[m].op == Op::Same) {
                if (++sameRun > 2 * kContext)
                    break;
            } else {
                sameRun = 0;
                end = m + 1;
            }
        }
        end = std::min(edits.size(), end + kContext);

        std::size_t leftCount = 0, rightCount = 0;
        for (std::size_t m = start; m < end; ++m) {
            leftCount += edits[m].op != Op::Insert;
            rightCount += edits[m].op != Op::Delete;
        }
        if (!headerWritten) {
            out << "--- " << path << "\n+++ " << path << "\n";
            headerWritten = true;
        }
        const std::size_t leftStart = leftCount > 0 ? edits[start].left + 1 : edits[start].left;
        const std::size_t rightStart = rightCount > 0 ? edits[start].right + 1 : edits[start].right;
        out << "@@ -" << leftStart << ',' << leftCount << " +" << rightStart << ',' << rightCount << " @@\n";
        for (std::size_t m = start; m < end; ++m) {
            switch (edits[m].op) {
            case Op::Same:
                out << ' ' << before[edits[m].left] << '\n';
                break;
            case Op::Delete:
                out << '-' << before[edits[m].left] << '\n';
                break;
            case Op::Insert:
                out << '+' << after[edits[m].right] << '\n';
                break;
            }
        }
        k = end;
    }
}

bool HoldsNul(const TLineList& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].find('\0') != std::string_view::npos)
            return true;
    return false;
}

std::optional<TSourceKind> KindFromName(const std::string& name) {
    for (TSourceKind kind : {skForm, skModule, skCustomControl, skClass, skUserControl})
        if (name == SourceKindName(kind))
            return kind;
    return std::nullopt;
}

class FormatCommand : public CliCommand {
public:
    void Setup(CLI::App& sub) override {
        common_.AddTo(sub);
        sub.add_option("--kind", kind_, "Kind of the files (default: from the extension)")
            ->check(CLI::IsMember({"form", "module", "class", "usercontrol", "customcontrol"}));
        auto* inPlace = sub.add_flag("-i,--in-place", inPlace_, "Rewrite the files in place");
        auto* check = sub.add_flag("--check", check_, "List the files that would change; exit 1 if any");
        auto* diff = sub.add_flag("--diff", diff_, "Show the changes as a unified diff");
        sub.add_flag("--force", force_, "With -i, also rewrite files without write permission");
        inPlace->excludes(check, diff);
        check->excludes(diff);
        sub.add_option("FILE", files_, "Source files")->required();
        // Hidden: breaks every formatted text before the code check, to prove the check refuses it.
        sub.add_flag("--break-code-for-test", breakCode_)->group("");
    }

    int Run() override {
        const std::optional<Settings> settings = common_.LoadSettings();
        if (!settings)
            return kExitBadInput;
        CliPrompter prompter;
        ProgressObserver progress;
        TVBSrcFormatter engine(*settings, prompter);
        engine.SetHeaderTemplates(TemplatesFromSettings(*settings, prompter));
        // With spell checking on there is no dialog to correct a word: unknown words are warned about.
        std::string path;
        std::unique_ptr<HunspellSpeller> speller;
        std::unique_ptr<SpellReporter> reporter;
        if (SpellingWanted(*settings)) {
            speller = std::make_unique<HunspellSpeller>();
            reporter = std::make_unique<SpellReporter>(
                *speller, [&path] { return path; },
                [](const std::string& line) { std::cerr << "warning: " << line << '\n'; });
            engine.SetSpellChecker(CheckerForRun(*settings, reporter.get(), prompter));
        }
        const OutputTamper tamper = breakCode_ ? OutputTamper(BreakCodeForTest) : OutputTamper();
        bool anyWouldChange = false;
        bool anyFailed = false;
        for (const std::string& file : files_) {
            // Only a regular file of a sane size is read: a FIFO would block, a device never end.
            const FileProblem problem = CheckTextFile(file);
            const std::optional<TLineList> lines =
                problem == FileProblem::None ? ReadLineList(file) : std::nullopt;
            if (!lines) {
                std::cerr << "error: "
                          << (problem == FileProblem::None ? "cannot read " + file
                                                           : FileProblemText(file, problem))
                          << "\n";
                anyFailed = true;
                continue;
            }
            path = file;
            const TSourceKind kind = kind_.empty() ? SourceKindOf(ExtractUpperExtension(file))
                                                   : KindFromName(kind_).value_or(skModule);
            std::optional<GuardedFormatResult> result;
            try {
                result = FormatGuarded(engine, *lines, ExtractFileName(file), kind, progress, tamper);
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
            const bool changed = !SameTexts(formatted, *lines);
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
                if (!WriteCrLfLines(STDOUT_FILENO, formatted.size(),
                                    [&](std::size_t i) { return formatted[i]; })) {
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
