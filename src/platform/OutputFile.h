#pragma once
// Writing a file that a command was told to create (`report FILE -o OUT.pdf`): the name given may be
// anything a user, a script or a cloned repository can put there, so only two kinds of target are
// written: a new name, and an existing regular file. A FIFO, a device node, a socket or a directory is
// refused, and so is the command's own input (under any of its names) and a symbolic link that leads out
// of the directory it stands in. Writing goes through the atomic replacement of `format -i`
// (ReplaceFileContents): a replaced file keeps its owner, group, mode and hard links.

#include <string>
#include <string_view>

namespace kemptor {

enum class OutputFileOutcome {
    Written,
    NotRegular,   // a directory, FIFO, device node or socket: nothing written
    IsInput,      // the target is the command's input file: nothing written
    LinkLeaves,   // a symbolic link to another directory, or one that leads nowhere: nothing written
    ReadOnly,     // an existing file without write permission: nothing written
    Failed,       // could not be written; an existing file is as it was
};

// Writes `bytes` to `path` (Windows-style or host path) under the rules above. `inputPath` is the file
// the output is made from (empty: none).
OutputFileOutcome WriteOutputFile(const std::string& path, const std::string& inputPath, std::string_view bytes);

// A sentence for the outcome, naming the file ("OUT is not a regular file; nothing was written.");
// empty for Written.
std::string OutputFileOutcomeText(const std::string& path, OutputFileOutcome outcome);

} // namespace kemptor
