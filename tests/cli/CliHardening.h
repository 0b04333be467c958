#pragma once
// The scratch directory and runner of the kemptor-cli hardening tests: special files, failing outputs
// and inputs that strain memory. Every command runs with a time limit, so a hang fails the test
// instead of stopping the suite; every special file and link is made in the scratch directory.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/CliRunner.h"
#include "support/TempDir.h"

namespace kemptor {

class CliHardening : public ::testing::Test {
protected:
    // Runs `kemptor-cli ARGS` in the scratch directory with its own settings directory (DIR/config);
    // `shell` comes before it on POSIX systems (a ulimit); standard output goes to `stdoutTo` instead of
    // the capture when one is given.
    test::CliResult Run(const std::string& args, const std::string& shell = "",
                        const std::string& stdoutTo = "") {
        return test::RunCliIn(dir, dir.Path(), args, shell, test::kNoInput, stdoutTo);
    }
    std::string Path(const std::string& name) const { return dir.Path() + name; }
    static constexpr const char* kUnformatted = "Sub A()\r\nx=1\r\nEnd Sub\r\n";
    test::TempDir dir;
};

} // namespace kemptor
