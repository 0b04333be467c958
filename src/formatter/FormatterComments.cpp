// Comment placement, comment borders, blank lines and spell checking.
#include "formatter/TVBSrcFormatter.h"

namespace kemptor {

void TVBSrcFormatter::RemoveSpecialComment(std::string& /*line*/, bool& /*emit*/) {}

void TVBSrcFormatter::FormatSingleLineComment(std::string& /*line*/) {}

void TVBSrcFormatter::FormatInLineComment(std::string& /*line*/) {}

void TVBSrcFormatter::AddCommentBorders() {}

bool TVBSrcFormatter::KeepBlankLine(const std::string& /*line*/) const { return true; }

void TVBSrcFormatter::AddBlankLines(int n) {
    for (int k = 0; k < n; ++k)
        AppendCreated("");
}

void TVBSrcFormatter::AddBlankLinesBefore(const std::string& /*line*/) {}

void TVBSrcFormatter::AddBlankLinesAfter(const std::string& /*line*/) {}

void TVBSrcFormatter::SpellCheckLiterals(std::string& /*line*/) {}

void TVBSrcFormatter::SpellCheckComment(std::string& /*line*/) {}

void TVBSrcFormatter::CheckSpelling(const std::string& /*context*/, std::string& /*text*/) {}

} // namespace kemptor
