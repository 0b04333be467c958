// The `process` command of kemptor-cli, run as a program on copies of the sample projects.
#include "RunTestSupport.h"
#include "support/CliRunner.h"
#include "support/System.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

namespace kemptor {
namespace {

namespace fs = std::filesystem;
using test::CliResult;
using test::FileNames;
using test::ReadFile;
using test::RunCli;
using test::Snapshot;
using test::TempDir;
using test::WriteFile;
using ::testing::AnyOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

class ProcessCommand : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy(KEMPTOR_EXAMPLES, fs::path(root.Path()) / "ex", fs::copy_options::recursive);
    }
    TempDir root;
};

TEST_F(ProcessCommand, FormatsTheSampleProjectIntoItsStyledFolder) {
    const auto before = Snapshot(fs::path(root.Path()) / "ex");
    const CliResult r = RunCli(root, "process ex/vbp/Inventory.vbp");
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string styled = test::Native(root.Path() + "ex/vbp/STYLED/");
    EXPECT_EQ(r.out,
              "Files formatted: 6\nFiles changed: 6\nFiles skipped: 0\nOutput directory: " + styled + "\n");
    EXPECT_EQ(r.err, "confirmation: Process all selected files?\ninformation: Conversion Completed.\n");
    EXPECT_THAT(FileNames(fs::path(root.Path()) / "ex/vbp/STYLED"),
                ElementsAre("CLSSTOCKITEM.CLS", "FRMMAIN.FRM", "Inventory.vbp", "ctlQtyBox.ctl",
                            "ctlQtyBox.ctx", "frmItem.frm", "frmMain.frx", "modFileIO.bas",
                            "modGlobals.bas"));
    EXPECT_EQ(Snapshot(fs::path(root.Path()) / "ex", {"vbp/STYLED"}), before);
}

TEST_F(ProcessCommand, OnlyFormatsTheNamedFilesIntoTheOutputGivenRelativeToTheWorkingDirectory) {
    const CliResult r =
        RunCli(root, "process --only MODGLOBALS.BAS --output out --set BackupInformation.CreateLog=1 "
                     "ex/mak/../vbp/Inventory.vbp");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("Files formatted: 1\n"));
    EXPECT_THAT(r.out, HasSubstr("Output directory: " + test::Native(root.Path() + "out/") + "\n"));
    EXPECT_NE(ReadFile(root.Path() + "out/modGlobals.bas"), ReadFile(root.Path() + "ex/vbp/modGlobals.bas"));
    EXPECT_EQ(ReadFile(root.Path() + "out/frmItem.frm"), ReadFile(root.Path() + "ex/vbp/frmItem.frm"));
    EXPECT_THAT(ReadFile(root.Path() + "out/VBKEMPT3.LOG"),
                HasSubstr("+++ Processing file: modGlobals.bas\r\n"));
    EXPECT_THAT(ReadFile(root.Path() + "out/VBKEMPT3.LOG"), Not(HasSubstr("frmItem.frm")));
}

// The template file that the settings name gives the headers; one that cannot be read stops the command
// before anything is written (the default template is not what the settings ask for).
TEST_F(ProcessCommand, InsertsHeadersFromTheTemplateFileTheSettingsName) {
    WriteFile(root.Path() + "fn.txt", "'~~ %n returns %r ~~\r\n");
    CliResult r = RunCli(root, "process --only modFileIO.bas --output out "
                               "--set FunctionComments.FunctionLevelCommentsPerform=1 "
                               "--set FunctionComments.FunctionLevelCommentsFile=" +
                                   root.Path() +
                                   "fn.txt "
                                   "ex/vbp/Inventory.vbp");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(ReadFile(root.Path() + "out/modFileIO.bas"),
                HasSubstr("'~~ LoadInventory returns As Long ~~\r\n"));

    r = RunCli(root, "process --only modFileIO.bas --output out2 "
                     "--set FunctionComments.FunctionLevelCommentsPerform=1 "
                     "--set FunctionComments.FunctionLevelCommentsFile=" +
                         root.Path() +
                         "missing.txt "
                         "ex/vbp/Inventory.vbp");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "error: the header template " + root.Path() + "missing.txt does not exist.\n");
    EXPECT_FALSE(fs::exists(root.Path() + "out2"));
}

TEST_F(ProcessCommand, BadOutputDirectoryOrNameExitsWithStatusTwo) {
    WriteFile(root.Path() + "afile", "x");
    const auto before = Snapshot(fs::path(root.Path()) / "ex");
    CliResult r = RunCli(root, "process --output afile ex/vbp/Inventory.vbp");
    EXPECT_EQ(r.status, 2);
    EXPECT_THAT(r.err, HasSubstr("error: Unable to create backup...  Operation aborted...\n"));
    EXPECT_EQ(r.out, "");
    r = RunCli(root, "process --output ex/vbp ex/vbp/Inventory.vbp");
    EXPECT_EQ(r.status, 2);
    EXPECT_THAT(r.err, HasSubstr("is the project's own directory"));
    r = RunCli(root, "process --only nosuch.bas ex/vbp/Inventory.vbp");
    EXPECT_EQ(r.status, 2);
    EXPECT_THAT(r.err, HasSubstr("error: the project names no file nosuch.bas"));
    r = RunCli(root, "process ex/vbp/Missing.vbp");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(Snapshot(fs::path(root.Path()) / "ex"), before);
}

// A project large enough for a run to be interrupted part-way.
void WriteLargeProject(const fs::path& dir) {
    std::string vbp = "Type=Exe\r\n";
    for (int f = 0; f < 40; ++f) {
        const std::string name = "mod" + std::to_string(f);
        std::string text = "Attribute VB_Name = \"" + name + "\"\r\n";
        for (int p = 0; p < 400; ++p)
            text += "Sub P" + std::to_string(p) + "()\r\nIf x Then\r\ny = 1\r\nEnd If\r\nEnd Sub\r\n";
        WriteFile(dir / (name + ".bas"), text);
        vbp += "Module=" + name + "; " + name + ".bas\r\n";
    }
    WriteFile(dir / "Large.vbp", vbp);
}

// Ctrl+C cancels the run and the delete question is answered No; a run killed at any moment leaves
// every output file either the source's copy or the finished formatted file, never a part of one.
TEST_F(ProcessCommand, InterruptedRunsLeaveOnlyCompleteFiles) {
    WriteLargeProject(fs::path(root.Path()) / "large");
    const CliResult reference = RunCli(root, "process --output ref large/Large.vbp");
    ASSERT_EQ(reference.status, 0) << reference.err;
    const auto before = Snapshot(fs::path(root.Path()) / "large");
    // What each output file may hold: the source's copy or its finished formatting.
    std::map<std::string, std::pair<std::string, std::string>> complete;
    for (const auto& name : FileNames(fs::path(root.Path()) / "ref"))
        complete[name] = {ReadFile(fs::path(root.Path()) / "large" / name),
                          ReadFile(fs::path(root.Path()) / "ref" / name)};

    // Some interruptions come before the run starts, some in its middle; the later ones give the slower
    // start of a program under Wine its chance.
    const test::Interruption interrupts[] = {{false, 0.05}, {false, 0.2}, {true, 0.02},
                                             {true, 0.1},   {true, 0.3},  {true, 0.6}};
    for (const auto& how : interrupts) {
        SCOPED_TRACE(how.Describe());
        fs::remove_all(fs::path(root.Path()) / "out");
        const CliResult r = test::RunCliInterrupted(root, "process --output out large/Large.vbp", how);
        if (!how.kill && !test::kInterruptsAreKills) {
            EXPECT_THAT(r.status, AnyOf(0, 130)) << r.err;
            // A Ctrl+C during the run cancels it and asks about its files; one that comes before the run
            // has started or after it has ended ends the program as usual.
            const bool asked = r.err.find("confirmation: Delete all files in " + root.Path() + "out/?\n") !=
                               std::string::npos;
            const bool started = r.err.find("Process all selected files?") != std::string::npos;
            const bool ended = r.err.find("information: Conversion Completed.") != std::string::npos;
            if (asked) {
                EXPECT_EQ(r.status, 130) << r.err;
            } else if (r.status == 130 && started) {
                EXPECT_TRUE(ended) << r.err;
            }
        }
        for (const auto& name : FileNames(fs::path(root.Path()) / "out")) {
            // A name that is none of the run's files is a temporary the kill left behind (this
            // program's own, or one the system makes while it replaces a file).
            if (!complete.count(name))
                continue;
            const std::string text = ReadFile(fs::path(root.Path()) / "out" / name);
            EXPECT_THAT(text, AnyOf(complete[name].first, complete[name].second)) << name;
        }
        EXPECT_EQ(Snapshot(fs::path(root.Path()) / "large"), before);
    }
}

TEST_F(ProcessCommand, AFormattingThatBreaksTheCodeIsRefusedWithStatusTwo) {
    const CliResult r =
        RunCli(root, "process --only modGlobals.bas --output out --break-code-for-test ex/vbp/Inventory.vbp");
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_THAT(r.err,
                HasSubstr("warning: The formatted text of modGlobals.bas does not keep the code of the "
                          "original: it differs at line "));
    EXPECT_THAT(r.out, HasSubstr("Files formatted: 0\nFiles changed: 0\nFiles skipped: 1\n"));
    EXPECT_EQ(ReadFile(fs::path(root.Path()) / "out/modGlobals.bas"),
              ReadFile(fs::path(root.Path()) / "ex/vbp/modGlobals.bas"));
}

} // namespace
} // namespace kemptor
