#pragma once
// Runs the built `vorn` command line with its arguments, as a person types them, and keeps
// what it printed and how it ended. A command that hangs is ended after 60 s, and fails the
// test, instead of hanging the run.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/platform/support/test_device.h"

namespace platform::test {

struct VornOutcome {
    int exitCode = -1;
    std::string out;  // standard output; standard error is dropped
};

inline VornOutcome runVorn(const std::string& arguments) {
    const std::filesystem::path program = builtProgram("vorn");
    EXPECT_TRUE(std::filesystem::exists(program)) << "build the vorn target first";
    VornOutcome run;
    const std::string command =
        "timeout 60 '" + program.string() + "' " + arguments + " 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace platform::test
