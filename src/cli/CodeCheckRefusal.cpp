#include "cli/CodeCheckRefusal.h"

#include "cli/CliMessages.h"

#include <algorithm>

namespace kemptor {

namespace {

std::string_view TrimmedLeft(std::string_view text) {
    const std::size_t at = text.find_first_not_of(" \t");
    return at == std::string_view::npos ? std::string_view() : text.substr(at);
}

// A line quoted in a message: escaped for one line of output, long lines shortened.
std::string Quoted(std::string_view line) {
    std::string_view text = TrimmedLeft(line);
    const bool cut = text.size() > 60;
    return "\"" + EscapedName(text.substr(0, 60)) + (cut ? "...\"" : "\"");
}

} // namespace

RefusalPlace LocateRefusal(const TextLines& before, const TextLines& after, const CodeMismatch& mismatch,
                           std::string_view consequence) {
    RefusalPlace place;
    place.line = mismatch.originalLine > 0 ? mismatch.originalLine : before.size();
    const std::size_t formattedIndex = mismatch.formattedLine > 0 ? mismatch.formattedLine - 1 : after.size();

    const std::string_view original =
        place.line >= 1 && place.line <= before.size() ? std::string_view(before[place.line - 1]) : "";
    const std::string_view formatted =
        formattedIndex < after.size() ? std::string_view(after[formattedIndex]) : "";
    const std::string_view a = TrimmedLeft(original);
    const std::string_view b = TrimmedLeft(formatted);
    const std::size_t same =
        static_cast<std::size_t>(std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin());
    place.column =
        mismatch.column > 0 ? mismatch.column : original.size() - a.size() + std::min(same, a.size()) + 1;

    if (mismatch.comment)
        place.reason = "code check: the formatted text would lose the comment " + Quoted(original);
    else if (formattedIndex < after.size())
        place.reason = "code check: the formatted text would change the code: " + Quoted(original) +
                       " would become " + Quoted(formatted);
    else
        place.reason =
            "code check: the formatted text would change the code from " + Quoted(original) + " on";
    if (!consequence.empty())
        place.reason += "; " + std::string(consequence);
    return place;
}

} // namespace kemptor
