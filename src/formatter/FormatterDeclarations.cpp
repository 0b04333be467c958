// Alignment of declaration groups and the loop variables of For and Next.
#include "formatter/TVBSrcFormatter.h"

namespace kemptor {

int TVBSrcFormatter::DimAsColumn(std::string_view /*s*/) { return 0; }

bool TVBSrcFormatter::IsForLine(std::string_view /*s*/) { return false; }

std::string TVBSrcFormatter::ForVariable(std::string_view /*s*/) { return {}; }

bool TVBSrcFormatter::IsNextLine(std::string_view /*s*/) { return false; }

void TVBSrcFormatter::CollectDimAs(const std::string& /*line*/) {}

void TVBSrcFormatter::AlignDimGroup(int /*n*/, int /*maxCol*/) {}

void TVBSrcFormatter::ForNextLine(std::string& /*line*/) {}

void TVBSrcFormatter::AddNextVariable(std::string& /*line*/, const std::string& /*variable*/) {}

void TVBSrcFormatter::RemoveNextVariable(std::string& /*line*/) {}

} // namespace kemptor
