#pragma once
// The seven project charts the chart selector offers, and the building of one chart's table from the
// open project: the checks and messages before it, the point limit, and the files left out of it.

#include <optional>
#include <string>
#include <vector>

#include "metrics/ProjectMetrics.h"
#include "platform/Prompter.h"

namespace kemptor {

enum class TChartKind { Bar, Pie };

struct TChartDefinition {
    const char* ListItem; // the selector's list text
    TChartKind Sample;    // the sample the selector shows for it
    TChartKind Kind;
    const char* Caption; // the chart window's caption
    const char* Title;
    TMeasure Measure;
    std::vector<const char*> Description; // the selector's description, one line each
};

// The charts in the selector's order; a chart's number is its position.
const std::vector<TChartDefinition>& ChartDefinitions();

// The most points a chart draws: more bars or slices than this cannot be told apart.
inline constexpr int kMaxChartPoints = 512;

struct TChartData {
    TChartKind Kind = TChartKind::Bar;
    std::string Caption;
    std::string Title;
    TMetricPoints Points;             // in table order
    std::vector<std::string> LeftOut; // files that could not be read, in project order
};

// The line shown under a chart's title when files were left out of it; empty when none were.
std::string LeftOutNote(const std::vector<std::string>& leftOut);

// Builds chart `item` (-1: none selected) of the project (nullptr: none open). Says why through the
// prompter and returns nullopt when no chart is selected, no project is open, the project has no
// files, or the measure has more points than a chart draws. Files that cannot be read are left out of
// the points and listed in LeftOut.
std::optional<TChartData> BuildChart(int item, TSourceMgt* project, Prompter& prompter);

} // namespace kemptor
