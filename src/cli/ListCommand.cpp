// kemptor-cli list PROJECT: the project's file entries as TSV,
// kind<TAB>FileName<TAB>FullPath<TAB>FileSize<TAB>LineCount.
#include <iostream>

#include "cli/CliCommand.h"

namespace kemptor {
namespace {

class ListCommand : public ProjectReportCommand {
    int RunOnProject(TSourceMgt& project) override {
        for (const auto& entry : project.Files())
            std::cout << SourceKindName(entry.Kind) << '\t' << entry.FileName << '\t' << entry.FullPath
                      << '\t' << static_cast<long long>(entry.FileSize) << '\t' << entry.LineCount << '\n';
        return kExitOk;
    }
};

const bool registered = RegisterCliCommand<ListCommand>("list", "List the files of a project");

} // namespace
} // namespace kemptor
