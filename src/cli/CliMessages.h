#pragma once
// How the commands that check and format trees name files and places in them: file names made safe
// for one line of output, messages in the compiler convention ("PATH:LINE:COL: error: TEXT") that
// editors and CI jobs turn into links, and the --quiet/--verbose/--color options.

#include <CLI/CLI.hpp>

#include <cstddef>
#include <string>
#include <string_view>

namespace kemptor {

// A file name for a line of text output: a backslash, TAB, CR, LF and other control characters are
// written as \\, \t, \r, \n and \xHH, and so are bytes that are not UTF-8, so no name can end a line or
// forge another one.
std::string EscapedName(std::string_view name);

// True when `text` is valid UTF-8.
bool IsValidUtf8(std::string_view text);

// "PATH:LINE:COL: KIND: TEXT" ("PATH: KIND: TEXT" without a line), PATH escaped.
std::string LocatedMessage(std::string_view path, std::size_t line, std::size_t column, std::string_view kind,
                           std::string_view text);

// --quiet, --verbose and --color=auto|always|never.
struct OutputOptions {
    bool quiet = false;   // errors only
    bool verbose = false; // also each file and the time it took, on stderr
    std::string color = "auto";

    void AddTo(CLI::App& sub, bool withColor);
    // Colour for standard output: "always", or "auto" on a terminal.
    bool ColorOnStdout() const;
};

} // namespace kemptor
