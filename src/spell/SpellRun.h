#pragma once
// Spell checking as a processing run or a format command sets it up.

namespace kemptor {

struct Settings;
class Prompter;
class SpellTextChecker;

// Whether the settings ask for any text to be spell-checked.
bool SpellingWanted(const Settings& settings);

// The checker to hand a run's engine: nullptr when the settings want no spell checking or there is no
// checker; nullptr too when the checker cannot check (no dictionary), after telling the user why, once.
SpellTextChecker* CheckerForRun(const Settings& settings, SpellTextChecker* checker, Prompter& prompter);

} // namespace kemptor
