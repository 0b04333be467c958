#pragma once
// The formatting engine for each file a command formats. The settings are looked up per file, since a
// project settings file may govern some of the files named and not others; an engine (with the header
// templates its settings name) is made anew only when the settings change.

#include <memory>
#include <string>

#include "cli/CliCommand.h"
#include "formatter/TVBSrcFormatter.h"
#include "spell/HunspellSpeller.h"
#include "spell/SpellReporter.h"

namespace kemptor {

// Declares --kind form|module|class|usercontrol|customcontrol.
void AddKindOption(CLI::App& sub, std::string& kind);
// The kind of a file: the --kind text when given, else from the file's extension.
TSourceKind KindOfFile(const std::string& path, const std::string& kindOption);

// True for a project file name (.vbp, .mak, any letter case).
bool IsProjectFileName(const std::string& path);

// Whether `name` may be read for formatting: a Visual Basic source by its extension, or any file when
// --kind names the kind. Prints an error naming the file otherwise (a project file is pointed to
// `process` and `check`).
bool MayFormatAsSource(const std::string& name, const std::string& kindOption);

// Whether the lines of `path` may be shown: a file inside a repository must not lead out of it through a
// link, and a project's file must lie within `boundary` (ProjectBoundary) when one is given. Prints a
// warning naming the file otherwise: a cloned repository must not make a CI log show a file of the
// machine it runs on.
bool StaysInBounds(const std::string& path, const std::string& boundary = "");

// False, with an error naming the file, when a header template file that the settings use (its headers
// are inserted) cannot be read: formatting with the default template instead would not be what the
// settings ask for.
bool TemplateFilesReadable(const Settings& settings);

class FileEngines {
public:
    FileEngines(const CommonOptions& common, Prompter& prompter) : common_(common), prompter_(prompter) {}

    // The engine for `path`; nullptr when its settings cannot be loaded (the message is on stderr).
    TVBSrcFormatter* For(const std::string& path);

private:
    const CommonOptions& common_;
    Prompter& prompter_;
    std::unique_ptr<Settings> settings_;
    std::unique_ptr<TVBSrcFormatter> engine_;
    // With spell checking on there is no dialog to correct a word: unknown words are warned about,
    // naming the file in hand.
    std::string path_;
    std::string dir_; // the directory whose settings the engine holds
    std::unique_ptr<HunspellSpeller> speller_;
    std::unique_ptr<SpellReporter> reporter_;
};

} // namespace kemptor
