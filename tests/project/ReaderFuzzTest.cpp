// Random project files: the reader always ends with either a sound project or no project, never a crash.
#include "project/ProjectReader.h"

#include <gtest/gtest.h>

#include <random>

#include "support/TempDir.h"

namespace kemptor {
namespace {

using test::TempDir;

std::string RandomProject(std::mt19937& rng) {
    static const std::string_view pieces[] = {"Form=",
                                              "Module=M; ",
                                              "Class=C; ",
                                              "UserControl=",
                                              "form=",
                                              "A.BAS",
                                              "b.frm",
                                              "SUB\\C.CLS",
                                              "..\\",
                                              "C:\\",
                                              "=",
                                              ";",
                                              "\\",
                                              "/",
                                              ".",
                                              ".VBX",
                                              ".DLL",
                                              "\r\n",
                                              "\n",
                                              "\r",
                                              " ",
                                              "Reference=*\\G{x}",
                                              std::string_view("\0", 1),
                                              "\xff\xfe"};
    std::string text;
    const int count = std::uniform_int_distribution<int>(0, 40)(rng);
    for (int i = 0; i < count; ++i) {
        if (rng() % 6 == 0)
            text += static_cast<char>(rng() % 256);
        else
            text += pieces[rng() % std::size(pieces)];
    }
    return text;
}

TEST(ReaderFuzz, EveryOutcomeIsASoundProjectOrNone) {
    TempDir dir;
    dir.Write("p/A.BAS", "Attribute VB_Name = \"A\"\r\n");
    dir.Write("p/B.FRM", "VERSION 5.00\r\n");
    dir.Write("p/sub/c.cls", "VERSION 1.0 CLASS\r\n");
    dir.Write("p/bin.frm", "\x01\x02");
    std::mt19937 rng(8081);
    int opened = 0;
    for (int round = 0; round < 1500; ++round) {
        const std::string name = (round % 2 == 0) ? "p/x.vbp" : "p/x.mak";
        std::string text = RandomProject(rng);
        if (rng() % 2 == 0) // half the projects start with a file that is there
            text = (round % 2 == 0 ? "Form=B.FRM\r\n" : "A.BAS\r\n") + text;
        dir.Write(name, text);
        ScriptedPrompter prompter;
        for (int i = 0; i < 50; ++i)
            prompter.Answer(rng() % 10 == 0 ? PromptAnswer::Cancel : PromptAnswer::Ok);
        ProjectReaderObserver observer;
        std::unique_ptr<TSourceMgt> project;
        const bool ok = OpenProject(dir.Path() + name, project, observer, prompter);
        ASSERT_EQ(ok, project != nullptr) << testing::PrintToString(text);
        if (!ok)
            continue;
        ++opened;
        ASSERT_GE(project->FileCount(), 1) << testing::PrintToString(text);
        EXPECT_EQ(project->Current->Next, nullptr);
        EXPECT_TRUE(project->Current->FileName.empty()) << "the terminator stays blank";
        for (auto& e : project->Files()) {
            EXPECT_TRUE(IsTextFile(e.FullPath)) << e.FullPath;
            EXPECT_GT(e.LineCount, 0) << e.FullPath;
            project->LoadLines(&e);
            EXPECT_FALSE(e.LoadFailed) << e.FullPath;
        }
    }
    EXPECT_GT(opened, 300) << "the generator should reach real projects";
}

} // namespace
} // namespace kemptor
