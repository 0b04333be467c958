#pragma once
// The Exclude= patterns of a project settings file's [Files] section: sources that a walk of a
// directory passes over (generated code, vendored libraries, a folder kept in its own style).
//
// A pattern is a glob over paths relative to the settings file's directory, written with "/" (a "\"
// counts as "/" too, as Windows users write them), letter case ignored as Windows ignores it:
//   *   any run of characters within one name     ?   one character     [abc] [a-z] [!a]   one of a set
//   **  any run of names ("legacy/**/*.bas", "**/Generated")
// A pattern without "/" matches a file or folder name at any depth ("*.Designer.bas", "vendor"); one
// with a "/" matches from the settings file's directory ("src/old"). A pattern that matches a folder
// excludes everything below it; a trailing "/" makes a pattern match folders only. Several patterns
// are separated by ";" and Exclude= may be given on several lines.

#include <string>
#include <string_view>
#include <vector>

namespace kemptor {

// True when `text` matches the glob `pattern` whole ("*" and "?" never match "/"; "**" does).
// ASCII letters compare without regard to case.
bool GlobMatch(std::string_view pattern, std::string_view text);

class ExcludePatterns {
public:
    ExcludePatterns() = default;
    // Patterns from the values of Exclude= keys, each a ";"-separated list; blanks around one are trimmed.
    explicit ExcludePatterns(const std::vector<std::string>& values);

    bool Empty() const { return patterns_.empty(); }
    // True when a file at `relativePath` ("/"-separated, relative to the settings file's directory) is
    // excluded, itself or through one of the folders it lies in.
    bool Excludes(std::string_view relativePath) const;

private:
    struct Pattern {
        std::string glob;
        bool anywhere = false;    // no "/" in it: matches a name at any depth
        bool foldersOnly = false; // written with a trailing "/"
    };
    std::vector<Pattern> patterns_;
};

} // namespace kemptor
