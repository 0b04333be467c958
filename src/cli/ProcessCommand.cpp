// kemptor-cli process [common] [--output DIR] [--only NAME,...] PROJECT: the processing run of the
// Begin Processing command, headless. Messages go to stderr as "kind: text" and are answered OK/Yes,
// except the question whether to delete the run's files after a cancel, answered No. A progress line
// is kept on stderr when it is a terminal; Ctrl+C cancels the run as the Cancel button does (a second
// Ctrl+C ends the program at once). The figures of the run are printed on stdout at the end.
//
// Exit status: 0 done; 2 bad usage or input (project not opened, a file it names left out, unknown --only
// name, output directory that cannot be made, is the project's own or cannot be mapped, a file that could
// not be read, copied or saved, a file whose formatted code did not match its original and was left
// unsaved, a check log that could not be written); 130 cancelled.
#include "cli/CliCommand.h"
#include "cli/FileEngines.h"
#include "platform/Host.h"
#include "platform/Text.h"
#include "platform/WinPath.h"
#include "run/ProcessingRun.h"
#include "run/RunObserver.h"
#include "spell/HunspellSpeller.h"
#include "spell/SpellReporter.h"
#include "spell/SpellRun.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <thread>

namespace kemptor {
namespace {

constexpr int kExitCancelled = 130;

// The progress line: the window's label and the gauge in per cent, redrawn in place.
class CliRunObserver : public RunObserver {
public:
    explicit CliRunObserver(bool terminal) : terminal_(terminal) {}
    ~CliRunObserver() override { ClearLine(); }

    void ShowWindow(RunWindow window) override {
        Draw(window == RunWindow::Copy ? "Backing up files..." : "Processing...");
    }
    void HideWindow(RunWindow) override { ClearLine(); }
    void SetCaption(const std::string& caption) override { Draw(caption); }
    void SetRange(int maximum) override { maximum_ = maximum; }
    void SetPosition(int position) override {
        const int percent = maximum_ > 0 ? static_cast<int>(100LL * position / maximum_) : 0;
        if (percent != percent_) {
            percent_ = percent;
            Draw(caption_);
        }
    }
    void RunFinishing() override { ClearLine(); }
    // The progress line shows files, not lines: every processor may format a file.
    int FormattingThreads() const override {
        return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
    }
    // A line on stderr below the progress line, which is drawn again after it.
    void Warn(const std::string& text) {
        const bool drawn = drawn_;
        ClearLine();
        std::cerr << text << '\n';
        if (drawn)
            Draw(caption_);
    }

private:
    void Draw(const std::string& caption) {
        caption_ = caption;
        if (!terminal_)
            return;
        std::string text = caption_;
        if (text.size() > 70)
            text = "..." + text.substr(text.size() - 67);
        std::fprintf(stderr, "\r%s %3d%%\033[K", text.c_str(), std::clamp(percent_, 0, 100));
        std::fflush(stderr);
        drawn_ = true;
    }
    void ClearLine() {
        if (drawn_)
            std::fputs("\r\033[K", stderr);
        drawn_ = false;
    }

    bool terminal_;
    bool drawn_ = false;
    std::string caption_;
    int maximum_ = 0;
    int percent_ = 0;
};

RunObserver* interruptTarget = nullptr;

extern "C" void OnInterrupt(int) {
    if (interruptTarget)
        interruptTarget->RequestCancel(); // a lock-free atomic store
    std::signal(SIGINT, SIG_DFL);         // a second Ctrl+C ends the program
}

class ProcessCommand : public CliCommand {
public:
    void Setup(CLI::App& sub) override {
        common_.AddTo(sub);
        sub.add_option("--output", output_, "Output directory (instead of BackupNewCodeDirectory)");
        sub.add_option("--only", only_, "Process only the files of these names (comma-separated)")
            ->delimiter(',');
        sub.add_option("PROJECT", project_, "Project file (*.vbp or *.mak)")->required();
        // Hidden: breaks every formatted text before the code check, to prove the check refuses it.
        sub.add_flag("--break-code-for-test", breakCode_)->group("");
    }

    int Run() override {
        auto settings = common_.LoadSettings(project_);
        if (!settings || !TemplateFilesReadable(*settings))
            return kExitBadInput;
        settings->PreviewBeforeSaving = false; // no window to show it in
        if (IsUnmappableWindowsPath(output_)) {
            std::cerr << "error: the output directory " << output_
                      << " names a network share or a drive, which this system does not have\n";
            return kExitBadInput;
        }
        if (!output_.empty()) {
            // Relative to the working directory, as a command-line user expects.
            settings->BackupNewCodeDirectory =
                host::FromFsPath(std::filesystem::absolute(host::FsPath(output_)).lexically_normal());
        }

        CliPrompter prompter({"Delete all files in "});
        int leftOut = 0;
        auto project = OpenProjectForCli(project_, prompter, &leftOut);
        if (!project)
            return kExitBadInput;
        if (!only_.empty() && !SelectOnlyNamed(*project, only_))
            return kExitBadInput;

        const HeaderTemplates templates = TemplatesFromSettings(*settings, prompter);

        CliRunObserver observer(host::StderrIsTerminal());
        // With spell checking on there is no dialog to correct a word: unknown words are warned about.
        std::unique_ptr<HunspellSpeller> speller;
        std::unique_ptr<SpellReporter> reporter;
        if (SpellingWanted(*settings)) {
            speller = std::make_unique<HunspellSpeller>();
            TSourceMgt* model = project.get();
            reporter = std::make_unique<SpellReporter>(
                *speller,
                [model] { return model->Current ? MapToHostPath(model->Current->FullPath) : std::string(); },
                [&observer](const std::string& line) { observer.Warn("warning: " + line); });
            observer.SetSpellChecker(reporter.get());
        }
        interruptTarget = &observer;
        auto previous = std::signal(SIGINT, OnInterrupt);
        const OutputTamper tamper = breakCode_ ? OutputTamper(BreakCodeForTest) : OutputTamper();
        const auto summary = ProcessSelectedFiles(project.get(), *settings, templates, prompter, observer,
                                                  CurrentDateTimeText, tamper);
        std::signal(SIGINT, previous);
        interruptTarget = nullptr;
        if (!summary)
            return kExitBadInput;
        if (summary->outcome == RunOutcome::Refused || summary->outcome == RunOutcome::BackupFailed)
            return kExitBadInput; // the message is on stderr; nothing was formatted

        const int skipped = summary->skipped + leftOut;
        std::cout << "Files formatted: " << summary->formatted << '\n'
                  << "Files changed: " << summary->changed << '\n'
                  << "Files skipped: " << skipped << '\n';
        if (summary->failed > 0)
            std::cout << "Files failed: " << summary->failed << '\n';
        std::cout << "Output directory: "
                  << host::FromFsPath(
                         std::filesystem::absolute(host::FsPath(MapToHostPath(summary->outputDir)))
                             .lexically_normal())
                  << '\n';
        switch (summary->outcome) {
        case RunOutcome::Completed:
        case RunOutcome::NothingToRun:
            return skipped > 0 || summary->failed > 0 ? kExitBadInput : kExitOk;
        case RunOutcome::Cancelled:
            return kExitCancelled;
        case RunOutcome::Refused:
        case RunOutcome::BackupFailed:
        case RunOutcome::SaveFailed:
            return kExitBadInput;
        }
        return kExitBadInput;
    }

private:
    CommonOptions common_;
    std::string output_;
    std::vector<std::string> only_;
    std::string project_;
    bool breakCode_ = false;
};

const bool registered =
    RegisterCliCommand<ProcessCommand>("process", "Format the selected files of a project");

} // namespace
} // namespace kemptor
