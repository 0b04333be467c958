// kemptor-cli format [common] [--kind KIND] [--stdin-filename NAME] [-i | --check | --diff] FILE...: runs
// the engine's passes on single files exactly as a processing run does and writes the result to stdout
// (CR LF), in place (-i), as a unified diff (--diff), or lists the files that would change (--check, exit
// status 1). FILE "-" is standard input, so that an editor can format a buffer.
#include "cli/CliCommand.h"
#include "cli/FileEngines.h"
#include "cli/TextChanges.h"

#include "formatter/TVBSrcFormatter.h"
#include "platform/Progress.h"
#include "platform/Prompter.h"
#include "platform/TextFile.h"
#include "platform/WinPath.h"
#include "settings/Settings.h"

#include <algorithm>
#include <iostream>
#include <iterator>
#include <optional>

namespace kemptor {

namespace {

void WriteCrLf(std::ostream& out, const TextLines& lines) {
    for (const std::string& line : lines)
        out << line << "\r\n";
}

// The name standard input goes by without --stdin-filename: a module.
constexpr const char* kStdinDefaultName = "stdin.bas";

std::optional<TextLines> ReadStandardInput() {
    std::string bytes((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    if (std::cin.bad())
        return std::nullopt;
    return SplitTextLines(bytes);
}

bool HoldsNul(const TextLines& lines) {
    return std::any_of(lines.begin(), lines.end(),
                       [](const std::string& line) { return line.find('\0') != std::string::npos; });
}

class FormatCommand : public CliCommand {
public:
    void Setup(CLI::App& sub) override {
        common_.AddTo(sub);
        AddKindOption(sub, kind_);
        auto* inPlace = sub.add_flag("-i,--in-place", inPlace_, "Rewrite the files in place");
        auto* check = sub.add_flag("--check", check_, "List the files that would change; exit 1 if any");
        auto* diff = sub.add_flag("--diff", diff_, "Show the changes as a unified diff");
        inPlace->excludes(check, diff);
        check->excludes(diff);
        sub.add_option("--stdin-filename", stdinName_,
                       "For FILE '-': the name whose settings file and extension apply");
        sub.add_option("FILE", files_, "Source files; '-' reads standard input")->required();
    }

    int Run() override {
        if (inPlace_ && std::find(files_.begin(), files_.end(), "-") != files_.end()) {
            std::cerr << "error: standard input cannot be rewritten in place\n";
            return kExitBadInput;
        }
        CliPrompter prompter;
        ProgressObserver progress;
        FileEngines engines(common_, prompter);
        bool anyWouldChange = false;
        bool anyFailed = false;
        for (const std::string& file : files_) {
            // Standard input goes by the name --stdin-filename gives it: its settings file, its kind.
            const bool fromStdin = file == "-";
            const std::string name = fromStdin ? (stdinName_.empty() ? kStdinDefaultName : stdinName_) : file;
            TVBSrcFormatter* const engine = engines.For(fromStdin && stdinName_.empty() ? "." : name);
            if (!engine)
                return kExitBadInput;
            const std::optional<TextLines> lines = fromStdin ? ReadStandardInput() : ReadTextLines(file);
            if (!lines) {
                std::cerr << "error: cannot read " << file << "\n";
                anyFailed = true;
                continue;
            }
            const TSourceKind kind = KindOfFile(name, kind_);
            engine->FormatFile(*lines, ExtractFileName(name), kind, progress);
            const TextLines formatted = engine->TakeOutput().Texts();
            const bool changed = formatted != *lines;
            anyWouldChange = anyWouldChange || changed;

            if (check_) {
                if (changed)
                    std::cout << file << "\n";
            } else if (diff_) {
                WriteUnifiedDiff(std::cout, file, *lines, formatted);
            } else if (inPlace_) {
                // Line ends are rewritten as CR LF: a file with NUL bytes is most likely not source
                // text, and rewriting it would corrupt it.
                if (changed && HoldsNul(*lines)) {
                    std::cerr << "error: " << file
                              << " holds NUL bytes and looks binary; it is not rewritten\n";
                    anyFailed = true;
                } else if (changed && !WriteTextLinesAtomic(file, formatted)) {
                    std::cerr << "error: cannot write " << file << "\n";
                    anyFailed = true;
                }
            } else {
                WriteCrLf(std::cout, formatted);
            }
        }
        if (anyFailed)
            return kExitBadInput;
        return check_ && anyWouldChange ? kExitWouldChange : kExitOk;
    }

private:
    CommonOptions common_;
    std::string kind_;
    std::string stdinName_;
    bool inPlace_ = false;
    bool check_ = false;
    bool diff_ = false;
    std::vector<std::string> files_;
};

const bool registered =
    RegisterCliCommand<FormatCommand>("format", "Format Visual Basic source files as a processing run does");

} // namespace
} // namespace kemptor
