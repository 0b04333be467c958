#include "project/SourceTree.h"

#include "platform/Host.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "project/ExcludePatterns.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>

namespace kemptor {

namespace fs = std::filesystem;

namespace {

// Variables that a git hook's environment may hold (relative to the hook's directory): the listing
// runs in another directory and finds the repository from there.
const std::vector<std::string> kGitLocationVariables = {"GIT_DIR", "GIT_WORK_TREE", "GIT_INDEX_FILE",
                                                        "GIT_PREFIX", "GIT_COMMON_DIR"};

// A relative host path with "/" separators, as git writes them and the patterns take them.
std::string Slashed(std::string path) {
    if (host::kSeparator != '/')
        std::replace(path.begin(), path.end(), host::kSeparator, '/');
    return path;
}

// The files git lists below `root` (relative, "/"-separated); nullopt when git cannot list them (no
// work tree, or git is not installed).
std::optional<std::vector<std::string>> GitListing(const std::string& root) {
    const auto run =
        host::RunProgram({"git", "ls-files", "-z", "--cached", "--others", "--exclude-standard", "--", "."},
                         root, kGitLocationVariables);
    if (!run || run->exitCode != 0)
        return std::nullopt;
    std::vector<std::string> files;
    std::size_t start = 0;
    for (std::size_t end; (end = run->output.find('\0', start)) != std::string::npos; start = end + 1)
        if (end > start)
            files.push_back(run->output.substr(start, end - start));
    return files;
}

// The regular files below `root` (relative, "/"-separated), ".git" folders passed over; links to
// folders are not followed, so no loop is walked forever.
std::vector<std::string> WalkListing(const std::string& root) {
    std::vector<std::string> files;
    std::error_code ec;
    const fs::path base = host::FsPath(root);
    fs::recursive_directory_iterator it(base, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        std::error_code statEc;
        if (it->is_directory(statEc) && it->path().filename() == ".git") {
            it.disable_recursion_pending();
            continue;
        }
        if (it->is_regular_file(statEc))
            files.push_back(Slashed(host::FromFsPath(it->path().lexically_relative(base))));
    }
    return files;
}

// True when `dir` lies in what looks like a git work tree (a ".git" in it or above it).
bool InsideGitWorkTree(const fs::path& dir) {
    std::error_code ec;
    for (fs::path d = dir;; d = d.parent_path()) {
        if (fs::exists(d / ".git", ec))
            return true;
        if (d == d.parent_path() || d.empty())
            return false;
    }
}

// The Exclude= patterns in force for each folder, with the folder they are relative to; settings files
// are read once each.
class ExcludeLookup {
public:
    explicit ExcludeLookup(const SettingsFileFinder& finder) : finder_(finder) {}

    // True when the file (absolute) is excluded by the patterns of the settings file governing it.
    bool Excludes(const fs::path& file) {
        const Rules& rules = RulesFor(file.parent_path());
        if (rules.patterns.Empty())
            return false;
        const fs::path relative = file.lexically_relative(rules.base);
        return !relative.empty() && rules.patterns.Excludes(Slashed(host::FromFsPath(relative)));
    }

private:
    struct Rules {
        ExcludePatterns patterns;
        fs::path base;
    };

    const Rules& RulesFor(const fs::path& dir) {
        const std::string key = host::FromFsPath(dir);
        if (auto it = byDir_.find(key); it != byDir_.end())
            return *it->second;
        const std::optional<std::string> file = finder_ ? finder_(key) : std::nullopt;
        const std::string fileKey = file.value_or("");
        auto found = byFile_.find(fileKey);
        if (found == byFile_.end()) {
            Rules rules;
            if (file) {
                rules.patterns = ExcludePatterns(ReadExcludeValues(*file));
                rules.base = fs::absolute(host::FsPath(*file)).lexically_normal().parent_path();
            }
            found = byFile_.emplace(fileKey, std::make_unique<Rules>(std::move(rules))).first;
        }
        byDir_[key] = found->second.get();
        return *found->second;
    }

    const SettingsFileFinder& finder_;
    std::map<std::string, const Rules*> byDir_;
    std::map<std::string, std::unique_ptr<Rules>> byFile_;
};

} // namespace

bool IsVbSourceName(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || name.find('/', dot) != std::string_view::npos)
        return false;
    const std::string_view ext = name.substr(dot);
    for (const char* known : {".bas", ".cls", ".frm", ".ctl"})
        if (EqualNoCase(ext, known))
            return true;
    return false;
}

std::vector<std::string> ReadExcludeValues(const std::string& settingsFile) {
    std::vector<std::string> values;
    for (const ProfileKeyName& k : ListProfileKeys(settingsFile))
        if (EqualNoCase(k.section, "Files") && EqualNoCase(k.key, "Exclude"))
            values.push_back(k.value);
    return values;
}

SourceTreeListing ListSourceTree(const std::string& root, const SettingsFileFinder& settingsFileFor) {
    SourceTreeListing listing;
    std::error_code ec;
    const fs::path base = fs::absolute(host::FsPath(root), ec).lexically_normal();

    std::vector<std::string> relative;
    if (auto fromGit = GitListing(root)) {
        relative = std::move(*fromGit);
        listing.fromGit = true;
    } else {
        if (InsideGitWorkTree(base))
            listing.warnings.push_back("git cannot list " + root +
                                       " (is git installed?); it is walked without its ignore files");
        relative = WalkListing(root);
    }
    std::sort(relative.begin(), relative.end());
    relative.erase(std::unique(relative.begin(), relative.end()), relative.end());

    ExcludeLookup excludes(settingsFileFor);
    std::string prefix = root;
    if (!prefix.empty() && prefix.back() != '/' && prefix.back() != host::kSeparator)
        prefix += host::kSeparator;
    for (const std::string& rel : relative) {
        if (!IsVbSourceName(rel))
            continue;
        std::string native = rel;
        if (host::kSeparator != '/')
            std::replace(native.begin(), native.end(), '/', host::kSeparator);
        const std::string path = prefix + native;
        // git also lists tracked files that were deleted since, and links: only files that are there.
        if (listing.fromGit && host::StatusOf(path).kind != host::FileKind::Regular)
            continue;
        if (excludes.Excludes(base / host::FsPath(native)))
            continue;
        listing.files.push_back(path);
    }
    return listing;
}

} // namespace kemptor
