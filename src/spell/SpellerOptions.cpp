#include "spell/SpellerOptions.h"

#include "platform/Profile.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <system_error>

namespace kemptor {

namespace {

constexpr const char* kSection = "Speller";

bool ReadBool(const char* key, bool defaultValue, const std::string& fileName) {
    return GetProfileBool(kSection, key, defaultValue, fileName);
}

} // namespace

std::string DefaultCustomDictionary() {
    return SettingsDirectory() + kCustomDictionaryFileName;
}

SpellerOptions LoadSpellerOptions(const std::string& fileName) {
    SpellerOptions options;
    options.Language = GetPrivateProfileString(kSection, "Language", "", fileName);
    options.CustomDictionary =
        ReadProfileValue(kSection, "CustomDictionary", fileName).value_or(DefaultCustomDictionary());
    options.SkipUpperCase = ReadBool("SkipUpperCase", options.SkipUpperCase, fileName);
    options.SkipWordsWithDigits = ReadBool("SkipWordsWithDigits", options.SkipWordsWithDigits, fileName);
    return options;
}

std::optional<std::string> SaveSpellerOptions(const SpellerOptions& options, const std::string& fileName) {
    const std::pair<const char*, std::string> values[] = {
        {"Language", options.Language},
        {"CustomDictionary", options.CustomDictionary},
        {"SkipUpperCase", options.SkipUpperCase ? "1" : "0"},
        {"SkipWordsWithDigits", options.SkipWordsWithDigits ? "1" : "0"},
    };
    for (const auto& [key, value] : values)
        if (!WritePrivateProfileString(kSection, key, value, fileName))
            return UnableToWriteMessage(ProfilePath(fileName));
    return std::nullopt;
}

std::vector<std::string> DictionaryDirectories() {
    std::vector<std::string> dirs;
    if (const char* dicPath = std::getenv("DICPATH")) {
        std::string list = dicPath;
        for (std::size_t start = 0; start <= list.size();) {
            const std::size_t colon = std::min(list.find(':', start), list.size());
            if (colon > start)
                dirs.push_back(list.substr(start, colon - start));
            start = colon + 1;
        }
    }
    if (const char* home = std::getenv("HOME"))
        dirs.push_back(std::string(home) + "/.local/share/hunspell");
    for (const char* dir : {"/usr/local/share/hunspell", "/usr/share/hunspell", "/usr/share/myspell/dicts",
                            "/usr/share/myspell"})
        dirs.emplace_back(dir);
    return dirs;
}

std::vector<InstalledDictionary> InstalledDictionaries() {
    namespace fs = std::filesystem;
    std::map<std::string, InstalledDictionary> found;
    for (const std::string& dir : DictionaryDirectories()) {
        std::error_code ec;
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
            const fs::path& aff = it->path();
            if (aff.extension() != ".aff")
                continue;
            fs::path dic = aff;
            dic.replace_extension(".dic");
            std::error_code dicError;
            if (!fs::is_regular_file(dic, dicError))
                continue;
            const std::string language = aff.stem().string();
            if (!found.count(language))
                found[language] = {language, aff.string(), dic.string()};
        }
    }
    std::vector<InstalledDictionary> list;
    for (auto& [language, dictionary] : found)
        list.push_back(std::move(dictionary));
    return list;
}

std::optional<InstalledDictionary> FindDictionary(const std::string& language) {
    const std::vector<InstalledDictionary> installed = InstalledDictionaries();
    const std::string wanted = language.empty() ? "en_US" : language;
    for (const auto& dictionary : installed)
        if (dictionary.Language == wanted)
            return dictionary;
    if (language.empty() && !installed.empty())
        return installed.front();
    return std::nullopt;
}

} // namespace kemptor
