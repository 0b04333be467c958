#include "run/ProcessingRun.h"
#include "RunTestSupport.h"

#include "platform/Prompter.h"
#include "platform/TargetDirectory.h"
#include "project/ProjectReader.h"
#include "settings/SettingsCatalogue.h"
#include "support/System.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kemptor {
namespace {

namespace fs = std::filesystem;
using test::FileNames;
using test::ReadFile;
using test::RecordingObserver;
using test::Snapshot;
using test::TempDir;
using test::WriteFile;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

std::unique_ptr<TSourceMgt> Open(const std::string& path, Prompter& prompter) {
    ProjectReaderObserver observer;
    std::unique_ptr<TSourceMgt> model;
    if (!OpenProject(path, model, observer, prompter))
        return nullptr;
    return model;
}

// An unindented module of `procedures` small procedures: every file needs formatting.
std::string Module(const std::string& name, int procedures) {
    std::string text = "Attribute VB_Name = \"" + name + "\"\r\n";
    for (int i = 0; i < procedures; ++i)
        text += "Public Sub Run" + std::to_string(i) +
                "()\r\nDim n As Long\r\nIf n = 0 Then\r\nn = 1\r\nEnd If\r\n"
                "End Sub\r\n";
    return text;
}

TEST(OutputDirectoryFor, ResolvesRelativeTextsBelowTheProjectAndEndsWithASeparator) {
    EXPECT_EQ(OutputDirectoryFor("/p/", ".\\STYLED\\"), "/p/.\\STYLED\\");
    EXPECT_EQ(OutputDirectoryFor("/p/", "out"), "/p/out/");
    EXPECT_EQ(OutputDirectoryFor("C:\\P\\", "out"), "C:\\P\\out\\");
    EXPECT_EQ(OutputDirectoryFor("/p/", "C:\\OUT\\"), "C:\\OUT\\");
    EXPECT_EQ(OutputDirectoryFor("/p/", "/tmp/out"), "/tmp/out/");
    EXPECT_EQ(OutputDirectoryFor("/p/", ""), "/p/");
}

// A VBP project of a form, three modules, a class and a user control in a subfolder, plus a file the
// project does not name; the output directory is the default .\STYLED\ below it.
class Run : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(root.Path() + "proj/Test.vbp", "Type=Exe\r\nForm=frmMain.frm\r\nModule=modA; modA.bas\r\n"
                                                 "Module=modB; modB.bas\r\nClass=clsC; clsC.cls\r\n"
                                                 "UserControl=ctl\\Gauge.ctl\r\nStartup=\"frmMain\"\r\n");
        WriteFile(root.Path() + "proj/frmMain.frm",
                  "VERSION 5.00\r\nBegin VB.Form frmMain\r\n   Caption = \"Main\"\r\nEnd\r\n"
                  "Attribute VB_Name = \"frmMain\"\r\nPrivate Sub Form_Load()\r\n"
                  "Dim x As Long\r\nEnd Sub\r\n");
        WriteFile(root.Path() + "proj/frmMain.frx", std::string("\0\1\2frx", 6));
        WriteFile(root.Path() + "proj/modA.bas", Module("modA", 4));
        WriteFile(root.Path() + "proj/modB.bas", Module("modB", 4));
        WriteFile(root.Path() + "proj/clsC.cls",
                  "VERSION 1.0 CLASS\r\nBEGIN\r\nEND\r\nAttribute VB_Name = \"clsC\"\r\n"
                  "Option Explicit\r\nPublic Sub Go()\r\nEnd Sub\r\n");
        WriteFile(root.Path() + "proj/ctl/Gauge.ctl", "VERSION 5.00\r\nBegin VB.UserControl Gauge\r\nEnd\r\n"
                                                      "Option Explicit\r\n");
        WriteFile(root.Path() + "proj/ctl/Gauge.ctx", std::string("\0ctx", 4));
        WriteFile(root.Path() + "proj/notes.txt", "not named by the project\r\n");
        settings.PreviewBeforeSaving = false;
        Reopen();
    }

    void Reopen() {
        model = Open(root.Path() + "proj/Test.vbp", prompter);
        ASSERT_NE(model, nullptr);
        prompter.Clear();
    }

    void UseMode(BackupMode mode) {
        settings.BackupOnlyNewFiles = mode == BackupMode::NewFilesOnly;
        settings.BackupMAKFiles = mode == BackupMode::ProjectFiles;
        settings.BackupAllFiles = mode == BackupMode::AllFiles;
    }

    RunSummary RunIt() {
        return RunProject(model.get(), settings, templates, prompter, observer, [] { return "now"; });
    }
    fs::path Out() const { return fs::path(root.Path()) / "proj/STYLED"; }
    std::string OutDir() const { return root.Path() + "proj/.\\STYLED\\"; }
    // The output directory as messages show it.
    // Messages name paths with the host's separator ("\" on Windows).
    static std::string Shown(const std::string& path) { return fs::path(path).make_preferred().string(); }
    std::string ShownOutDir() const { return Shown(root.Path() + "proj/STYLED/"); }
    test::TreeSnapshot Project() const { return Snapshot(fs::path(root.Path()) / "proj", {"STYLED"}); }
    TSourceEntry& Entry(const std::string& fileName) {
        for (auto& entry : model->Files())
            if (entry.FileName == fileName)
                return entry;
        throw std::runtime_error("no entry " + fileName);
    }
    std::vector<std::string> Texts() const { return prompter.Texts(); }

    TempDir root;
    Settings settings;
    HeaderTemplates templates = DefaultHeaderTemplates();
    ScriptedPrompter prompter;
    RecordingObserver observer;
    std::unique_ptr<TSourceMgt> model;
};

TEST_F(Run, EachBackupModeFillsTheOutputDirectoryAndLeavesTheProjectAlone) {
    const std::vector<std::string> formatted{"Gauge.ctl", "clsC.cls", "frmMain.frm", "modA.bas", "modB.bas"};
    const struct {
        BackupMode mode;
        std::vector<std::string> files;
    } cases[] = {
        {BackupMode::NewFilesOnly, formatted},
        {BackupMode::ProjectFiles,
         {"Gauge.ctl", "Gauge.ctx", "Test.vbp", "clsC.cls", "frmMain.frm", "frmMain.frx", "modA.bas",
          "modB.bas"}},
        {BackupMode::AllFiles,
         {"Gauge.ctl", "Gauge.ctx", "Test.vbp", "clsC.cls", "frmMain.frm", "frmMain.frx", "modA.bas",
          "modB.bas", "notes.txt"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        fs::remove_all(Out());
        Reopen();
        UseMode(c.mode);
        const auto before = Project();
        const RunSummary summary = RunIt();
        EXPECT_EQ(summary.outcome, RunOutcome::Completed);
        EXPECT_EQ(summary.formatted, 5);
        EXPECT_EQ(summary.skipped, 0);
        EXPECT_THAT(Texts(), IsEmpty());
        EXPECT_EQ(FileNames(Out()), c.files);
        EXPECT_EQ(Project(), before);
        for (const auto& entry : model->Files()) {
            EXPECT_TRUE(entry.Processed) << entry.FileName;
            EXPECT_EQ(entry.OutputPath, OutDir() + entry.FileName);
            EXPECT_FALSE(entry.Loaded) << entry.FileName;
        }
    }
    // The formatted module is indented, written with CR LF, and replaced the copied source.
    const std::string modA = ReadFile(Out() / "modA.bas");
    EXPECT_THAT(modA, HasSubstr("\r\n    Dim n As Long\r\n"));
    EXPECT_THAT(modA, HasSubstr("Option Explicit"));
    EXPECT_EQ(ReadFile(Out() / "Test.vbp"), "Type=Exe\r\nForm=frmMain.frm\r\nModule=modA; modA.bas\r\n"
                                            "Module=modB; modB.bas\r\nClass=clsC; clsC.cls\r\n"
                                            "UserControl=Gauge.ctl\r\nStartup=\"frmMain\"\r\n");
    EXPECT_EQ(ReadFile(Out() / "Gauge.ctx"), std::string("\0ctx", 4));
}

TEST_F(Run, AFileWhoseCodeTheFormattingBrokeIsNotSavedAndTheRunGoesOn) {
    UseMode(BackupMode::ProjectFiles);
    const std::string original = ReadFile(fs::path(root.Path()) / "proj/modA.bas");
    // A broken transformation of modA alone, handed to the run through its seam.
    const OutputTamper breakModA = [](TLineList& lines) {
        if (!lines.empty() && lines[0].find("modA") != std::string_view::npos)
            BreakCodeForTest(lines);
    };
    const RunSummary summary = RunProject(
        model.get(), settings, templates, prompter, observer, [] { return "now"; }, breakModA);
    EXPECT_EQ(summary.outcome, RunOutcome::Completed);
    EXPECT_EQ(summary.formatted, 4);
    EXPECT_EQ(summary.skipped, 1);
    EXPECT_EQ(summary.refused, 1);
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages()[0].kind, PromptKind::Warning);
    EXPECT_EQ(prompter.Messages()[0].text,
              "The formatted text of modA.bas does not keep the code of the original: it differs at line 1 "
              "(line 1 of the formatted text).  modA.bas is not saved.");
    // Its backup copy is the original; the files after it are formatted.
    EXPECT_EQ(ReadFile(Out() / "modA.bas"), original);
    EXPECT_FALSE(Entry("modA.bas").Processed);
    EXPECT_THAT(ReadFile(Out() / "modB.bas"), HasSubstr("\r\n    Dim n As Long\r\n"));
    EXPECT_TRUE(Entry("modB.bas").Processed);
}

// The run's message names the original line that lost a statement, not the like line after it.
TEST_F(Run, ARefusalNamesTheLineThatLostCodeThoughTheNextLineRepeatsIt) {
    WriteFile(root.Path() + "proj/modA.bas", "Attribute VB_Name = \"modA\"\r\nPublic Sub Tick()\r\nBeep\r\n"
                                             "n = n + 1: Beep\r\nBeep\r\nEnd Sub\r\n");
    Reopen();
    const OutputTamper loseBeep = [](TLineList& lines) {
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (lines[i].find("n = n + 1: Beep") != std::string_view::npos)
                lines.Replace(i, "    n = n + 1");
    };
    RunProject(
        model.get(), settings, templates, prompter, observer, [] { return "now"; }, loseBeep);
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_THAT(prompter.Messages()[0].text,
                HasSubstr("modA.bas does not keep the code of the original: it differs at line 4 "));
}

// Files formatted on worker threads come out as they do one at a time: the same texts and modes in the
// output directory, the same messages in the same order (a refused file, a file named by the project
// that is missing, one that is no source), the same figures.
TEST_F(Run, FormattingOnWorkerThreadsGivesTheSameFilesMessagesAndFigures) {
    class Threaded : public RecordingObserver {
        int FormattingThreads() const override { return 3; }
    };
    WriteFile(root.Path() + "proj/Test.vbp", "Type=Exe\r\nForm=frmMain.frm\r\nModule=modA; modA.bas\r\n"
                                             "Module=modB; modB.bas\r\nModule=modGone; modGone.bas\r\n"
                                             "Class=clsC; clsC.cls\r\nUserControl=ctl\\Gauge.ctl\r\n"
                                             "Module=Notes; notes.txt\r\n");
    WriteFile(root.Path() + "proj/modGone.bas", "Attribute VB_Name = \"modGone\"\r\n");
    Reopen();
    fs::remove(fs::path(root.Path()) / "proj/modGone.bas");
    const OutputTamper breakModB = [](TLineList& lines) {
        if (!lines.empty() && lines[0].find("modB") != std::string_view::npos)
            BreakCodeForTest(lines);
    };
    const auto run = [&](RunObserver& watching) {
        prompter.Clear();
        fs::remove_all(Out());
        const RunSummary summary = RunProject(
            model.get(), settings, templates, prompter, watching, [] { return "now"; }, breakModB);
        return std::make_tuple(summary.formatted, summary.changed, summary.skipped, summary.refused,
                               Snapshot(Out()), Texts());
    };
    RecordingObserver inTurn;
    const auto one = run(inTurn);
    Threaded threaded;
    const auto ahead = run(threaded);
    EXPECT_EQ(std::get<0>(one), 4);
    EXPECT_EQ(std::get<3>(one), 1);
    EXPECT_EQ(std::get<4>(one).size(), std::get<4>(ahead).size());
    for (const auto& [name, state] : std::get<4>(one)) {
        ASSERT_TRUE(std::get<4>(ahead).count(name)) << name;
        EXPECT_EQ(state.bytes, std::get<4>(ahead).at(name).bytes) << name;
        EXPECT_EQ(state.perms, std::get<4>(ahead).at(name).perms) << name;
    }
    EXPECT_EQ(std::get<5>(one), std::get<5>(ahead));
    EXPECT_EQ(std::get<0>(one), std::get<0>(ahead));
    EXPECT_EQ(std::get<1>(one), std::get<1>(ahead));
    EXPECT_EQ(std::get<2>(one), std::get<2>(ahead));
    EXPECT_EQ(std::get<3>(one), std::get<3>(ahead));
}

TEST_F(Run, ShowsTheWindowsAndOnePassCaptionPerPass) {
    RunIt();
    EXPECT_THAT(observer.events, ElementsAre("show copy", "hide copy", "show processing", "hide processing"));
    EXPECT_THAT(observer.captions, Contains("frmMain.frm (Pass 1)"));
    EXPECT_THAT(observer.captions, Contains("frmMain.frm (Pass 2)"));
    EXPECT_THAT(observer.captions, Not(Contains("clsC.cls (Pass 3)")));
    EXPECT_THAT(observer.captions, Contains("Backing Up File: ctl\\Gauge.ctl"));
}

TEST_F(Run, CommandAsksFirstAndAlwaysEndsWithConversionCompleted) {
    prompter.Answer(PromptAnswer::No);
    EXPECT_FALSE(ProcessSelectedFiles(model.get(), settings, templates, prompter, observer).has_value());
    EXPECT_THAT(Texts(), ElementsAre("Process all selected files?"));
    EXPECT_FALSE(fs::exists(Out()));
    EXPECT_THAT(observer.events, IsEmpty());

    prompter.Clear();
    observer.RequestCancel(); // left over from an earlier run: the command clears it
    for (auto& entry : model->Files())
        entry.Selected = false;
    const auto summary = ProcessSelectedFiles(model.get(), settings, templates, prompter, observer);
    ASSERT_TRUE(summary.has_value());
    EXPECT_EQ(summary->outcome, RunOutcome::Completed);
    EXPECT_EQ(summary->formatted, 0);
    EXPECT_EQ(prompter.Messages().back().kind, PromptKind::Information);
    EXPECT_THAT(Texts(), ElementsAre("Process all selected files?", "Conversion Completed."));
    EXPECT_EQ(prompter.Messages()[0].buttons, PromptButtons::YesNo);
    // Nothing selected: the output directory is still prepared with the copies.
    EXPECT_THAT(FileNames(Out()), Contains("Test.vbp"));
    EXPECT_EQ(ReadFile(Out() / "modA.bas"), ReadFile(fs::path(root.Path()) / "proj/modA.bas"));
    EXPECT_EQ(observer.events.front(), "starting");
    EXPECT_EQ(observer.events.back(), "finishing");
}

TEST_F(Run, RefusesTheProjectsOwnDirectoryBeforeWritingAnything) {
    for (const std::string& text :
         std::vector<std::string>{".\\", "", root.Path() + "proj", root.Path() + "PROJ/ctl/..\\"}) {
        SCOPED_TRACE(text);
        prompter.Clear();
        settings.BackupNewCodeDirectory = text;
        for (BackupMode mode : {BackupMode::ProjectFiles, BackupMode::AllFiles}) {
            UseMode(mode);
            const auto before = Project();
            const auto summary = ProcessSelectedFiles(model.get(), settings, templates, prompter, observer);
            EXPECT_EQ(summary->outcome, RunOutcome::Refused);
            EXPECT_EQ(Project(), before);
        }
        ASSERT_EQ(prompter.Messages().size(), 6u);
        EXPECT_EQ(prompter.Messages()[1].kind, PromptKind::Error);
        EXPECT_THAT(prompter.Messages()[1].text, HasSubstr("is the project's own directory"));
        EXPECT_EQ(prompter.Messages()[2].text, "Conversion Completed.");
    }
}

TEST_F(Run, CancelInPassTwoOfTheThirdFileKeepsTheFirstTwoWhenTheAnswerIsNo) {
    for (BackupMode mode : {BackupMode::NewFilesOnly, BackupMode::ProjectFiles, BackupMode::AllFiles}) {
        SCOPED_TRACE(static_cast<int>(mode));
        fs::remove_all(Out());
        Reopen();
        UseMode(mode);
        RecordingObserver cancelling;
        cancelling.CancelAt("modB.bas (Pass 2)", 3);
        prompter.Answer(PromptAnswer::No);
        const auto before = Project();
        const auto summary = RunProject(model.get(), settings, templates, prompter, cancelling);
        EXPECT_EQ(summary.outcome, RunOutcome::Cancelled);
        EXPECT_EQ(summary.formatted, 2);
        EXPECT_THAT(Texts(), ElementsAre("Delete all files in " + ShownOutDir() + "?"));
        EXPECT_EQ(prompter.Messages()[0].buttons, PromptButtons::YesNo);
        EXPECT_TRUE(Entry("frmMain.frm").Processed);
        EXPECT_TRUE(Entry("modA.bas").Processed);
        EXPECT_FALSE(Entry("modB.bas").Processed);
        EXPECT_FALSE(Entry("clsC.cls").Processed);
        EXPECT_THAT(ReadFile(Out() / "modA.bas"), HasSubstr("    Dim n As Long"));
        // modB.bas is not saved: in the copying modes its backup copy stays as it was.
        if (mode == BackupMode::NewFilesOnly)
            EXPECT_THAT(FileNames(Out()), ElementsAre("frmMain.frm", "modA.bas"));
        else
            for (const char* name : {"modB.bas", "clsC.cls", "ctl/Gauge.ctl"})
                EXPECT_EQ(ReadFile(Out() / fs::path(name).filename()),
                          ReadFile(fs::path(root.Path()) / "proj" / name));
        EXPECT_EQ(Project(), before);
        EXPECT_THAT(cancelling.captions, Not(Contains("clsC.cls (Pass 1)")));
    }
}

TEST_F(Run, CancelInPassOneAndYesDeletesOnlyWhatTheRunCreated) {
    WriteFile(Out() / "earlier.txt", "kept");
    WriteFile(Out() / "modA.bas", "an earlier output");
    for (BackupMode mode : {BackupMode::NewFilesOnly, BackupMode::ProjectFiles, BackupMode::AllFiles}) {
        SCOPED_TRACE(static_cast<int>(mode));
        Reopen();
        UseMode(mode);
        RecordingObserver cancelling;
        cancelling.CancelAt("frmMain.frm (Pass 1)", 1);
        prompter.Answer(PromptAnswer::Yes);
        const auto before = Project();
        EXPECT_EQ(RunProject(model.get(), settings, templates, prompter, cancelling).outcome,
                  RunOutcome::Cancelled);
        // The earlier modA.bas stays while the run leaves it alone; a backup copy replaces it, and then it
        // is a file of this run.
        if (mode == BackupMode::NewFilesOnly)
            EXPECT_THAT(FileNames(Out()), ElementsAre("earlier.txt", "modA.bas"));
        else
            EXPECT_THAT(FileNames(Out()), ElementsAre("earlier.txt"));
        EXPECT_EQ(ReadFile(Out() / "earlier.txt"), "kept");
        EXPECT_EQ(Project(), before);
        for (const auto& entry : model->Files())
            EXPECT_FALSE(entry.Processed) << entry.FileName;
    }
}

TEST_F(Run, YesAfterALaterCancelLeavesNoFileOfTheRunAndClearsProcessed) {
    settings.BackupNewCodeDirectory = "..\\out\\";
    RecordingObserver cancelling;
    cancelling.CancelAt("clsC.cls (Pass 1)", 1);
    prompter.Answer(PromptAnswer::Yes);
    const auto before = Project();
    RunProject(model.get(), settings, templates, prompter, cancelling);
    EXPECT_TRUE(fs::is_directory(fs::path(root.Path()) / "out"));
    EXPECT_THAT(FileNames(fs::path(root.Path()) / "out"), IsEmpty());
    EXPECT_FALSE(Entry("modA.bas").Processed);
    EXPECT_EQ(Project(), before);
}

// The user's situation: an earlier run left its output, the next run is cancelled in its first preview.
// Yes removes every file of this run whichever way the output directory is written, and no entry stays
// processed; the question names the directory as the host writes it.
TEST_F(Run, YesAfterACancelDeletesTheRunsFilesForEveryFormOfTheOutputText) {
    settings.PreviewBeforeSaving = true;
    for (const std::string& text :
         std::vector<std::string>{".\\STYLED\\", "STYLED", "./STYLED/", root.Path() + "proj/STYLED/"}) {
        SCOPED_TRACE(text);
        fs::remove_all(Out());
        settings.BackupNewCodeDirectory = text;
        Reopen();
        ASSERT_EQ(RunIt().outcome, RunOutcome::Completed);
        Reopen();
        RecordingObserver cancelling;
        cancelling.CancelInPreviewOf("frmMain.frm");
        prompter.Answer(PromptAnswer::Yes);
        EXPECT_EQ(RunProject(model.get(), settings, templates, prompter, cancelling).outcome,
                  RunOutcome::Cancelled);
        EXPECT_THAT(Texts(), ElementsAre("Delete all files in " + ShownOutDir() + "?"));
        EXPECT_THAT(FileNames(Out()), IsEmpty());
        for (const auto& entry : model->Files())
            EXPECT_FALSE(entry.Processed) << entry.FileName;
    }
}

// The copies come first: while the first file is previewed the output directory already holds the whole
// project, so a run killed there leaves a project that opens; formatted files then replace their copies.
TEST_F(Run, OutputHoldsTheWholeProjectBeforeTheFirstFileIsSaved) {
    settings.PreviewBeforeSaving = true;
    std::vector<std::string> atFirstPreview;
    std::string modAAtFirstPreview;
    observer.onPreview = [&](const std::string& fileName) {
        if (fileName != "frmMain.frm")
            return;
        atFirstPreview = FileNames(Out());
        modAAtFirstPreview = ReadFile(Out() / "modA.bas");
    };
    ASSERT_EQ(RunIt().outcome, RunOutcome::Completed);
    EXPECT_THAT(atFirstPreview, ElementsAre("Gauge.ctl", "Gauge.ctx", "Test.vbp", "clsC.cls", "frmMain.frm",
                                            "frmMain.frx", "modA.bas", "modB.bas"));
    EXPECT_EQ(modAAtFirstPreview, ReadFile(fs::path(root.Path()) / "proj/modA.bas"));
    EXPECT_THAT(ReadFile(Out() / "modA.bas"), HasSubstr("\r\n    Dim n As Long\r\n"));
}

TEST_F(Run, PreviewShowsEachFileAndItsCancelSavesThatFileOnly) {
    settings.PreviewBeforeSaving = true;
    UseMode(BackupMode::NewFilesOnly);
    observer.CancelInPreviewOf("modA.bas");
    prompter.Answer(PromptAnswer::No);
    const auto summary = RunIt();
    EXPECT_EQ(summary.outcome, RunOutcome::Cancelled);
    ASSERT_EQ(observer.previews.size(), 2u);
    const auto& preview = observer.previews[1];
    EXPECT_EQ(preview.fileName, "modA.bas");
    EXPECT_EQ(preview.before[0], "Attribute VB_Name = \"modA\"");
    ASSERT_EQ(preview.after.size(), preview.changed.size());
    for (size_t i = 0; i < preview.after.size(); ++i)
        if (preview.after[i] == "    Dim n As Long") {
            EXPECT_TRUE(preview.changed[i]);
        }
    EXPECT_EQ(preview.after[0], "Attribute VB_Name = \"modA\"");
    EXPECT_FALSE(preview.changed[0]);
    EXPECT_THAT(FileNames(Out()), ElementsAre("frmMain.frm", "modA.bas"));
    EXPECT_TRUE(Entry("modA.bas").Processed);
    EXPECT_THAT(Texts(), ElementsAre("Delete all files in " + ShownOutDir() + "?"));
}

TEST_F(Run, UnreadableSourceIsWarnedAndItsCopyKeptNotReplaced) {
    UseMode(BackupMode::NewFilesOnly);
    WriteFile(Out() / "modA.bas", "an earlier output");
    fs::remove(fs::path(root.Path()) / "proj/modA.bas");
    fs::create_directory(fs::path(root.Path()) / "proj/modA.bas"); // unreadable as a file, even for root
    const auto summary = RunIt();
    EXPECT_EQ(summary.outcome, RunOutcome::Completed);
    EXPECT_EQ(summary.formatted, 4);
    EXPECT_EQ(summary.skipped, 1);
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages()[0].kind, PromptKind::Warning);
    EXPECT_EQ(prompter.Messages()[0].text,
              "Unable to read " + Shown(root.Path() + "proj/modA.bas") + ".  modA.bas is left unformatted.");
    EXPECT_EQ(ReadFile(Out() / "modA.bas"), "an earlier output");
    EXPECT_FALSE(Entry("modA.bas").Processed);
    EXPECT_TRUE(Entry("modB.bas").Processed);
}

TEST_F(Run, OutputDirectoryThatCannotBeMadeStopsBeforeFormatting) {
    WriteFile(fs::path(root.Path()) / "afile", "a file, not a directory");
    for (const std::string& dir :
         std::vector<std::string>{root.Path() + "afile", root.Path() + "afile/sub/", "/proc/kemptor-out/"}) {
        SCOPED_TRACE(dir);
        prompter.Clear();
        settings.BackupNewCodeDirectory = dir;
        const auto before = Project();
        const auto summary = RunIt();
        EXPECT_EQ(summary.outcome, RunOutcome::BackupFailed);
        EXPECT_THAT(Texts(), ElementsAre("Unable to create backup...  Operation aborted..."));
        EXPECT_EQ(prompter.Messages()[0].kind, PromptKind::Error);
        EXPECT_EQ(ReadFile(fs::path(root.Path()) / "afile"), "a file, not a directory");
        EXPECT_EQ(Project(), before);
    }
    EXPECT_THAT(observer.events, IsEmpty());
}

TEST_F(Run, ReadOnlyOutputDirectoryIsRefusedLikeOneThatCannotBeMade) {
    if (!test::DirectoryModesBind())
        GTEST_SKIP() << "directory permissions do not bind root, nor anyone on Windows";
    fs::create_directories(Out());
    fs::permissions(Out(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(RunIt().outcome, RunOutcome::BackupFailed);
    EXPECT_THAT(Texts(), ElementsAre("Unable to create backup...  Operation aborted..."));
}

TEST_F(Run, FileThatCannotBeSavedStopsTheRunWithAnError) {
    UseMode(BackupMode::NewFilesOnly);
    fs::create_directories(Out() / "modB.bas");
    const auto summary = RunIt();
    EXPECT_EQ(summary.outcome, RunOutcome::SaveFailed);
    EXPECT_EQ(summary.formatted, 2);
    EXPECT_THAT(Texts(), ElementsAre("Unable to save " + ShownOutDir() + "modB.bas.  Operation aborted..."));
    EXPECT_FALSE(Entry("modB.bas").Processed);
    EXPECT_FALSE(Entry("clsC.cls").Processed);
    EXPECT_THAT(FileNames(Out()), ElementsAre("frmMain.frm", "modA.bas"));
}

TEST_F(Run, OutputsReplaceEarlierFilesByRenameNotByWritingIntoThem) {
    UseMode(BackupMode::ProjectFiles);
    WriteFile(fs::path(root.Path()) / "witness.bas", "linked");
    fs::create_directories(Out());
    fs::create_hard_link(fs::path(root.Path()) / "witness.bas", Out() / "modA.bas");
    fs::create_hard_link(fs::path(root.Path()) / "witness.bas", Out() / "Test.vbp");
    RunIt();
    EXPECT_EQ(ReadFile(fs::path(root.Path()) / "witness.bas"), "linked");
    EXPECT_THAT(ReadFile(Out() / "modA.bas"), HasSubstr("    Dim n As Long"));
}

TEST_F(Run, NeverSavesOverAFileThatTheProjectNames) {
    // The project names a module that lives in its own output directory.
    WriteFile(fs::path(root.Path()) / "proj/Test.vbp",
              "Type=Exe\r\nModule=Inner; STYLED\\Inner.bas\r\nModule=modA; modA.bas\r\n");
    WriteFile(Out() / "Inner.bas", Module("Inner", 1));
    Reopen();
    const auto before = Snapshot(fs::path(root.Path()) / "proj");
    const auto summary = RunIt();
    EXPECT_EQ(summary.formatted, 1);
    EXPECT_EQ(summary.skipped, 1);
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages()[0].text, "The output file " + ShownOutDir() +
                                               "Inner.bas is a file of the project.  "
                                               "Inner.bas is not saved.");
    const auto after = Snapshot(fs::path(root.Path()) / "proj");
    EXPECT_EQ(after.at("STYLED/Inner.bas"), before.at("STYLED/Inner.bas"));
    EXPECT_EQ(after.at("modA.bas"), before.at("modA.bas"));
}

TEST_F(Run, LongLinesAreFormattedWholeAndListedInTheCheckLog) {
    const std::string longLine = "x = \"" + std::string(300000, 'a') + "\"";
    WriteFile(fs::path(root.Path()) / "proj/modB.bas",
              "Attribute VB_Name = \"modB\"\nSub Long()\n" + longLine + "\nEnd Sub\n");
    Reopen();
    settings.CreateLog = true;
    Entry("clsC.cls").Selected = false;
    RunIt();
    EXPECT_THAT(ReadFile(Out() / "modB.bas"), HasSubstr("\r\n    " + longLine + "\r\n"));
    const std::string log = ReadFile(Out() / "VBKEMPT3.LOG");
    EXPECT_THAT(log, HasSubstr("+++ Processing file: modB.bas\r\nCheck Line #3-->" + longLine + "\r\n"));
    EXPECT_THAT(log, HasSubstr("*** Project processing started at: now\r\n"));
    EXPECT_THAT(log, Not(HasSubstr("clsC.cls")));
    EXPECT_THAT(Texts(), IsEmpty());
}

// The header templates in force (the Options dialog's text) are the ones the run inserts.
TEST_F(Run, InsertsHeadersFromTheTemplatesItIsGiven) {
    settings.SubLevelCommentsPerform = true;
    templates.Sub = {"'=== Sub %n by the house ==="};
    RunIt();
    EXPECT_THAT(ReadFile(Out() / "clsC.cls"), HasSubstr("'=== Sub Go by the house ==="));
    EXPECT_THAT(ReadFile(Out() / "clsC.cls"), Not(HasSubstr(DefaultSubTemplate().front())));
}

TEST_F(Run, BinaryFormLeftOutOfTheProjectIsStillCopiedUnchanged) {
    const std::string binary = "\xff\xfe\x00\x01 binary form";
    WriteFile(fs::path(root.Path()) / "proj/Test.vbp",
              "Type=Exe\r\nForm=frmBin.frm\r\nModule=modA; modA.bas\r\n");
    WriteFile(fs::path(root.Path()) / "proj/frmBin.frm", binary);
    model = Open(root.Path() + "proj/Test.vbp", prompter); // the reader asks whether to go on without it; OK
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->FileCount(), 1);
    prompter.Clear();
    RunIt();
    EXPECT_EQ(ReadFile(Out() / "frmBin.frm"), binary);
    EXPECT_THAT(Texts(), IsEmpty());
}

// The copy of each sample project opens again and names the same files.
TEST(RunSamples, StyledCopyReopensWithTheSameFiles) {
    TempDir root;
    fs::copy(KEMPTOR_EXAMPLES, root.Root(), fs::copy_options::recursive);
    for (const std::string project : {"vbp/Inventory.vbp", "mak/Stock.mak"}) {
        SCOPED_TRACE(project);
        ScriptedPrompter prompter;
        auto model = Open(root.Path() + project, prompter);
        ASSERT_NE(model, nullptr);
        const auto before = Snapshot(root.Path(), {"vbp/STYLED", "mak/STYLED"});
        Settings settings;
        settings.PreviewBeforeSaving = false;
        test::RecordingObserver observer;
        const auto summary = RunProject(model.get(), settings, DefaultHeaderTemplates(), prompter, observer);
        EXPECT_EQ(summary.outcome, RunOutcome::Completed);
        EXPECT_EQ(summary.formatted, model->FileCount());
        EXPECT_EQ(Snapshot(root.Path(), {"vbp/STYLED", "mak/STYLED"}), before);

        const std::string styled =
            ((fs::path(root.Path()) / project).parent_path() / "STYLED" / fs::path(project).filename())
                .string();
        ScriptedPrompter again;
        auto copy = Open(styled, again);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(again.Messages().size(), prompter.Messages().size());
        std::vector<std::string> names, copyNames;
        for (const auto& entry : model->Files())
            names.push_back(entry.FileName);
        for (const auto& entry : copy->Files()) {
            copyNames.push_back(entry.FileName);
            EXPECT_EQ(fs::path(entry.FullPath).parent_path(), fs::path(styled).parent_path());
            EXPECT_GE(entry.FileSize, 0) << entry.FileName;
        }
        EXPECT_EQ(copyNames, names);
    }
}

} // namespace
} // namespace kemptor
