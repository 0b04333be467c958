#include "run/CheckLog.h"
#include "RunTestSupport.h"
#include "platform/Prompter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kemptor {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;
using ::testing::ElementsAre;

std::string Line(size_t length, char c = 'x') {
    return std::string(length, c);
}

TEST(CheckLog, ListsLinesLongerThan223CharactersWhateverTheLineEnds) {
    TempDir dir;
    WriteFile(dir.Path() + "crlf.bas", "a\r\n" + Line(223) + "\r\n" + Line(224) + "\r\n");
    WriteFile(dir.Path() + "lf.bas", Line(10) + "\n" + Line(230, 'y') + "\n\n" + Line(300, 'z'));
    WriteFile(dir.Path() + "cr.bas", "b\r" + Line(240, 'w') + "\r");
    const TextLines body = CheckLogBody({{"crlf.bas", dir.Path() + "crlf.bas"},
                                         {"LF.BAS", dir.Path() + "lf.bas"},
                                         {"cr.bas", dir.Path() + "cr.bas"}});
    EXPECT_THAT(body, ElementsAre("+++ Processing file: crlf.bas", "Check Line #3-->" + Line(224),
                                  "--- End of file: crlf.bas", "+++ Processing file: LF.BAS",
                                  "Check Line #2-->" + Line(230, 'y'), "Check Line #4-->" + Line(300, 'z'),
                                  "--- End of file: LF.BAS", "+++ Processing file: cr.bas",
                                  "Check Line #2-->" + Line(240, 'w'), "--- End of file: cr.bas"));
}

TEST(CheckLog, WritesStampsAroundTheBodyWithCrLf) {
    TempDir dir;
    WriteFile(dir.Path() + "a.bas", Line(300000) + "\r\n");
    ScriptedPrompter prompter;
    ASSERT_TRUE(WriteCheckLog(dir.Path(), {{"a.bas", dir.Path() + "a.bas"}}, prompter,
                              [] { return "12/08/26 08:00:00"; }));
    EXPECT_EQ(ReadFile(dir.Path() + "VBKEMPT3.LOG"),
              "*** Project processing started at: 12/08/26 08:00:00\r\n"
              "+++ Processing file: a.bas\r\n"
              "Check Line #1-->" +
                  Line(300000) +
                  "\r\n"
                  "--- End of file: a.bas\r\n"
                  "*** Project processing completed at: 12/08/26 08:00:00\r\n");
    EXPECT_TRUE(prompter.Messages().empty());
}

TEST(CheckLog, UnreadableSourceEndsTheLogWithAMessage) {
    TempDir dir;
    WriteFile(dir.Path() + "a.bas", "x\r\n");
    ScriptedPrompter prompter;
    EXPECT_FALSE(WriteCheckLog(dir.Path(),
                               {{"a.bas", dir.Path() + "a.bas"}, {"gone.bas", dir.Path() + "gone.bas"}},
                               prompter, [] { return "now"; }));
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages()[0].kind, PromptKind::None);
    EXPECT_EQ(prompter.Messages()[0].text, "Error while creating log file.");
    EXPECT_EQ(ReadFile(dir.Path() + "VBKEMPT3.LOG"),
              "*** Project processing started at: now\r\n"
              "+++ Processing file: a.bas\r\n--- End of file: a.bas\r\n"
              "+++ Processing file: gone.bas\r\n");
}

TEST(CheckLog, UnwritableLogIsReported) {
    TempDir dir;
    ScriptedPrompter prompter;
    EXPECT_FALSE(WriteCheckLog(dir.Path() + "missing/", {}, prompter, [] { return "now"; }));
    EXPECT_TRUE(prompter.Saw("Error while creating log file."));
}

} // namespace
} // namespace kemptor
