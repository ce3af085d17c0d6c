// The options and updates of the main program on a device: a choice shows at once, docking
// starts the comms program, and removal leaves nothing of the system running or armed while a
// reinstall keeps the user's alarms and favourites.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/api/device.h"
#include "platform/api/notifications.h"
#include "platform/api/registry.h"
#include "platform/api/state_notifications.h"
#include "platform/api/window.h"
#include "tests/e2e/support/main_program_session.h"

namespace fs = std::filesystem;

namespace e2e {
namespace {

class OptionsFlowTest : public MainProgramSession {
  protected:
    // A comms program that notes each start, in place of the real one.
    void installCommsStandIn() {
        fs::path comms = *platform::hostPath(L"\\windows\\vornroamer3_sched.exe");
        fs::remove(comms);
        std::ofstream(comms) << "#!/bin/sh\necho \"started $1\" >> '" << startLog().string()
                             << "'\n";
        fs::permissions(comms, fs::perms::owner_all);
    }
    fs::path startLog() const { return device_.root() / "Temp" / "comms.log"; }
    int commsStarts() const {
        std::ifstream in(startLog());
        int n = 0;
        for (std::string line; std::getline(in, line);) ++n;
        return n;
    }
    static std::string slurp(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

}  // namespace

TEST_F(OptionsFlowTest, AClockFormatChoiceShowsAtOnceOnTheOptionsScreen) {
    skipWizard();
    startProgram(10);
    ask({"post", "--class", "Vorn Roamer", "VornRoamerChngModule", "11"});
    ASSERT_TRUE(waitForModule(11));
    ask({"post", "--class", "Vorn Roamer", "WM_COMMAND", "114"});
    // Every six hours, through the list's keys: open, five rows down, choose.
    ask({"key", "enter"});
    for (int i = 0; i < 4; ++i) ask({"key", "down"});
    ask({"key", "enter"});
    EXPECT_TRUE(waitUntil([&] { return registryValue("OptScheduler") == "6"; }))
        << registryValue("OptScheduler");
    EXPECT_TRUE(waitUntil([&] { return registryValue("ScheduledUpdate") != "0"; }));
    std::string listed = device_.ctl({"notifications"}).out;
    EXPECT_NE(listed.find("/schedule"), std::string::npos) << listed;
}

TEST_F(OptionsFlowTest, DockingStartsTheCommsProgramOncePerDocking) {
    installCommsStandIn();
    skipWizard();
    startProgram(10);
    ASSERT_TRUE(waitUntil([] { return !platform::stateNotifications().empty(); }))
        << "the main program registers the cradle start";
    ASSERT_EQ(device_.ctl({"dock"}).exitCode, 0);
    EXPECT_TRUE(waitUntil([&] { return commsStarts() == 1; })) << commsStarts();
    device_.ctl({"undock"});
    device_.ctl({"dock"});
    EXPECT_TRUE(waitUntil([&] { return commsStarts() == 2; })) << commsStarts();
}

TEST_F(OptionsFlowTest, UninstallLeavesNothingRunningOrArmedAndReinstallKeepsTheUsersFiles) {
    // The user's favourites: the shipped ones without the last city.
    fs::path favourites = device_.root() / "Program Files" / "Vorn Roamer" / "mycities.dat";
    std::string shipped = slurp(favourites);
    std::string mine = shipped.substr(0, shipped.rfind('\n', shipped.size() - 2) + 1);
    ASSERT_NE(mine, shipped);
    std::ofstream(favourites, std::ios::binary | std::ios::trunc) << mine;
    skipWizard();
    startProgram(10);
    ASSERT_EQ(runCommand(builtProgram("vorn"),
                         {"alarm", "add", "Up", "--time", "07:00", "--repeat", "daily"},
                         {"VORN_DEVICE=" + device_.root().string()})
                  .exitCode,
              0);
    ASSERT_TRUE(platform::RegistryKey::create(
        platform::Hive::LocalMachine, L"Software\\Microsoft\\Today\\Items\\\"VornRoamer\""));
    fs::path alarms = device_.root() / "windows" / "vornalarms.dat";
    std::string alarmsBefore = slurp(alarms);
    ASSERT_FALSE(alarmsBefore.empty());

    // The removal asks whether to clear the alarms; the test answers Yes with the keys.
    pid_t child = ::fork();
    if (child == 0) {
        ::setenv("VORN_DISPLAY", "headless", 1);
        std::string vd = builtProgram("vorndev").string(), root = device_.root().string();
        ::execl(vd.c_str(), vd.c_str(), "uninstall", "--device", root.c_str(), nullptr);
        ::_exit(127);
    }
    ASSERT_GT(child, 0);
    // The question shows once the programs are closed: answer it.
    ASSERT_TRUE(waitUntil([&] { return !platform::findWindow(L"Vorn Roamer", L"Vorn Roamer"); }));
    int status = -1;
    bool ended = waitUntil([&] {
        device_.ctl({"--pid", std::to_string(child), "key", "y"});
        return ::waitpid(child, &status, WNOHANG) == child;
    });
    ASSERT_TRUE(ended);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    EXPECT_TRUE(platform::userNotificationHandles().empty());
    EXPECT_TRUE(platform::stateNotifications().empty());
    EXPECT_FALSE(platform::registryKeyExists(platform::Hive::LocalMachine,
                                             L"Software\\Microsoft\\Today\\Items\\\"VornRoamer\""));
    for (const auto& w : platform::listWindows()) {
        EXPECT_TRUE(w.className != L"Vorn Roamer" && w.className != L"VORNALARMS" &&
                    w.className != L"Vorn Roamer Comms")
            << platform::toUtf8(w.className);
    }
    EXPECT_EQ(slurp(alarms), alarmsBefore) << "the alarm store stays";
    // What the main program saved when the hook closed it is the user's, and stays.
    std::string favouritesBefore = slurp(favourites);
    EXPECT_NE(favouritesBefore, shipped);

    CommandResult again = vorndev({"install", "--device", device_.root().string()});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(slurp(alarms), alarmsBefore);
    EXPECT_EQ(slurp(favourites), favouritesBefore);
}

}  // namespace e2e
