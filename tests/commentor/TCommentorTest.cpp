#include "commentor/TCommentor.h"

#include "platform/Prompter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kemptor {
namespace {

using test::TempDir;

// Three routines: Alpha's heading is the module's second line, Beta's block has comments above and
// below its heading, Gamma follows a blank line.
const char* const kModule = "Attribute VB_Name = \"Mod1\"\r\n"     // 0
                            "Public Sub Alpha()\r\n"               // 1
                            "End Sub\r\n"                          // 2
                            "' Beta does the work\r\n"             // 3
                            "'  Author :   Ann Smith  \r\n"        // 4
                            "Private Function Beta(n) As Long\r\n" // 5
                            "'  Params :  n, the count\r\n"        // 6
                            "    ' indented: code comment\r\n"     // 7
                            "    Beta = n\r\n"                     // 8
                            "End Function\r\n"                     // 9
                            "\r\n"                                 // 10
                            "Sub Gamma()\r\n"                      // 11
                            "'! Gamma's own\r\n"                   // 12
                            "End Subx\r\n"                         // 13
                            "End Sub\r\n";                         // 14

class CommentorTest : public ::testing::Test {
protected:
    std::string Module(const char* text = kModule) { return dir.Write("src/Mod1.bas", text); }

    // A commentor opened on the module with the given output setting.
    TCommentor& Open(const char* text = kModule, const std::string& setting = ".\\STYLED\\") {
        commentor = std::make_unique<TCommentor>(prompter, Module(text), setting);
        commentor->Open();
        return *commentor;
    }

    // The memo edited as a user would: new lines in place of the block.
    static void Edit(TCommentor& c, TextLines lines) {
        c.Memo.Lines = std::move(lines);
        c.Memo.Edited = true;
    }

    std::string Output() const { return dir.Read("src/STYLED/Mod1.bas"); }
    bool OutputExists() const { return std::filesystem::exists(dir.Path() + "src/STYLED/Mod1.bas"); }

    TempDir dir;
    ScriptedPrompter prompter;
    std::unique_ptr<TCommentor> commentor;
};

TEST(CommentorLines, RecognisesItsOwnHeadingsAndEnds) {
    for (const char* heading :
         {"Sub A()", "Private Sub A()", "Static Sub A()", "Public Sub A()", "Function F()",
          "Private Function F()", "Static Function F()", "Public Function F() As Long", "    Sub Indented()",
          "\tPublic Function Tabbed()"})
        EXPECT_TRUE(IsCommentorHeading(heading)) << heading;
    for (const char* other : {"Private Static Sub A()", "Public Static Function F()", "Property Get P()",
                              "Public Property Let P(v)", "Friend Sub A()", "sub A()", "PUBLIC SUB A()",
                              "Subroutine = 1", "' Sub A()", "End Sub", ""})
        EXPECT_FALSE(IsCommentorHeading(other)) << other;

    for (const char* end : {"End Sub", "End Function", "  End Sub   ", "End Sub ' done", "\tEnd Function"})
        EXPECT_TRUE(IsCommentorRoutineEnd(end)) << end;
    for (const char* other : {"End Subx", "End Functions", "end sub", "End Property", "End", "Exit Sub"})
        EXPECT_FALSE(IsCommentorRoutineEnd(other)) << other;
}

TEST_F(CommentorTest, OpensOnTheHeadingOfTheSecondLineAndReachesItAgainByPrior) {
    TCommentor& c = Open();
    EXPECT_EQ(commentor->Current(), 1);
    EXPECT_EQ(c.Heading(), "Public Sub Alpha()");
    ASSERT_TRUE(c.Next());
    EXPECT_EQ(c.Current(), 5);
    ASSERT_TRUE(c.Prior());
    EXPECT_EQ(c.Current(), 1);

    EXPECT_FALSE(c.Prior());
    EXPECT_TRUE(prompter.Saw("No prior routines."));
    EXPECT_EQ(c.Current(), 1);
    c.Next();
    c.Next();
    EXPECT_EQ(c.Current(), 11);
    EXPECT_FALSE(c.Next());
    EXPECT_TRUE(prompter.Saw("No further routines."));
    EXPECT_EQ(c.Current(), 11);
}

TEST_F(CommentorTest, AModuleWithoutRoutinesShowsNothing) {
    // A heading on the first line is never searched; a property is no routine.
    TCommentor& c = Open("Sub First()\r\nProperty Get P()\r\nEnd Property\r\n");
    EXPECT_TRUE(prompter.Saw("Module does not contain any sub or function routines."));
    EXPECT_FALSE(c.HasRoutine());
    EXPECT_TRUE(c.Memo.Lines.empty());
    EXPECT_FALSE(c.Next());
    EXPECT_FALSE(c.Prior());
    EXPECT_TRUE(prompter.Saw("No further routines."));
    EXPECT_TRUE(prompter.Saw("No prior routines."));
    EXPECT_FALSE(c.Save());
    EXPECT_FALSE(OutputExists());
}

TEST_F(CommentorTest, BlockTakesTheCommentLinesTouchingTheHeadingAndTheRangeRunsToItsEnd) {
    TCommentor& c = Open();
    // Alpha: no comments around it; line 0 would never be taken anyway.
    EXPECT_EQ(c.BlockStart(), 1);
    EXPECT_EQ(c.BlockEnd(), 1);
    EXPECT_EQ(c.Memo.Lines, TextLines{"Public Sub Alpha()"});
    EXPECT_EQ(c.RoutineEnd(), 2);

    // Beta: two lines above, one below; the indented comment ends the block.
    c.Next();
    EXPECT_EQ(c.BlockStart(), 3);
    EXPECT_EQ(c.BlockEnd(), 6);
    EXPECT_EQ(c.Memo.Lines.size(), 4u);
    EXPECT_EQ(c.Memo.Lines[2], "Private Function Beta(n) As Long");
    EXPECT_FALSE(c.Memo.Edited);
    EXPECT_EQ(c.RoutineEnd(), 9);

    // Gamma follows a blank line: its block starts at the heading and takes the comment after it.
    // "End Subx" does not end it; "End Sub" alone does.
    c.Next();
    EXPECT_EQ(c.BlockStart(), 11);
    EXPECT_EQ(c.BlockEnd(), 12);
    EXPECT_EQ(c.RoutineEnd(), 14);

    // Without any end the range runs to the last line.
    EXPECT_EQ(Open("x\r\nSub A()\r\n  y\r\n").RoutineEnd(), 2);
}

TEST_F(CommentorTest, AuthorAndParametersComeFromTheTwoBlankForm) {
    TCommentor& c = Open();
    EXPECT_EQ(c.Author(), "");
    c.Next();
    EXPECT_EQ(c.Author(), "Ann Smith");
    EXPECT_EQ(c.Params(), "n, the count");
    c.Next();
    EXPECT_EQ(c.Author(), "") << "cleared for each routine";

    // The form the default templates write ("'!  Author :") fills nothing.
    TCommentor& templ = Open("x\r\n'!  Author :  Ann\r\n'!  Params :  n\r\nSub A(n)\r\n");
    EXPECT_EQ(templ.Memo.Lines.size(), 3u);
    EXPECT_EQ(templ.Author(), "");
    EXPECT_EQ(templ.Params(), "");
}

TEST_F(CommentorTest, ChangeCheckAsksOnlyForAnEditedMemo) {
    TCommentor& c = Open();
    ASSERT_TRUE(c.Next());
    EXPECT_TRUE(prompter.Messages().empty());

    Edit(c, {"' new", "Private Function Beta(n) As Long"});
    prompter.Answer(PromptAnswer::Cancel);
    EXPECT_FALSE(c.Next());
    EXPECT_TRUE(prompter.Saw("Comments have changed.  Do you wish to save?"));
    EXPECT_EQ(prompter.Messages().back().buttons, PromptButtons::YesNoCancel);
    EXPECT_EQ(c.Current(), 5);
    EXPECT_TRUE(c.Memo.Edited) << "Cancel stays with the edits";

    prompter.Answer(PromptAnswer::No);
    EXPECT_TRUE(c.Prior());
    EXPECT_EQ(c.Current(), 1);
    EXPECT_FALSE(OutputExists());
    EXPECT_TRUE(c.CanClose());

    Edit(c, {"' Alpha", "Public Sub Alpha()"});
    prompter.Answer(PromptAnswer::Yes);
    EXPECT_TRUE(c.Next());
    EXPECT_EQ(c.Current(), 6) << "the saved line above Alpha moved Beta down";
    EXPECT_NE(Output().find("' Alpha\r\nPublic Sub Alpha()"), std::string::npos);
}

TEST_F(CommentorTest, SavesAccumulateInOneCopyAndTheModuleStaysAsItWas) {
    TCommentor& c = Open(kModule, "out\\deep\\");
    Edit(c, {"' first", "Public Sub Alpha()"});
    ASSERT_TRUE(c.Save());
    c.Next();
    c.Next();
    Edit(c, {"Sub Gamma()", "' second"});
    ASSERT_TRUE(c.Save());

    EXPECT_EQ(dir.Read("src/Mod1.bas"), kModule);
    const std::string copy = dir.Read("src/out/deep/Mod1.bas");
    EXPECT_NE(copy.find("' first\r\nPublic Sub Alpha()\r\n"), std::string::npos);
    EXPECT_NE(copy.find("Sub Gamma()\r\n' second\r\nEnd Subx\r\n"), std::string::npos);
    EXPECT_EQ(copy.find("Gamma's own"), std::string::npos);
    const std::string saved =
        std::filesystem::path(dir.Path() + "src/out/deep/Mod1.bas").lexically_normal().string();
    EXPECT_TRUE(prompter.Saw("File saved as: " + saved + "."));
    EXPECT_FALSE(c.Memo.Edited);
}

TEST_F(CommentorTest, CurrentAfterSaveFollowsTheMemosTopmostHeading) {
    TCommentor& c = Open();
    c.Next(); // Beta, block 3..6, heading at 5
    Edit(c, {"' one", "' two", "' three", "' four", "Private Function Beta(n) As Long", "' after"});
    ASSERT_TRUE(c.Save());
    EXPECT_EQ(c.Current(), 7);
    EXPECT_EQ(c.Heading(), "Private Function Beta(n) As Long");
    EXPECT_EQ(c.Memo.Lines.size(), 6u) << "the memo is refilled from the lines";

    // Without a heading in the memo Current keeps its index, whatever line now stands there.
    Edit(c, {"' one"});
    ASSERT_TRUE(c.Save());
    EXPECT_EQ(c.Current(), 7);
    EXPECT_EQ(c.Lines()[3], "' one");
    EXPECT_EQ(c.Lines()[4], "    ' indented: code comment");
    EXPECT_EQ(c.Lines().size(), 12u);

    // A memo emptied at the end of the module leaves Current on the last line that remains (a module of
    // its own: without the copy of the saves above, which the commentor would start from).
    std::filesystem::remove_all(dir.Path() + "src/STYLED");
    TCommentor& end = Open("x\r\nSub A()\r\n' a\r\n");
    Edit(end, {});
    ASSERT_TRUE(end.Save());
    EXPECT_EQ(end.Lines(), TextLines{"x"});
    EXPECT_EQ(end.Current(), 0);
    EXPECT_FALSE(end.Next());
}

TEST_F(CommentorTest, FailedSaveKeepsTheEditsMarkedSoTheQuestionComesAgain) {
    TCommentor& c = Open();
    // A directory in the output file's place: the copy cannot be written.
    std::filesystem::create_directories(dir.Path() + "src/STYLED/Mod1.bas");
    Edit(c, {"' lost?", "Public Sub Alpha()"});
    EXPECT_FALSE(c.Save());
    EXPECT_TRUE(prompter.Saw("Unable to save "));
    EXPECT_FALSE(prompter.Saw("File saved as:"));
    EXPECT_TRUE(c.Memo.Edited);
    EXPECT_EQ(c.Memo.Lines[0], "' lost?");
    EXPECT_EQ(dir.Read("src/Mod1.bas"), kModule);

    // Yes to the question tries again and, failing, stays; so does closing.
    prompter.Clear();
    prompter.Answer(PromptAnswer::Yes);
    EXPECT_FALSE(c.Next());
    EXPECT_TRUE(prompter.Saw("Comments have changed."));
    EXPECT_EQ(c.Current(), 2);
    prompter.Answer(PromptAnswer::Yes);
    EXPECT_FALSE(c.CanClose());

    // Once the way is clear the same edits reach the copy, once.
    std::filesystem::remove(dir.Path() + "src/STYLED/Mod1.bas");
    prompter.Answer(PromptAnswer::Yes);
    EXPECT_TRUE(c.CanClose());
    const std::string copy = Output();
    EXPECT_EQ(copy.find("' lost?"), copy.rfind("' lost?"));
    EXPECT_NE(copy.find("' lost?\r\nPublic Sub Alpha()"), std::string::npos);
}

TEST_F(CommentorTest, OutputDirectoryThatCannotBeMadeOrIsTheModulesOwnSavesNothing) {
    dir.Write("src/blocked", "a file where the directory should be");
    TCommentor& c = Open(kModule, "blocked\\out\\");
    Edit(c, {"' x", "Public Sub Alpha()"});
    EXPECT_FALSE(c.Save());
    EXPECT_TRUE(prompter.Saw("Unable to create the directory "));
    EXPECT_TRUE(c.Memo.Edited);
    EXPECT_EQ(c.Lines()[1], "Public Sub Alpha()") << "nothing applied";

    TCommentor& own = Open(kModule, ".\\");
    Edit(own, {"' x", "Public Sub Alpha()"});
    EXPECT_FALSE(own.Save());
    EXPECT_TRUE(prompter.Saw("is the module's own directory"));
    EXPECT_EQ(dir.Read("src/Mod1.bas"), kModule);
    EXPECT_TRUE(own.Memo.Edited);
}

// A second session on the module starts from the copy the first one saved, so that its Save keeps the
// first session's edits instead of writing the module's text over them.
TEST_F(CommentorTest, ASecondSessionStartsFromTheOutputCopyAndBothSessionsEditsSurvive) {
    TCommentor& first = Open();
    EXPECT_FALSE(first.FromOutputCopy());
    Edit(first, {"' first session", "Public Sub Alpha()"});
    ASSERT_TRUE(first.Save());

    TCommentor second(prompter, dir.Path() + "src/Mod1.bas", ".\\STYLED\\");
    ASSERT_TRUE(second.Open());
    EXPECT_TRUE(second.FromOutputCopy());
    EXPECT_EQ(second.BlockStart(), 1) << "the first session's comment is part of Alpha's block";
    ASSERT_TRUE(second.Next());
    ASSERT_TRUE(second.Next());
    EXPECT_EQ(second.Heading(), "Sub Gamma()");
    Edit(second, {"' second session", "Sub Gamma()"});
    ASSERT_TRUE(second.Save());

    const std::string copy = Output();
    EXPECT_NE(copy.find("' first session\r\nPublic Sub Alpha()\r\n"), std::string::npos);
    EXPECT_NE(copy.find("' second session\r\nSub Gamma()\r\n"), std::string::npos);
    EXPECT_EQ(dir.Read("src/Mod1.bas"), kModule);
}

// With its project's directory the commentor writes a module of a subfolder where a run writes it: the
// project's output directory, under the module's bare name; never into the project's own directory.
TEST_F(CommentorTest, AModuleInASubfolderIsSavedWhereTheRunWritesIt) {
    const std::string module = dir.Write("proj/Utils/Mod1.bas", kModule);
    TCommentor c(prompter, module, ".\\STYLED\\", dir.Path() + "proj/");
    ASSERT_TRUE(c.Open());
    EXPECT_EQ(c.OutputDirectory(), dir.Path() + "proj/.\\STYLED\\");
    Edit(c, {"' here", "Public Sub Alpha()"});
    ASSERT_TRUE(c.Save());
    EXPECT_NE(dir.Read("proj/STYLED/Mod1.bas").find("' here\r\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.Path() + "proj/Utils/STYLED"));
    // The message names the copy as the system writes paths; on every system it names the copy.
    EXPECT_TRUE(prompter.Saw("File saved as: "));
    EXPECT_TRUE(prompter.Saw("STYLED"));
    EXPECT_TRUE(prompter.Saw("Mod1.bas."));

    TCommentor own(prompter, module, ".\\", dir.Path() + "proj/");
    ASSERT_TRUE(own.Open());
    Edit(own, {"' x", "Public Sub Alpha()"});
    EXPECT_FALSE(own.Save());
    EXPECT_TRUE(prompter.Saw("is the project's own directory"));
    EXPECT_FALSE(std::filesystem::exists(dir.Path() + "proj/Mod1.bas"));
}

TEST_F(CommentorTest, AnUnreadableModuleIsReported) {
    TCommentor c(prompter, dir.Path() + "missing.bas", ".\\STYLED\\");
    EXPECT_FALSE(c.Open());
    EXPECT_TRUE(prompter.Saw("Cannot read file "));
    EXPECT_FALSE(c.HasRoutine());
}

} // namespace
} // namespace kemptor
