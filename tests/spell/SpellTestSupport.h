#pragma once
// The real Hunspell speller on the system's en_US dictionary with its options and custom dictionary in a
// temporary directory, and a scripted spell dialog that records what it showed.

#include "spell/HunspellSpeller.h"
#include "spell/SpellDialogLogic.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

namespace kemptor::test {

class ScriptedSpellDialog : public SpellDialogView {
public:
    using Step = std::function<void(SpellDialogLogic&)>;

    // The next showing presses `button`.
    ScriptedSpellDialog& Then(SpellButton button) {
        steps_.push_back([button](SpellDialogLogic& logic) { logic.Press(button); });
        return *this;
    }
    // The next showing types `word` into "Replace With" and presses `button`.
    ScriptedSpellDialog& ThenReplaceBy(std::string word, SpellButton button = SpellButton::Replace) {
        steps_.push_back([word, button](SpellDialogLogic& logic) {
            logic.State().ReplaceWith = word;
            logic.Press(button);
        });
        return *this;
    }
    ScriptedSpellDialog& Then(Step step) {
        steps_.push_back(std::move(step));
        return *this;
    }

    // Unscripted showings press "Ignore".
    void ShowModal(SpellDialogLogic& logic) override {
        shown.push_back(logic.State());
        if (steps_.empty()) {
            logic.Press(SpellButton::Ignore);
            return;
        }
        Step step = std::move(steps_.front());
        steps_.pop_front();
        step(logic);
    }

    std::vector<SpellDialogState> shown;

private:
    std::deque<Step> steps_;
};

// A speller on en_US with CUSTOM.DIC in a temporary directory; skipped where no en_US is installed.
class RealSpellerTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!FindDictionary("en_US"))
            GTEST_SKIP() << "the en_US Hunspell dictionary is not installed";
        options.Language = "en_US";
        options.CustomDictionary = dir.Path() + "CUSTOM.DIC";
        Reopen();
    }
    // A fresh speller with `options`, as a later run would start.
    void Reopen() {
        ASSERT_FALSE(SaveSpellerOptions(options, OptionsFile()));
        speller = std::make_unique<HunspellSpeller>(OptionsFile());
    }
    std::string OptionsFile() const { return dir.Path() + "SPELLER.INI"; }

    TempDir dir;
    SpellerOptions options;
    std::unique_ptr<HunspellSpeller> speller;
};

} // namespace kemptor::test
