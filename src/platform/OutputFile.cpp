#include "platform/OutputFile.h"

#include <filesystem>
#include <system_error>

#include "platform/Host.h"
#include "platform/SafeFile.h"
#include "platform/WinPath.h"

namespace kemptor {
namespace {

namespace fs = std::filesystem;

// The directory a host path's last component stands in, links resolved; "" when it cannot be resolved.
std::string RealParent(const std::string& hostPath) {
    const fs::path parent = host::FsPath(hostPath).parent_path();
    return host::RealPath(parent.empty() ? std::string(".") : host::FromFsPath(parent));
}

// The regular file behind `hostPath` that may be written, or the reason it may not. A link is followed
// only to a file in its own directory: a link planted beside the output must not send the write to a
// file somewhere else (a system file, the user's configuration).
OutputFileOutcome ResolveTarget(const std::string& hostPath, std::string& target) {
    std::error_code ec;
    const fs::file_status named = fs::symlink_status(host::FsPath(hostPath), ec);
    target = hostPath;
    if (fs::is_symlink(named)) {
        target = host::RealPath(hostPath);
        if (target.empty() || !host::NameExists(target) || RealParent(target) != RealParent(hostPath))
            return OutputFileOutcome::LinkLeaves;
    }
    if (!host::NameExists(target))
        return OutputFileOutcome::Written; // a new name
    return host::StatusOf(target).kind == host::FileKind::Regular ? OutputFileOutcome::Written
                                                                   : OutputFileOutcome::NotRegular;
}

} // namespace

OutputFileOutcome WriteOutputFile(const std::string& path, const std::string& inputPath, std::string_view bytes) {
    const std::string hostPath = MapToHostPath(path);
    if (hostPath.empty())
        return OutputFileOutcome::Failed;
    std::string target;
    const OutputFileOutcome allowed = ResolveTarget(hostPath, target);
    if (allowed != OutputFileOutcome::Written)
        return allowed;
    if (!host::NameExists(target))
        return WriteHostFileAtomic(target, bytes) ? OutputFileOutcome::Written : OutputFileOutcome::Failed;
    if (!inputPath.empty() && host::SameFile(target, MapToHostPath(inputPath)))
        return OutputFileOutcome::IsInput;
    switch (ReplaceFileContents(target, bytes, false)) {
    case ReplaceOutcome::Replaced:
        return OutputFileOutcome::Written;
    case ReplaceOutcome::NotRegular:
        return OutputFileOutcome::NotRegular; // replaced by something else since the look above
    case ReplaceOutcome::ReadOnly:
        return OutputFileOutcome::ReadOnly;
    case ReplaceOutcome::Failed:
        break;
    }
    return OutputFileOutcome::Failed;
}

std::string OutputFileOutcomeText(const std::string& path, OutputFileOutcome outcome) {
    switch (outcome) {
    case OutputFileOutcome::Written:
        return {};
    case OutputFileOutcome::NotRegular:
        return path + " is not a regular file; nothing was written.";
    case OutputFileOutcome::IsInput:
        return path + " is the input file; nothing was written.";
    case OutputFileOutcome::LinkLeaves:
        return path + " is a symbolic link that leads out of its directory; nothing was written.";
    case OutputFileOutcome::ReadOnly:
        return path + " has no write permission; nothing was written.";
    case OutputFileOutcome::Failed:
        break;
    }
    return "Cannot write file " + path + ".";
}

} // namespace kemptor
