// A run tried as an unlucky user or an attacker would: output directory texts that escape, names that
// clash, copies that fail, sources that are binary, too large or left by a killed run. The project's own
// files must never change, and every failure must be told and counted.
#include "RunTestSupport.h"
#include "platform/Prompter.h"
#include "platform/Text.h"
#include "project/ProjectReader.h"
#include "run/ProcessingRun.h"
#include "settings/SettingsCatalogue.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/System.h"

namespace kemptor {
namespace {

namespace fs = std::filesystem;
using test::FileNames;
using test::Native;
using test::ReadFile;
using test::RecordingObserver;
using test::Snapshot;
using test::TempDir;
using test::WriteFile;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// A small VBP project: a form with its .FRX, two modules; the output directory is set per test.
class Hardening : public ::testing::Test {
protected:
    void SetUp() override {
        WriteProject("Type=Exe\r\nForm=frmMain.frm\r\nModule=modA; modA.bas\r\nModule=UTIL; UTIL.BAS\r\n");
        Write("frmMain.frm",
              "VERSION 5.00\r\nBegin VB.Form frmMain\r\nEnd\r\nAttribute VB_Name = \"frmMain\"\r\n"
              "Private Sub Form_Load()\r\nDim x As Long\r\nEnd Sub\r\n");
        Write("frmMain.frx", std::string("\0\1frx", 5));
        Write("modA.bas",
              "Attribute VB_Name = \"modA\"\r\nSub A()\r\nIf x Then\r\ny = 1\r\nEnd If\r\nEnd Sub\r\n");
        Write("UTIL.BAS", "Attribute VB_Name = \"UTIL\"\r\nSub U()\r\nz = 2\r\nEnd Sub\r\n");
        settings.PreviewBeforeSaving = false;
        settings.CreateLog = true;
    }

    void Write(const std::string& name, const std::string& bytes) { WriteFile(Proj() + name, bytes); }
    void WriteProject(const std::string& text) { Write("P.VBP", text); }
    std::string Proj() const { return root.Path() + "proj/"; }
    void UseMode(BackupMode mode) {
        settings.BackupOnlyNewFiles = mode == BackupMode::NewFilesOnly;
        settings.BackupMAKFiles = mode == BackupMode::ProjectFiles;
        settings.BackupAllFiles = mode == BackupMode::AllFiles;
    }
    RunSummary RunIt(const std::string& projectPath = "") {
        ProjectReaderObserver readerObserver;
        if (!OpenProject(projectPath.empty() ? Proj() + "P.VBP" : projectPath, model, readerObserver,
                         prompter))
            return {};
        prompter.Clear();
        return RunProject(model.get(), settings, templates, prompter, observer, [] { return "now"; });
    }
    void ExpectRefused(const std::vector<std::string>& texts);
    std::vector<std::string> Texts() const { return prompter.Texts(); }

    TempDir root;
    Settings settings;
    HeaderTemplates templates = DefaultHeaderTemplates();
    ScriptedPrompter prompter;
    RecordingObserver observer;
    std::unique_ptr<TSourceMgt> model;
};

// --- Path resolution --------------------------------------------------------------------------------

// Each text is given as the output directory; none may lead a run to write anything.
void Hardening::ExpectRefused(const std::vector<std::string>& texts) {
    const auto before = Snapshot(root.Path());
    for (const auto& text : texts) {
        SCOPED_TRACE(text);
        settings.BackupNewCodeDirectory = text;
        const RunSummary summary = RunIt();
        EXPECT_EQ(summary.outcome, RunOutcome::Refused);
        ASSERT_EQ(prompter.Messages().size(), 1u);
        EXPECT_EQ(prompter.Messages()[0].kind, PromptKind::Error);
        EXPECT_EQ(Snapshot(root.Path()), before); // nothing written, no directory made
        EXPECT_FALSE(fs::exists(Proj() + "NEW"));
    }
}

TEST_F(Hardening, RefusesOutputTextsThatNameTheProjectBeforeWritingAnything) {
    ExpectRefused({".\\", ".\\NEW\\..\\", "NEW/../", ".\\A\\B\\..\\..\\", "..\\proj\\",
                   "..\\PROJ\\"}); // the last in another letter case
}

// Links, and the Windows paths that have no place on a POSIX host: a UNC share, a drive's current
// directory.
TEST_F(Hardening, RefusesLinksBackIntoTheProjectAndUnmappablePaths) {
    fs::create_directory(root.Path() + "elsewhere");
    fs::create_directory_symlink(Proj(), root.Path() + "elsewhere/back");
    ExpectRefused({root.Path() + "elsewhere/back/", root.Path() + "elsewhere/back/X/../",
                   "\\\\SERVER\\SHARE\\OUT\\", "//SERVER/SHARE/OUT/", "D:OUT\\", "D:", "C:\\", "C:\\..\\..\\",
                   "c:/", "C:\\OUT\\"});
    EXPECT_THAT(Texts().back(), HasSubstr("BackupInformation.BackupNewCodeDirectory"));
}

TEST_F(Hardening, ResolvesDotsAndLinksOfOutputTextsThatLeaveTheProject) {
    fs::create_directory(root.Path() + "elsewhere");
    fs::create_directory_symlink(root.Path() + "elsewhere", Proj() + "toElsewhere");
    const struct {
        std::string text;
        std::string lands; // relative to the scratch root
    } cases[] = {
        {".\\NEW\\..\\OUT\\", "proj/OUT/"},
        {"..\\sibling\\", "sibling/"},
        {".\\toElsewhere\\..\\up\\", "up/"}, // ".." after a link leaves the link's target
        {".\\toElsewhere\\", "elsewhere/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        settings.BackupNewCodeDirectory = c.text;
        const auto project = Snapshot(Proj(), {"OUT", "toElsewhere"});
        EXPECT_EQ(RunIt().outcome, RunOutcome::Completed);
        EXPECT_THAT(FileNames(root.Path() + c.lands), Contains("modA.bas"));
        EXPECT_EQ(Snapshot(Proj(), {"OUT", "toElsewhere"}), project);
    }
    EXPECT_FALSE(fs::exists(Proj() + "NEW"));
}

TEST_F(Hardening, AProjectOpenedByItsBareNameCopiesFromTheWorkingDirectory) {
    const fs::path previous = fs::current_path();
    fs::current_path(Proj());
    for (BackupMode mode : {BackupMode::ProjectFiles, BackupMode::AllFiles}) {
        UseMode(mode);
        fs::remove_all(Proj() + "STYLED");
        const RunSummary summary = RunIt("P.VBP");
        EXPECT_EQ(summary.outcome, RunOutcome::Completed);
        EXPECT_THAT(FileNames(Proj() + "STYLED"), Contains("frmMain.frx"));
        EXPECT_THAT(FileNames(Proj() + "STYLED"), Contains("P.VBP"));
    }
    fs::current_path(previous);
}

// --- Names that clash ---------------------------------------------------------------------------------

TEST_F(Hardening, FilesWhoseNamesDifferOnlyInCaseGiveTwoCopies) {
    Write("dup.bas", "' lower\r\n");
    Write("DUP.BAS", "' upper\r\n");
    // An earlier copy in another case is replaced rather than doubled.
    WriteFile(Proj() + "STYLED/util.bas", "an earlier copy");
    UseMode(BackupMode::AllFiles);
    ASSERT_EQ(RunIt().outcome, RunOutcome::Completed);
    EXPECT_EQ(ReadFile(Proj() + "STYLED/dup.bas"), "' lower\r\n");
    EXPECT_EQ(ReadFile(Proj() + "STYLED/DUP.BAS"), "' upper\r\n");
    EXPECT_THAT(ReadFile(Proj() + "STYLED/util.bas"), HasSubstr("Sub U()"));
    EXPECT_FALSE(fs::exists(Proj() + "STYLED/UTIL.BAS"));
}

TEST_F(Hardening, AFileNamedInAnotherCaseThanOnDiskGetsOneFormattedCopy) {
    WriteProject("Type=Exe\r\nClass=CStock; CLSSTOCKITEM.CLS\r\n");
    Write("clsStockItem.cls", "Sub A()\r\nx = 1\r\nEnd Sub\r\n");
    UseMode(BackupMode::AllFiles);
    ASSERT_EQ(RunIt().outcome, RunOutcome::Completed);
    std::vector<std::string> copies;
    for (const auto& name : FileNames(Proj() + "STYLED"))
        if (EqualNoCase(name, "clsStockItem.cls"))
            copies.push_back(name);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_THAT(ReadFile(Proj() + "STYLED/" + copies[0]), HasSubstr("    x = 1"));
}

TEST_F(Hardening, AModuleNamedLikeTheProjectFileOrTheLogIsNotSaved) {
    WriteProject("Type=Exe\r\nModule=modA; modA.bas\r\nModule=P; P.VBP\r\nModule=L; VBKEMPT3.LOG\r\n");
    Write("VBKEMPT3.LOG", "Attribute VB_Name = \"L\"\r\nSub L()\r\nEnd Sub\r\n");
    UseMode(BackupMode::ProjectFiles);
    const RunSummary summary = RunIt();
    EXPECT_EQ(summary.skipped, 2);
    // Neither is source text: neither is read for formatting, so neither can replace its namesake.
    EXPECT_THAT(Texts(), Contains(Native(Proj() + "P.VBP") +
                                  " is not a Visual Basic source file.  P.VBP is left unformatted."));
    EXPECT_THAT(Texts(), Contains(Native(Proj() + "VBKEMPT3.LOG") +
                                  " is not a Visual Basic source file.  VBKEMPT3.LOG is left unformatted."));
    EXPECT_EQ(ReadFile(Proj() + "STYLED/P.VBP"), "Type=Exe\r\nModule=modA; modA.bas\r\nModule=P; P.VBP\r\n"
                                                 "Module=L; VBKEMPT3.LOG\r\n");
    EXPECT_THAT(ReadFile(Proj() + "STYLED/VBKEMPT3.LOG"),
                HasSubstr("*** Project processing started at: now"));
    EXPECT_EQ(CompletedText(summary), "Conversion Completed.  2 files were skipped or failed.");
}

// --- Failures that are told -------------------------------------------------------------------------

TEST_F(Hardening, ACopyThatFailsIsNamedAndCounted) {
    UseMode(BackupMode::ProjectFiles);
    // A directory where the companion's copy must go: the rename over it fails, even for the superuser.
    fs::create_directories(Proj() + "STYLED/frmMain.frx/inside");
    const RunSummary summary = RunIt();
    EXPECT_EQ(summary.outcome, RunOutcome::Completed);
    EXPECT_EQ(summary.failed, 1);
    EXPECT_THAT(Texts(), Contains("Unable to copy " + Proj() + "frmMain.frx to " +
                                  Native(Proj() + "STYLED/frmMain.frx") + "."));
    EXPECT_EQ(CompletedText(summary), "Conversion Completed.  1 file was skipped or failed.");
    EXPECT_EQ(CompletedText(RunSummary{}), "Conversion Completed.");
}

TEST_F(Hardening, ManyFailedCopiesAreToldInAFewMessages) {
    UseMode(BackupMode::AllFiles);
    for (int i = 0; i < 7; ++i) {
        Write("data" + std::to_string(i) + ".txt", "data");
        fs::create_directories(Proj() + "STYLED/data" + std::to_string(i) + ".txt/inside");
    }
    const RunSummary summary = RunIt();
    EXPECT_EQ(summary.failed, 7);
    ASSERT_EQ(prompter.Messages().size(), 6u);
    EXPECT_EQ(Texts().back(), "2 more files could not be copied into " + Native(Proj() + "STYLED/") + ".");
}

TEST_F(Hardening, ALogThatCannotBeWrittenCountsAsAFailure) {
    fs::create_directories(Proj() + "STYLED/VBKEMPT3.LOG/inside");
    const RunSummary summary = RunIt();
    EXPECT_EQ(summary.failed, 1);
    EXPECT_THAT(Texts(), Contains("Error while creating log file."));
}

TEST_F(Hardening, BinarySourcesAreSkippedAndTheirCopiesKept) {
    UseMode(BackupMode::ProjectFiles);
    // UTF-16 text: every other byte is NUL.
    const std::string utf16(
        "A\0t\0t\0r\0i\0b\0u\0t\0e\0 \0V\0B\0\r\0\n\0I\0f\0 \0x\0 \0T\0h\0e\0n\0 \0y\0\r\0\n\0", 52);
    Write("UTIL.BAS", utf16);
    const auto before = Snapshot(Proj(), {"STYLED"});
    const RunSummary summary = RunIt();
    EXPECT_EQ(summary.skipped, 1);
    EXPECT_EQ(summary.formatted, 2);
    EXPECT_THAT(Texts(), Contains(Native(Proj() + "UTIL.BAS") +
                                  " holds NUL bytes and looks binary (UTF-16 text?).  UTIL.BAS is "
                                  "left unformatted."));
    EXPECT_EQ(ReadFile(Proj() + "STYLED/UTIL.BAS"), utf16); // the copy is the source as it was
    EXPECT_EQ(Snapshot(Proj(), {"STYLED"}), before);
}

// --- Resource limits --------------------------------------------------------------------------------

TEST_F(Hardening, ASourceAboveTheSizeLimitIsSkippedAndTheRunGoesOn) {
    UseMode(BackupMode::NewFilesOnly); // a copy of the sparse file would take its full size on disk
    settings.CreateLog = false;
    Write("frmMain.frm", "VERSION 5.00\r\n");
    fs::resize_file(Proj() + "frmMain.frm", (std::uintmax_t{256} << 20) + 1);
    const RunSummary summary = RunIt();
    EXPECT_EQ(summary.skipped, 1);
    EXPECT_EQ(summary.formatted, 2);
    EXPECT_THAT(Texts(), ElementsAre(Native(Proj() + "frmMain.frm") +
                                     " is larger than 256 MB.  frmMain.frm is left unformatted."));
}

TEST_F(Hardening, TemporariesOfAKilledRunAreRemovedByTheNextRun) {
    const std::string stale = ".~kemptor." + std::to_string(test::EndedProcess()) + ".Xy12Zq";
    WriteFile(Proj() + "STYLED/" + stale, "half a file");
    EXPECT_EQ(RunIt().outcome, RunOutcome::Completed);
    EXPECT_FALSE(fs::exists(Proj() + "STYLED/" + stale));
    for (const auto& name : FileNames(Proj() + "STYLED"))
        EXPECT_NE(name.rfind(".~kemptor.", 0), 0u) << name;
}

} // namespace
} // namespace kemptor
