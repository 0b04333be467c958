#include "cli/InputFiles.h"

#include "cli/CliMessages.h"
#include "cli/FileEngines.h"
#include "platform/Host.h"
#include "platform/PathBounds.h"
#include "platform/Text.h"
#include "platform/TextFile.h"
#include "platform/WinPath.h"
#include "project/SourceTree.h"
#include "settings/SettingsOrigins.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

namespace kemptor {

namespace fs = std::filesystem;

namespace {

bool IsProjectFile(const std::string& path) {
    const std::string ext = ExtractUpperExtension(path);
    return ext == ".VBP" || ext == ".MAK" || ext == ".VBG";
}

// The settings file whose Exclude= patterns govern a directory, as the settings are found: --ini,
// else a kemptor.ini upward, none with --no-config.
SettingsFileFinder ExcludeSource(const CommonOptions& common) {
    const std::string ini = common.IniFile();
    if (!ini.empty())
        return [ini](const std::string&) { return std::optional<std::string>(ini); };
    if (common.NoConfig())
        return {};
    return [](const std::string& dir) { return FindProjectSettingsFile(dir); };
}

// The projects of a project group (.vbg): its Project= and StartupProject= lines, Windows paths relative
// to the group's folder. False (with a message) when the group cannot be read.
bool ProjectsOfGroup(const std::string& groupPath, std::vector<std::string>& projects) {
    const std::optional<TextLines> lines = ReadTextLines(groupPath);
    if (!lines) {
        std::cerr << "error: cannot read the project group " << groupPath << '\n';
        return false;
    }
    for (const std::string& line : *lines) {
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = line.substr(0, eq);
        if (EqualNoCase(key, "Project") || EqualNoCase(key, "StartupProject")) {
            const std::string value = line.substr(eq + 1);
            projects.push_back(IsAbsolutePath(value) ? value : ExtractFileDir(groupPath) + value);
        }
    }
    return true;
}

// `boundary`: the directory whose files the project may name (empty: the project's repository, else its
// directory); the projects of a group may name any file of the group's. `groupFound`: for a project of a
// group, the --only names found in the group's projects so far (each project holds some of them).
bool AddProject(const std::string& projectPath, const InputRequest& request, InputListing& listing,
                const std::string& boundary = "", std::vector<bool>* groupFound = nullptr) {
    if (ExtractUpperExtension(projectPath) == ".VBG") {
        std::vector<std::string> projects;
        if (!ProjectsOfGroup(projectPath, projects))
            return false;
        const std::string groupBoundary = ProjectBoundary(MapToHostPath(projectPath));
        std::vector<bool> found(request.only.size(), false);
        for (const std::string& project : projects)
            if (!AddProject(MapToHostPath(project), request, listing, groupBoundary, &found))
                return false;
        return AllNamesFound(request.only, found, "project group");
    }
    CliPrompter prompter;
    std::vector<std::string> leftOut;
    auto project = OpenProjectForCli(projectPath, prompter, nullptr, &leftOut);
    if (!project)
        return false;
    if (!request.only.empty()) {
        if (groupFound)
            MarkOnlyNamed(*project, request.only, *groupFound);
        else if (!SelectOnlyNamed(*project, request.only))
            return false;
    }
    for (const std::string& name : leftOut)
        listing.leftOut.push_back(name);
    // A cloned project may name any file on the machine: only sources inside its repository (else its
    // directory) are read, so that no report prints the lines of a file that lies elsewhere.
    const std::string within = boundary.empty() ? ProjectBoundary(MapToHostPath(projectPath)) : boundary;
    for (; listing.keyed < listing.files.size(); ++listing.keyed)
        if (!listing.files[listing.keyed].path.empty())
            listing.keys.insert(host::ComparisonKey(listing.files[listing.keyed].path));
    for (const auto& entry : project->Files()) {
        if (!entry.Selected)
            continue;
        // Names inside a project file are Windows paths: mapped to the host here, and only here.
        const std::string host = MapToHostPath(entry.FullPath);
        if (!IsSourceExtension(entry.Extension)) {
            std::cerr << "warning: " << EscapedName(DisplayPath(host))
                      << " is not a Visual Basic source file; it is skipped\n";
            ++listing.skipped;
            continue;
        }
        if (!StaysInBounds(host, within)) {
            ++listing.skipped;
            continue;
        }
        // A module shared by the projects of a group is checked once (each key made once: a project
        // of thousands of files is not resolved again for every file).
        if (listing.keys.insert(host::ComparisonKey(host)).second)
            listing.files.push_back({host, DisplayPath(host), projectPath, entry.Kind});
    }
    return true;
}

void AddTree(const std::string& dir, const InputRequest& request, const CommonOptions& common,
             InputListing& listing) {
    const SourceTreeListing tree = ListSourceTree(dir, ExcludeSource(common));
    if (!common.Quiet())
        for (const std::string& warning : tree.warnings)
            std::cerr << "warning: " << warning << '\n';
    for (const std::string& file : tree.files)
        listing.files.push_back({file, DisplayPath(file), file, KindOfFile(file, request.kindOption)});
}

} // namespace

std::string DisplayPath(const std::string& hostPath) {
    std::error_code ec;
    const fs::path relative = fs::proximate(host::FsPath(hostPath), ec);
    if (ec)
        return hostPath;
    std::string text = host::FromFsPath(relative);
    if (host::kSeparator != '/')
        std::replace(text.begin(), text.end(), host::kSeparator, '/');
    return text;
}

InputListing ListInputFiles(const InputRequest& request, const CommonOptions& common) {
    InputListing listing;
    const bool oneProject =
        request.projectsAllowed && request.paths.size() == 1 && IsProjectFile(request.paths.front());
    if (!request.only.empty() && !oneProject) {
        std::cerr << "error: --only needs a project file\n";
        listing.ok = false;
        return listing;
    }
    for (const std::string& path : request.paths) {
        if (path == "-") {
            const std::string name = request.stdinName.empty() ? kStdinDisplayName : request.stdinName;
            // Without a name, standard input takes the settings of the working directory.
            listing.files.push_back(
                {"", name, request.stdinName.empty() ? "." : request.stdinName,
                 KindOfFile(request.stdinName.empty() ? "stdin.bas" : name, request.kindOption)});
        } else if (request.projectsAllowed && IsProjectFile(path)) {
            listing.ok = AddProject(path, request, listing) && listing.ok;
        } else if (host::StatusOf(path).kind == host::FileKind::Directory) {
            AddTree(path, request, common, listing);
        } else if (!MayFormatAsSource(path, request.kindOption) || !StaysInBounds(path)) {
            ++listing.skipped;
        } else {
            listing.files.push_back({path, request.typedNames ? path : DisplayPath(path), path,
                                     KindOfFile(path, request.kindOption)});
        }
    }
    return listing;
}

} // namespace kemptor
