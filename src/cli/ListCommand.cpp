// kemptor-cli list PROJECT: the project's file entries as TSV,
// kind<TAB>FileName<TAB>FullPath<TAB>FileSize<TAB>LineCount.
#include <iostream>

#include "cli/CliCommand.h"

namespace kemptor {
namespace {

class ListCommand : public CliCommand {
public:
    void Setup(CLI::App& sub) override {
        common_.AddTo(sub);
        sub.add_option("PROJECT", project_, "Project file (*.vbp or *.mak)")->required();
    }

    int Run() override {
        if (!common_.LoadSettings(project_))
            return kExitBadInput;
        CliPrompter prompter;
        auto project = OpenProjectForCli(project_, prompter);
        if (!project)
            return kExitBadInput;
        for (const auto& entry : project->Files())
            std::cout << SourceKindName(entry.Kind) << '\t' << entry.FileName << '\t' << entry.FullPath
                      << '\t' << static_cast<long long>(entry.FileSize) << '\t' << entry.LineCount << '\n';
        return kExitOk;
    }

private:
    CommonOptions common_;
    std::string project_;
};

const bool registered = RegisterCliCommand<ListCommand>("list", "List the files of a project");

} // namespace
} // namespace kemptor
