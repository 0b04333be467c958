#include "cli/FileEngines.h"

#include "platform/PathBounds.h"
#include "platform/SafeFile.h"
#include "platform/WinPath.h"
#include "spell/SpellRun.h"

#include <filesystem>
#include <iostream>

namespace kemptor {

void AddKindOption(CLI::App& sub, std::string& kind) {
    sub.add_option("--kind", kind, "Kind of the files (default: from the extension)")
        ->check(CLI::IsMember({"form", "module", "class", "usercontrol", "customcontrol"}));
}

TSourceKind KindOfFile(const std::string& path, const std::string& kindOption) {
    for (TSourceKind kind : {skForm, skModule, skCustomControl, skClass, skUserControl})
        if (kindOption == SourceKindName(kind))
            return kind;
    return SourceKindOf(ExtractUpperExtension(path));
}

bool IsProjectFileName(const std::string& path) {
    const std::string ext = ExtractUpperExtension(path);
    return ext == ".VBP" || ext == ".MAK";
}

bool MayFormatAsSource(const std::string& name, const std::string& kindOption) {
    if (IsProjectFileName(name)) {
        std::cerr << "error: " << name
                  << " is a project file; `kemptor-cli process` formats a project's files and "
                     "`kemptor-cli check` checks them\n";
        return false;
    }
    if (kindOption.empty() && !IsSourceExtension(ExtractUpperExtension(name))) {
        std::cerr
            << "error: " << name
            << " is not a Visual Basic source file (.bas, .cls, .ctl, .frm); --kind formats it as one\n";
        return false;
    }
    return true;
}

bool StaysInBounds(const std::string& path, const std::string& boundary) {
    const std::string host = MapToHostPath(path);
    std::string within = boundary;
    if (within.empty()) {
        const std::optional<std::string> root = RepositoryRootOf(ExtractFileDir(host));
        if (!root)
            return true;
        within = *root;
    }
    if (LiesWithin(host, within))
        return true;
    std::cerr << "warning: " << path << " lies outside " << within << "; it is skipped\n";
    return false;
}

bool TemplateFilesReadable(const Settings& settings) {
    const std::pair<bool, const std::string*> files[] = {
        {settings.SubLevelCommentsPerform, &settings.SubLevelCommentsFile},
        {settings.FunctionLevelCommentsPerform, &settings.FunctionLevelCommentsFile}};
    for (const auto& [used, name] : files) {
        if (!used || name->empty())
            continue;
        if (const FileProblem problem = CheckTextFile(*name); problem != FileProblem::None) {
            std::cerr << "error: the header template " << FileProblemText(*name, problem) << '\n';
            return false;
        }
    }
    return true;
}

TVBSrcFormatter* FileEngines::For(const std::string& path) {
    path_ = path;
    // The settings depend on the file's directory only (the settings file found upward from it): the
    // files of one directory share the lookup instead of reading the settings file again each.
    const std::string dir = std::filesystem::absolute(MapToHostPath(path)).parent_path().string();
    if (engine_ && dir == dir_)
        return engine_.get();
    std::optional<Settings> settings = common_.LoadSettings(path);
    if (!settings || !TemplateFilesReadable(*settings))
        return nullptr;
    dir_ = dir;
    if (!engine_ || !(*settings == *settings_)) {
        engine_.reset(); // it refers to the settings about to be replaced
        settings_ = std::make_unique<Settings>(std::move(*settings));
        engine_ = std::make_unique<TVBSrcFormatter>(*settings_, prompter_);
        engine_->SetHeaderTemplates(TemplatesFromSettings(*settings_, prompter_));
        if (SpellingWanted(*settings_)) {
            if (!speller_) {
                speller_ = std::make_unique<HunspellSpeller>();
                reporter_ = std::make_unique<SpellReporter>(
                    *speller_, [this] { return path_; },
                    [](const std::string& line) { std::cerr << "warning: " << line << '\n'; });
            }
            engine_->SetSpellChecker(CheckerForRun(*settings_, reporter_.get(), prompter_));
        }
    }
    return engine_.get();
}

} // namespace kemptor
