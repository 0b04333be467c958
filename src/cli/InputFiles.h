#pragma once
// The files that `check` and `format` work on, from what the command line names: files as they are
// (a name is the host's own, never mapped as a Windows path), every Visual Basic source below a
// directory (SourceTree.h: git's ignore rules and the settings file's Exclude= patterns), a project's
// selected files (`check`), and "-" for standard input under the name --stdin-filename gives it.

#include <set>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "project/TSourceMgt.h"

namespace kemptor {

struct InputFile {
    std::string path;         // host path to read; empty for standard input
    std::string display;      // how messages and reports name it
    std::string settingsPath; // whose settings apply (the file, its project, or the stdin name)
    TSourceKind kind = skModule;
};

struct InputRequest {
    std::vector<std::string> paths;
    std::string kindOption; // --kind
    std::string stdinName;  // --stdin-filename
    bool projectsAllowed = false;
    std::vector<std::string> only; // --only (a project's files)
    bool typedNames = false;       // a file named on the command line is shown as typed (else relative)
};

struct InputListing {
    std::vector<InputFile> files;
    // Files a project names that could not be taken (missing, a FIFO, ...): each was warned about.
    std::vector<std::string> leftOut;
    // Files named or listed that are not read at all: no source kind, or outside the repository (else
    // the project's directory). Each was warned about; the command ends with a failure.
    int skipped = 0;
    bool ok = true; // false: a usage error or a project that could not be opened (message on stderr)
    // The comparison keys of the first `keyed` files: a file that a project names and that is listed
    // already (named too, or shared by the projects of a group) is listed once.
    std::set<std::string> keys;
    std::size_t keyed = 0;
};

// The name standard input goes by without --stdin-filename.
inline constexpr const char* kStdinDisplayName = "<stdin>";

// A path relative to the working directory where possible, "/"-separated, for reports.
std::string DisplayPath(const std::string& hostPath);

// Expands the command line's paths in order; directories give their sources in byte order.
InputListing ListInputFiles(const InputRequest& request, const CommonOptions& common);

} // namespace kemptor
