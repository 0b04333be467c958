// Header comments before or after procedure headings.
#include "formatter/TVBSrcFormatter.h"

namespace kemptor {

void TVBSrcFormatter::InsertHeaderComment(const std::string& /*line*/, bool /*before*/) {}

void TVBSrcFormatter::InsertSubHeader(const std::string& /*line*/, bool /*before*/) {}

void TVBSrcFormatter::InsertFunctionHeader(const std::string& /*line*/, bool /*before*/) {}

} // namespace kemptor
