#pragma once
// The speller's own options, kept in their own file in the settings directory (SPELLER.INI), and the
// Hunspell dictionaries installed on the system.

#include "spell/SpellWords.h"

#include <optional>
#include <string>
#include <vector>

namespace kemptor {

inline constexpr const char* kSpellerOptionsFileName = "SPELLER.INI";
inline constexpr const char* kCustomDictionaryFileName = "CUSTOM.DIC";

struct SpellerOptions {
    std::string Language;         // dictionary name ("en_US"); empty: en_US when installed, else the first
    std::string CustomDictionary; // path of the word list that "Add To Custom" writes; empty: none
    bool SkipUpperCase = true;
    bool SkipWordsWithDigits = true;

    SpellWordRules Rules() const { return {SkipUpperCase, SkipWordsWithDigits}; }
    bool operator==(const SpellerOptions&) const = default;
};

// The custom dictionary a fresh installation uses: CUSTOM.DIC in the settings directory.
std::string DefaultCustomDictionary();

// Reads the options; a missing file or key keeps the default (a stored empty dictionary path means none).
SpellerOptions LoadSpellerOptions(const std::string& fileName = kSpellerOptionsFileName);
// Writes them; the error text "Unable to write to <file>" when the file refuses the write.
std::optional<std::string> SaveSpellerOptions(const SpellerOptions& options,
                                              const std::string& fileName = kSpellerOptionsFileName);

// The directories searched for dictionaries: those of $DICPATH first, then the user's and the system's.
std::vector<std::string> DictionaryDirectories();

struct InstalledDictionary {
    std::string Language; // "en_US"
    std::string AffPath;
    std::string DicPath;
};
// Every dictionary with both its .aff and .dic file, by language name, the first directory winning.
std::vector<InstalledDictionary> InstalledDictionaries();
// The dictionary for `language` (the rule of SpellerOptions::Language for an empty one), if installed.
std::optional<InstalledDictionary> FindDictionary(const std::string& language);

} // namespace kemptor
