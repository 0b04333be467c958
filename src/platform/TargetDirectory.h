#pragma once
// Where a run writes its files: the output directory a setting names, and the names of the files in it.
//
// Project files written on Windows name their files in any letter case, and the output directory may
// hold an earlier run's copies under other cases. A name resolves to the file that has exactly that name
// when there is one, else to a file of the same letters in another case that this run has not written
// (an earlier copy, which it replaces), else to the name itself. Two files of one run whose names differ
// only in case (dup.bas, DUP.BAS) thus stay two files instead of one overwriting the other.

#include <string>
#include <unordered_map>

namespace kemptor {

namespace host {
struct NameStatus;
} // namespace host

// The output directory of a run for the text of BackupNewCodeDirectory (as text; the run resolves it on
// the host before it compares or creates anything): an absolute text as it stands,
// any other below the project directory (".\STYLED\" gives the project's STYLED folder). The result
// always ends with a separator, since file names are joined to it by concatenation.
std::string OutputDirectoryFor(const std::string& projectDir, const std::string& setting);

class TargetDirectory {
public:
    // `hostDir`: an existing host directory ending with '/'.
    explicit TargetDirectory(std::string hostDir);

    const std::string& HostDir() const { return dir_; }

    // The host path to write the file `fileName` (a bare name) to; the same name gives the same path
    // for the whole run. Write it with the Host functions of SafeFile.h, which do no case mapping.
    std::string PathFor(const std::string& fileName);
    // The same, telling in `seen` what the look at the path found when this call looked at it (the
    // first call for a name does; MapToHostPath).
    std::string PathFor(const std::string& fileName, host::NameStatus* seen);

private:
    std::string dir_;
    struct Claim {
        std::string name; // the name as asked for
        std::string path; // where it was written
    };
    std::unordered_map<std::string, Claim> claims_; // by lower-case name
};

} // namespace kemptor
