// Statement splitting: single-line If, statements joined by ":", Dim and Const lists.
#include "formatter/LineSplits.h"
#include "formatter/TVBSrcFormatter.h"
#include "settings/SettingsCatalogue.h"

namespace kemptor {

namespace {

// Appends the pieces of a split line, each marked changed; the next pass indents them.
bool AppendPieces(TVBSrcFormatter& engine, const LinePieces& pieces) {
    if (!pieces)
        return false;
    for (const std::string& piece : *pieces)
        engine.AppendCreated(piece);
    engine.RepassNeeded = true;
    return true;
}

} // namespace

// A line that continues the statement of the line before is never cut: its first piece would end up
// joined to the line before and the rest standing alone.

bool TVBSrcFormatter::SplitIfThen(const std::string& line) {
    return !Continued && AppendPieces(*this, SplitIfThenPieces(line));
}

bool TVBSrcFormatter::SplitStatements(const std::string& line) {
    return !Continued && AppendPieces(*this, SplitStatementPieces(line));
}

bool TVBSrcFormatter::SplitMultiVar(const std::string& line) {
    return !Continued && AppendPieces(*this, SplitMultiVarPieces(line, Config().CorrectAsProblem));
}

bool TVBSrcFormatter::SplitMultiConst(const std::string& line) {
    return !Continued && AppendPieces(*this, SplitMultiConstPieces(line));
}

} // namespace kemptor
