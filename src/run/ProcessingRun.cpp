#include "run/ProcessingRun.h"

#include "formatter/TVBSrcFormatter.h"
#include "platform/Host.h"
#include "platform/Prompter.h"
#include "platform/SafeFile.h"
#include "platform/TargetDirectory.h"
#include "platform/Text.h"
#include "platform/TextFile.h"
#include "platform/WinPath.h"
#include "project/ProjectReader.h"
#include "project/TSourceMgt.h"
#include "run/BackupCopier.h"
#include "run/FormatAhead.h"
#include "run/RunObserver.h"
#include "settings/SettingsCatalogue.h"
#include "spell/SpellRun.h"

#include <algorithm>
#include <new>
#include <set>

namespace kemptor {

BackupMode BackupModeOf(const Settings& settings) {
    if (settings.BackupAllFiles)
        return BackupMode::AllFiles;
    if (settings.BackupMAKFiles)
        return BackupMode::ProjectFiles;
    return BackupMode::NewFilesOnly;
}

namespace {

bool IsWritableDirectory(const std::string& hostDir) {
    return DirectoryExists(hostDir) && host::IsWritable(hostDir);
}

// One run over the model; lives for one RunProject call.
class ProcessingRun {
public:
    ProcessingRun(TSourceMgt& model, const Settings& settings, const HeaderTemplates& templates,
                  Prompter& prompter, RunObserver& observer, const std::function<std::string()>& now,
                  const OutputTamper& tamper)
        : model_(model), settings_(settings), templates_(templates), prompter_(prompter), observer_(observer),
          now_(now), tamper_(tamper), copier_(&observer, &guard_) {}

    RunSummary Run();

private:
    void ProtectProjectFiles();
    bool BackupProject();
    void WriteLog();
    // Formats the selected entries one at a time with `engine`, or ahead on `threads` workers.
    void FormatInTurn(TVBSrcFormatter& engine);
    // Starts formatting the selected entries (listed into `selected`) on `threads` workers.
    std::unique_ptr<FormatAhead> StartAhead(int threads, std::vector<TSourceEntry*>& selected);
    // Shows and saves the entries the workers formatted, in order.
    void TakeFormatted(FormatAhead& ahead, const std::vector<TSourceEntry*>& selected);
    // Reads, formats and checks one selected entry; shows and writes nothing. Safe on a worker thread.
    PreparedFile Prepare(const TSourceEntry& entry, TVBSrcFormatter& engine,
                         ProgressObserver& progress) const;
    // Shows what there is to tell of a prepared entry, previews and saves it (`output`: the formatted
    // lines); false when the run must stop.
    bool Finish(TSourceEntry& entry, const PreparedFile& file, const TLineList& output);
    void OutOfMemory(const TSourceEntry& entry);
    // Writes the formatted text of the entry, whose source has the permission bits `permissions`; false
    // when the run must stop.
    bool Save(TSourceEntry& entry, std::uint32_t permissions, const TLineList& output);
    RunSummary Refuse(const std::string& text);
    std::string ClashingName(const TSourceEntry& entry) const;
    void ReportFailedCopies();
    void NoteWritten(const std::string& path);
    void OfferToDeleteCreatedFiles();
    void ClearProcessed(bool onlyWithoutOutput);

    TSourceMgt& model_;
    const Settings& settings_;
    const HeaderTemplates& templates_;
    Prompter& prompter_;
    RunObserver& observer_;
    const std::function<std::string()>& now_;
    const OutputTamper& tamper_;
    FileSet guard_;
    BackupCopier copier_;
    std::string outputDir_; // as the setting gives it
    std::string outHost_;   // the same directory resolved on the host, ending with '/'
    std::string shownDir_;  // prefix of the entries' OutputPath
    std::optional<TargetDirectory> target_;
    std::set<std::string> filesBefore_; // names in the output directory before the run
    std::set<std::string> written_;     // names this run wrote there (the copier notes its own copies)
    RunSummary summary_;
};

RunSummary ProcessingRun::Run() {
    if (!model_.First || !model_.First->Next)
        return summary_;
    outputDir_ = OutputDirectoryFor(model_.ProjectDir, settings_.BackupNewCodeDirectory);
    summary_.outputDir = outputDir_;

    // A network share or a drive has no place on a host without them; taken as it stands it would
    // land at the root or in the working directory.
    if (IsUnmappableWindowsPath(settings_.BackupNewCodeDirectory))
        return Refuse("The output directory " + settings_.BackupNewCodeDirectory +
                      " (BackupInformation.BackupNewCodeDirectory) cannot be used on this system: it names a "
                      "network share or a drive.  Choose another directory.  Operation aborted...");
    // Writing into the project's own directory would replace its sources with no copy left. The text is
    // resolved first (".\NEW\..\" is the project directory although NEW does not exist), before anything
    // is created.
    outHost_ = ResolveHostDirectory(outputDir_);
    // The root of a file system holds the system's own directories, never a run's copies.
    if (!outHost_.empty() && IsFileSystemRoot(outHost_))
        return Refuse("The output directory " + ResolvedDisplayPath(outputDir_) +
                      " is the root of the file system.  Choose another directory.  Operation aborted...");
    if (outHost_.empty() || SameHostDirectory(outHost_, model_.ProjectDir))
        return Refuse("The output directory " + ResolvedDisplayPath(outputDir_) +
                      " is the project's own directory.  Choose another directory.  Operation aborted...");
    ProtectProjectFiles();
    for (auto& name : ListDirectoryFiles(outHost_))
        filesBefore_.insert(std::move(name));
    // The preview and the spell checker talk to the user in the middle of a file: one file at a time.
    // Otherwise the workers start now and format while the backup copies are made (they only read).
    const bool oneAtATime =
        settings_.PreviewBeforeSaving || (observer_.SpellChecker() && SpellingWanted(settings_));
    const int threads = oneAtATime ? 1 : observer_.FormattingThreads();
    std::vector<TSourceEntry*> selected;
    const std::unique_ptr<FormatAhead> ahead = threads > 1 ? StartAhead(threads, selected) : nullptr;

    if (!BackupProject()) {
        prompter_.Show(PromptKind::Error, "Unable to create backup...  Operation aborted...",
                       PromptButtons::Ok);
        summary_.outcome = RunOutcome::BackupFailed;
        return summary_;
    }
    if (settings_.CreateLog) {
        WriteLog();
        NoteWritten(outHost_ + kCheckLogName);
    }
    ReportFailedCopies();

    TVBSrcFormatter engine(settings_, prompter_);
    engine.OutputDir = outputDir_;
    engine.SetHeaderTemplates(templates_);
    // A new engine starts with spell checking not cancelled; a checker without a dictionary is
    // reported here, once for the run.
    SpellTextChecker* const checker = CheckerForRun(settings_, observer_.SpellChecker(), prompter_);
    engine.SetSpellChecker(checker);
    summary_.outcome = RunOutcome::Completed;
    observer_.ShowWindow(RunWindow::Processing);
    if (ahead)
        TakeFormatted(*ahead, selected);
    else
        FormatInTurn(engine);
    if (observer_.CancelRequested()) {
        summary_.outcome = RunOutcome::Cancelled;
        OfferToDeleteCreatedFiles();
    }
    observer_.HideWindow(RunWindow::Processing);
    return summary_;
}

// Every file the project names, its companions and the project file: a run writes none of them.
void ProcessingRun::ProtectProjectFiles() {
    guard_.Add(model_.ProjectDir + model_.ProjectName);
    const bool vbp = model_.ProjectStyle == TProjectStyle::VBP;
    for (const auto& line : model_.ProjectLines) {
        const std::string written = vbp ? ExtractProjectPath(line) : line;
        if (written.empty())
            continue;
        guard_.AddWithCompanions(ProjectFilePath(model_.ProjectDir, written));
    }
    // The entries are the files the lines name, mostly by the same text: a text added already is not
    // resolved again.
    for (const auto& entry : model_.Files())
        guard_.Add(entry.FullPath);
}

bool ProcessingRun::BackupProject() {
    ForceDirectories(outHost_);
    if (!IsWritableDirectory(outHost_))
        return false;
    // What a run killed before its renames left behind goes now.
    RemoveStaleTemporaries(outHost_);
    target_.emplace(outHost_);
    copier_.SetTargetDirectory(&*target_);
    shownDir_ =
        SameHostDirectory(outputDir_, outHost_) && DirectoryExists(outputDir_) ? outputDir_ : outHost_;
    const BackupMode mode = BackupModeOf(settings_);
    if (mode == BackupMode::NewFilesOnly)
        return true;

    // Every copy is made before the first file is formatted, so that the directory holds a complete
    // project at every moment of the run; each formatted file then replaces its copy by a rename.
    const bool vbp = model_.ProjectStyle == TProjectStyle::VBP;
    if (vbp)
        copier_.CopyVbpProjectFiles(model_.ProjectLines, model_.ProjectDir, outHost_);
    else
        copier_.CopyProjectFiles(model_.ProjectLines, model_.ProjectDir, outHost_);
    if (mode == BackupMode::AllFiles)
        copier_.CopyDirectoryFiles(ListDirectoryFiles(model_.ProjectDir), model_.ProjectDir, outHost_);
    else
        copier_.CopyFileKeepStamp(model_.ProjectDir + model_.ProjectName, outHost_ + model_.ProjectName);

    const std::string projectCopy = target_->PathFor(model_.ProjectName);
    if (!guard_.Contains(projectCopy)) {
        if (vbp)
            RewriteVbpProject(projectCopy);
        else
            RewriteMakProject(projectCopy);
    }
    ClearProcessed(false);
    return true;
}

void ProcessingRun::WriteLog() {
    std::vector<CheckLogFile> files;
    for (const auto& entry : model_.Files())
        if (entry.Selected)
            files.push_back({entry.FileName, entry.FullPath});
    bool written = false;
    try {
        written = WriteCheckLog(outHost_, files, prompter_, now_);
    } catch (const std::bad_alloc&) {
        prompter_.Show(PromptKind::None, "Error while creating log file.", PromptButtons::Ok);
    }
    if (!written)
        ++summary_.failed;
}

void ProcessingRun::FormatInTurn(TVBSrcFormatter& engine) {
    for (TSourceEntry* entry = model_.First; entry && entry->Next && !observer_.CancelRequested();
         entry = entry->Next) {
        model_.Current = entry;
        bool goOn = true;
        if (entry->Selected) {
            // A file too large for memory is a failure of that file, not of the run: the files after it
            // are still formatted.
            try {
                const PreparedFile file = Prepare(*entry, engine, observer_);
                goOn = Finish(*entry, file, engine.OutputLines);
            } catch (const std::bad_alloc&) {
                engine.TakeOutput();
                OutOfMemory(*entry);
            }
        }
        if (!goOn) {
            summary_.outcome = RunOutcome::SaveFailed;
            break;
        }
    }
}

std::unique_ptr<FormatAhead> ProcessingRun::StartAhead(int threads, std::vector<TSourceEntry*>& selected) {
    std::vector<std::int64_t> sizes;
    for (TSourceEntry& entry : model_.Files()) {
        if (entry.Selected) {
            selected.push_back(&entry);
            sizes.push_back(static_cast<std::int64_t>(entry.FileSize));
        }
    }
    const auto newEngine = [this](Prompter& prompter) {
        auto engine = std::make_unique<TVBSrcFormatter>(settings_, prompter);
        engine->OutputDir = outputDir_;
        engine->SetHeaderTemplates(templates_);
        return engine;
    };
    const auto prepare = [this, &selected](std::size_t index, TVBSrcFormatter& engine,
                                           ProgressObserver& progress) {
        return Prepare(*selected[index], engine, progress);
    };
    return std::make_unique<FormatAhead>(std::move(sizes), threads, newEngine, prepare, observer_);
}

void ProcessingRun::TakeFormatted(FormatAhead& ahead, const std::vector<TSourceEntry*>& selected) {
    for (std::size_t i = 0; i < selected.size() && !observer_.CancelRequested(); ++i) {
        TSourceEntry& entry = *selected[i];
        model_.Current = &entry;
        observer_.SetCaption(entry.FileName);
        const PreparedFile file = ahead.Take(i);
        bool goOn = true;
        try {
            goOn = Finish(entry, file, file.output);
        } catch (const std::bad_alloc&) {
            OutOfMemory(entry);
        }
        if (!goOn) {
            summary_.outcome = RunOutcome::SaveFailed;
            break;
        }
    }
}

PreparedFile ProcessingRun::Prepare(const TSourceEntry& entry, TVBSrcFormatter& engine,
                                    ProgressObserver& progress) const {
    PreparedFile file;
    // A project may name any file (a settings or key file); only source text is read for formatting.
    if (!IsSourceExtension(entry.Extension)) {
        file.outcome = PreparedFile::Outcome::NotSource;
        return file;
    }
    // The file is opened once (its name looked at once): the lines the engine leaves as they are stay
    // its bytes, mapped or read whole, through the check and the write.
    host::NameStatus seen;
    file.hostSource = MapToHostPath(entry.FullPath, &seen);
    file.source = MappedFile::OpenHost(file.hostSource, &seen);
    if (!file.source) {
        file.outcome = CheckHostTextFile(file.hostSource) == FileProblem::TooLarge
                           ? PreparedFile::Outcome::TooLarge
                           : PreparedFile::Outcome::Unreadable;
        return file;
    }
    file.lines = TLineList::InPlace(file.source->Bytes(), file.source);
    progress.SetPosition(0);
    const GuardedFormatResult result =
        FormatGuarded(engine, file.lines, entry.FileName, entry.Kind, progress, tamper_);
    if (result.cancelled || progress.CancelRequested())
        file.outcome = PreparedFile::Outcome::Cancelled;
    file.mismatch = result.mismatch;
    return file;
}

void ProcessingRun::OutOfMemory(const TSourceEntry& entry) {
    prompter_.Show(PromptKind::Warning,
                   "Not enough memory to format " + ResolvedDisplayPath(entry.FullPath) + ".  " +
                       entry.FileName + " is left unformatted.",
                   PromptButtons::Ok);
    ++summary_.skipped;
}

bool ProcessingRun::Finish(TSourceEntry& entry, const PreparedFile& file, const TLineList& output) {
    using Outcome = PreparedFile::Outcome;
    // The path as the user reads it, made only for a message (it looks at the disk).
    const auto shown = [&entry] { return ResolvedDisplayPath(entry.FullPath); };
    switch (file.outcome) {
    case Outcome::Cancelled:
        return true;
    case Outcome::OutOfMemory:
        OutOfMemory(entry);
        return true;
    case Outcome::NotSource:
    case Outcome::TooLarge:
    case Outcome::Unreadable: {
        // A file that cannot be read is left as it is: saving the model's stand-in text "NOT AVAILABLE"
        // would replace its copy in the output directory.
        const std::string problem =
            file.outcome == Outcome::NotSource  ? shown() + " is not a Visual Basic source file."
            : file.outcome == Outcome::TooLarge ? FileProblemText(shown(), FileProblem::TooLarge)
                                                : "Unable to read " + shown() + ".";
        prompter_.Show(PromptKind::Warning, problem + "  " + entry.FileName + " is left unformatted.",
                       PromptButtons::Ok);
        ++summary_.skipped;
        return true;
    }
    case Outcome::Formatted:
        break;
    }
    entry.LineCount = static_cast<std::int32_t>(file.lines.size());
    for (const ScriptedPrompter::Shown& message : file.messages)
        prompter_.Show(message.kind, message.text, message.buttons);
    if (file.mismatch) {
        // Nothing of it is written; its backup copy, when the mode makes one, stays the original.
        prompter_.Show(PromptKind::Warning,
                       CodeMismatchMessage(entry.FileName, *file.mismatch, entry.FileName + " is not saved."),
                       PromptButtons::Ok);
        ++summary_.skipped;
        ++summary_.refused;
        return true;
    }

    const bool changed = !output.SameTexts(file.lines);
    if (changed && file.source->Bytes().find('\0') != std::string_view::npos) {
        prompter_.Show(PromptKind::Warning,
                       shown() + " holds NUL bytes and looks binary (UTF-16 text?).  " + entry.FileName +
                           " is left unformatted.",
                       PromptButtons::Ok);
        ++summary_.skipped;
        return true;
    }
    if (settings_.PreviewBeforeSaving) {
        std::vector<bool> marks(output.size());
        for (size_t i = 0; i < output.size(); ++i)
            marks[i] = output.Changed(i);
        if (observer_.Preview(entry.FileName, file.lines.Texts(), output.Texts(), marks) ==
            PreviewAnswer::CancelProcessing)
            observer_.RequestCancel(); // the file in hand is still saved; no further file is taken
    }
    if (!Save(entry, file.source->Permissions(), output))
        return false;
    if (changed)
        ++summary_.changed;
    return true;
}

bool ProcessingRun::Save(TSourceEntry& entry, std::uint32_t permissions, const TLineList& output) {
    const std::string path = outputDir_ + entry.FileName;
    if (const std::string clash = ClashingName(entry); !clash.empty()) {
        prompter_.Show(PromptKind::Warning,
                       "The file " + ResolvedDisplayPath(entry.FullPath) + " has the name of " + clash +
                           ".  " + entry.FileName + " is not saved.",
                       PromptButtons::Ok);
        ++summary_.skipped;
        return true;
    }
    // The guard judges the very file written, looked at now: a copy replaced by a link since the backup
    // step is seen.
    const bool plain = IsPlainFileName(entry.FileName);
    const std::string hostPath = plain ? target_->PathFor(entry.FileName) : std::string();
    if (!plain || guard_.ContainsHost(hostPath)) {
        prompter_.Show(PromptKind::Warning,
                       "The output file " + ResolvedDisplayPath(path) + " is a file of the project.  " +
                           entry.FileName + " is not saved.",
                       PromptButtons::Ok);
        ++summary_.skipped;
        return true;
    }
    // A formatted copy of a private source stays private: it takes the source's permission bits (as
    // read when the source was opened), and its owner may write it.
    host::ReplaceOptions options;
    options.permissions = permissions;
    options.ownerWritable = true;
    if (!WriteHostLinesAtomic(
            hostPath, output.size(), [&output](std::size_t i) { return output[i]; }, options)) {
        prompter_.Show(PromptKind::Error,
                       "Unable to save " + ResolvedDisplayPath(path) + ".  Operation aborted...",
                       PromptButtons::Ok);
        return false;
    }
    entry.OutputPath = shownDir_ + ExtractFileName(hostPath);
    entry.Processed = true;
    written_.insert(ExtractFileName(hostPath));
    ++summary_.formatted;
    return true;
}

void ProcessingRun::NoteWritten(const std::string& path) {
    if (FileExists(path))
        written_.insert(ExtractFileName(MapToHostPath(path)));
}

RunSummary ProcessingRun::Refuse(const std::string& text) {
    prompter_.Show(PromptKind::Error, text, PromptButtons::Ok);
    summary_.outcome = RunOutcome::Refused;
    return summary_;
}

// The saved copy of an entry named like the project file or the check log would replace that file in the
// output directory: the name of what it clashes with, "" when there is no clash.
std::string ProcessingRun::ClashingName(const TSourceEntry& entry) const {
    if (EqualNoCase(entry.FileName, model_.ProjectName))
        return "the project file " + ResolvedDisplayPath(model_.ProjectDir + model_.ProjectName);
    if (settings_.CreateLog && EqualNoCase(entry.FileName, kCheckLogName))
        return "the check log " + outHost_ + kCheckLogName;
    return {};
}

// Copies that failed although their source was there (a full disk, a read error) are named, the first
// few one by one and the rest in one message: a full disk must not bring up a box per file.
void ProcessingRun::ReportFailedCopies() {
    constexpr int kNamed = 5;
    const auto failures = copier_.TakeFailures();
    const int count = static_cast<int>(failures.size());
    for (int i = 0; i < count && i < kNamed; ++i)
        prompter_.Show(PromptKind::Warning,
                       "Unable to copy " + failures[i].source + " to " + failures[i].target + ".",
                       PromptButtons::Ok);
    if (count > kNamed)
        prompter_.Show(PromptKind::Warning,
                       std::to_string(count - kNamed) + " more files could not be copied into " + outHost_ +
                           ".",
                       PromptButtons::Ok);
    summary_.failed += count;
}

void ProcessingRun::OfferToDeleteCreatedFiles() {
    if (prompter_.Show(PromptKind::Confirmation,
                       "Delete all files in " + ResolvedDisplayPath(outputDir_) + "?",
                       PromptButtons::YesNo) != PromptAnswer::Yes)
        return;
    // What this run wrote goes, also where it replaced a file of an earlier run; files that the run did
    // not touch stay (whatever else the user keeps there), and so does the project.
    const std::set<std::string>& copied = copier_.WrittenNames();
    std::vector<std::string> created;
    for (auto& name : ListDirectoryFiles(outHost_))
        if (!filesBefore_.count(name) || written_.count(name) || copied.count(name))
            created.push_back(std::move(name));
    copier_.DeleteDirectoryFiles(created, outHost_);
    ClearProcessed(true);
}

// Clears Processed on every entry, or only on those whose output copy is gone.
void ProcessingRun::ClearProcessed(bool onlyWithoutOutput) {
    for (auto& entry : model_.Files())
        if (!onlyWithoutOutput || entry.OutputPath.empty() || !FileExists(entry.OutputPath))
            entry.Processed = false;
}

} // namespace

RunSummary RunProject(TSourceMgt* model, const Settings& settings, const HeaderTemplates& templates,
                      Prompter& prompter, RunObserver& observer, const std::function<std::string()>& now,
                      const OutputTamper& tamper) {
    if (!model)
        return {};
    ProcessingRun run(*model, settings, templates, prompter, observer, now, tamper);
    return run.Run();
}

std::string CompletedText(const RunSummary& summary) {
    const int count = summary.skipped + summary.failed;
    if (count == 0)
        return "Conversion Completed.";
    return "Conversion Completed.  " + std::to_string(count) + (count == 1 ? " file was" : " files were") +
           " skipped or failed.";
}

std::optional<RunSummary> ProcessSelectedFiles(TSourceMgt* model, const Settings& settings,
                                               const HeaderTemplates& templates, Prompter& prompter,
                                               RunObserver& observer, const std::function<std::string()>& now,
                                               const OutputTamper& tamper) {
    // A cancel left from an earlier run goes before the question, not after it: a Ctrl+C that comes
    // while the question is answered must still stop this run.
    observer.ClearCancel();
    if (prompter.Show(PromptKind::Confirmation, "Process all selected files?", PromptButtons::YesNo) !=
        PromptAnswer::Yes)
        return std::nullopt;
    observer.RunStarting();
    RunSummary summary = RunProject(model, settings, templates, prompter, observer, now, tamper);
    observer.RunFinishing();
    prompter.Show(PromptKind::Information, CompletedText(summary), PromptButtons::Ok);
    return summary;
}

} // namespace kemptor
