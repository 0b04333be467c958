// The code check as the last step before a write: it judges the text that a reader of the written file
// will see, whatever the settings carried into it.
#include "run/GuardedFormat.h"
#include "formatter/HeaderTemplates.h"
#include "platform/Progress.h"
#include "platform/Prompter.h"
#include "settings/SettingsCatalogue.h"

#include <gtest/gtest.h>

namespace kemptor {
namespace {

const TextLines kModule = {"Attribute VB_Name = \"modA\"", "Sub A()", "x = 1", "End Sub"};

std::optional<CodeMismatch> FormatWithUserName(const std::string& userName) {
    Settings settings;
    settings.SubLevelCommentsPerform = true;
    settings.UserName = userName;
    ScriptedPrompter prompter;
    ProgressObserver progress;
    TVBSrcFormatter engine(settings, prompter);
    engine.SetHeaderTemplates(DefaultHeaderTemplates());
    return FormatGuarded(engine, kModule, "modA.bas", skModule, progress).mismatch;
}

TEST(GuardedFormat, ALineBreakInAWrittenSettingIsCodeToTheCheck) {
    EXPECT_EQ(FormatWithUserName("Bob"), std::nullopt);
    // A header's author line split by the value becomes a Kill statement once the file is read back.
    for (const std::string name : {"Bob\r\nKill \"C:\\*.*\"", "Bob\nKill x", "Bob\rKill x"}) {
        const auto mismatch = FormatWithUserName(name);
        ASSERT_NE(mismatch, std::nullopt) << name;
        EXPECT_FALSE(mismatch->comment);
    }
    // A value that only ends a comment line early adds an empty line, which is no code.
    EXPECT_EQ(FormatWithUserName("Bob\r\n"), std::nullopt);
}

} // namespace
} // namespace kemptor
