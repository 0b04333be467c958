#include "spell/HunspellSpeller.h"

#include "platform/Host.h"
#include "platform/TextFile.h"
#include "platform/WinPath.h"
#include "spell/SpellEngine.h"
#include "spell/SpellWords.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace kemptor {

namespace {

// The cost of the edits between two words: a letter inserted, removed or changed, or two neighbouring
// letters swapped, cost 2; one vowel typed for another, the commonest spelling slip, costs 1. Letters
// compare without regard to case.
std::size_t EditCost(const std::string& a, const std::string& b) {
    const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    const auto vowel = [&lower](char c) {
        return std::string_view("aeiouy").find(lower(c)) != std::string_view::npos;
    };
    const auto change = [&](char x, char y) -> std::size_t {
        if (lower(x) == lower(y))
            return 0;
        return vowel(x) && vowel(y) ? 1 : 2;
    };
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i)
        d[i][0] = 2 * i;
    for (std::size_t j = 0; j <= b.size(); ++j)
        d[0][j] = 2 * j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            d[i][j] =
                std::min({d[i - 1][j] + 2, d[i][j - 1] + 2, d[i - 1][j - 1] + change(a[i - 1], b[j - 1])});
            if (i > 1 && j > 1 && lower(a[i - 1]) == lower(b[j - 2]) && lower(a[i - 2]) == lower(b[j - 1]))
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 2);
        }
    }
    return d[a.size()][b.size()];
}

} // namespace

HunspellSpeller::HunspellSpeller(std::string optionsFile)
    : optionsFile_(std::move(optionsFile)), options_(LoadSpellerOptions(optionsFile_)) {}

HunspellSpeller::~HunspellSpeller() = default;

void HunspellSpeller::ForgetVerdicts() {
    verdicts_.clear();
    suggested_.clear();
}

void HunspellSpeller::SetOptions(const SpellerOptions& options) {
    options_ = options;
    ForgetVerdicts();
    engine_.reset();
    loadTried_ = false;
    unavailable_.clear();
}

void HunspellSpeller::ReloadOptions() {
    SetOptions(LoadSpellerOptions(optionsFile_));
}

bool HunspellSpeller::EnsureLoaded() {
    if (!loadTried_) {
        loadTried_ = true;
        const std::optional<InstalledDictionary> dictionary = FindDictionary(options_.Language);
        if (!dictionary) {
            const std::string language = options_.Language.empty() ? "any language" : options_.Language;
            unavailable_ = "No Hunspell dictionary for " + language +
                           " is installed, so spelling is not checked.  Install one (for example the package "
                           "hunspell-en-us) or choose an installed language in the spell checker's options.";
            return false;
        }
        engine_ = Engine::Open(dictionary->AffPath, dictionary->DicPath);
        if (!engine_) {
            unavailable_ = "This build of the program has no spell checker, so spelling is not checked.";
            return false;
        }
        LoadCustomWords();
    }
    return engine_ != nullptr;
}

void HunspellSpeller::LoadCustomWords() {
    ForgetVerdicts();
    if (options_.CustomDictionary.empty())
        return;
    if (const auto lines = ReadTextLines(MapToHostPath(options_.CustomDictionary)))
        for (const std::string& word : *lines)
            if (!word.empty())
                engine_->Add(Latin1ToUtf8(word));
}

std::string HunspellSpeller::UnavailableReason() {
    EnsureLoaded();
    return unavailable_;
}

bool HunspellSpeller::IsKnown(const std::string& word) {
    if (word.empty() || ignoreAll_.count(word) || !EnsureLoaded())
        return true;
    // A text of millions of different words would fill memory: the cache starts again past a bound.
    if (verdicts_.size() >= kCachedWords || suggested_.size() >= kCachedWords)
        ForgetVerdicts();
    const auto [at, added] = verdicts_.try_emplace(word, false);
    if (added)
        at->second = engine_->Spell(Latin1ToUtf8(word));
    return at->second;
}

std::vector<std::string> HunspellSpeller::Suggest(const std::string& word) {
    std::vector<std::string> list;
    if (word.empty() || word.size() > kMaxSuggestedWord || !EnsureLoaded())
        return list;
    if (const auto known = suggested_.find(word); known != suggested_.end())
        return known->second;
    // The commonest slips are two neighbouring letters in the wrong order ("teh", "wierd") and a double
    // letter typed once ("adress"); a known word that undoes one of them comes first, before the
    // dictionary's own order.
    const auto addIfKnown = [&](const std::string& candidate) {
        if (engine_->Spell(Latin1ToUtf8(candidate)) &&
            std::find(list.begin(), list.end(), candidate) == list.end())
            list.push_back(candidate);
    };
    for (std::size_t k = 0; k + 1 < word.size(); ++k) {
        if (word[k] == word[k + 1])
            continue;
        std::string swapped = word;
        std::swap(swapped[k], swapped[k + 1]);
        addIfKnown(swapped);
    }
    for (std::size_t k = 0; k < word.size(); ++k)
        if (k + 1 == word.size() || word[k] != word[k + 1])
            addIfKnown(word.substr(0, k + 1) + word.substr(k));
    // Then Hunspell's own list, the cheapest slips first and, at equal cost, the words of the same
    // length ("totel" is "total" before "totes" and "tote").
    std::vector<std::string> others;
    for (const std::string& suggestion : engine_->Suggest(Latin1ToUtf8(word))) {
        std::string text = Utf8ToLatin1(suggestion);
        if (std::find(list.begin(), list.end(), text) == list.end())
            others.push_back(std::move(text));
    }
    const auto rank = [&word](const std::string& candidate) {
        return std::pair(EditCost(word, candidate), candidate.size() != word.size());
    };
    std::stable_sort(others.begin(), others.end(),
                     [&rank](const std::string& a, const std::string& b) { return rank(a) < rank(b); });
    list.insert(list.end(), others.begin(), others.end());
    suggested_.emplace(word, list);
    return list;
}

void HunspellSpeller::SetClearCounts(int) {
    checkedWords_ = 0;
}

void HunspellSpeller::SetCheckText(const std::string& text) {
    text_ = text;
    scanFrom_ = 0;
    replaceOccurred_ = false;
    Scan();
}

int HunspellSpeller::ResumeCheck() {
    Scan();
    return result_;
}

// Looks for the next word from scanFrom_ on that the speller does not know or holds an action for.
void HunspellSpeller::Scan() {
    for (const TextWord& word : SpellWords(text_, options_.Rules())) {
        if (word.offset < scanFrom_)
            continue;
        const std::string w = text_.substr(word.offset, word.length);
        ++checkedWords_;
        int code = 0;
        irAction_ = 0;
        if (const auto stored = replaceAll_.find(w); stored != replaceAll_.end()) {
            code = spell_result::StoredAction;
            irAction_ = spell_action::ReplaceAlways;
            replacement_ = stored->second;
        } else if (!IsKnown(w)) {
            code = spell_result::UnknownWord;
        }
        if (code != 0) {
            result_ = code;
            misspelled_ = w;
            misspelledAt_ = word.offset;
            misspelledLength_ = word.length;
            scanFrom_ = word.offset + word.length;
            return;
        }
    }
    scanFrom_ = text_.size();
    result_ = spell_result::NoMoreWords;
}

void HunspellSpeller::SetReplaceLastWord(int) {
    if (misspelledAt_ + misspelledLength_ > text_.size())
        return;
    text_.replace(misspelledAt_, misspelledLength_, replacement_);
    misspelledLength_ = replacement_.size();
    scanFrom_ = misspelledAt_ + replacement_.size(); // the replacement itself is not checked again
    replaceOccurred_ = true;
}

void HunspellSpeller::SetCheckWord(const std::string& word) {
    // An unknown word gives a negative value that lets checking go on after the dialog.
    result_ = IsKnown(word) ? spell_result::NoMoreWords : -4;
}

void HunspellSpeller::SetFindSuggestions(const std::string& word) {
    suggestions_ = Suggest(word);
}

std::string HunspellSpeller::Suggestion(int index) const {
    return index >= 1 && index <= SuggestionCount() ? suggestions_[index - 1] : std::string();
}

// A custom dictionary accepts words when its file, or the directory it would be made in, is writable.
bool HunspellSpeller::CustomAcceptsWords() const {
    namespace fs = std::filesystem;
    if (options_.CustomDictionary.empty())
        return false;
    fs::path path = MapToHostPath(options_.CustomDictionary);
    std::error_code ec;
    if (fs::exists(path, ec))
        return fs::is_regular_file(path, ec) && host::IsWritable(host::FromFsPath(path));
    for (path = path.parent_path(); !path.empty(); path = path.parent_path()) {
        if (fs::exists(path, ec))
            return fs::is_directory(path, ec) && host::IsWritable(host::FromFsPath(path));
        if (path == path.root_path())
            break;
    }
    return false;
}

int HunspellSpeller::CustomCount() const {
    return options_.CustomDictionary.empty() ? 0 : 1;
}

int HunspellSpeller::DictionaryFlags(int index) const {
    return index == -1 && CustomAcceptsWords() ? 1 : 0;
}

std::string HunspellSpeller::DictionaryName(int index) const {
    return index == -1 && !options_.CustomDictionary.empty() ? ExtractFileName(options_.CustomDictionary)
                                                             : std::string();
}

void HunspellSpeller::DictionaryAction(int index, int action) {
    if (index != -1 || action != spell_action::IgnoreAlways || misspelled_.empty() || !CustomAcceptsWords())
        return;
    const std::string path = MapToHostPath(options_.CustomDictionary);
    std::string bytes = ReadFileBytes(path).value_or(std::string());
    if (!bytes.empty() && bytes.back() != '\n')
        bytes += '\n';
    bytes += misspelled_ + '\n';
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    if (!WriteFileAtomic(path, bytes))
        return;
    if (EnsureLoaded())
        engine_->Add(Latin1ToUtf8(misspelled_));
    ForgetVerdicts();
}

void HunspellSpeller::SetAddToCommonIRList(int action) {
    if (misspelled_.empty())
        return;
    if (action == spell_action::IgnoreAlways)
        ignoreAll_.insert(misspelled_);
    else if (action == spell_action::ReplaceAlways)
        replaceAll_[misspelled_] = replacement_;
}

void HunspellSpeller::SetPopupOptions(int) {
    if (!optionsDialog_)
        return;
    optionsDialog_();
    // The dialog saved what the user chose; the lists of this session stay.
    ReloadOptions();
}

} // namespace kemptor
