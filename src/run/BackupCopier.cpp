#include "run/BackupCopier.h"

#include "platform/Host.h"
#include "platform/SafeFile.h"
#include "platform/TargetDirectory.h"
#include "platform/WinPath.h"
#include "project/ProjectReader.h"
#include "run/RunObserver.h"

#include <cctype>
#include <filesystem>

namespace kemptor {

namespace {

// Blanks and control characters at both ends removed.
std::string Trim(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ')
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ')
        --end;
    return text.substr(begin, end - begin);
}

bool HasSeparator(const std::string& text) {
    for (char c : text)
        if (IsPathSeparator(c))
            return true;
    return false;
}

// The path with its extension replaced, or the extension appended when it has none.
std::string WithExtension(const std::string& path, const std::string& extension) {
    size_t dot = path.rfind('.');
    size_t sep = path.find_last_of("\\/:");
    if (dot == std::string::npos || (sep != std::string::npos && sep > dot))
        return path + extension;
    return path.substr(0, dot) + extension;
}

std::string JoinDir(const std::string& dir, const std::string& name) {
    if (dir.empty() || IsPathSeparator(dir.back()) || dir.back() == ':')
        return dir + name;
    return dir + "\\" + name;
}

} // namespace

bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && !HasSeparator(name) &&
           name.find(':') == std::string::npos;
}

std::vector<std::string> CompanionExtensions(const std::string& upperExtension) {
    if (upperExtension == ".FRM")
        return {".FRX"};
    if (upperExtension == ".CTL")
        return {".FRX", ".CTX"};
    if (upperExtension == ".PAG")
        return {".FRX", ".PGX"};
    if (upperExtension == ".DSR")
        return {".FRX", ".DSX"};
    if (upperExtension == ".DOB")
        return {".FRX", ".DOX"};
    return {};
}

std::string FileSet::KeyOf(const std::string& path) const {
    // The mapping's look at the name tells whether it is a link: the key needs no second look.
    host::NameStatus seen;
    const std::string hostPath = MapToHostPath(path, &seen);
    return resolved_.Of(hostPath, &seen);
}

void FileSet::Add(const std::string& path) {
    if (added_.insert(path).second)
        keys_.insert(KeyOf(path));
}

void FileSet::AddWithCompanions(const std::string& path) {
    Add(path);
    for (const std::string& extension : CompanionExtensions(ExtractUpperExtension(path)))
        Add(WithExtension(path, extension));
}

bool FileSet::Contains(const std::string& path) const {
    return !keys_.empty() && keys_.count(KeyOf(path)) > 0;
}

bool FileSet::ContainsHost(const std::string& hostPath, const host::NameStatus* seen) const {
    return !keys_.empty() && keys_.count(resolved_.Of(hostPath, seen)) > 0;
}

BackupCopier::BackupCopier(RunObserver* observer, const FileSet* guard)
    : observer_(observer), guard_(guard) {}

bool BackupCopier::CopyFilePlain(const std::string& source, const std::string& target) {
    return CopyFile(source, target, false);
}

bool BackupCopier::CopyFileKeepStamp(const std::string& source, const std::string& target) {
    return CopyFile(source, target, true);
}

bool BackupCopier::CopyFile(const std::string& source, const std::string& target, bool keepStamp) {
    if (source == target)
        return false;
    // Each name is looked at once here: the statuses read go along to the copy.
    host::NameStatus seen;
    const std::string from = MapToHostPath(source, &seen);
    const host::FileStatus fromStatus = host::StatusOf(from, seen);
    if (fromStatus.kind != host::FileKind::Regular)
        return false;
    // The guard judges the very path written, from the same look that found it.
    host::NameStatus seenTo;
    const std::string to =
        target_ ? target_->PathFor(ExtractFileName(target), &seenTo) : MapToHostPath(target, &seenTo);
    if (guard_ && guard_->ContainsHost(to, &seenTo))
        return false;
    const host::FileStatus toStatus = host::StatusOf(to, seenTo);
    if (host::SameFile(from, fromStatus, to, toStatus))
        return false;
    // Copied in blocks through a temporary file renamed over the target.
    if (CopyHostFileAtomic(from, fromStatus, to, toStatus, keepStamp)) {
        written_.insert(ExtractFileName(to));
        copiedFrom_.push_back(from);
        return true;
    }
    failures_.push_back({from, to});
    return false;
}

void BackupCopier::BeginCopyWindow(int count) {
    if (!observer_)
        return;
    observer_->SetRange(count > 0 ? count - 1 : 0);
    observer_->SetPosition(0);
    observer_->ShowWindow(RunWindow::Copy);
}

void BackupCopier::EndCopyWindow() {
    if (observer_)
        observer_->HideWindow(RunWindow::Copy);
}

void BackupCopier::ShowFile(int index, const std::string& name) {
    if (!observer_)
        return;
    observer_->SetPosition(index);
    observer_->SetCaption("Backing Up File: " + name);
}

void BackupCopier::CopyCompanion(const std::string& sourcePath, const std::string& extension,
                                 const std::string& targetDir) {
    // The companion keeps the name it has on disk: the form or control file refers to it by that name.
    // A companion that is missing is passed over by the copy's own test for a regular file.
    const std::string hostCompanion = MapToHostPath(WithExtension(sourcePath, extension));
    CopyFilePlain(hostCompanion, JoinDir(targetDir, ExtractFileName(hostCompanion)));
}

bool BackupCopier::CopyNamedFiles(const TextLines& lines, bool vbpStyle, const std::string& sourceDir,
                                  const std::string& targetDir) {
    if (!DirectoryExists(sourceDir) || !DirectoryExists(targetDir))
        return false;
    BeginCopyWindow(static_cast<int>(lines.size()));
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string name = vbpStyle ? ExtractProjectPath(lines[i]) : lines[i];
        if (vbpStyle && name.size() <= 1)
            continue;
        ShowFile(static_cast<int>(i), name);
        const std::string fileName = ExtractFileName(name);
        if (!IsPlainFileName(fileName))
            continue;
        const std::string source = ProjectFilePath(sourceDir, name);
        CopyFilePlain(source, JoinDir(targetDir, fileName));
        for (const std::string& extension : CompanionExtensions(ExtractUpperExtension(name)))
            CopyCompanion(source, extension, targetDir);
    }
    EndCopyWindow();
    return true;
}

bool BackupCopier::CopyProjectFiles(const TextLines& projectLines, const std::string& sourceDir,
                                    const std::string& targetDir) {
    return CopyNamedFiles(projectLines, false, sourceDir, targetDir);
}

bool BackupCopier::CopyVbpProjectFiles(const TextLines& projectLines, const std::string& sourceDir,
                                       const std::string& targetDir) {
    return CopyNamedFiles(projectLines, true, sourceDir, targetDir);
}

bool BackupCopier::CopyDirectoryFiles(const std::vector<std::string>& names, const std::string& sourceDir,
                                      const std::string& targetDir) {
    if (!DirectoryExists(sourceDir) || !DirectoryExists(targetDir))
        return false;
    BeginCopyWindow(static_cast<int>(names.size()));
    for (size_t i = 0; i < names.size(); ++i) {
        ShowFile(static_cast<int>(i), names[i]);
        const std::string source = JoinDir(sourceDir, names[i]);
        if (IsPlainFileName(names[i]) && !CopiedAlready(source))
            CopyFilePlain(source, JoinDir(targetDir, names[i]));
    }
    EndCopyWindow();
    return true;
}

bool BackupCopier::CopiedAlready(const std::string& source) {
    // The sources copied are resolved here, once each, rather than at every copy: only a copy of a
    // whole directory asks.
    for (; resolvedCount_ < copiedFrom_.size(); ++resolvedCount_)
        copiedResolved_.insert(host::RealPath(copiedFrom_[resolvedCount_]));
    return copiedResolved_.count(host::RealPath(MapToHostPath(source))) > 0;
}

bool BackupCopier::DeleteDirectoryFiles(const std::vector<std::string>& names, const std::string& dir) {
    bool allDeleted = true;
    for (const auto& name : names) {
        const std::string path = JoinDir(dir, name);
        if (!IsPlainFileName(name) || (guard_ && guard_->Contains(path)) || !DeleteFileAt(path))
            allDeleted = false;
    }
    return allDeleted;
}

TextLines RewriteMakLines(const TextLines& lines) {
    TextLines result;
    result.reserve(lines.size());
    for (const auto& line : lines) {
        const std::string ext = ExtractUpperExtension(line);
        const bool keep = !HasSeparator(line) || line.find('=') != std::string::npos || ext == ".DLL" ||
                          ext == ".VBX" || ext == ".OCX";
        result.push_back(keep ? line : ExtractFileName(line));
    }
    return result;
}

TextLines RewriteVbpLines(const TextLines& lines) {
    TextLines result;
    result.reserve(lines.size());
    for (const auto& line : lines) {
        const bool names = line.starts_with("Form") || line.starts_with("UserControl") ||
                           line.starts_with("Class") || line.starts_with("Module") ||
                           line.starts_with("PropertyPage") || line.starts_with("Designer") ||
                           line.starts_with("UserDocument") || line.starts_with("ResFile32") ||
                           line.starts_with("RelatedDoc");
        result.push_back(names ? VbpLineWithoutDir(line) : line);
    }
    return result;
}

std::string VbpLineWithoutDir(const std::string& line) {
    if (NamesFileAfterEquals(line)) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos)
            return line;
        const std::string path = Trim(line.substr(eq + 1));
        const std::string_view unquoted = WithoutQuotes(path);
        const std::string name = ExtractFileName(std::string(unquoted));
        return Trim(line.substr(0, eq + 1)) + (unquoted.size() == path.size() ? name : "\"" + name + "\"");
    }
    const size_t semicolon = line.find(';');
    if (semicolon == std::string::npos)
        return line;
    return Trim(line.substr(0, semicolon + 1)) + " " + ExtractFileName(Trim(line.substr(semicolon + 1)));
}

bool RewriteMakProject(const std::string& path) {
    const auto lines = ReadTextLines(path);
    return lines && WriteTextLinesAtomic(path, RewriteMakLines(*lines));
}

bool RewriteVbpProject(const std::string& path) {
    const auto lines = ReadTextLines(path);
    return lines && WriteTextLinesAtomic(path, RewriteVbpLines(*lines));
}

} // namespace kemptor
