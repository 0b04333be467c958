#pragma once
// Where a project's files may come from: the repository that holds a path, the user's home directory,
// and whether a file lies inside a directory once its links are resolved. A project file or a settings
// file from a cloned repository is not trusted to reach outside it.

#include <optional>
#include <string>

namespace kemptor {

// The nearest directory at or above `hostPath` that holds ".git" (the root of its repository), as an
// absolute host path without a final separator; std::nullopt when there is none.
std::optional<std::string> RepositoryRootOf(const std::string& hostPath);

// The user's home directory as an absolute host path without a final separator; std::nullopt when the
// environment does not name one.
std::optional<std::string> HomeDirectory();

// True when `hostPath` is `hostDir` or lies below it, both taken with "." and ".." and their links
// resolved as far as they exist: a link inside the directory that leads out of it is outside.
bool LiesWithin(const std::string& hostPath, const std::string& hostDir);

// The directory whose files a report on the project `projectPath` may show: its repository's root, else
// the project file's own directory.
std::string ProjectBoundary(const std::string& projectHostPath);

} // namespace kemptor
