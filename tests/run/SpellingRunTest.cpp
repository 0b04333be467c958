// A processing run over the sample project with spell checking on, the real speller and a scripted
// spell dialog: only the corrected word changes in the output.
#include "RunTestSupport.h"
#include "platform/Prompter.h"
#include "project/ProjectReader.h"
#include "run/ProcessingRun.h"
#include "settings/Settings.h"
#include "spell/SpellTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kemptor {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::RecordingObserver;
using test::WriteFile;

class SpellingRun : public test::RealSpellerTest {
protected:
    void SetUp() override {
        test::RealSpellerTest::SetUp();
        if (IsSkipped())
            return;
        fs::copy(fs::path(KEMPTOR_EXAMPLES) / "vbp", fs::path(dir.Path()) / "proj",
                 fs::copy_options::recursive);
        // One misspelled word in a comment of one module.
        const std::string path = dir.Path() + "proj/modGlobals.bas";
        std::string text = ReadFile(path);
        const std::size_t at = text.find("' allowed in a stock code");
        ASSERT_NE(at, std::string::npos);
        text.replace(at, 9, "' alowed");
        WriteFile(path, text);
        settings.PreviewBeforeSaving = false;
    }

    // Runs over the project into `out`; the dialog replaces "alowed" and ignores every other word.
    RunSummary Run(const std::string& out, SpellTextChecker* checker) {
        settings.BackupNewCodeDirectory = dir.Path() + out;
        ProjectReaderObserver readerObserver;
        std::unique_ptr<TSourceMgt> model;
        if (!OpenProject(dir.Path() + "proj/Inventory.vbp", model, readerObserver, prompter))
            return {};
        RecordingObserver observer;
        observer.SetSpellChecker(checker);
        return RunProject(model.get(), settings, DefaultHeaderTemplates(), prompter, observer);
    }

    Settings settings;
    ScriptedPrompter prompter;
};

TEST_F(SpellingRun, TheReplacedWordChangesInItsOutputFileAndNothingElse) {
    ASSERT_EQ(Run("plain", nullptr).outcome, RunOutcome::Completed);

    settings.SpellingPerform = settings.SpellingComments = settings.SpellingLiterals = true;
    test::ScriptedSpellDialog view;
    int showings = 0;
    std::function<void(SpellDialogLogic&)> answer = [&](SpellDialogLogic& logic) {
        ++showings;
        if (logic.State().Misspell == "alowed") {
            logic.State().ReplaceWith = "allowed";
            logic.Press(SpellButton::Replace);
        } else {
            logic.Press(SpellButton::Ignore);
        }
    };
    for (int k = 0; k < 100; ++k)
        view.Then(answer);
    SpellDialogLogic logic(*speller, prompter, view);
    ASSERT_EQ(Run("spelled", &logic).outcome, RunOutcome::Completed);
    ASSERT_GT(showings, 0);
    EXPECT_LT(showings, 100);

    for (const std::string& name : test::FileNames(dir.Path() + "plain")) {
        std::string expected = ReadFile(dir.Path() + "plain/" + name);
        if (name == "modGlobals.bas") {
            const std::size_t at = expected.find("' alowed in a stock code");
            ASSERT_NE(at, std::string::npos);
            expected.replace(at, 8, "' allowed");
        }
        EXPECT_EQ(ReadFile(dir.Path() + "spelled/" + name), expected) << name;
    }
    EXPECT_EQ(test::FileNames(dir.Path() + "spelled"), test::FileNames(dir.Path() + "plain"));
}

TEST_F(SpellingRun, WithoutADictionaryTheRunSaysSoOnceAndFormatsAsUsual) {
    settings.SpellingPerform = settings.SpellingComments = true;
    options.Language = "zz_ZZ";
    Reopen();
    test::ScriptedSpellDialog view;
    SpellDialogLogic logic(*speller, prompter, view);
    EXPECT_EQ(Run("out", &logic).outcome, RunOutcome::Completed);
    int messages = 0;
    for (const auto& shown : prompter.Messages())
        messages += shown.text.find("No Hunspell dictionary") != std::string::npos;
    EXPECT_EQ(messages, 1);
    EXPECT_TRUE(view.shown.empty());
}

} // namespace
} // namespace kemptor
