#include "FormatTestSupport.h"

namespace kemptor::test {
namespace {

TEST(Indentation, FollowsTheBlockTableWithDefaultWidths) {
    VerifyFormat("Sub Main()\n"
                 "    If a Then\n"
                 "        x = 1\n"
                 "    Else\n"
                 "        x = 2\n"
                 "    End If\n"
                 "    Select Case n\n"
                 "        Case 1\n"
                 "            y = 1\n"
                 "        Case Else\n"
                 "            y = 2\n"
                 "    End Select\n"
                 "    z = a + _\n"
                 "        b\n"
                 "End Sub",
                 "Sub Main()\n"
                 "If a Then\n"
                 "x = 1\n"
                 "  Else\n"
                 "      x = 2\n"
                 "End If\n"
                 "Select Case n\n"
                 "Case 1\n"
                 "y = 1\n"
                 "Case Else\n"
                 "y = 2\n"
                 "End Select\n"
                 "z = a + _\n"
                 "b\n"
                 "        End Sub",
                 IndentOnly());
}

} // namespace
} // namespace kemptor::test
