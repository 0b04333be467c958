#include "platform/PathBounds.h"

#include "platform/Host.h"

#include <filesystem>
#include <system_error>

namespace kemptor {

namespace fs = std::filesystem;

namespace {

fs::path AbsoluteNormal(const std::string& hostPath) {
    std::error_code ec;
    fs::path p = fs::absolute(host::FsPath(hostPath.empty() ? "." : hostPath), ec).lexically_normal();
    // "a/b/" normalises to "a/b/" with an empty file name; the directory is "a/b".
    if (!p.has_filename() && p.has_parent_path() && p != p.root_path())
        p = p.parent_path();
    return p;
}

} // namespace

std::optional<std::string> RepositoryRootOf(const std::string& hostPath) {
    std::error_code ec;
    for (fs::path dir = AbsoluteNormal(hostPath);; dir = dir.parent_path()) {
        if (fs::exists(dir / ".git", ec))
            return host::FromFsPath(dir);
        if (dir == dir.parent_path() || dir.empty())
            return std::nullopt;
    }
}

std::optional<std::string> HomeDirectory() {
    const std::string home = host::UserHomeDirectory();
    if (home.empty())
        return std::nullopt;
    return host::FromFsPath(AbsoluteNormal(home));
}

bool LiesWithin(const std::string& hostPath, const std::string& hostDir) {
    const fs::path path = host::FsPath(host::ComparisonKey(host::FromFsPath(AbsoluteNormal(hostPath))));
    const fs::path dir = host::FsPath(host::ComparisonKey(host::FromFsPath(AbsoluteNormal(hostDir))));
    // Compared element by element: "/repo-other" is not within "/repo".
    auto p = path.begin();
    for (auto d = dir.begin(); d != dir.end(); ++d, ++p) {
        if (d->empty() && std::next(d) == dir.end())
            break; // a final separator of the directory
        if (p == path.end() || *p != *d)
            return false;
    }
    return true;
}

std::string ProjectBoundary(const std::string& projectHostPath) {
    if (auto root = RepositoryRootOf(projectHostPath))
        return *root;
    return host::FromFsPath(AbsoluteNormal(projectHostPath).parent_path());
}

} // namespace kemptor
