// kemptor-cli metrics PROJECT: the seven project measures as TSV, measure<TAB>label<TAB>value, one row
// per point; the per-file measures in project order, the file types in their sorted order. A file
// that cannot be read has the value -1 in every measure.
#include <iostream>

#include "cli/CliCommand.h"
#include "metrics/ProjectMetrics.h"

namespace kemptor {
namespace {

class MetricsCommand : public ProjectReportCommand {
    int RunOnProject(TSourceMgt& project) override {
        for (const TMeasureResult& result : AllMeasurePoints(project))
            for (const TMetricPoint& point : result.Points)
                std::cout << MeasureName(result.Measure) << '\t' << point.Label << '\t'
                          << static_cast<long long>(point.Value) << '\n';
        return kExitOk;
    }
};

const bool registered = RegisterCliCommand<MetricsCommand>("metrics", "Print the project's seven measures");

} // namespace
} // namespace kemptor
