#include "spell/SpellDialogLogic.h"

#include "platform/Prompter.h"

namespace kemptor {

namespace {

// The control is handed the text followed by these blanks; they are taken off the text it gives back,
// so that a literal keeps its exact length.
constexpr std::size_t kPadding = 60;

bool IsStop(int code) {
    return code == spell_result::UnknownWord || code == spell_result::StoredAction;
}

std::string WithoutPadding(std::string text) {
    const std::size_t keep = text.find_last_not_of(' ');
    const std::size_t blanks = keep == std::string::npos ? text.size() : text.size() - keep - 1;
    if (blanks >= kPadding)
        text.resize(text.size() - kPadding);
    return text;
}

} // namespace

SpellDialogLogic::SpellDialogLogic(Speller& speller, Prompter& prompter, SpellDialogView& view)
    : speller_(speller), prompter_(prompter), view_(view) {}

SpellCheckOutcome SpellDialogLogic::SpellCheckText(const std::string& context, std::string& text,
                                                   const SpellTextPlace&) {
    SpellCheckOutcome outcome;
    speller_.SetAutoSuggest(false);
    speller_.SetAutoReplace(false);
    speller_.SetAutoPopup(false);
    speller_.SetClearCounts(1);
    speller_.SetCheckText(text + std::string(kPadding, ' '));

    int r = speller_.ResultCode();
    while (r < 0) {
        if (IsStop(r)) {
            state_.ContextLine = context;
            state_.CheckedText = text;
            PrepareDialog();
            view_.ShowModal(*this);
            r = speller_.ResultCode();
            if (r > 0)
                break;
            if (r == spell_result::CancelledByUser) {
                outcome.cancelled = true;
                break;
            }
            if (speller_.ReplaceOccurred()) {
                text = WithoutPadding(speller_.Text());
                outcome.changed = true;
            }
        }
        speller_.ResumeCheck();
        r = speller_.ResultCode();
    }
    return outcome;
}

void SpellDialogLogic::PrepareDialog() {
    state_.Misspell = speller_.MisspelledWord();
    state_.SuggestList.clear();
    state_.SuggestIndex = -1;
    state_.ReplaceWith.clear();
    FillSuggest(state_.Misspell);
    if (speller_.ResultCode() == spell_result::StoredAction &&
        speller_.IRAction() == spell_action::ReplaceAlways)
        state_.ReplaceWith = speller_.ReplacementWord();

    state_.Customs.clear();
    state_.AddToCustomEnabled = true;
    for (int i = 1; i <= speller_.CustomCount(); ++i)
        if (speller_.DictionaryFlags(-i) & 1)
            state_.Customs.push_back(speller_.DictionaryName(-i));
    state_.CustomsEnabled = !state_.Customs.empty();
    state_.CustomsIndex = state_.CustomsEnabled ? 0 : -1;
    state_.AddToCustomEnabled = state_.CustomsEnabled;
}

void SpellDialogLogic::FillSuggest(const std::string& word) {
    speller_.SetFindSuggestions(word);
    state_.SuggestList.clear();
    state_.SuggestIndex = -1;
    const int count = speller_.SuggestionCount();
    if (count < 1) {
        state_.SuggestListEnabled = false;
        state_.SuggestList.push_back(kNoSuggestions);
        return;
    }
    for (int i = 1; i <= count; ++i)
        state_.SuggestList.push_back(speller_.Suggestion(i));
    state_.SuggestListEnabled = true;
    SelectSuggestion(0);
}

void SpellDialogLogic::SelectSuggestion(int index) {
    if (!state_.SuggestListEnabled || index < 0 || index >= static_cast<int>(state_.SuggestList.size()))
        return;
    state_.SuggestIndex = index;
    state_.ReplaceWith = state_.SuggestList[index];
}

bool SpellDialogLogic::ReplaceWord() {
    speller_.SetCheckWord(state_.ReplaceWith);
    if (speller_.ResultCode() != 0 && prompter_.Show(PromptKind::Warning, kReplacementNotInDictionary,
                                                     PromptButtons::YesNo) != PromptAnswer::Yes)
        return false;
    speller_.SetReplacementWord(state_.ReplaceWith);
    speller_.SetReplaceLastWord(1);
    return true;
}

bool SpellDialogLogic::Press(SpellButton button) {
    switch (button) {
    case SpellButton::Suggestions:
        FillSuggest(state_.Misspell);
        return false;
    case SpellButton::SuggestionsReplacement:
        FillSuggest(state_.ReplaceWith);
        return false;
    case SpellButton::Ignore:
        speller_.SetResultCode(spell_result::NoMoreWords);
        return true;
    case SpellButton::IgnoreAll:
        speller_.SetAddToCommonIRList(spell_action::IgnoreAlways);
        return true;
    case SpellButton::Options:
        speller_.SetPopupOptions(1);
        return false;
    case SpellButton::Replace:
        ReplaceWord();
        return true;
    case SpellButton::ReplaceAll:
        if (ReplaceWord()) {
            speller_.SetReplacementWord(state_.ReplaceWith);
            speller_.SetMisspelledWord(state_.Misspell);
            speller_.SetAddToCommonIRList(spell_action::ReplaceAlways);
        }
        return true;
    case SpellButton::CancelSpellcheck:
        speller_.SetResultCode(spell_result::CancelledByUser);
        return true;
    case SpellButton::AddToCustom:
        speller_.DictionaryAction(-1, spell_action::IgnoreAlways);
        return false;
    }
    return false;
}

} // namespace kemptor
