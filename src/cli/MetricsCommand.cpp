// kemptor-cli metrics PROJECT: the seven project measures as TSV, measure<TAB>label<TAB>value, one row
// per point; the per-file measures in project order, the file types in their sorted order. A file
// that cannot be read has the value -1 in every measure.
#include <iostream>

#include "cli/CliCommand.h"
#include "metrics/ProjectMetrics.h"

namespace kemptor {
namespace {

class MetricsCommand : public CliCommand {
public:
    void Setup(CLI::App& sub) override {
        common_.AddTo(sub);
        sub.add_option("PROJECT", project_, "Project file (*.vbp or *.mak)")->required();
    }

    int Run() override {
        if (!common_.LoadSettings())
            return kExitBadInput;
        CliPrompter prompter;
        auto project = OpenProjectForCli(project_, prompter);
        if (!project)
            return kExitBadInput;
        for (const TMeasureResult& result : AllMeasurePoints(*project))
            for (const TMetricPoint& point : result.Points)
                std::cout << MeasureName(result.Measure) << '\t' << point.Label << '\t'
                          << static_cast<long long>(point.Value) << '\n';
        return kExitOk;
    }

private:
    CommonOptions common_;
    std::string project_;
};

const bool registered = RegisterCliCommand<MetricsCommand>("metrics", "Print the project's seven measures");

} // namespace
} // namespace kemptor
