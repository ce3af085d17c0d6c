// vorndev as a person uses it: creating and installing devices, the registry and clock verbs,
// starting programs, running the device, and clear errors for bad input.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <fstream>

#include "platform/api/clock.h"
#include "platform/api/device.h"
#include "platform/api/profile.h"
#include "platform/api/registry.h"
#include "platform/api/window.h"
#include "tests/e2e/support/e2e_device.h"

using namespace e2e;
namespace fs = std::filesystem;

namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(VorndevSetupTest, InitCreatesAndInstallsTheDevice) {
    TestDevice device("480x640");
    const fs::path& root = device.root();
    for (const char* folder : {"windows", "Program Files/Vorn Roamer", "My Documents", "Temp"}) {
        EXPECT_TRUE(fs::is_directory(root / folder)) << folder;
    }
    auto profile = platform::screenProfile();
    EXPECT_EQ(profile.width, 480);
    EXPECT_EQ(profile.height, 640);
    EXPECT_EQ(profile.dpi, 192);

    // The install folder holds copies of data/, so programs writing there leave the source
    // tree alone.
    fs::path langList = root / "Program Files/Vorn Roamer/lang/lang.dat";
    ASSERT_TRUE(fs::exists(langList));
    EXPECT_FALSE(fs::is_symlink(langList));
    EXPECT_EQ(fs::file_size(langList),
              fs::file_size(fs::path(VORN_SOURCE_DIR) / "data/lang/lang.dat"));

    // A second init refuses to overwrite; --force makes a fresh device.
    platform::RegistryKey::create(platform::Hive::CurrentUser, L"Software\\Mark")
        ->setDword(L"Old", 1);
    CommandResult again = vorndev({"init", "--device", root.string()});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(contains(again.err, "already exists")) << again.err;
    CommandResult forced =
        vorndev({"init", "--device", root.string(), "--force", "--screen", "320x240"});
    ASSERT_EQ(forced.exitCode, 0) << forced.err;
    platform::setDeviceRoot(root);
    EXPECT_FALSE(platform::registryKeyExists(platform::Hive::CurrentUser, L"Software\\Mark"));
    EXPECT_EQ(platform::screenProfile().width, 320);
    EXPECT_TRUE(fs::exists(langList));
}

TEST(VorndevSetupTest, UninstallRemovesWhatWasInstalledAndNothingElse) {
    TestDevice device;
    const fs::path& root = device.root();
    fs::path folder = root / "Program Files/Vorn Roamer";
    std::ofstream(root / "My Documents/note.txt") << "mine";

    CommandResult r = vorndev({"uninstall", "--device", root.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_FALSE(fs::exists(folder / "lang"));
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_TRUE(fs::exists(root / "My Documents/note.txt"));
    EXPECT_TRUE(fs::is_symlink(root / "windows/vorn_testprog.exe"));

    r = vorndev({"uninstall", "--device", root.string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(contains(r.err, "not installed")) << r.err;

    r = vorndev({"install", "--device", root.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(fs::exists(folder / "lang/lang.dat"));
}

std::vector<std::string> linesOf(const fs::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(VorndevSetupTest, InstallerHookRunsAroundInstallAndRemoval) {
    TestDevice scratch;  // only for its temporary folder
    fs::path root = scratch.root().parent_path() / "hooked";
    fs::path log = scratch.root().parent_path() / "hook.log";
    std::vector<std::string> env{
        "VORN_INSTALLER_HOOK=" + (fs::path(VORN_BINARY_DIR) / "lib/libvorn_test_hook.so").string(),
        "VORN_TEST_HOOK_LOG=" + log.string(), "VORN_DISPLAY=headless"};
    auto run = [&](std::vector<std::string> args, std::vector<std::string> more = {}) {
        args.push_back("--device");
        args.push_back(root.string());
        more.insert(more.end(), env.begin(), env.end());
        return runCommand(builtProgram("vorndev"), args, more);
    };
    const std::string folder = "\\Program Files\\Vorn Roamer\\";

    CommandResult r = run({"init"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "Ran the installer hook")) << r.out;
    r = run({"install"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = run({"uninstall"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Init runs before the files are copied and Exit after; a second install is an upgrade.
    std::vector<std::string> expected{
        "Install_Init 0 1 0 " + folder + " files=0",
        "Install_Exit 0 " + folder + " 0 0 0 0 0 files=1",
        "Install_Init 0 1 1 " + folder + " files=1",
        "Install_Exit 0 " + folder + " 0 0 0 0 0 files=1",
        "Uninstall_Init 0 " + folder + " files=1",
        "Uninstall_Exit 0 files=0",
    };
    EXPECT_EQ(linesOf(log), expected);

    // A hook that cancels stops the installation and the removal before anything changes.
    r = run({"install"}, {"VORN_TEST_HOOK_CANCEL=1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(contains(r.err, "cancelled")) << r.err;
    EXPECT_FALSE(fs::exists(root / "Program Files/Vorn Roamer/lang"));
    ASSERT_EQ(run({"install"}).exitCode, 0);
    r = run({"uninstall"}, {"VORN_TEST_HOOK_CANCEL=1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(fs::exists(root / "Program Files/Vorn Roamer/lang/lang.dat"));

    // A library that is not a hook at all is skipped with a warning.
    env[0] = "VORN_INSTALLER_HOOK=" + (fs::path(VORN_SOURCE_DIR) / "README.md").string();
    r = run({"install"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.err, "cannot load the installer hook")) << r.err;
}

TEST(VorndevSetupTest, BadCommandLinesFailClearly) {
    fs::path nowhere = fs::temp_directory_path() / "vorn-e2e-no-device";
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string message;
    } cases[] = {
        {{}, 2, "usage"},
        {{"frobnicate"}, 2, "unknown command"},
        {{"init", "--screen", "100x100", "--device", nowhere.string()}, 2, "unknown screen"},
        {{"init", "--dpi", "lots", "--device", nowhere.string()}, 2, "--dpi must be a number"},
        {{"init", "--colour", "--device", nowhere.string()}, 2, "unknown option --colour"},
        {{"init", "--device"}, 2, "--device needs a value"},
        {{"install", "--device", nowhere.string()}, 1, "no device"},
        {{"ctl", "--device", nowhere.string(), "windows"}, 1, "no device"},
        {{"ctl", "--device", nowhere.string()}, 2, "needs a verb"},
        {{"ctl", "--device", nowhere.string(), "fly"}, 2, "unknown ctl verb"},
        {{"ctl", "--device", nowhere.string(), "rotate", "--class", "X"}, 2, "takes no --class"},
    };
    for (const auto& c : cases) {
        CommandResult r = vorndev(c.args);
        std::string shown;
        for (const auto& a : c.args) shown += a + " ";
        EXPECT_EQ(r.exitCode, c.exitCode) << shown;
        EXPECT_TRUE(contains(r.err, c.message)) << shown << "-> " << r.err;
    }
    EXPECT_FALSE(fs::exists(nowhere));
    EXPECT_EQ(vorndev({"ctl", "--help"}).exitCode, 0);
    EXPECT_EQ(vorndev({"init", "--help"}).exitCode, 0);
}

TEST(VorndevCtlTest, RegistryVerbs) {
    TestDevice device;
    auto reg = [&](std::vector<std::string> args) {
        args.insert(args.begin(), "reg");
        return device.ctl(args);
    };
    EXPECT_EQ(
        reg({"set", "HKCU", "Software\\Vorn Test", "Greeting", "--string", "hello world"}).exitCode,
        0);
    EXPECT_EQ(
        reg({"set", "HKLM", "Software/Vorn Test/Sub", "Count", "--dword", "0xFFFFFFFF"}).exitCode,
        0);
    EXPECT_EQ(reg({"get", "hkey_current_user", "software\\vorn test", "GREETING"}).out,
              "hello world\n");
    EXPECT_EQ(reg({"get", "HKLM", "Software\\Vorn Test\\Sub", "Count"}).out, "4294967295\n");

    // The program side sees the same values.
    auto key =
        platform::RegistryKey::open(platform::Hive::LocalMachine, L"Software\\Vorn Test\\Sub");
    ASSERT_TRUE(key);
    EXPECT_EQ(key->queryDword(L"Count"), 0xFFFFFFFFu);

    CommandResult list = reg({"list", "HKLM", "Software\\Vorn Test"});
    EXPECT_EQ(list.out, "Sub\\\tKEY\n");
    list = reg({"list", "HKLM", "Software\\Vorn Test\\Sub"});
    EXPECT_EQ(list.out, "Count\tREG_DWORD\t4294967295\n");

    EXPECT_EQ(reg({"delete", "HKCU", "Software\\Vorn Test", "Greeting"}).exitCode, 0);
    CommandResult gone = reg({"get", "HKCU", "Software\\Vorn Test", "Greeting"});
    EXPECT_EQ(gone.exitCode, 1);
    EXPECT_TRUE(contains(gone.err, "no value")) << gone.err;
    EXPECT_EQ(reg({"delete", "HKLM", "Software\\Vorn Test"}).exitCode, 0);
    EXPECT_FALSE(
        platform::registryKeyExists(platform::Hive::LocalMachine, L"Software\\Vorn Test\\Sub"));

    EXPECT_EQ(reg({"set", "HKCU", "K", "N"}).exitCode, 2);
    EXPECT_EQ(reg({"set", "HKCU", "K", "N", "--string", "a", "--dword", "1"}).exitCode, 2);
    EXPECT_EQ(reg({"set", "HKCU", "K", "N", "--dword", "4294967296"}).exitCode, 2);
    EXPECT_EQ(reg({"get", "HKXX", "K", "N"}).exitCode, 2);
    EXPECT_EQ(reg({"get", "HKCU", "K", "N", "--string", "x"}).exitCode, 2);
}

TEST(VorndevCtlTest, ClockVerb) {
    TestDevice device;
    CommandResult r = device.ctl({"clock", "set", "-3600"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(platform::clockOffsetSeconds(), -3600);
    EXPECT_TRUE(contains(r.out, "offset=-3600")) << r.out;

    r = device.ctl({"clock", "--at", "2031-07-04T10:20:30Z"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    platform::SystemTime now = platform::deviceUtcTime();
    EXPECT_EQ(now.year, 2031);
    EXPECT_EQ(now.month, 7);
    EXPECT_EQ(now.day, 4);
    EXPECT_EQ(now.hour, 10);
    EXPECT_NEAR(now.minute * 60 + now.second, 20 * 60 + 30, 60);

    EXPECT_EQ(device.ctl({"clock", "--at", "2031-02-30T00:00:00Z"}).exitCode, 2);
    EXPECT_EQ(device.ctl({"clock", "--at", "yesterday"}).exitCode, 2);
    EXPECT_EQ(device.ctl({"clock", "set", "soon"}).exitCode, 2);
}

TEST(VorndevCtlTest, RunStartsOnlyProgramsOfTheDevice) {
    TestDevice device;
    for (const char* path : {"\\windows\\missing.exe", "..\\..\\bin\\sh", "\\windows", "/bin/sh"}) {
        CommandResult r = device.ctl({"run", path});
        EXPECT_EQ(r.exitCode, 1) << path;
        EXPECT_TRUE(contains(r.err, "cannot start")) << path << ": " << r.err;
    }
    // Input verbs need a program to take them.
    CommandResult tap = device.ctl({"tap", "10", "10"});
    EXPECT_EQ(tap.exitCode, 1);
    EXPECT_TRUE(contains(tap.err, "no program")) << tap.err;

    // The argument line reaches the program whole, and the program knows its device path.
    int pid = device.startTestProgram("Runner", "Run Me", {"--peer-title", "\"Two Words\""});
    CommandResult windows = device.ctl({"windows"});
    EXPECT_TRUE(contains(windows.out, "\tRunner\tRun Me\t\\windows\\vorn_testprog.exe\t" +
                                          std::to_string(pid) + "\t1\t"))
        << windows.out;
    CommandResult key = device.ctl({"key", "nosuchkey", "--pid", std::to_string(pid)});
    EXPECT_EQ(key.exitCode, 1);
    EXPECT_TRUE(contains(key.err, "unknown key")) << key.err;
    EXPECT_EQ(device.ctl({"key", "enter", "--window", "Runner:Run Me"}).exitCode, 0);
    EXPECT_EQ(device.ctl({"key", "enter", "--window", "Runner:Other"}).exitCode, 1);

    CommandResult stop = device.ctl({"stop"});
    EXPECT_EQ(stop.exitCode, 0) << stop.err;
    EXPECT_TRUE(waitUntil([&] { return !isRunning(pid); }));
    EXPECT_TRUE(platform::listWindows().empty());
}

TEST(VorndevStartTest, DetachedDeviceRunsUntilStopped) {
    TestDevice device;
    CommandResult start =
        vorndev({"start", "--device", device.root().string(), "--headless", "--detach"});
    ASSERT_EQ(start.exitCode, 0) << start.err;
    EXPECT_NE(platform::findWindow(L"", L"Today"), 0u);
    // The main program is in front of the Today screen, whichever started faster.
    platform::WindowHandle main = platform::findWindow(L"Vorn Roamer", L"Vorn Roamer");
    ASSERT_NE(main, 0u);
    EXPECT_EQ(platform::foregroundWindow(), main);
    int todayPid = std::stoi(start.out);
    EXPECT_TRUE(isRunning(todayPid));

    CommandResult twice =
        vorndev({"start", "--device", device.root().string(), "--headless", "--detach"});
    EXPECT_EQ(twice.exitCode, 1);
    EXPECT_TRUE(contains(twice.err, "already running")) << twice.err;

    ASSERT_EQ(device.ctl({"stop"}).exitCode, 0);
    EXPECT_TRUE(waitUntil([&] { return !isRunning(todayPid); }));
}

TEST(VorndevStartTest, InterruptClosesTheDeviceInTheForeground) {
    TestDevice device;
    std::vector<std::string> words{builtProgram("vorndev").string(), "start", "--device",
                                   device.root().string(), "--headless"};
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    std::string errors = (device.root().parent_path() / "start.err").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT, 0600);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);

    ASSERT_TRUE(waitUntil([] { return platform::findWindow(L"", L"Today") != 0; }));
    auto windows = platform::listWindows();
    ASSERT_FALSE(windows.empty());
    int todayPid = windows.front().processId;
    ::kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    // The Today screen was closed by its window, in time, not killed.
    EXPECT_FALSE(isRunning(todayPid));
    EXPECT_TRUE(platform::listWindows().empty());
    std::ifstream errorText(errors);
    std::string line;
    while (std::getline(errorText, line)) EXPECT_FALSE(contains(line, "did not close")) << line;
}

}  // namespace
