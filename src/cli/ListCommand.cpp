// kemptor-cli list PROJECT: the project's file entries as TSV,
// kind<TAB>FileName<TAB>FullPath<TAB>FileSize<TAB>LineCount (fields escaped by TsvField). Exit status 2
// when the project names files that were left out.
#include <iostream>

#include "cli/CliCommand.h"

namespace kemptor {
namespace {

class ListCommand : public ProjectReportCommand {
    int RunOnProject(TSourceMgt& project) override {
        for (const auto& entry : project.Files())
            std::cout << SourceKindName(entry.Kind) << '\t' << TsvField(entry.FileName) << '\t'
                      << TsvField(entry.FullPath) << '\t' << static_cast<long long>(entry.FileSize) << '\t'
                      << entry.LineCount << '\n';
        return kExitOk;
    }
};

const bool registered = RegisterCliCommand<ListCommand>("list", "List the files of a project");

} // namespace
} // namespace kemptor
