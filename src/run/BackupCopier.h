#pragma once
// The copies that fill an output directory before a run, and the rewriting of the project file copy so
// that it names its files without directories.
//
// Every copy lands directly in the target directory under the file name of the path the project writes
// (the name the rewritten project file uses), never in a subfolder and never outside it. A copy is made
// under a temporary name and renamed, so no half-written file is ever left. The files of a guard set
// (the project's own files) are never written or deleted.

#include "platform/Host.h"
#include "platform/TextFile.h"

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kemptor {

class RunObserver;
class TargetDirectory;

// A set of files compared after mapping to the host and resolving "..", "." and links: the files a run
// must never write, rename or delete.
class FileSet {
public:
    // A text added before is not resolved again: the set is filled in one step, before the run writes.
    void Add(const std::string& path);
    // A source file and the companions a copy takes along (CompanionExtensions).
    void AddWithCompanions(const std::string& path);
    bool Contains(const std::string& path) const;
    // The same for a host path as it will be written (no case mapping); `seen`: the caller's own look at
    // the name (when it looked), which is not repeated.
    bool ContainsHost(const std::string& hostPath, const host::NameStatus* seen = nullptr) const;
    bool Empty() const { return keys_.empty(); }

private:
    std::string KeyOf(const std::string& path) const;

    std::set<std::string> keys_;
    std::set<std::string> added_;           // the paths added, as given
    mutable host::ComparisonKeys resolved_; // the directories of a run are resolved once
};

// The binary files that belong to a source file of this extension (upper case with its dot) and go
// where it goes: the .FRX of a form, the .CTX (and .FRX) of a user control, the .PGX of a property
// page, the .DSX of a designer, the .DOX of a user document. None for modules and classes.
std::vector<std::string> CompanionExtensions(const std::string& upperExtension);

// A bare file name that stays inside the directory it is joined to (not empty, ".", ".." or a path).
bool IsPlainFileName(const std::string& name);

// The copy routines of the backup step. The observer (optional) shows the copy window "Backing up
// files..." with a label per file. A source that does not exist (a companion a form does not have, a
// line that names no file) is passed over quietly; a copy that fails although its source is there (a
// full disk, a read error) is kept in the failures for the caller to report. Only a missing directory
// makes a routine return false.
class BackupCopier {
public:
    explicit BackupCopier(RunObserver* observer = nullptr, const FileSet* guard = nullptr);

    // The names (as the host writes them) of the files this copier has written into a target directory.
    const std::set<std::string>& WrittenNames() const { return written_; }

    // The names every copy is written under in its target directory (a run's output directory), so that
    // two sources whose names differ only in case give two copies. nullptr: the path as given, mapped.
    void SetTargetDirectory(TargetDirectory* target) { target_ = target; }

    struct Failure {
        std::string source;
        std::string target;
    };
    // The copies that failed since the last call.
    std::vector<Failure> TakeFailures() { return std::exchange(failures_, {}); }

    // Copies every file a project names, with the .FRX companion of each and the .CTX companion of a
    // user control. MAK style: each line is a path; VBP style: the path of ExtractProjectPath(line).
    bool CopyProjectFiles(const TextLines& projectLines, const std::string& sourceDir,
                          const std::string& targetDir);
    bool CopyVbpProjectFiles(const TextLines& projectLines, const std::string& sourceDir,
                             const std::string& targetDir);

    // Copies the listed files (names only) from one directory to another; no companions.
    bool CopyDirectoryFiles(const std::vector<std::string>& names, const std::string& sourceDir,
                            const std::string& targetDir);

    // Deletes the listed files of a directory; false when any of them could not be deleted.
    bool DeleteDirectoryFiles(const std::vector<std::string>& names, const std::string& dir);

    // Copies one file. False when the two paths name the same file, the source cannot be read, the target
    // is protected or cannot be written. The copy is always writable; KeepStamp also keeps the source's
    // modification time and permission bits.
    bool CopyFilePlain(const std::string& source, const std::string& target);
    bool CopyFileKeepStamp(const std::string& source, const std::string& target);

private:
    bool CopyFile(const std::string& source, const std::string& target, bool keepStamp);
    bool CopyNamedFiles(const TextLines& lines, bool vbpStyle, const std::string& sourceDir,
                        const std::string& targetDir);
    void CopyCompanion(const std::string& sourcePath, const std::string& extension,
                       const std::string& targetDir);
    void BeginCopyWindow(int count);
    void EndCopyWindow();
    void ShowFile(int index, const std::string& name);
    // A copy of this source (links resolved) was made already.
    bool CopiedAlready(const std::string& source);

    RunObserver* observer_;
    const FileSet* guard_;
    std::set<std::string> written_;
    // The source files copied so far: a directory file that the project names in another letter case
    // has its copy already and gets no second one.
    std::vector<std::string> copiedFrom_;  // host paths of the sources copied, as given
    std::set<std::string> copiedResolved_; // the same with links resolved, made when first needed
    std::size_t resolvedCount_ = 0;        // entries of copiedFrom_ already in copiedResolved_
    TargetDirectory* target_ = nullptr;
    std::vector<Failure> failures_;
};

// MAK copy: every line that holds a directory loses it, except libraries and controls (.DLL, .VBX, .OCX)
// and setting lines ("Key=Value"), which stay as they are.
TextLines RewriteMakLines(const TextLines& lines);
// VBP copy: Form=, UserControl=, Class=, Module=, PropertyPage=, Designer=, UserDocument=, ResFile32= and
// RelatedDoc= lines name their file without a directory.
TextLines RewriteVbpLines(const TextLines& lines);
// One VBP file line without the directory of its path: Form=..\forms\Main.frm gives Form=Main.frm,
// Module=Globals; ..\lib\Globals.bas gives Module=Globals; Globals.bas, ResFile32="..\res\App.res" gives
// ResFile32="App.res".
std::string VbpLineWithoutDir(const std::string& line);

// Rewrite the project copy at `path` in place (atomically, CR LF); false when it cannot be read or written.
bool RewriteMakProject(const std::string& path);
bool RewriteVbpProject(const std::string& path);

} // namespace kemptor
