// The spell dialog's logic on the real Hunspell speller, driven by a scripted dialog: what is shown,
// what each button does to the text, and how the engine's steps use it.
#include "SpellTestSupport.h"

#include "formatter/TVBSrcFormatter.h"
#include "platform/Progress.h"
#include "platform/Prompter.h"
#include "settings/Settings.h"
#include "spell/SpellRun.h"

#include <gmock/gmock.h>

namespace kemptor {
namespace {

using test::ScriptedSpellDialog;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::IsEmpty;
using ::testing::StartsWith;

class SpellDialog : public test::RealSpellerTest {
protected:
    SpellCheckOutcome Check(std::string& text, const std::string& context = "' context") {
        SpellDialogLogic logic(*speller, prompter, view);
        return logic.SpellCheckText(context, text, {});
    }

    ScriptedPrompter prompter;
    ScriptedSpellDialog view;
};

TEST_F(SpellDialog, KnownWordsShowNoDialogAndChangeNothing) {
    std::string text = "Read the next record, m_Count and vbCrLf are code";
    const SpellCheckOutcome outcome = Check(text);
    EXPECT_THAT(view.shown, IsEmpty());
    EXPECT_EQ(text, "Read the next record, m_Count and vbCrLf are code");
    EXPECT_FALSE(outcome.changed);
    EXPECT_FALSE(outcome.cancelled);
}

TEST_F(SpellDialog, ShowsEachUnknownWordWithContextAndSuggestionsAndIgnoreKeepsTheText) {
    std::string text = "the recieve buffer is emtpy";
    const SpellCheckOutcome outcome = Check(text, "    x = 1 ' the recieve buffer is emtpy");
    ASSERT_EQ(view.shown.size(), 2u);
    const SpellDialogState& first = view.shown[0];
    EXPECT_EQ(first.ContextLine, "    x = 1 ' the recieve buffer is emtpy");
    EXPECT_EQ(first.CheckedText, "the recieve buffer is emtpy");
    EXPECT_EQ(first.Misspell, "recieve");
    ASSERT_FALSE(first.SuggestList.empty());
    EXPECT_EQ(first.SuggestList[0], "receive");
    EXPECT_EQ(first.ReplaceWith, "receive"); // the first suggestion, selected
    EXPECT_EQ(first.SuggestIndex, 0);
    EXPECT_EQ(view.shown[1].Misspell, "emtpy");
    EXPECT_EQ(view.shown[1].SuggestList[0], "empty");
    EXPECT_EQ(text, "the recieve buffer is emtpy");
    EXPECT_FALSE(outcome.changed);
}

TEST_F(SpellDialog, ReplaceByAKnownWordAsksNothingAndTheRestIsStillChecked) {
    view.ThenReplaceBy("receive");
    std::string text = "recieve and emtpy";
    const SpellCheckOutcome outcome = Check(text);
    EXPECT_EQ(text, "receive and emtpy");
    EXPECT_TRUE(outcome.changed);
    EXPECT_THAT(prompter.Messages(), IsEmpty());
    ASSERT_EQ(view.shown.size(), 2u);
    EXPECT_EQ(view.shown[1].CheckedText, "receive and emtpy");
}

TEST_F(SpellDialog, ReplaceByAnUnknownWordAsksAndNoKeepsTheWord) {
    prompter.Answer(PromptAnswer::No);
    view.ThenReplaceBy("recieveXY");
    std::string text = "recieve it";
    EXPECT_FALSE(Check(text).changed);
    EXPECT_EQ(text, "recieve it");
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages()[0].text, "NOTE: Replacement word not in dictionary.  Continue?");
    EXPECT_EQ(prompter.Messages()[0].kind, PromptKind::Warning);
    EXPECT_EQ(prompter.Messages()[0].buttons, PromptButtons::YesNo);

    prompter.Answer(PromptAnswer::Yes);
    view.ThenReplaceBy("Kemptor");
    EXPECT_TRUE(Check(text).changed);
    EXPECT_EQ(text, "Kemptor it");
}

TEST_F(SpellDialog, ReplaceAllStoresTheReplacementAndIgnoreAllTheWord) {
    view.ThenReplaceBy("receive", SpellButton::ReplaceAll).Then(SpellButton::IgnoreAll);
    std::string first = "recieve emtpy";
    Check(first);
    EXPECT_EQ(first, "receive emtpy");

    // Later texts: the stored replacement opens the dialog filled in; the ignored word is not shown.
    view.shown.clear();
    view.Then(SpellButton::Replace);
    std::string second = "emtpy and recieve";
    EXPECT_TRUE(Check(second).changed);
    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_EQ(view.shown[0].Misspell, "recieve");
    EXPECT_EQ(view.shown[0].ReplaceWith, "receive");
    EXPECT_EQ(second, "emtpy and receive");
}

TEST_F(SpellDialog, AWordWithoutSuggestionsShowsTheDisabledPlaceholder) {
    std::string text = "qqxzjv";
    Check(text);
    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_THAT(view.shown[0].SuggestList, ElementsAre("[No suggestions]"));
    EXPECT_FALSE(view.shown[0].SuggestListEnabled);
    EXPECT_EQ(view.shown[0].ReplaceWith, "");

    // "S&uggestions" for a typed replacement without suggestions leaves what was typed.
    view.shown.clear();
    view.Then([](SpellDialogLogic& logic) {
        logic.State().ReplaceWith = "zzqxv";
        logic.Press(SpellButton::SuggestionsReplacement);
        EXPECT_EQ(logic.State().ReplaceWith, "zzqxv");
        EXPECT_FALSE(logic.State().SuggestListEnabled);
        logic.Press(SpellButton::Ignore);
    });
    Check(text);
}

TEST_F(SpellDialog, AddToCustomWritesTheCustomDictionaryThatALaterSpellerKnows) {
    view.Then([](SpellDialogLogic& logic) {
        EXPECT_THAT(logic.State().Customs, ElementsAre("CUSTOM.DIC"));
        EXPECT_TRUE(logic.State().CustomsEnabled);
        EXPECT_TRUE(logic.State().AddToCustomEnabled);
        EXPECT_FALSE(logic.Press(SpellButton::AddToCustom)); // stays open
        logic.Press(SpellButton::Ignore);
    });
    std::string text = "Kemptorian rules";
    Check(text);
    EXPECT_EQ(dir.Read("CUSTOM.DIC"), "Kemptorian\n");

    Reopen();
    view.shown.clear();
    Check(text);
    EXPECT_THAT(view.shown, IsEmpty());
}

TEST_F(SpellDialog, WithoutACustomDictionaryThatAcceptsWordsCustomsIsDisabled) {
    options.CustomDictionary.clear();
    Reopen();
    std::string text = "Kemptorian";
    Check(text);
    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_THAT(view.shown[0].Customs, IsEmpty());
    EXPECT_FALSE(view.shown[0].CustomsEnabled);
    EXPECT_FALSE(view.shown[0].AddToCustomEnabled);

    // A custom dictionary in a directory that cannot be written to does not accept words either.
    options.CustomDictionary = dir.Path() + "locked/CUSTOM.DIC";
    std::filesystem::create_directories(dir.Path() + "locked");
    std::filesystem::permissions(dir.Path() + "locked",
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (::access((dir.Path() + "locked").c_str(), W_OK) == 0)
        return; // running as a user who may write anywhere
    Reopen();
    view.shown.clear();
    Check(text);
    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_FALSE(view.shown[0].AddToCustomEnabled);
}

TEST_F(SpellDialog, ALiteralKeepsItsTrailingBlanksThroughAReplacement) {
    view.ThenReplaceBy("receive");
    std::string text = "recieve:   ";
    Check(text);
    EXPECT_EQ(text, "receive:   ");
}

TEST_F(SpellDialog, OptionsChosenInTheSpellersDialogTakeEffect) {
    speller->SetOptionsDialog([this] {
        SpellerOptions changed = options;
        changed.SkipUpperCase = false;
        SaveSpellerOptions(changed, OptionsFile());
    });
    view.Then([](SpellDialogLogic& logic) {
        EXPECT_FALSE(logic.Press(SpellButton::Options));
        logic.Press(SpellButton::Ignore);
    });
    std::string text = "recieve QQXV";
    Check(text);
    ASSERT_EQ(view.shown.size(), 2u); // after the options changed, the capitals are checked too
    EXPECT_EQ(view.shown[1].Misspell, "QQXV");
    EXPECT_FALSE(LoadSpellerOptions(OptionsFile()).SkipUpperCase);
}

// The engine's steps with the dialog: literals, then the comment, in the first pass only.
class EngineSpelling : public test::RealSpellerTest {
protected:
    void SetUp() override {
        test::RealSpellerTest::SetUp();
        settings.SpellingPerform = settings.SpellingLiterals = settings.SpellingComments = true;
    }
    TextLines Format(const TextLines& lines) {
        SpellDialogLogic logic(*speller, prompter, view);
        TVBSrcFormatter engine(settings, prompter);
        engine.SetSpellChecker(&logic);
        ProgressObserver progress;
        engine.FormatFile(lines, "M.bas", skModule, progress);
        cancelled = engine.SpellCheckCancelled;
        return engine.TakeOutput().Texts();
    }

    Settings settings;
    ScriptedPrompter prompter;
    ScriptedSpellDialog view;
    bool cancelled = false;
};

TEST_F(EngineSpelling, CancelInALiteralStillOffersTheCommentOfTheSameLine) {
    view.Then(SpellButton::CancelSpellcheck).ThenReplaceBy("receive");
    const TextLines out = Format({"Option Explicit", "x = \"recieve\" ' we recieve it", "y = \"recieve\""});
    // The literal, the comment; the comment's check was not cancelled, so the next line is checked.
    ASSERT_EQ(view.shown.size(), 3u);
    EXPECT_EQ(view.shown[0].CheckedText, "recieve");
    EXPECT_EQ(view.shown[1].CheckedText, " we recieve it");
    EXPECT_EQ(view.shown[2].ContextLine, "y = \"recieve\"");
    EXPECT_FALSE(cancelled);
    EXPECT_THAT(out[1], StartsWith("x = \"recieve\" "));
    EXPECT_THAT(out[1], EndsWith("'we receive it")); // placed at the in-line comment column
    EXPECT_EQ(out[2], "y = \"recieve\"");
}

TEST_F(EngineSpelling, CancelInTheLastCheckOfALineEndsSpellCheckingForTheFile) {
    view.Then(SpellButton::CancelSpellcheck);
    Format({"' one mispelt word", "' anothr one"});
    EXPECT_EQ(view.shown.size(), 1u);
    EXPECT_TRUE(cancelled);
}

TEST_F(EngineSpelling, NothingIsCheckedWithSpellingOff) {
    settings.SpellingPerform = false;
    const TextLines in = {"x = \"recieve\" ' recieve"};
    Format(in);
    EXPECT_THAT(view.shown, IsEmpty());
}

TEST(SpellRunSetup, AMissingDictionaryIsReportedOnceAndNothingIsChecked) {
    test::TempDir dir;
    SpellerOptions options;
    options.Language = "zz_ZZ";
    ASSERT_FALSE(SaveSpellerOptions(options, dir.Path() + "SPELLER.INI"));
    HunspellSpeller speller(dir.Path() + "SPELLER.INI");
    ScriptedPrompter prompter;
    ScriptedSpellDialog view;
    SpellDialogLogic logic(speller, prompter, view);

    Settings settings;
    settings.SpellingPerform = settings.SpellingComments = true;
    EXPECT_EQ(CheckerForRun(settings, &logic, prompter), nullptr);
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages()[0].kind, PromptKind::Warning);
    EXPECT_NE(prompter.Messages()[0].text.find("No Hunspell dictionary for zz_ZZ"), std::string::npos);

    // The speller itself knows every word then, so nothing can stop at one.
    std::string text = "recieve qqxzjv";
    EXPECT_FALSE(logic.SpellCheckText("", text, {}).changed);
    EXPECT_THAT(view.shown, IsEmpty());

    settings.SpellingPerform = false;
    prompter.Clear();
    EXPECT_EQ(CheckerForRun(settings, &logic, prompter), nullptr);
    EXPECT_THAT(prompter.Messages(), IsEmpty()); // spelling off: not even the message
}

} // namespace
} // namespace kemptor
