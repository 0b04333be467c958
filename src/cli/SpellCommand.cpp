// kemptor-cli spell [common] FILE...: spell-checks the comments and string literals of source files the
// way a processing run offers them to the spell dialog, and prints one line per unknown word:
//     PATH:LINE:COLUMN: unknown word "WORD"; suggestions: S1, S2, S3
// The column counts the line with its tabs expanded, as the formatter sees it. Exit status: 1 when an
// unknown word was found, 0 when none, 2 on an error (unreadable file, no dictionary installed).
#include "cli/CliCommand.h"

#include "formatter/TVBSrcFormatter.h"
#include "platform/Progress.h"
#include "platform/TextFile.h"
#include "platform/WinPath.h"
#include "spell/HunspellSpeller.h"
#include "spell/SpellReporter.h"

#include <iostream>

namespace kemptor {
namespace {

class SpellCommand : public CliCommand {
public:
    void Setup(CLI::App& sub) override {
        common_.AddTo(sub);
        sub.add_option("FILE", files_, "Source files")->required();
    }

    int Run() override {
        std::optional<Settings> settings = common_.LoadSettings(files_.front());
        if (!settings)
            return kExitBadInput;
        settings->SpellingPerform = settings->SpellingLiterals = settings->SpellingComments = true;

        HunspellSpeller speller;
        if (const std::string reason = speller.UnavailableReason(); !reason.empty()) {
            std::cerr << "error: " << reason << '\n';
            return kExitBadInput;
        }
        std::string path;
        SpellReporter reporter(
            speller, [&path] { return path; }, [](const std::string& line) { std::cout << line << '\n'; });

        CliPrompter prompter;
        ProgressObserver progress;
        TVBSrcFormatter engine(*settings, prompter);
        engine.SetSpellChecker(&reporter);
        bool anyFailed = false;
        for (const std::string& file : files_) {
            const std::optional<TextLines> lines = ReadTextLines(file);
            if (!lines) {
                std::cerr << "error: cannot read " << file << '\n';
                anyFailed = true;
                continue;
            }
            path = file;
            engine.FormatFile(*lines, ExtractFileName(file), SourceKindOf(ExtractUpperExtension(file)),
                              progress);
            engine.FreeLineObjects();
        }
        if (anyFailed)
            return kExitBadInput;
        return reporter.Found() > 0 ? 1 : kExitOk;
    }

private:
    CommonOptions common_;
    std::vector<std::string> files_;
};

const bool registered =
    RegisterCliCommand<SpellCommand>("spell", "Spell-check the comments and string literals of source files");

} // namespace
} // namespace kemptor
