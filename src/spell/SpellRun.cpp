#include "spell/SpellRun.h"

#include "platform/Prompter.h"
#include "settings/Settings.h"
#include "spell/Speller.h"

namespace kemptor {

bool SpellingWanted(const Settings& settings) {
    return settings.SpellingPerform && (settings.SpellingLiterals || settings.SpellingComments);
}

SpellTextChecker* CheckerForRun(const Settings& settings, SpellTextChecker* checker, Prompter& prompter) {
    if (!checker || !SpellingWanted(settings))
        return nullptr;
    const std::string reason = checker->UnavailableReason();
    if (reason.empty())
        return checker;
    prompter.Show(PromptKind::Warning, reason, PromptButtons::Ok);
    return nullptr;
}

} // namespace kemptor
