// Regions the user keeps out of the house style: "' kemptor: off" ... "' kemptor: on" and
// "' kemptor: off-next-line" pass through untouched while the level follows their blocks.
#include "formatter/FormatTestSupport.h"

#include <gtest/gtest.h>

namespace kemptor::test {
namespace {

TEST(IgnoreRegion, RegionInsideAProcedureKeepsItsLinesAndTheLevelFollowsItsBlocks) {
    Settings s = Splitting();
    s.GrpBlankLines = kBlankLinesByRules;
    // The If opened inside the region is closed after it: the lines after the region sit one level
    // deeper, as they would had the region been formatted.
    VerifyFormat("Sub Main()\n"
                 "    x = 1\n"
                 "    ' Kemptor : OFF\n"
                 "If a Then b = 1: c = 2\n"
                 "      Select Case k\n"
                 "  Case 1:   d = 1\n"
                 "End Select\n"
                 "If z Then\n"
                 "        ' kemptor: on\n"
                 "        y = 2\n"
                 "    End If\n"
                 "\n"
                 "End Sub",
                 "Sub Main()\n"
                 "x = 1\n"
                 "' Kemptor : OFF\n"
                 "If a Then b = 1: c = 2\n"
                 "      Select Case k\n"
                 "  Case 1:   d = 1\n"
                 "End Select\n"
                 "If z Then\n"
                 "' kemptor: on\n"
                 "y = 2\n"
                 "End If\n"
                 "End Sub",
                 s);
}

TEST(IgnoreRegion, OffNextLineAndAnUnterminatedRegion) {
    VerifyFormat("Sub Main()\n"
                 "    ' kemptor: off-next-line\n"
                 "x   =   1\n"
                 "    y = 2\n"
                 "    'kemptor:off\n"
                 "z = 3\n"
                 "End Sub",
                 "Sub Main()\n"
                 "' kemptor: off-next-line\n"
                 "x   =   1\n"
                 "y = 2\n"
                 "'kemptor:off\n"
                 "z = 3\n"
                 "End Sub",
                 IndentOnly());
}

TEST(IgnoreRegion, OnlyAWholeLineCommentIsADirective) {
    EXPECT_EQ(IgnoreDirective::Off, IgnoreDirectiveOf("   '  KEMPTOR:  Off  "));
    EXPECT_EQ(IgnoreDirective::None, IgnoreDirectiveOf("x = 1 ' kemptor: off"));
    EXPECT_EQ(IgnoreDirective::None, IgnoreDirectiveOf("' kemptor: offside"));
    EXPECT_EQ(IgnoreDirective::None, IgnoreDirectiveOf("s = \"' kemptor: off\""));
}

} // namespace
} // namespace kemptor::test
