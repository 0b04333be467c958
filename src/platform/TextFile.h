#pragma once
// Text file reading and writing at the host boundary. Text is 8-bit: every byte other than the line
// ends is kept as it is. Paths given here are Windows-style or host paths; they are mapped with
// MapToHostPath first.

#include <optional>
#include <string>
#include <vector>

namespace kemptor {

using TextLines = std::vector<std::string>;

// Reads a whole file as lines; a line ends at CR LF, LF or a lone CR. A final line end does not add an
// empty line. std::nullopt when the file cannot be opened or read.
std::optional<TextLines> ReadTextLines(const std::string& path);

// Counts the lines the way ReadTextLines splits them, without keeping them; -1 when unreadable.
long CountTextLines(const std::string& path);

// Writes lines, each ending in CR LF, to a temporary file in the target's directory and renames it over
// the target, so no crash leaves half a file. False on any failure (nothing is left behind).
bool WriteTextLinesAtomic(const std::string& path, const TextLines& lines);

} // namespace kemptor
