// kemptor-cli formtree, run on form files as a user runs it.
#include <gtest/gtest.h>

#include "formtree/TFormTree.h"
#include "support/CliRunner.h"

namespace kemptor {
namespace {

using test::RunCli;

TEST(FormTreeCommand, PrintsTheTreeOfAFormFile) {
    test::TempDir dir;
    const std::string form = dir.Write("frmTest.frm", "VERSION 5.00\r\n"
                                                      "Begin VB.Form frmTest\r\n"
                                                      "   Caption = \"Test\"\r\n"
                                                      "   Begin VB.CommandButton cmdOK\r\n"
                                                      "   End\r\n"
                                                      "End\r\n"
                                                      "Attribute VB_Name = \"frmTest\"\r\n");
    const auto run = RunCli("formtree '" + form + "'");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "File: frmTest.frm\n"
                       "  VB.Form: frmTest\n"
                       "    Properties\n"
                       "      Caption = \"Test\"\n"
                       "    VB.CommandButton: cmdOK\n");

    // The sample form gives the tree the window shows below its root.
    const auto sample = RunCli("formtree '" KEMPTOR_EXAMPLES "/vbp/frmItem.frm'");
    EXPECT_EQ(sample.status, 0);
    EXPECT_EQ(sample.out, TFormTree::Build("frmItem.frm", "frmItem.frm",
                                           *ReadTextLines(KEMPTOR_EXAMPLES "/vbp/frmItem.frm"))
                              .Dump());
}

TEST(FormTreeCommand, UnreadableFileIsBadInput) {
    test::TempDir dir;
    const auto missing = RunCli("formtree '" + dir.Path() + "none.frm'");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("error: Cannot read file"), std::string::npos);
    EXPECT_EQ(RunCli("formtree").status, 2);
}

} // namespace
} // namespace kemptor
