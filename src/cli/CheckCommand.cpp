// kemptor-cli check [common] [--kind KIND] [--only NAME,...] [--diff] [--format text|github|json]
// PROJECT|FILE...: formats in memory and writes nothing; reports each file that would change. A project
// file (.vbp, .mak) is checked as `process` would format it: its selected files (--only), each with the
// kind the project gives it.
//
// Exit status: 0 nothing would change, 1 something would, 2 a file could not be read or its formatted code
// failed the code check, or bad usage.
#include "cli/CliCommand.h"
#include "cli/FileEngines.h"
#include "cli/TextChanges.h"

#include "platform/PathBounds.h"
#include "platform/Progress.h"
#include "platform/TextFile.h"
#include "platform/WinPath.h"
#include "project/TSourceMgt.h"
#include "run/GuardedFormat.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <new>

namespace kemptor {
namespace {

namespace fs = std::filesystem;

// One file to check: where to read it, how to name it in the report, its kind.
struct CheckTarget {
    std::string path;    // host path
    std::string display; // relative to the working directory where possible
    std::string settingsPath;
    TSourceKind kind;
};

// What the report needs of one checked file; its texts are let go as soon as it is checked (a diff is
// written at once), so that a check holds one file at a time.
struct CheckResult {
    std::string display;
    std::size_t lineCount = 0; // of the original
    std::vector<ChangeBlock> blocks;
};

std::string DisplayPath(const std::string& hostPath) {
    std::error_code ec;
    const fs::path relative = fs::proximate(hostPath, ec);
    return ec ? hostPath : relative.generic_string();
}

std::size_t ChangedLines(const std::vector<ChangeBlock>& blocks) {
    std::size_t total = 0;
    for (const auto& b : blocks)
        total += b.ChangedLines();
    return total;
}

// The 1-based line of the original where a block begins; a block that only inserts lines is placed at
// the line before which they go (the last line for an insertion at the end).
std::size_t FirstLineOf(const ChangeBlock& block, std::size_t lineCount) {
    const std::size_t line = block.leftStart + 1;
    return lineCount == 0 ? 1 : std::min(line, lineCount);
}

// GitHub's workflow commands take '%', CR and LF escaped everywhere, ':' and ',' too in a property.
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

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            static const char hex[] = "0123456789abcdef";
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

class CheckCommand : public CliCommand {
public:
    void Setup(CLI::App& sub) override {
        common_.AddTo(sub);
        AddKindOption(sub, kind_);
        sub.add_option("--only", only_, "In a project, check only the files of these names (comma-separated)")
            ->delimiter(',');
        sub.add_flag("--diff", diff_, "Print the changes as a unified diff");
        sub.add_option("--format", format_, "Report format: text (default), github or json")
            ->check(CLI::IsMember({"text", "github", "json"}));
        sub.add_option("PATH", paths_, "A project file (*.vbp, *.mak) or source files")->required();
    }

    int Run() override {
        std::vector<CheckTarget> targets;
        if (!CollectTargets(targets))
            return kExitBadInput;

        CliPrompter prompter;
        ProgressObserver progress;
        FileEngines engines(common_, prompter);
        std::vector<CheckResult> results;
        bool anyFailed = false;
        for (const CheckTarget& target : targets) {
            TVBSrcFormatter* const engine = engines.For(target.settingsPath);
            if (!engine)
                return kExitBadInput;
            try {
                if (!CheckFile(target, *engine, prompter, progress, results))
                    anyFailed = true;
            } catch (const std::bad_alloc&) {
                engine->TakeOutput();
                std::cerr << "error: not enough memory to check " << target.display << '\n';
                anyFailed = true;
            }
        }

        Report(results);
        if (anyFailed || incomplete_)
            return kExitBadInput;
        for (const auto& r : results)
            if (!r.blocks.empty())
                return kExitWouldChange;
        return kExitOk;
    }

private:
    // Formats one file in memory and adds what the report needs; false when it could not be read or its
    // formatted code failed the code check.
    bool CheckFile(const CheckTarget& target, TVBSrcFormatter& engine, Prompter& prompter,
                   ProgressObserver& progress, std::vector<CheckResult>& results) const {
        std::optional<TextLines> lines = ReadTextLines(target.path);
        if (!lines) {
            std::cerr << "error: cannot read " << target.display << '\n';
            return false;
        }
        // A text the code check refuses would not be written by format or process: an error here.
        const GuardedFormatResult guarded =
            FormatGuarded(engine, *lines, ExtractFileName(target.path), target.kind, progress);
        if (guarded.mismatch) {
            prompter.Show(PromptKind::Warning,
                          CodeMismatchMessage(target.display, *guarded.mismatch, "It counts as unchanged."),
                          PromptButtons::Ok);
            engine.FreeLineObjects();
            return false;
        }
        const TextLines after = engine.TakeOutput().Texts();
        CheckResult result{target.display, lines->size(), {}};
        if (after != *lines)
            result.blocks = FindChangeBlocks(*lines, after);
        if (diff_ && format_ == "text" && !result.blocks.empty())
            WriteUnifiedDiff(std::cout, ShownName(result.display), *lines, after);
        results.push_back(std::move(result));
        return true;
    }

    // The files to check: the selected files of each project named, and the source files named.
    bool CollectTargets(std::vector<CheckTarget>& targets) {
        if (!only_.empty() && std::none_of(paths_.begin(), paths_.end(), IsProjectFileName)) {
            std::cerr << "error: --only needs a project file\n";
            return false;
        }
        for (const std::string& path : paths_) {
            if (IsProjectFileName(path)) {
                if (!CollectProject(path, targets))
                    return false;
            } else if (MayFormatAsSource(path, kind_) && StaysInBounds(path)) {
                targets.push_back({path, DisplayPath(path), path, KindOfFile(path, kind_)});
            } else {
                incomplete_ = true;
            }
        }
        return true;
    }

    // A project's selected files. One that is no source text, or that lies outside the project's
    // repository (else its directory), is skipped with a warning; a project that names files that
    // are missing or unreadable is incomplete: the check exits with 2.
    bool CollectProject(const std::string& projectPath, std::vector<CheckTarget>& targets) {
        CliPrompter prompter;
        int leftOut = 0;
        auto project = OpenProjectForCli(projectPath, prompter, &leftOut);
        if (!project)
            return false;
        if (!only_.empty() && !SelectOnlyNamed(*project, only_))
            return false;
        incomplete_ = incomplete_ || leftOut > 0;
        const std::string boundary = ProjectBoundary(MapToHostPath(projectPath));
        for (const auto& entry : project->Files()) {
            if (!entry.Selected)
                continue;
            const std::string host = MapToHostPath(entry.FullPath);
            if (!IsSourceExtension(entry.Extension)) {
                std::cerr << "warning: " << DisplayPath(host)
                          << " is not a Visual Basic source file; it is skipped\n";
                incomplete_ = true;
            } else if (!StaysInBounds(host, boundary)) {
                incomplete_ = true;
            } else {
                targets.push_back({host, DisplayPath(host), projectPath, entry.Kind});
            }
        }
        return true;
    }

    void Report(const std::vector<CheckResult>& results) const {
        if (format_ == "github")
            ReportGithub(results);
        else if (format_ == "json")
            ReportJson(results);
        else
            ReportText(results);
    }

    void ReportText(const std::vector<CheckResult>& results) const {
        int changedFiles = 0;
        for (const auto& r : results) {
            if (r.blocks.empty())
                continue;
            ++changedFiles;
            if (!diff_) { // a diff was written when its file was checked
                const std::size_t n = ChangedLines(r.blocks);
                std::cout << ShownName(r.display) << ": " << n << (n == 1 ? " line" : " lines")
                          << " would change\n";
            }
        }
        if (!diff_)
            std::cout << changedFiles << " of " << results.size() << " files would change\n";
    }

    static void ReportGithub(const std::vector<CheckResult>& results) {
        for (const auto& r : results) {
            for (const auto& block : r.blocks) {
                const std::size_t n = block.ChangedLines();
                std::cout << "::warning file=" << EscapeGithub(r.display, true)
                          << ",line=" << FirstLineOf(block, r.lineCount) << "::"
                          << EscapeGithub("not in the house style: " + std::to_string(n) +
                                              (n == 1 ? " line" : " lines") +
                                              " would change (kemptor-cli format -i)",
                                          false)
                          << '\n';
            }
        }
    }

    static void ReportJson(const std::vector<CheckResult>& results) {
        std::cout << "[";
        for (std::size_t i = 0; i < results.size(); ++i) {
            const auto& r = results[i];
            std::cout << (i ? "," : "") << "\n  {\"file\": " << JsonString(r.display)
                      << ", \"changed\": " << (r.blocks.empty() ? "false" : "true")
                      << ", \"changedLines\": " << ChangedLines(r.blocks) << ", \"blocks\": [";
            for (std::size_t k = 0; k < r.blocks.size(); ++k) {
                const auto& b = r.blocks[k];
                std::cout << (k ? ", " : "") << "{\"line\": " << FirstLineOf(b, r.lineCount)
                          << ", \"deleted\": " << b.leftCount << ", \"inserted\": " << b.rightCount << "}";
            }
            std::cout << "]}";
        }
        std::cout << (results.empty() ? "]\n" : "\n]\n");
    }

    CommonOptions common_;
    std::string kind_;
    std::vector<std::string> only_;
    bool diff_ = false;
    std::string format_ = "text";
    std::vector<std::string> paths_;
    bool incomplete_ = false; // a file named was skipped or left out
};

const bool registered = RegisterCliCommand<CheckCommand>(
    "check", "Report the files that formatting would change, writing nothing");

} // namespace
} // namespace kemptor
