#include "metrics/ProjectMetrics.h"

#include "formatter/LineHelpers.h"
#include "metrics/TextMeasures.h"

#include <algorithm>
#include <map>

namespace kemptor {

namespace {

// Hands each file's lines to `count` in project order through the cursor; nullptr for a file that
// cannot be read. The cursor is put back afterwards, and lines loaded before are left loaded.
template <class Count> void ForEachFileText(TSourceMgt& project, Count count) {
    TSourceEntry* const cursor = project.Current;
    for (TSourceEntry& entry : project.Files()) {
        project.Current = &entry;
        const bool wasLoaded = entry.Loaded;
        const bool readable = project.LoadCurrentLines();
        count(readable ? &entry.Lines : nullptr);
        if (!wasLoaded)
            project.ReleaseCurrentLines();
    }
    project.Current = cursor;
}

double TextValue(TMeasure measure, const TextLines* lines) {
    if (!lines)
        return kUnreadableValue;
    switch (measure) {
    case TMeasure::Routines:
        return CountRoutines(*lines);
    case TMeasure::Globals:
        return CountGlobals(*lines);
    case TMeasure::Comments:
        return CommentPercent(*lines);
    case TMeasure::Whitespace:
        return WhitespacePercent(*lines);
    default:
        return kUnreadableValue;
    }
}

bool IsTextMeasure(TMeasure measure) {
    return measure == TMeasure::Routines || measure == TMeasure::Globals || measure == TMeasure::Comments ||
           measure == TMeasure::Whitespace;
}

// A file not found when the project was read, or whose last reading failed, has no size or line count.
bool Unreadable(const TSourceEntry& entry) {
    return entry.FileSize < 0 || entry.LoadFailed;
}

TMetricPoints EntryPoints(const TSourceMgt& project, TMeasure measure) {
    TMetricPoints points;
    for (const TSourceEntry& entry : project.Files()) {
        double value = kUnreadableValue;
        if (!Unreadable(entry))
            value = measure == TMeasure::FileSize ? entry.FileSize : entry.LineCount;
        points.push_back({value, entry.FileName});
    }
    return points;
}

TMetricPoints FileTypePoints(const TSourceMgt& project) {
    // Keyed by the upper-cased extension, so the order and the grouping ignore case; the label is the
    // extension as the first file with it writes it.
    std::map<std::string, TMetricPoint> types;
    for (const TSourceEntry& entry : project.Files()) {
        const std::string_view ext = FileNameExtension(entry.FileName);
        auto [it, added] = types.try_emplace(UpperCase(ext), TMetricPoint{0, std::string(ext)});
        it->second.Value += 1;
    }
    TMetricPoints points;
    points.reserve(types.size());
    for (auto& [key, point] : types)
        points.push_back(std::move(point));
    return points;
}

} // namespace

std::string_view MeasureName(TMeasure measure) {
    switch (measure) {
    case TMeasure::FileSize:
        return "size";
    case TMeasure::LinesOfCode:
        return "lines";
    case TMeasure::FileType:
        return "type";
    case TMeasure::Routines:
        return "routines";
    case TMeasure::Globals:
        return "globals";
    case TMeasure::Comments:
        return "comments";
    case TMeasure::Whitespace:
        return "whitespace";
    }
    return "size";
}

std::string_view FileNameExtension(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    return dot == std::string_view::npos ? std::string_view{} : fileName.substr(dot);
}

TMetricPoints MeasurePoints(TSourceMgt& project, TMeasure measure) {
    if (measure == TMeasure::FileType)
        return FileTypePoints(project);
    if (!IsTextMeasure(measure))
        return EntryPoints(project, measure);
    TMetricPoints points;
    auto entry = project.Files().begin();
    ForEachFileText(project, [&](const TextLines* lines) {
        points.push_back({TextValue(measure, lines), entry->FileName});
        ++entry;
    });
    return points;
}

std::vector<TMeasureResult> AllMeasurePoints(TSourceMgt& project) {
    std::vector<TMeasureResult> results;
    for (TMeasure measure : kAllMeasures)
        results.push_back({measure, {}});
    auto entry = project.Files().begin();
    ForEachFileText(project, [&](const TextLines* lines) {
        for (TMeasureResult& result : results)
            if (IsTextMeasure(result.Measure))
                result.Points.push_back({TextValue(result.Measure, lines), entry->FileName});
        ++entry;
    });
    // Size and line counts after the reading, so that a file that could not be read shows -1 in each.
    for (TMeasureResult& result : results)
        if (!IsTextMeasure(result.Measure))
            result.Points = MeasurePoints(project, result.Measure);
    return results;
}

} // namespace kemptor
