// Runs the built command line on small files and compares its output.
#include <gtest/gtest.h>

#include <string>

#include "support/CliRunner.h"
#include "support/TempDir.h"

using namespace std::string_literals;
using kemptor::test::RunCli;
using kemptor::test::TempDir;

TEST(CompareCommand, PrintsTheRowsAsTsv) {
    TempDir dir;
    const auto left = dir.Write("left.bas", "A\r\nB\r\nC\r\nD\r\n");
    const auto right = dir.Write("right.bas", "A\nX\nC\nD\nE\n");
    const auto result = RunCli("compare " + left + " " + right);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "same\tA\tA\n"
                          "changed\tB\tX\n"
                          "same\tC\tC\n"
                          "same\tD\tD\n"
                          "inserted\t\tE\n");
    const auto reversed = RunCli("compare " + right + " " + left);
    EXPECT_EQ(reversed.out, "same\tA\tA\nchanged\tX\tB\nsame\tC\tC\nsame\tD\tD\ndeleted\tE\t\n");
}

TEST(CompareCommand, EmptyAndMissingFiles) {
    TempDir dir;
    const auto empty = dir.Write("empty.bas", "");
    EXPECT_EQ(RunCli("compare " + empty + " " + empty).out, "");
    const auto missing = RunCli("compare " + empty + " /nonexistent/kemptor.bas");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("error: Cannot read file /nonexistent/kemptor.bas"), std::string::npos)
        << missing.err;
    EXPECT_EQ(RunCli("compare " + empty).status, 2) << "one file is bad usage";
}

TEST(CompareCommand, BinaryBytesPassThrough) {
    TempDir dir;
    const auto left = dir.Write("bin-left", "a\0b\xff\n"s);
    const auto right = dir.Write("bin-right", "a\0b\xff\nz\n"s);
    const auto result = RunCli("compare " + left + " " + right);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "same\ta\0b\xff\ta\0b\xff\ninserted\t\tz\n"s);
}
