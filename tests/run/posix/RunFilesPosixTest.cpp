// What a run's files are on a POSIX system: the permission bits its copies and formatted files get, and
// a copy that is replaced by a link while the run formats.
#include "run/RunTestSupport.h"
#include "platform/Prompter.h"
#include "project/ProjectReader.h"
#include "run/ProcessingRun.h"
#include "settings/SettingsCatalogue.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace kemptor {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;
using ::testing::HasSubstr;

unsigned ModeOf(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? static_cast<unsigned>(st.st_mode & 07777) : 0u;
}

// Runs `act` when the run shows its processing window: after the backup step, before any file is saved.
class ActingObserver : public test::RecordingObserver {
public:
    std::function<void()> act;
    void ShowWindow(RunWindow window) override {
        RecordingObserver::ShowWindow(window);
        if (window == RunWindow::Processing && act)
            act();
    }
};

class RunFiles : public ::testing::Test {
protected:
    void SetUp() override {
        Write("P.VBP", "Type=Exe\r\nModule=modA; modA.bas\r\nModule=modB; modB.bas\r\nForm=frmC.frm\r\n");
        Write("modA.bas", "Attribute VB_Name = \"modA\"\r\nSub A()\r\nx = 1\r\nEnd Sub\r\n");
        Write("modB.bas", "Attribute VB_Name = \"modB\"\r\nSub B()\r\ny = 2\r\nEnd Sub\r\n");
        Write("frmC.frm", "VERSION 5.00\r\nBegin VB.Form frmC\r\nEnd\r\nAttribute VB_Name = \"frmC\"\r\n");
        Write("frmC.frx", std::string("\0\1frx", 5));
        settings.PreviewBeforeSaving = false;
    }
    void Write(const std::string& name, const std::string& bytes) { WriteFile(Proj() + name, bytes); }
    std::string Proj() const { return root.Path() + "proj/"; }
    std::string Out() const { return Proj() + "STYLED/"; }
    RunSummary RunIt() {
        ProjectReaderObserver readerObserver;
        if (!OpenProject(Proj() + "P.VBP", model, readerObserver, prompter))
            return {};
        prompter.Clear();
        return RunProject(model.get(), settings, DefaultHeaderTemplates(), prompter, observer,
                          [] { return "now"; });
    }

    TempDir root;
    Settings settings;
    ScriptedPrompter prompter;
    ActingObserver observer;
    std::unique_ptr<TSourceMgt> model;
};

// A private source gives a private formatted file, a read-only one a file its owner may write; a copy is
// writable by its owner whatever its source or the earlier file it replaces.
TEST_F(RunFiles, FormattedFilesTakeTheSourcesBitsAndEveryOutputStaysWritable) {
    ::chmod((Proj() + "modA.bas").c_str(), 0600);
    ::chmod((Proj() + "modB.bas").c_str(), 0444);
    ::chmod((Proj() + "frmC.frx").c_str(), 0444);
    WriteFile(Out() + "frmC.frx", "an earlier copy");
    ::chmod((Out() + "frmC.frx").c_str(), 0440);
    const RunSummary summary = RunIt();
    ASSERT_EQ(summary.outcome, RunOutcome::Completed);
    EXPECT_EQ(summary.formatted, 3);
    EXPECT_THAT(ReadFile(Out() + "modA.bas"), HasSubstr("    x = 1"));
    EXPECT_EQ(ModeOf(Out() + "modA.bas"), 0600u);
    EXPECT_EQ(ModeOf(Out() + "modB.bas"), 0644u);
    EXPECT_EQ(ReadFile(Out() + "frmC.frx"), std::string("\0\1frx", 5));
    EXPECT_EQ(ModeOf(Out() + "frmC.frx"), 0640u);
    EXPECT_EQ(ModeOf(Proj() + "modB.bas"), 0444u);
}

// A copy is no more open than its source: a private companion or a private file that is not formatted
// (copied whole in the backup of every file) stays private in the output directory.
TEST_F(RunFiles, CopiesOfPrivateFilesStayPrivate) {
    ::chmod((Proj() + "frmC.frx").c_str(), 0600);
    Write("notes.txt", "private notes");
    ::chmod((Proj() + "notes.txt").c_str(), 0640);
    settings.BackupAllFiles = true;
    ASSERT_EQ(RunIt().outcome, RunOutcome::Completed);
    EXPECT_EQ(ReadFile(Out() + "notes.txt"), "private notes");
    EXPECT_EQ(ModeOf(Out() + "frmC.frx"), 0600u);
    EXPECT_EQ(ModeOf(Out() + "notes.txt") & 0007u, 0u);
    EXPECT_EQ(ModeOf(Out() + "notes.txt") & 0600u, 0600u);
}

// The guard looks at each file as it saves it: a copy that became a link to a source of the project
// after the backup step is not saved over, and the source stays as it was.
TEST_F(RunFiles, ACopyReplacedByALinkIntoTheProjectIsNotSavedOver) {
    const std::string source = ReadFile(Proj() + "modA.bas");
    observer.act = [this] {
        fs::remove(Out() + "modA.bas");
        fs::create_symlink(Proj() + "modA.bas", Out() + "modA.bas");
    };
    const RunSummary summary = RunIt();
    EXPECT_EQ(summary.formatted, 2);
    EXPECT_EQ(summary.skipped, 1);
    EXPECT_THAT(prompter.Texts(), ::testing::Contains(HasSubstr("modA.bas is a file of the project")));
    EXPECT_EQ(ReadFile(Proj() + "modA.bas"), source);
    EXPECT_TRUE(fs::is_symlink(Out() + "modA.bas"));
    EXPECT_THAT(ReadFile(Out() + "modB.bas"), HasSubstr("    y = 2"));
}

} // namespace
} // namespace kemptor
