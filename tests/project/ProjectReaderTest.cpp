#include "project/ProjectReader.h"

#include <gtest/gtest.h>

#include "platform/Prompter.h"
#include "support/TempDir.h"

namespace kemptor {
namespace {

using test::TempDir;

// Records what the reader asks of the main window, one short line per call (gauge positions counted).
class RecordingObserver : public ProjectReaderObserver {
public:
    bool shown = false;
    std::string log;
    int positions = 0;
    bool busy = false;
    bool busyDuringPrompt = false;

    bool ProjectShown() const override { return shown; }
    void CloseProject() override {
        log += "close;";
        shown = false;
    }
    void SetGaugeRange(int maximum) override { log += "range " + std::to_string(maximum) + ";"; }
    void SetGaugePosition(int) override { ++positions; }
    void SetGaugeVisible(bool visible) override { log += visible ? "gauge on;" : "gauge off;"; }
    void ProjectOpening(const std::string& name, const std::string&) override {
        log += "opening " + name + ";";
    }
    void SetBusyCursor(bool b) override { busy = b; }
    void AddRecentFile(const std::string&) override { log += "recent;"; }
    void ReloadOptions() override { log += "reload;"; }
    void SetTabWidth(int w) override { log += "tab " + std::to_string(w) + ";"; }
    void EnableProjectCommands() override { log += "enable;"; }
    void BuildTree(TSourceMgt& p) override {
        log += "tree " + std::to_string(p.FileCount()) + ";";
        shown = true;
    }
};

class BusyCheckingPrompter : public ScriptedPrompter {
public:
    explicit BusyCheckingPrompter(RecordingObserver& o) : observer(o) {}
    PromptAnswer Show(PromptKind kind, const std::string& text, PromptButtons buttons) override {
        if (observer.busy)
            observer.busyDuringPrompt = true;
        return ScriptedPrompter::Show(kind, text, buttons);
    }
    RecordingObserver& observer;
};

class ProjectReaderTest : public ::testing::Test {
protected:
    bool Open(const std::string& relative) {
        return OpenProject(dir.Path() + relative, project, observer, prompter);
    }
    std::string Dump() const {
        std::string text;
        for (const auto& e : project->Files())
            text += std::string(SourceKindName(e.Kind)) + " " + e.FileName + " " +
                    std::to_string(e.LineCount) + "\n";
        return text;
    }

    TempDir dir;
    RecordingObserver observer;
    BusyCheckingPrompter prompter{observer};
    std::unique_ptr<TSourceMgt> project;
};

const std::string kNotAscii =
    " is not an ASCII file.  It will not be added to the project.  Select Cancel to quit "
    "loading the project or OK to continue.";

TEST_F(ProjectReaderTest, MakSkipsLibrariesAndSettingsLinesAndReportsEachStep) {
    dir.Write("p/FORM1.FRM", "VERSION 2.00\r\nBegin Form Form1\r\nEnd\r\n");
    dir.Write("p/GLOBAL.BAS", "Global X\r\n");
    dir.Write("p/Stock.mak", "FORM1.FRM\r\nGLOBAL.BAS\r\nC:\\WINDOWS\\SYSTEM\\GRID.VBX\r\nVBRUN.DLL\r\n"
                             "ProjWinSize=152,402,248,215\r\n");
    ASSERT_TRUE(Open("p/Stock.mak"));
    EXPECT_TRUE(prompter.Messages().empty());
    EXPECT_EQ(Dump(), "form FORM1.FRM 3\nmodule GLOBAL.BAS 1\n");
    EXPECT_EQ(project->ProjectStyle, TProjectStyle::MAK);
    EXPECT_EQ(project->ProjectName, "Stock.mak");
    EXPECT_EQ(project->ProjectDir, dir.Path() + "p/");
    EXPECT_EQ(project->ProjectLines.size(), 5u);
    EXPECT_EQ(observer.log,
              "range 5;gauge on;opening Stock.mak;recent;reload;tab 4;enable;tree 2;gauge off;");
    EXPECT_EQ(observer.positions, 5);
    EXPECT_FALSE(observer.busy);

    const TSourceEntry& form = *project->First;
    EXPECT_EQ(form.FullPath, dir.Path() + "p/FORM1.FRM");
    EXPECT_EQ(form.DisplayName, "FORM1.FRM");
    EXPECT_EQ(form.Extension, ".FRM");
    EXPECT_EQ(form.FileSize, 37);
    EXPECT_TRUE(form.Selected);
    EXPECT_FALSE(form.Processed);
    EXPECT_FALSE(form.Loaded);
}

TEST_F(ProjectReaderTest, MakEmptyLinesAndOcxLinesAreFileLinesThatFailTheTextTest) {
    dir.Write("p/A.BAS", "Sub A\r\n");
    dir.Write("p/x.mak", "A.BAS\r\n\r\nGRID.OCX\r\n");
    ASSERT_TRUE(Open("p/x.mak"));
    ASSERT_EQ(prompter.Messages().size(), 2u);
    EXPECT_EQ(prompter.Messages()[0].text, kNotAscii);
    EXPECT_EQ(prompter.Messages()[1].text, "GRID.OCX" + kNotAscii);
    EXPECT_EQ(prompter.Messages()[1].kind, PromptKind::Warning);
    EXPECT_EQ(prompter.Messages()[1].buttons, PromptButtons::OkCancel);
    EXPECT_FALSE(observer.busyDuringPrompt) << "the hourglass comes down while a box is up";
    EXPECT_EQ(Dump(), "module A.BAS 1\n");
}

TEST_F(ProjectReaderTest, WindowsNamesAreFoundInAnyCaseWithBackslashes) {
    dir.Write("proj/Forms/frmMain.frm", "VERSION 5.00\r\n");
    dir.Write("Common/Util.bas", "Attribute VB_Name = \"Util\"\r\n");
    dir.Write("proj/Other/Util.bas", "'x\r\n'y\r\n");
    dir.Write("proj/P.VBP", "Type=Exe\r\nForm=FORMS\\FRMMAIN.FRM\r\nModule=Util; ..\\COMMON\\UTIL.BAS\r\n"
                            "Module=Util2; other\\util.BAS\r\n");
    ASSERT_TRUE(Open("proj/P.VBP")) << (prompter.Messages().empty() ? "" : prompter.Messages()[0].text);
    EXPECT_EQ(Dump(), "form FRMMAIN.FRM 1\nmodule UTIL.BAS 1\nmodule util.BAS 2\n");
    EXPECT_EQ(project->ProjectStyle, TProjectStyle::VBP);
    auto it = project->Files().begin();
    EXPECT_EQ(it->FullPath, dir.Path() + "proj/FORMS\\FRMMAIN.FRM") << "the path text is kept as written";
    ++it;
    EXPECT_EQ(it->FileName, "UTIL.BAS");
    EXPECT_EQ(it->FileSize, 28);
    ++it;
    EXPECT_EQ(it->FileSize, 8) << "same name in another directory is another entry";
}

TEST_F(ProjectReaderTest, VbpPrefixesAreCaseSensitiveAndMissingMarksGiveEmptyPaths) {
    dir.Write("p/Main.frm", "VERSION 5.00\r\n");
    dir.Write("p/Account.cls", "VERSION 1.0 CLASS\r\n");
    dir.Write("p/Box.ctl", "VERSION 5.00\r\n");
    dir.Write("p/x.vbp", "form=Main.frm\r\nForm=Main.frm\r\nModule=Globals\r\nClass=Account; Account.cls\r\n"
                         "UserControl= Box.ctl \r\nReference=*\\G{0}#2.0#0#x.tlb#OLE\r\n");
    ASSERT_TRUE(Open("p/x.vbp"));
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages()[0].text, kNotAscii) << "the warning names the empty path";
    EXPECT_EQ(Dump(), "form Main.frm 1\nclass Account.cls 1\nusercontrol Box.ctl 1\n");
}

TEST(ExtractProjectPath, TakesTheTextAfterTheRightMark) {
    EXPECT_EQ(ExtractProjectPath("Form=Main.frm"), "Main.frm");
    EXPECT_EQ(ExtractProjectPath("form= Main.frm "), "Main.frm") << "FORM is matched in any case here";
    EXPECT_EQ(ExtractProjectPath("USERCONTROL=Box.ctl"), "Box.ctl");
    EXPECT_EQ(ExtractProjectPath("Module=Globals; ..\\lib\\Globals.bas"), "..\\lib\\Globals.bas");
    EXPECT_EQ(ExtractProjectPath("Class=Account; Account.cls"), "Account.cls");
    EXPECT_EQ(ExtractProjectPath("PropertyPage=pages\\Color.pag"), "pages\\Color.pag");
    EXPECT_EQ(ExtractProjectPath("designer = Data.Dsr"), "Data.Dsr");
    EXPECT_EQ(ExtractProjectPath("UserDocument=Doc.dob"), "Doc.dob");
    EXPECT_EQ(ExtractProjectPath("DesignerX=Name; X.bas"), "X.bas") << "only the key itself names after =";
    EXPECT_EQ(ExtractProjectPath("ResFile32=\"res\\App.RES\""), "res\\App.RES");
    EXPECT_EQ(ExtractProjectPath("RelatedDoc=..\\doc\\Design.txt"), "..\\doc\\Design.txt");
    EXPECT_EQ(ExtractProjectPath("ResFile32=\"\""), "");
    EXPECT_EQ(ExtractProjectPath("Module=Globals"), "");
    EXPECT_EQ(ExtractProjectPath("Form"), "");
    EXPECT_EQ(ExtractProjectPath(""), "");
}

TEST(ProjectFilePath, AbsolutePathsStandAlone) {
    EXPECT_EQ(ProjectFilePath("/p/", "C:\\VB\\FORM1.FRM"), "C:\\VB\\FORM1.FRM");
    EXPECT_EQ(ProjectFilePath("/p/", "..\\COMMON\\UTIL.BAS"), "/p/..\\COMMON\\UTIL.BAS");
    EXPECT_EQ(ProjectFilePath("/p/", "/abs/x.bas"), "/abs/x.bas");
    EXPECT_EQ(ProjectFilePath("/p/", "C:FORM1.FRM"), "/p/C:FORM1.FRM")
        << "only \":\\\" makes a path absolute";
}

TEST_F(ProjectReaderTest, OnlyReferenceLinesMakeAnEmptyProject) {
    dir.Write("p/x.vbp", "Type=Exe\r\nReference=*\\G{00020430}#2.0#0#stdole2.tlb#OLE Automation\r\n"
                         "Object={F9043C88}#1.2#0; COMDLG32.OCX\r\nName=\"X\"\r\n");
    EXPECT_FALSE(Open("p/x.vbp"));
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages()[0].text, "Project file is empty.");
    EXPECT_EQ(prompter.Messages()[0].kind, PromptKind::Warning);
    EXPECT_EQ(prompter.Messages()[0].buttons, PromptButtons::Ok);
    EXPECT_EQ(project, nullptr);
    EXPECT_EQ(observer.log, "range 4;gauge on;opening x.vbp;gauge off;close;");
}

TEST_F(ProjectReaderTest, CancelOnAFailingFileAbandonsTheLoadAndOkLeavesItOut) {
    dir.Write("p/A.BAS", "a\r\n");
    dir.Write("p/B.FRM", "\xC0"
                         "binary form");
    dir.Write("p/C.BAS", "c\r\n");
    dir.Write("p/x.mak", "A.BAS\r\nMISSING.BAS\r\nB.FRM\r\nC.BAS\r\n");
    prompter.Answer(PromptAnswer::Ok);
    prompter.Answer(PromptAnswer::Cancel);
    EXPECT_FALSE(Open("p/x.mak"));
    EXPECT_EQ(prompter.Messages().size(), 2u);
    EXPECT_EQ(prompter.Messages()[1].text, "B.FRM" + kNotAscii);
    EXPECT_EQ(project, nullptr);
    EXPECT_EQ(observer.log, "range 4;gauge on;opening x.mak;gauge off;close;");
    EXPECT_EQ(observer.positions, 2) << "reading stops at the cancelled line";
    EXPECT_FALSE(observer.busy);

    prompter.Clear();
    observer.log.clear();
    ASSERT_TRUE(Open("p/x.mak")); // the script is used up: OK to both
    EXPECT_EQ(prompter.Messages().size(), 2u);
    EXPECT_EQ(Dump(), "module A.BAS 1\nmodule C.BAS 1\n");
}

TEST_F(ProjectReaderTest, TheTextTestLooksAtTheFirstRawByteOnly) {
    const std::pair<const char*, bool> cases[] = {
        {"7 lines", true}, {"'comment", true},
        {"\r\n", true},    {"\nx", true},
        {" x", true},      {"!x", true},
        {"#If", true},     {"*x", true},
        {".x", true},      {"/x", true},
        {"\\x", true},     {"Zx", true},
        {"zx", true},      {"\xEF\xBB\xBF", false},
        {"\x80", false},   {"\tx", false},
        {"\"x", false},    {"(x", false},
        {"", false},
    };
    for (auto [text, passes] : cases) {
        std::string path = dir.Write("t.txt", text);
        EXPECT_EQ(IsTextFile(path), passes) << "first byte of \"" << text << "\"";
    }
    EXPECT_FALSE(IsTextFile(dir.Write("nul.txt", std::string("\0abc", 4))));
    EXPECT_FALSE(IsTextFile(dir.Path() + "missing.txt"));
    EXPECT_FALSE(IsTextFile(dir.Path()));
    EXPECT_FALSE(IsTextFile(""));
    dir.Write("t.txt", "Option Explicit");
    EXPECT_TRUE(IsTextFile(dir.Path() + "T.TXT")) << "found in another case";
}

TEST_F(ProjectReaderTest, AnInvalidProjectFileIsRefusedAfterTheShownOneIsClosed) {
    dir.Write("p/bin.vbp", std::string("\x00\x01\x02", 3));
    observer.shown = true;
    project = std::make_unique<TSourceMgt>();
    EXPECT_FALSE(Open("p/bin.vbp"));
    EXPECT_EQ(observer.log, "close;");
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages()[0].text, "Invalid VB project file.  Unable to proceed.");
    EXPECT_EQ(prompter.Messages()[0].kind, PromptKind::Error);
    EXPECT_EQ(prompter.Messages()[0].buttons, PromptButtons::Ok);

    prompter.Clear();
    EXPECT_FALSE(Open("p/missing.vbp"));
    EXPECT_TRUE(prompter.Saw("Invalid VB project file."));
    dir.Write("p/empty.mak", "");
    EXPECT_FALSE(Open("p/empty.mak"));
    EXPECT_EQ(prompter.Messages().back().text, "Invalid VB project file.  Unable to proceed.");
}

TEST_F(ProjectReaderTest, HugeAndNulFilledProjectsGiveShortMessagesNotCrashes) {
    // A 10 MB line names no file that exists: the warning shows a shortened name.
    dir.Write("p/long.mak", "A" + std::string(10 * 1024 * 1024, 'x') + "\r\n");
    EXPECT_FALSE(Open("p/long.mak"));
    ASSERT_EQ(prompter.Messages().size(), 2u);
    EXPECT_LT(prompter.Messages()[0].text.size(), 1000u);
    EXPECT_EQ(prompter.Messages()[1].text, "Project file is empty.");

    prompter.Clear();
    dir.Write("p/A.BAS", "a\r\n");
    dir.Write("p/nuls.mak", std::string("A.BAS\r\nB\0C.BAS\r\n\0\0\0\r\n", 19));
    ASSERT_TRUE(Open("p/nuls.mak"));
    EXPECT_EQ(prompter.Messages().size(), 2u);
    EXPECT_EQ(Dump(), "module A.BAS 1\n");
}

TEST_F(ProjectReaderTest, AProjectNamingThousandsOfFilesIsRead) {
    std::string vbp;
    for (int i = 0; i < 3000; ++i) {
        std::string name = "M" + std::to_string(i) + ".bas";
        if (i % 2 == 0)
            dir.Write("p/" + name, "Attribute VB_Name = \"M\"\r\nSub S()\r\nEnd Sub\r\n");
        vbp += "Module=M" + std::to_string(i) + "; " + name + "\r\n";
    }
    dir.Write("p/big.vbp", vbp);
    ASSERT_TRUE(Open("p/big.vbp"));
    EXPECT_EQ(project->FileCount(), 1500);
    EXPECT_EQ(prompter.Messages().size(), 1500u);
    EXPECT_EQ(project->First->LineCount, 3);
}

TEST(SampleProjects, BothSamplesOpenWithEveryFileFound) {
    for (const char* sample : {"/vbp/Inventory.vbp", "/mak/Stock.mak"}) {
        ScriptedPrompter prompter;
        ProjectReaderObserver observer;
        std::unique_ptr<TSourceMgt> project;
        ASSERT_TRUE(OpenProject(std::string(KEMPTOR_EXAMPLES) + sample, project, observer, prompter))
            << sample;
        EXPECT_TRUE(prompter.Messages().empty()) << sample << ": " << prompter.Messages()[0].text;
        EXPECT_GE(project->FileCount(), 4) << sample;
        for (const auto& e : project->Files()) {
            EXPECT_GT(e.FileSize, 0) << e.FullPath;
            EXPECT_GT(e.LineCount, 0) << e.FullPath;
        }
    }
}

} // namespace
} // namespace kemptor
