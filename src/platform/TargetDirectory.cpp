#include "platform/TargetDirectory.h"

#include <cctype>

#include "platform/WinPath.h"

namespace kemptor {

TargetDirectory::TargetDirectory(std::string hostDir) : dir_(std::move(hostDir)) {}

std::string TargetDirectory::PathFor(const std::string& fileName) {
    std::string lower = fileName;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    auto found = claims_.find(lower);
    if (found != claims_.end())
        return found->second.name == fileName ? found->second.path : dir_ + fileName;
    // The exact name when it exists, else a file of the same letters (the lookup keeps its listing of
    // the directory current as files are written, so this stays cheap for thousands of files).
    std::string path = MapToHostPath(dir_ + fileName);
    claims_.emplace(std::move(lower), Claim{fileName, path});
    return path;
}

} // namespace kemptor
