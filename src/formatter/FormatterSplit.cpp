// Statement splitting: single-line If, statements joined by ":", Dim and Const lists.
#include "formatter/LineSplits.h"
#include "formatter/TVBSrcFormatter.h"
#include "settings/SettingsCatalogue.h"

namespace kemptor {

// A line that continues the statement of the line before is never cut: its first piece would end up
// joined to the line before and the rest standing alone.

LinePieces TVBSrcFormatter::SplitIfThen(const std::string& line) {
    return Continued ? std::nullopt : SplitIfThenPieces(line);
}

LinePieces TVBSrcFormatter::SplitStatements(const std::string& line) {
    return Continued ? std::nullopt : SplitStatementPieces(line);
}

LinePieces TVBSrcFormatter::SplitMultiVar(const std::string& line) {
    return Continued ? std::nullopt : SplitMultiVarPieces(line, Config().CorrectAsProblem);
}

LinePieces TVBSrcFormatter::SplitMultiConst(const std::string& line) {
    return Continued ? std::nullopt : SplitMultiConstPieces(line);
}

} // namespace kemptor
