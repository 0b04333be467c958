#include "project/ExcludePatterns.h"

#include <algorithm>
#include <cctype>

namespace kemptor {

namespace {

char Fold(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// A bracket expression at pattern[p] ('['): whether it matches `c`, and where the pattern goes on.
// A "[" without its "]" is an ordinary character.
bool MatchSet(std::string_view pattern, std::size_t& p, char c) {
    std::size_t q = p + 1;
    const bool negated = q < pattern.size() && (pattern[q] == '!' || pattern[q] == '^');
    if (negated)
        ++q;
    bool matched = false;
    const std::size_t first = q;
    for (; q < pattern.size() && (pattern[q] != ']' || q == first); ++q) {
        if (q + 2 < pattern.size() && pattern[q + 1] == '-' && pattern[q + 2] != ']') {
            matched = matched || (Fold(c) >= Fold(pattern[q]) && Fold(c) <= Fold(pattern[q + 2]));
            q += 2;
        } else {
            matched = matched || Fold(c) == Fold(pattern[q]);
        }
    }
    if (q >= pattern.size()) { // no closing bracket
        ++p;
        return c == '[';
    }
    p = q + 1;
    return matched != negated && c != '/';
}

bool Match(std::string_view pattern, std::size_t p, std::string_view text, std::size_t t) {
    while (p < pattern.size()) {
        if (pattern[p] == '*') {
            const bool across = p + 1 < pattern.size() && pattern[p + 1] == '*';
            std::size_t rest = p + (across ? 2 : 1);
            // "**/" may also stand for no folder at all.
            if (across && rest < pattern.size() && pattern[rest] == '/' && Match(pattern, rest + 1, text, t))
                return true;
            for (std::size_t k = t;; ++k) {
                if (Match(pattern, rest, text, k))
                    return true;
                if (k >= text.size() || (!across && text[k] == '/'))
                    return false;
            }
        }
        if (t >= text.size())
            return false;
        if (pattern[p] == '[') {
            if (!MatchSet(pattern, p, text[t]))
                return false;
        } else if (pattern[p] == '?') {
            if (text[t] == '/')
                return false;
            ++p;
        } else {
            if (Fold(pattern[p]) != Fold(text[t]))
                return false;
            ++p;
        }
        ++t;
    }
    return t == text.size();
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

} // namespace

bool GlobMatch(std::string_view pattern, std::string_view text) {
    return Match(pattern, 0, text, 0);
}

ExcludePatterns::ExcludePatterns(const std::vector<std::string>& values) {
    for (const std::string& value : values) {
        std::size_t start = 0;
        while (start <= value.size()) {
            std::size_t end = value.find(';', start);
            if (end == std::string::npos)
                end = value.size();
            std::string glob(Trimmed(std::string_view(value).substr(start, end - start)));
            start = end + 1;
            std::replace(glob.begin(), glob.end(), '\\', '/');
            Pattern pattern;
            while (!glob.empty() && glob.back() == '/') {
                glob.pop_back();
                pattern.foldersOnly = true;
            }
            pattern.anywhere = glob.find('/') == std::string::npos;
            while (glob.size() > 1 && glob[0] == '.' && glob[1] == '/')
                glob.erase(0, 2);
            if (!glob.empty() && glob[0] == '/')
                glob.erase(0, 1);
            if (glob.empty())
                continue;
            pattern.glob = std::move(glob);
            patterns_.push_back(std::move(pattern));
        }
    }
}

bool ExcludePatterns::Excludes(std::string_view relativePath) const {
    // The path itself and each folder it lies in, the folders first: "a/b/c.bas" is tried as "a",
    // "a/b" and "a/b/c.bas" (and, for patterns without "/", as the names "a", "b", "c.bas").
    for (std::size_t end = relativePath.find('/');; end = relativePath.find('/', end + 1)) {
        const bool folder = end != std::string_view::npos;
        const std::string_view prefix = relativePath.substr(0, folder ? end : relativePath.size());
        const std::size_t slash = prefix.rfind('/');
        const std::string_view name = slash == std::string_view::npos ? prefix : prefix.substr(slash + 1);
        for (const Pattern& pattern : patterns_) {
            if (pattern.foldersOnly && !folder)
                continue;
            if (GlobMatch(pattern.glob, pattern.anywhere ? name : prefix))
                return true;
        }
        if (!folder)
            return false;
    }
}

} // namespace kemptor
