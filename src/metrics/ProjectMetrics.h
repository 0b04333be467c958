#pragma once
// The seven measures of an open project, each a list of points (a value with its label). Six have one
// point per file in project order, labelled with the file's name; the file types have one point per
// extension. Nothing is cached: each call reads the project afresh.

#include <string>
#include <string_view>
#include <vector>

#include "project/TSourceMgt.h"

namespace kemptor {

enum class TMeasure { FileSize, LinesOfCode, FileType, Routines, Globals, Comments, Whitespace };

inline constexpr TMeasure kAllMeasures[] = {TMeasure::FileSize,  TMeasure::LinesOfCode, TMeasure::FileType,
                                            TMeasure::Routines,  TMeasure::Globals,     TMeasure::Comments,
                                            TMeasure::Whitespace};

// The value every measure gives a file that cannot be read (or was not found when the project was read).
inline constexpr double kUnreadableValue = -1;

struct TMetricPoint {
    double Value = 0;
    std::string Label;
    bool operator==(const TMetricPoint&) const = default;
};
using TMetricPoints = std::vector<TMetricPoint>;

// "size", "lines", "type", "routines", "globals", "comments", "whitespace".
std::string_view MeasureName(TMeasure measure);
// True for the measures with one point per file.
inline bool IsPerFileMeasure(TMeasure measure) {
    return measure != TMeasure::FileType;
}

// The extension of a file name from its last dot on, dot included; empty when it has none.
std::string_view FileNameExtension(std::string_view fileName);

// The points of one measure. The text measures read each file through the project's cursor (Current,
// LoadCurrentLines, ReleaseCurrentLines) and leave the cursor as they found it; a file whose lines
// are already loaded is counted as it stands and stays loaded.
TMetricPoints MeasurePoints(TSourceMgt& project, TMeasure measure);

struct TMeasureResult {
    TMeasure Measure;
    TMetricPoints Points;
};
// All seven measures in the order of kAllMeasures, each file read once for the four text measures.
std::vector<TMeasureResult> AllMeasurePoints(TSourceMgt& project);

} // namespace kemptor
