#include "run/BackupCopier.h"
#include "RunTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kemptor {
namespace {

using test::FileNames;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(VbpLineWithoutDir, KeepsOnlyTheFileNameOfEveryKindOfFileLine) {
    EXPECT_EQ(VbpLineWithoutDir("Form=..\\forms\\Main.frm"), "Form=Main.frm");
    EXPECT_EQ(VbpLineWithoutDir("Module=Globals; ..\\lib\\Globals.bas"), "Module=Globals; Globals.bas");
    EXPECT_EQ(VbpLineWithoutDir("Class=Account;Account.cls"), "Class=Account; Account.cls");
    EXPECT_EQ(VbpLineWithoutDir("UserControl=ctl\\Gauge.ctl"), "UserControl=Gauge.ctl");
    EXPECT_EQ(VbpLineWithoutDir("FORM= C:\\VB\\X.FRM "), "FORM=X.FRM");
    EXPECT_EQ(VbpLineWithoutDir("Form"), "Form");
    EXPECT_EQ(VbpLineWithoutDir("Module=Globals"), "Module=Globals");
}

TEST(RewriteVbpLines, RewritesFileLinesOnlyAndUserControlsLikeForms) {
    const TextLines lines{
        "Type=Exe",
        "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#..\\SYSTEM\\STDOLE2.TLB#OLE",
        "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; ..\\ocx\\MSCOMCTL.OCX",
        "Form=forms\\frmMain.frm",
        "form=forms\\lower.frm",
        "UserControl=..\\ctl\\Gauge.ctl",
        "Module=modMain; modMain.bas",
        "Class=clsData; ..\\cls\\clsData.cls",
        "Startup=\"frmMain\""};
    EXPECT_THAT(RewriteVbpLines(lines),
                ElementsAre(lines[0], lines[1], lines[2], "Form=frmMain.frm", "form=forms\\lower.frm",
                            "UserControl=Gauge.ctl", "Module=modMain; modMain.bas",
                            "Class=clsData; clsData.cls", lines[8]));
}

TEST(RewriteMakLines, DropsDirectoriesExceptOfLibrariesControlsAndSettings) {
    const TextLines lines{"FORM1.FRM",      "..\\COMMON\\UTIL.BAS",          "SUB\\HELPER.BAS",
                          "lib/posix.bas",  "C:\\WINDOWS\\SYSTEM\\GRID.VBX", "C:\\WIN\\X.DLL",
                          "..\\ocx\\Y.OCX", "ProjWinSize=152,402,248,215",   "ExeName=C:\\APPS\\P.EXE"};
    EXPECT_THAT(RewriteMakLines(lines), ElementsAre("FORM1.FRM", "UTIL.BAS", "HELPER.BAS", "posix.bas",
                                                    lines[4], lines[5], lines[6], lines[7], lines[8]));
}

TEST(RewriteProjectFile, RewritesTheCopyInPlaceWithCrLf) {
    TempDir dir;
    WriteFile(dir.Path() + "P.VBP", "Type=Exe\nForm=forms\\A.frm\nUserControl=c\\B.ctl\n");
    ASSERT_TRUE(RewriteVbpProject(dir.Path() + "P.VBP"));
    EXPECT_EQ(ReadFile(dir.Path() + "P.VBP"), "Type=Exe\r\nForm=A.frm\r\nUserControl=B.ctl\r\n");
    WriteFile(dir.Path() + "P.MAK", "SUB\\U.BAS\r\nGRID.VBX\r\n");
    ASSERT_TRUE(RewriteMakProject(dir.Path() + "P.MAK"));
    EXPECT_EQ(ReadFile(dir.Path() + "P.MAK"), "U.BAS\r\nGRID.VBX\r\n");
    EXPECT_FALSE(RewriteMakProject(dir.Path() + "MISSING.MAK"));
}

// A project directory with files in subfolders and one beside the project, and an output directory.
class CopyProject : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(root.Path() + "proj/frmMain.frm", "VERSION 5.00\r\n");
        WriteFile(root.Path() + "proj/frmMain.frx", std::string("\0\1binary", 8));
        WriteFile(root.Path() + "proj/modMain.bas", "Attribute VB_Name = \"modMain\"\r\n");
        WriteFile(root.Path() + "proj/cls/clsData.cls", "VERSION 1.0 CLASS\r\n");
        WriteFile(root.Path() + "proj/ctl/Gauge.ctl", "VERSION 5.00\r\n");
        WriteFile(root.Path() + "proj/ctl/Gauge.ctx", std::string("\0ctx", 4));
        WriteFile(root.Path() + "common/Util.bas", "Attribute VB_Name = \"Util\"\r\n");
        // Files that a copy written "output dir + path as written" would overwrite.
        WriteFile(root.Path() + "Util.bas", "unrelated");
        std::filesystem::create_directory(root.Path() + "proj/STYLED");
    }

    std::string Proj() const { return root.Path() + "proj/"; }
    std::string Out() const { return root.Path() + "proj/STYLED/"; }

    TempDir root;
};

TEST_F(CopyProject, VbpCopiesLandInTheOutputDirectoryUnderTheirFileNamesWithCompanions) {
    const TextLines lines{"Type=Exe",
                          "Form=FRMMAIN.FRM",
                          "Module=modMain; modMain.bas",
                          "Class=clsData; cls\\clsData.cls",
                          "UserControl=ctl\\Gauge.ctl",
                          "Module=Util; ..\\common\\Util.bas",
                          "Module=Broken"};
    BackupCopier copier;
    ASSERT_TRUE(copier.CopyVbpProjectFiles(lines, Proj(), Out()));
    EXPECT_THAT(FileNames(root.Path() + "proj/STYLED"),
                ElementsAre("FRMMAIN.FRM", "Gauge.ctl", "Gauge.ctx", "Util.bas", "clsData.cls", "frmMain.frx",
                            "modMain.bas"));
    EXPECT_EQ(ReadFile(root.Path() + "proj/STYLED/Gauge.ctx"), std::string("\0ctx", 4));
    EXPECT_EQ(ReadFile(root.Path() + "Util.bas"), "unrelated");
    EXPECT_FALSE(std::filesystem::exists(root.Path() + "proj/STYLED/ctl"));
}

TEST_F(CopyProject, MakCopiesTakeEveryLineAndStayInsideTheOutputDirectory) {
    const TextLines lines{"frmmain.frm",
                          "CLS\\CLSDATA.CLS",
                          "..\\COMMON\\UTIL.BAS",
                          "C:\\WINDOWS\\GRID.VBX",
                          "ProjWinSize=152,402,248,215",
                          "",
                          ".."};
    BackupCopier copier;
    ASSERT_TRUE(copier.CopyProjectFiles(lines, Proj(), Out()));
    EXPECT_THAT(FileNames(root.Path() + "proj/STYLED"),
                ElementsAre("CLSDATA.CLS", "UTIL.BAS", "frmMain.frx", "frmmain.frm"));
    EXPECT_EQ(ReadFile(root.Path() + "Util.bas"), "unrelated");
}

// Binary companions go with the kinds of file that have them, each its own; a module or class takes
// none, whatever lies beside it.
TEST_F(CopyProject, CompanionsGoWithFormsControlsAndPropertyPagesOnly) {
    WriteFile(Proj() + "modMain.frx", "not a companion");
    WriteFile(Proj() + "cls/clsData.ctx", "not a companion");
    WriteFile(Proj() + "ppgColor.pag", "VERSION 5.00\r\n");
    WriteFile(Proj() + "ppgColor.pgx", std::string("\0pgx", 4));
    const TextLines lines{"frmMain.frm", "modMain.bas", "cls\\clsData.cls", "ppgColor.pag", "ctl\\Gauge.ctl"};
    BackupCopier copier;
    ASSERT_TRUE(copier.CopyProjectFiles(lines, Proj(), Out()));
    EXPECT_THAT(FileNames(root.Path() + "proj/STYLED"),
                ElementsAre("Gauge.ctl", "Gauge.ctx", "clsData.cls", "frmMain.frm", "frmMain.frx",
                            "modMain.bas", "ppgColor.pag", "ppgColor.pgx"));
    EXPECT_THAT(CompanionExtensions(".BAS"), IsEmpty());
    EXPECT_THAT(CompanionExtensions(".CTL"), ElementsAre(".FRX", ".CTX"));
}

// Property pages, designers and user documents name their file after "=" as forms do; the copy of the
// project takes them and their companions, so the output directory holds every file its project names.
TEST_F(CopyProject, VbpCopiesTakePropertyPagesDesignersAndUserDocuments) {
    WriteFile(Proj() + "pages/ppgColor.pag", "VERSION 5.00\r\n");
    WriteFile(Proj() + "pages/ppgColor.pgx", std::string("\0pgx", 4));
    WriteFile(Proj() + "deData.Dsr", "VERSION 5.00\r\n");
    WriteFile(Proj() + "deData.dsx", std::string("\0dsx", 4));
    WriteFile(Proj() + "docMain.dob", "VERSION 5.00\r\n");
    const TextLines lines{"PropertyPage=pages\\ppgColor.pag", "designer= deData.Dsr ", "UserDocument=docMain.dob",
                          "DesignerFake=docMain.dob; modMain.bas"};
    BackupCopier copier;
    ASSERT_TRUE(copier.CopyVbpProjectFiles(lines, Proj(), Out()));
    EXPECT_THAT(FileNames(root.Path() + "proj/STYLED"),
                ElementsAre("deData.Dsr", "deData.dsx", "docMain.dob", "modMain.bas", "ppgColor.pag",
                            "ppgColor.pgx"));
    EXPECT_THAT(RewriteVbpLines(lines), ElementsAre("PropertyPage=ppgColor.pag", "designer= deData.Dsr ",
                                                    "UserDocument=docMain.dob", "DesignerFake=docMain.dob; modMain.bas"));
}

// The resource file and related documents are part of the project too: without its resource file the
// copy would not build.
TEST_F(CopyProject, VbpCopiesTakeTheResourceFileAndRelatedDocuments) {
    WriteFile(Proj() + "res/App.RES", std::string("\0res", 4));
    WriteFile(Proj() + "Notes.txt", "notes");
    const TextLines lines{"ResFile32=\"res\\App.RES\"", "RelatedDoc=Notes.txt", "ResFile32=\"\""};
    BackupCopier copier;
    ASSERT_TRUE(copier.CopyVbpProjectFiles(lines, Proj(), Out()));
    EXPECT_THAT(FileNames(root.Path() + "proj/STYLED"), ElementsAre("App.RES", "Notes.txt"));
    EXPECT_THAT(RewriteVbpLines(lines),
                ElementsAre("ResFile32=\"App.RES\"", "RelatedDoc=Notes.txt", "ResFile32=\"\""));
}

TEST_F(CopyProject, MissingDirectoryCopiesNothing) {
    BackupCopier copier;
    EXPECT_FALSE(copier.CopyVbpProjectFiles({"Form=frmMain.frm"}, Proj(), root.Path() + "nowhere/"));
    EXPECT_FALSE(copier.CopyProjectFiles({"frmMain.frm"}, root.Path() + "nowhere/", Out()));
    EXPECT_FALSE(copier.CopyDirectoryFiles({"frmMain.frm"}, Proj(), root.Path() + "nowhere/"));
    EXPECT_TRUE(FileNames(root.Path() + "proj/STYLED").empty());
}

TEST_F(CopyProject, ShowsTheCopyWindowWithOneLabelPerFile) {
    test::RecordingObserver observer;
    BackupCopier copier(&observer);
    copier.CopyVbpProjectFiles({"Type=Exe", "Form=frmMain.frm", "Module=modMain; modMain.bas"}, Proj(),
                               Out());
    EXPECT_THAT(observer.events, ElementsAre("show copy", "hide copy"));
    EXPECT_THAT(observer.captions,
                ElementsAre("Backing Up File: frmMain.frm", "Backing Up File: modMain.bas"));
    copier.CopyDirectoryFiles(FileNames(root.Path() + "proj"), Proj(), Out());
    EXPECT_EQ(observer.captions.back(), "Backing Up File: modMain.bas");
}

TEST_F(CopyProject, CopyFileRefusesTheSameFileAndProtectedTargets) {
    BackupCopier plain;
    EXPECT_FALSE(plain.CopyFilePlain(Proj() + "modMain.bas", Proj() + "modMain.bas"));
    EXPECT_FALSE(plain.CopyFilePlain(Proj() + "modMain.bas", Proj() + "cls/../MODMAIN.BAS"));
    EXPECT_FALSE(plain.CopyFilePlain(Proj() + "missing.bas", Out() + "missing.bas"));
    EXPECT_FALSE(plain.CopyFilePlain(Proj() + "cls", Out() + "cls"));

    FileSet guard;
    guard.Add(Proj() + "cls\\clsData.cls");
    BackupCopier guarded(nullptr, &guard);
    EXPECT_FALSE(guarded.CopyFilePlain(Proj() + "modMain.bas", Proj() + "CLS/clsData.cls"));
    EXPECT_EQ(ReadFile(root.Path() + "proj/cls/clsData.cls"), "VERSION 1.0 CLASS\r\n");
    EXPECT_FALSE(guarded.DeleteDirectoryFiles({"clsData.cls"}, Proj() + "cls/"));
    EXPECT_TRUE(std::filesystem::exists(root.Path() + "proj/cls/clsData.cls"));
}

TEST_F(CopyProject, ReadOnlySourceGivesWritableCopyAndKeepStampKeepsTheTime) {
    namespace fs = std::filesystem;
    const fs::path source = fs::path(root.Path()) / "proj/modMain.bas";
    const auto stamp = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    fs::last_write_time(source, stamp);
    fs::permissions(source, fs::perms::owner_read | fs::perms::group_read);
    BackupCopier copier;
    ASSERT_TRUE(copier.CopyFilePlain(source.string(), Out() + "plain.bas"));
    ASSERT_TRUE(copier.CopyFileKeepStamp(source.string(), Out() + "stamp.bas"));
    for (const char* name : {"plain.bas", "stamp.bas"}) {
        const auto perms = fs::status(fs::path(root.Path()) / "proj/STYLED" / name).permissions();
        EXPECT_NE(perms & fs::perms::owner_write, fs::perms::none) << name;
    }
    // The source's time as its file system keeps it (to the nanosecond here, to 100 ns on Windows).
    const auto kept = fs::last_write_time(source);
    EXPECT_EQ(fs::last_write_time(fs::path(root.Path()) / "proj/STYLED/stamp.bas"), kept);
    EXPECT_NE(fs::last_write_time(fs::path(root.Path()) / "proj/STYLED/plain.bas"), kept);
}

TEST_F(CopyProject, DeleteDirectoryFilesDeletesTheListedFilesOnly) {
    WriteFile(root.Path() + "proj/STYLED/a.bas", "a");
    WriteFile(root.Path() + "proj/STYLED/b.bas", "b");
    BackupCopier copier;
    EXPECT_TRUE(copier.DeleteDirectoryFiles({"a.bas"}, Out()));
    EXPECT_THAT(FileNames(root.Path() + "proj/STYLED"), ElementsAre("b.bas"));
    EXPECT_FALSE(copier.DeleteDirectoryFiles({"gone.bas", "b.bas"}, Out()));
    EXPECT_TRUE(FileNames(root.Path() + "proj/STYLED").empty());
    EXPECT_FALSE(copier.DeleteDirectoryFiles({".."}, Out()));
}

} // namespace
} // namespace kemptor
