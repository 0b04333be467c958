#include "platform/TargetDirectory.h"

#include <cctype>

#include "platform/WinPath.h"

namespace kemptor {

std::string OutputDirectoryFor(const std::string& projectDir, const std::string& setting) {
    std::string dir = IsAbsolutePath(setting) ? setting : projectDir + setting;
    if (dir.empty() || !IsPathSeparator(dir.back())) {
        // The separator the text already uses: "/tmp/out" becomes "/tmp/out/", "C:\OUT" "C:\OUT\".
        const size_t last = dir.find_last_of("\\/");
        dir += last != std::string::npos && dir[last] == '/' ? '/' : '\\';
    }
    return dir;
}

TargetDirectory::TargetDirectory(std::string hostDir) : dir_(std::move(hostDir)) {}

std::string TargetDirectory::PathFor(const std::string& fileName) {
    return PathFor(fileName, nullptr);
}

std::string TargetDirectory::PathFor(const std::string& fileName, host::NameStatus* seen) {
    std::string lower = fileName;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    auto found = claims_.find(lower);
    if (found != claims_.end())
        return found->second.name == fileName ? found->second.path : dir_ + fileName;
    // The exact name when it exists, else a file of the same letters (the lookup keeps its listing of
    // the directory current as files are written, so this stays cheap for thousands of files).
    std::string path = MapToHostPath(dir_ + fileName, seen);
    claims_.emplace(std::move(lower), Claim{fileName, path});
    return path;
}

} // namespace kemptor
