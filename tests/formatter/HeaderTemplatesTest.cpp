#include "formatter/HeaderTemplates.h"

#include "platform/Prompter.h"
#include "settings/SettingsCatalogue.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace kemptor {
namespace {

TEST(HeaderTemplates, DefaultTemplatesHaveTheirElevenAndTwelveLines) {
    TextLines sub = DefaultSubTemplate();
    TextLines function = DefaultFunctionTemplate();
    ASSERT_EQ(sub.size(), 11u);
    ASSERT_EQ(function.size(), 12u);
    EXPECT_EQ(sub[0], "'! " + std::string(59, '-'));
    EXPECT_EQ(sub[10], sub[0]);
    EXPECT_EQ(sub[1], "'!  Name   :  %n");
    EXPECT_EQ(sub[5], "'!  Purpose:  ");
    EXPECT_EQ(sub[8], "'! --------  ---------- --------------------------------------");
    EXPECT_EQ(function[5], "'!  Returns:  %r");
    function.erase(function.begin() + 5);
    EXPECT_EQ(function, sub);
}

TEST(HeaderTemplates, ExpandsTheFivePlaceholdersInEitherCase) {
    TemplateValues v{"Load", "Ann", "12/08/2026", "ByVal n As Integer", "As Long"};
    EXPECT_EQ(ExpandTemplate("' %N (%P) by %A on %D", v), "' Load (ByVal n As Integer) by Ann on 12/08/2026");
    EXPECT_EQ(ExpandTemplate("%n%a%d%p%r", v), "LoadAnn12/08/2026ByVal n As IntegerAs Long");
    EXPECT_EQ(ExpandTemplate("%X stays, 100%", v), "%X stays, 100%");
    EXPECT_EQ(ExpandTemplate("%%n", v), "%Load");
    EXPECT_EQ(ExpandTemplate("", v), "");
}

TEST(HeaderTemplates, RecognisesLinesExpandedFromATemplateLine) {
    EXPECT_TRUE(MatchesTemplateLine("    ' Load (n As Integer) by Ann", "' %N (%p) by %a"));
    EXPECT_TRUE(MatchesTemplateLine("' Load () by ", "' %n (%p) by %a"));
    EXPECT_TRUE(MatchesTemplateLine("'! Name: a%nb", "'! Name: %n"));
    EXPECT_TRUE(MatchesTemplateLine("' 100%", "' 100%"));
    EXPECT_TRUE(MatchesTemplateLine("x", "%n%a"));
    EXPECT_FALSE(MatchesTemplateLine("' Load by Ann", "' %n (%p) by %a"));
    EXPECT_FALSE(MatchesTemplateLine("'! Name", "'! Name: %n"));
    EXPECT_FALSE(MatchesTemplateLine("' other", "' ---"));
}

TEST(HeaderTemplates, LoadsTemplateFilesAndWarnsAboutUnreadableOnes) {
    test::TempDir dir;
    Settings settings;
    settings.SubLevelCommentsFile = dir.Write("sub.txt", "' Sub %n\r\n' by %a\r\n");
    settings.FunctionLevelCommentsFile = dir.Path() + "missing.txt";
    HeaderTemplates templates = DefaultHeaderTemplates();
    ScriptedPrompter prompter;

    LoadCommentHeaders(templates, settings, prompter);

    EXPECT_EQ(templates.Sub, (TextLines{"' Sub %n", "' by %a"}));
    EXPECT_EQ(templates.Function, DefaultFunctionTemplate());
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages()[0].kind, PromptKind::Warning);
    EXPECT_EQ(prompter.Messages()[0].text,
              "Unable to load function comment header file: " + settings.FunctionLevelCommentsFile);
}

TEST(HeaderTemplates, EmptyFileNamesLeaveTheTemplatesAlone) {
    HeaderTemplates templates{{"' edited"}, {}};
    ScriptedPrompter prompter;
    LoadCommentHeaders(templates, Settings{}, prompter);
    EXPECT_EQ(templates.Sub, TextLines{"' edited"});
    EXPECT_TRUE(templates.Function.empty());
    EXPECT_TRUE(prompter.Messages().empty());
}

TEST(HeaderTemplates, ShortDateIsNeverEmpty) {
    EXPECT_FALSE(SystemShortDate().empty());
}

} // namespace
} // namespace kemptor
