// Starting device programs by device path; program start-up and the device log.

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/api/device.h"
#include "platform/api/process.h"
#include "platform/api/program.h"
#include "platform/device/state_store.h"
#include "platform/services/program_environment.h"

namespace fs = std::filesystem;
using namespace platform;

namespace {

// A program that reports what it was started with and exits with 7.
constexpr char kReporter[] =
    "#!/bin/sh\n"
    "printf '%s\\n' \"$VORN_SELF\" \"$VORN_DEVICE\" \"$VORN_DISPLAY\" \"$#\" \"$1\" "
    "> \"$VORN_DEVICE/report.txt.tmp\"\n"
    "mv \"$VORN_DEVICE/report.txt.tmp\" \"$VORN_DEVICE/report.txt\"\n"
    "exit 7\n";

class Process : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/vorn-process-XXXXXX";
        root_ = mkdtemp(pattern);
        setDeviceRoot(root_);
        fs::create_directories(root_ / "Windows");
        fs::create_directories(root_ / "Program Files" / "Tool");
        writeScript(root_ / "Windows" / "reporter.exe", kReporter);
        // Installed programs are links to host binaries outside the device tree.
        char outside[] = "/tmp/vorn-process-bin-XXXXXX";
        outside_ = mkdtemp(outside);
        writeScript(outside_ / "tool", kReporter);
        fs::create_symlink(outside_ / "tool", root_ / "Program Files" / "Tool" / "Tool.exe");
        writeScript(root_ / "Windows" / "sleeper.exe", "#!/bin/sh\nexec sleep 30\n");
        std::ofstream(root_ / "Windows" / "plain.txt") << "not a program";
        setenv("VORN_DISPLAY", "headless", 1);
    }
    void TearDown() override {
        state::Store::closeInstance();
        fs::remove_all(root_);
        fs::remove_all(outside_);
    }
    static void writeScript(const fs::path& p, const std::string& text) {
        std::ofstream(p) << text;
        fs::permissions(p, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
    }
    std::vector<std::string> report() {
        std::vector<std::string> lines;
        std::ifstream in(root_ / "report.txt");
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    fs::path root_;
    fs::path outside_;
};

TEST_F(Process, StartedProgramsLearnTheirDevicePathAndArgumentLine) {
    auto pid = startProgram(L"\\WINDOWS\\Reporter.EXE", L"-alarm 3 \"two words\"");
    ASSERT_TRUE(pid);
    auto end = waitForProcess(*pid, 10000);
    EXPECT_TRUE(end.ended);
    EXPECT_EQ(end.exitCode, 7);
    EXPECT_EQ(report(), (std::vector<std::string>{"\\Windows\\reporter.exe", root_.string(),
                                                  "headless", "1", "-alarm 3 \"two words\""}));

    fs::remove(root_ / "report.txt");
    pid = startProgram(L"\\program files\\tool\\tool.exe");
    ASSERT_TRUE(pid);
    EXPECT_EQ(waitForProcess(*pid, 10000).exitCode, 7);
    EXPECT_EQ(report(), (std::vector<std::string>{"\\Program Files\\Tool\\Tool.exe", root_.string(),
                                                  "headless", "0", ""}));
}

TEST_F(Process, OnlyExecutableFilesOfTheDeviceStart) {
    EXPECT_FALSE(startProgram(L"\\windows\\missing.exe"));
    EXPECT_FALSE(startProgram(L"\\windows\\plain.txt"));
    EXPECT_FALSE(startProgram(L"\\windows"));
    EXPECT_FALSE(startProgram(L"\\..\\..\\bin\\sh"));
    EXPECT_FALSE(startProgram(L"C:\\windows\\reporter.exe"));
    // Each refusal is logged for whoever investigates later.
    std::ifstream log(root_ / ".device" / "log" / "device.log");
    std::string text{std::istreambuf_iterator<char>(log), {}};
    EXPECT_NE(text.find("cannot start \\windows\\missing.exe"), std::string::npos);
}

TEST_F(Process, AliveUntilEndedAndReaped) {
    EXPECT_TRUE(isProcessAlive(getpid()));
    EXPECT_FALSE(isProcessAlive(0));
    EXPECT_FALSE(isProcessAlive(-1));
    auto pid = startProgram(L"\\windows\\sleeper.exe");
    ASSERT_TRUE(pid);
    EXPECT_TRUE(isProcessAlive(*pid));
    EXPECT_FALSE(waitForProcess(*pid, 50).ended);
    kill(*pid, SIGTERM);
    auto end = waitForProcess(*pid, 10000);
    EXPECT_TRUE(end.ended);
    EXPECT_FALSE(end.exitCode);  // ended by a signal
    EXPECT_FALSE(isProcessAlive(*pid));
    // Asking again after the reap still tells the same end.
    EXPECT_TRUE(waitForProcess(*pid, 0).ended);
}

TEST_F(Process, ProgramEnvironmentAndDeviceLog) {
    unsetenv("VORN_SELF");
    char arg0[] = "/host/bin/vornalarms";
    char arg1[] = "-wake";
    char arg2[] = "Zürich";
    char* argv[] = {arg0, arg1, arg2, nullptr};
    StartOptions options;
    options.defaultDevicePath = L"\\windows\\vornalarms.exe";
    EXPECT_EQ(initProgramEnvironment(3, argv, options), L"-wake Zürich");
    EXPECT_EQ(ownDevicePath(), L"\\windows\\vornalarms.exe");
    EXPECT_EQ(initProgramEnvironment(1, argv, options), L"");

    logLine("first line\nstill the first");
    logLine("second");
    std::ifstream log(root_ / ".device" / "log" / "device.log");
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 2u);
    std::string pid = "[" + std::to_string(getpid()) + "]";
    EXPECT_NE(lines[0].find(pid + " vornalarms.exe: first line still the first"),
              std::string::npos);
    EXPECT_NE(lines[1].find("vornalarms.exe: second"), std::string::npos);
    EXPECT_EQ(lines[1][4], '-');  // starts with the date
}

}  // namespace
