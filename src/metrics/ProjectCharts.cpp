#include "metrics/ProjectCharts.h"

namespace kemptor {

const std::vector<TChartDefinition>& ChartDefinitions() {
    using K = TChartKind;
    using M = TMeasure;
    static const std::vector<TChartDefinition> charts{
        {"File sizes of each module",
         K::Bar,
         K::Bar,
         "Chart: Files in project by size",
         "Files in project by size",
         M::FileSize,
         {"Produce a bar graph of all of", "the files in the project along", "with their respective sizes."}},
        {"Type of files in the project",
         K::Pie,
         K::Pie,
         "Chart: Files in project by type of file",
         "Files in project by type of file",
         M::FileType,
         {"Create a pie chart that breaks", "down files by their extension."}},
        {"Routines per module",
         K::Bar,
         K::Bar,
         "Chart: Routines per module",
         "Routines per module",
         M::Routines,
         {"Produce a bar graph showing", "# of routines in each file."}},
        {"Globals per module",
         K::Bar,
         K::Bar,
         "Chart: Globals per module",
         "Globals per module",
         M::Globals,
         {"Produce a bar graph showing", "# of globals declared in each file."}},
        {"Lines of code per module",
         K::Bar,
         K::Bar,
         "Chart: Lines of code per file",
         "Lines of code per file",
         M::LinesOfCode,
         {"Create a bar graph showing each", "module with its lines of code."}},
        {"% of comments to code per module",
         K::Bar,
         K::Bar,
         "Chart: Percent of comments vs. code",
         "Percent of comments vs. code",
         M::Comments,
         {"Create a bar graph showing", "% of comments vs. code."}},
        {"% of whitespace to code per module",
         K::Bar,
         K::Bar,
         "Chart: Percent of whitespace vs. code",
         "Percent of whitespace vs. code",
         M::Whitespace,
         {"Create a bar graph showing", "% of whitespace vs. code."}},
    };
    return charts;
}

std::string LeftOutNote(const std::vector<std::string>& leftOut) {
    if (leftOut.empty())
        return {};
    constexpr std::size_t kNamed = 5;
    std::string names;
    for (std::size_t i = 0; i < leftOut.size() && i < kNamed; ++i)
        names += (i > 0 ? ", " : "") + leftOut[i];
    if (leftOut.size() > kNamed)
        names += " and " + std::to_string(leftOut.size() - kNamed) + " more";
    if (leftOut.size() == 1)
        return "1 file could not be read and is left out: " + names;
    return std::to_string(leftOut.size()) + " files could not be read and are left out: " + names;
}

std::optional<TChartData> BuildChart(int item, TSourceMgt* project, Prompter& prompter) {
    const auto& charts = ChartDefinitions();
    if (item < 0 || item >= static_cast<int>(charts.size())) {
        prompter.Show(PromptKind::Information, "Please select a chart to graph.", PromptButtons::Ok);
        return std::nullopt;
    }
    if (!project) {
        prompter.Show(PromptKind::Warning, "Source management object is empty; unable to create a graph.",
                      PromptButtons::Ok);
        return std::nullopt;
    }
    if (project->FileCount() == 0) {
        prompter.Show(PromptKind::Warning,
                      "Source management object contains no code, unable to create the graph.",
                      PromptButtons::Ok);
        return std::nullopt;
    }
    const TChartDefinition& def = charts[static_cast<std::size_t>(item)];
    TMetricPoints points = MeasurePoints(*project, def.Measure);
    if (points.size() > static_cast<std::size_t>(kMaxChartPoints)) {
        const char* what = IsPerFileMeasure(def.Measure) ? " files" : " file types";
        prompter.Show(PromptKind::Error,
                      "This project has " + std::to_string(points.size()) + what +
                          "; a chart shows at most " + std::to_string(kMaxChartPoints) + ".",
                      PromptButtons::Ok);
        return std::nullopt;
    }
    TChartData chart{def.Kind, def.Caption, def.Title, {}, {}};
    for (TMetricPoint& point : points) {
        if (point.Value == kUnreadableValue)
            chart.LeftOut.push_back(std::move(point.Label));
        else
            chart.Points.push_back(std::move(point));
    }
    return chart;
}

} // namespace kemptor
