// Statement splitting: single-line If, statements joined by ":", Dim and Const lists.
#include "formatter/TVBSrcFormatter.h"

namespace kemptor {

void TVBSrcFormatter::SplitIfThen(const std::string& line) { AppendCreated(line); }

bool TVBSrcFormatter::SplitStatements(const std::string& /*line*/) { return false; }

void TVBSrcFormatter::SplitMultiVar(const std::string& line) { AppendCreated(line); }

void TVBSrcFormatter::SplitMultiConst(const std::string& line) { AppendCreated(line); }

} // namespace kemptor
