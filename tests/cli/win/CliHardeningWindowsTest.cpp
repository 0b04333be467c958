// kemptor-cli run against Windows device names, the twins of FIFOs and device nodes elsewhere: "NUL",
// "CON" and "AUX" exist in every directory and must be refused without a read that waits for the
// console or never ends.
#include "cli/CliHardening.h"

namespace kemptor {
namespace {

using ::testing::HasSubstr;

TEST_F(CliHardening, DeviceNamesAreRefusedWhereverTheyAreNamed) {
    dir.Write("P.VBP", "Type=Exe\r\nModule=Con; CON.bas\r\nModule=A; a.bas\r\n");
    dir.Write("a.bas", kUnformatted);

    test::CliResult r = Run("format -i --kind module NUL");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "NUL: error: NUL is not a regular file.\n");

    r = Run("format --kind module CON");
    EXPECT_EQ(r.status, 2);
    EXPECT_THAT(r.err, HasSubstr("CON is not a regular file."));

    r = Run("list --ini AUX P.VBP");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "error: the settings file AUX is not a regular file.\n");

    // Named by the project: left out with a warning, and the command says so by its status.
    r = Run("list P.VBP");
    EXPECT_EQ(r.status, 2);
    EXPECT_THAT(r.out, HasSubstr("a.bas"));
    EXPECT_THAT(r.err, HasSubstr("CON.bas is not an ASCII file."));

    // Without --kind, a device name is no source file at all.
    r = Run("format CON");
    EXPECT_EQ(r.status, 2);
    EXPECT_THAT(r.err, HasSubstr("CON is not a Visual Basic source file"));

    // As a template: a template that cannot be loaded is an error.
    r = Run("format --set FunctionComments.FunctionLevelCommentsPerform=1 --set "
            "FunctionComments.FunctionLevelCommentsFile=NUL a.bas");
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_THAT(r.err, HasSubstr("the header template NUL is not a regular file."));
}

} // namespace
} // namespace kemptor
