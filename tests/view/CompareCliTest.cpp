// Runs the built command line on small files and compares its output.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

using namespace std::string_literals;

namespace {

struct Result {
    std::string out;
    int status;
};

Result RunCli(const std::string& arguments) {
    const std::string command = std::string(KEMPTOR_CLI) + " " + arguments + " 2>&1";
    Result result{{}, -1};
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return result;
    std::array<char, 4096> buffer{};
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string WriteFile(const std::string& name, const std::string& bytes) {
    const auto path = std::filesystem::temp_directory_path() / ("kemptor-compare-" + name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
}

} // namespace

TEST(CompareCommand, PrintsTheRowsAsTsv) {
    const auto left = WriteFile("left.bas", "A\r\nB\r\nC\r\nD\r\n");
    const auto right = WriteFile("right.bas", "A\nX\nC\nD\nE\n");
    const Result result = RunCli("compare " + left + " " + right);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "same\tA\tA\n"
                          "changed\tB\tX\n"
                          "same\tC\tC\n"
                          "same\tD\tD\n"
                          "inserted\t\tE\n");
    const Result reversed = RunCli("compare " + right + " " + left);
    EXPECT_EQ(reversed.out, "same\tA\tA\nchanged\tX\tB\nsame\tC\tC\nsame\tD\tD\ndeleted\tE\t\n");
}

TEST(CompareCommand, EmptyAndMissingFiles) {
    const auto empty = WriteFile("empty.bas", "");
    EXPECT_EQ(RunCli("compare " + empty + " " + empty).out, "");
    const Result missing = RunCli("compare " + empty + " /nonexistent/kemptor.bas");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.out.find("error: Cannot read file /nonexistent/kemptor.bas"), std::string::npos);
    EXPECT_EQ(RunCli("compare " + empty).status, 2) << "one file is bad usage";
}

TEST(CompareCommand, BinaryBytesPassThrough) {
    const auto left = WriteFile("bin-left", "a\0b\xff\n"s);
    const auto right = WriteFile("bin-right", "a\0b\xff\nz\n"s);
    const Result result = RunCli("compare " + left + " " + right);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "same\ta\0b\xff\ta\0b\xff\ninserted\t\tz\n"s);
}
