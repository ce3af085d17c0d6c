// The installer hook's steps against real programs of a device: the order it closes them in,
// programs that refuse to close, the Today item and a plug-in still loaded, and the
// notifications it clears or keeps on removal.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/settings.h"
#include "installer/hook_steps.h"
#include "platform/api/device.h"
#include "platform/api/modules.h"
#include "platform/api/notifications.h"
#include "platform/api/registry.h"
#include "platform/api/shell.h"
#include "platform/api/state_notifications.h"
#include "platform/api/window.h"
#include "tests/e2e/support/e2e_device.h"
#include "updates/docking.h"

using namespace e2e;
namespace fs = std::filesystem;

namespace {

const std::string kAlarm[] = {"VORNALARMS", "Vorn Roamer Alarm"};
const std::string kMain[] = {"Vorn Roamer", "Vorn Roamer"};
const std::string kComms[] = {"Vorn Roamer Comms", "Vorn Roamer Comms"};

bool exists(const std::string (&program)[2]) {
    return platform::findWindow(platform::fromUtf8(program[0]), platform::fromUtf8(program[1])) !=
           0;
}

struct Asked {
    std::wstring text, caption;
    std::uint32_t flags = 0;
};

// Real waits, and the answers given and questions asked recorded.
struct RecordingEnvironment {
    std::vector<Asked> asked;
    int answer = platform::id::No;
    int waits = 0;
    std::vector<std::string> shownAtWaits;  // which programs had windows at each wait

    installer::HookEnvironment env() {
        installer::HookEnvironment e;
        e.wait = [this](int ms) {
            ++waits;
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
            shownAtWaits.push_back(std::string(exists(kAlarm) ? "A" : "") +
                                   (exists(kMain) ? "M" : "") + (exists(kComms) ? "C" : ""));
        };
        e.ask = [this](std::wstring_view text, std::wstring_view caption, std::uint32_t flags) {
            asked.push_back({std::wstring(text), std::wstring(caption), flags});
            return answer;
        };
        return e;
    }
};

platform::NotificationHandle arm(const std::wstring& application, const std::wstring& arguments) {
    platform::NotificationRecord r;
    r.application = application;
    r.arguments = arguments;
    r.start = platform::deviceLocalTime();
    r.start.year = static_cast<std::uint16_t>(r.start.year + 1);
    r.start.day = 1;
    return platform::setUserNotification(0, r);
}

std::vector<std::wstring> pendingArguments() {
    std::vector<std::wstring> out;
    for (auto h : platform::userNotificationHandles()) {
        if (auto r = platform::userNotification(h))
            out.push_back(r->application + L" " + r->arguments);
    }
    return out;
}

}  // namespace

TEST(InstallerHookTest, ClosesTheAlarmProgramFirstThenTheMainAndCommsPrograms) {
    TestDevice device;
    device.startTestProgram(kMain[0], kMain[1]);
    device.startTestProgram(kComms[0], kComms[1]);
    device.startTestProgram(kAlarm[0], kAlarm[1]);
    RecordingEnvironment rec;
    ASSERT_TRUE(installer::closePrograms(rec.env()));
    EXPECT_FALSE(exists(kMain) || exists(kComms) || exists(kAlarm));
    // Each window went away before the next program was asked, alarm program first.
    ASSERT_FALSE(rec.shownAtWaits.empty());
    std::vector<std::string> distinct;
    for (const auto& s : rec.shownAtWaits) {
        if (distinct.empty() || distinct.back() != s)
            distinct.push_back(s);
    }
    EXPECT_EQ(distinct, (std::vector<std::string>{"MC", "C", ""}));
    EXPECT_EQ(device.reportedNumber(kMain[1], L"Destroyed"), 1u);
}

TEST(InstallerHookTest, AProgramThatDoesNotCloseCancelsAfterTenAttempts) {
    TestDevice device;
    device.startTestProgram(kAlarm[0], kAlarm[1]);
    device.startTestProgram(kMain[0], kMain[1], {"--keep-open"});
    device.startTestProgram(kComms[0], kComms[1]);
    RecordingEnvironment rec;
    EXPECT_EQ(installer::installInit(rec.env()), 1);
    ASSERT_EQ(rec.asked.size(), 1u);
    EXPECT_EQ(rec.asked[0].text, installer::kCannotStop);
    EXPECT_EQ(rec.asked[0].caption, L"Install Error");
    EXPECT_EQ(rec.asked[0].flags, platform::mb::IconInformation);
    EXPECT_TRUE(waitUntil([&] {
        return device.reportedNumber(kMain[1], L"CloseRefused").value_or(0) == 10;
    })) << "ten WM_CLOSE attempts";
    EXPECT_FALSE(exists(kAlarm)) << "closed before the main program was tried";
    EXPECT_TRUE(exists(kMain));
    // The comms program after it is never asked.
    EXPECT_TRUE(exists(kComms));
    EXPECT_FALSE(device.reportedNumber(kComms[1], L"Destroyed"));
}

TEST(InstallerHookTest, WithNothingRunningInstallGoesOnWithoutWaitingOrAsking) {
    TestDevice device;
    RecordingEnvironment rec;
    EXPECT_EQ(installer::installInit(rec.env()), 0);
    EXPECT_TRUE(rec.asked.empty());
    EXPECT_EQ(rec.waits, 0);
}

TEST(InstallerHookTest, TakesTheTodayItemAwayAndTellsTheTodayScreen) {
    TestDevice device;
    device.startTestProgram("VornToday", "Today");
    ASSERT_TRUE(
        platform::RegistryKey::create(platform::Hive::LocalMachine, core::kTodayItemKeyPath));
    RecordingEnvironment rec;
    EXPECT_EQ(installer::installInit(rec.env()), 0);
    EXPECT_FALSE(
        platform::registryKeyExists(platform::Hive::LocalMachine, core::kTodayItemKeyPath));
    EXPECT_TRUE(waitUntil([&] { return device.reportedNumber("Today", L"SettingChange"); }));
    EXPECT_EQ(device.reportedNumber("Today", L"SettingChange"), 0xF2u);
    EXPECT_TRUE(rec.asked.empty());
}

TEST(InstallerHookTest, APlugInStillLoadedByTheTodayScreenCancels) {
    TestDevice device;
    fs::path plugin = *platform::hostPath(core::kTodayPluginPath);
    fs::remove(plugin);
    fs::create_symlink(fs::path(VORN_BINARY_DIR) / "lib/libvorn_test_hook.so", plugin);
    device.startTestProgram("VornToday", "Today",
                            {"--load-library", "\\windows\\VornRoamerToday.dll"});
    ASSERT_FALSE(platform::processesUsingModule(core::kTodayPluginPath).empty());
    ASSERT_TRUE(
        platform::RegistryKey::create(platform::Hive::LocalMachine, core::kTodayItemKeyPath));
    RecordingEnvironment rec;
    EXPECT_EQ(installer::uninstallInit(rec.env()), 1);
    ASSERT_EQ(rec.asked.size(), 1u);
    EXPECT_EQ(rec.asked[0].text, installer::kPluginInUse);
    EXPECT_EQ(rec.asked[0].caption, L"Install Error");
    EXPECT_GE(rec.waits, 10) << "it gave the Today screen its two seconds";
}

TEST(InstallerHookTest, RemovalAnsweredYesClearsAlarmsUpdatesAndTheCradleStartOnly) {
    TestDevice device;
    fs::path store = *platform::hostPath(L"\\windows\\vornalarms.dat");
    std::ofstream(store) << "kept";
    arm(L"\\windows\\vornalarms.exe", L"/ALARM Up");
    arm(L"\\windows\\vornalarms.exe", L"/ALMSZ Up");
    arm(L"\\windows\\vornalarms.exe", L"/QUICK");
    auto scheduled = arm(L"\\windows\\vornroamer3_sched.exe", L"/schedule");
    core::writeNumberSetting(L"ScheduledUpdate", static_cast<int>(scheduled));
    arm(L"\\windows\\VORNALARMS.EXE", L"/ALARM Other");  // another program: case counts
    arm(L"\\windows\\calendar.exe", L"/remind");
    ASSERT_TRUE(updates::setDockingUpdates());
    core::writeSetting(L"QuickSetAlarm", L"7");

    RecordingEnvironment rec;
    rec.answer = platform::id::Yes;
    EXPECT_EQ(installer::uninstallInit(rec.env()), 0);
    ASSERT_EQ(rec.asked.size(), 1u);
    EXPECT_EQ(rec.asked[0].text, installer::kRemoveQuestion);
    EXPECT_EQ(rec.asked[0].caption, L"Vorn Roamer");
    EXPECT_EQ(rec.asked[0].flags, platform::mb::YesNo | platform::mb::IconQuestion);
    EXPECT_EQ(pendingArguments(),
              (std::vector<std::wstring>{L"\\windows\\VORNALARMS.EXE /ALARM Other",
                                         L"\\windows\\calendar.exe /remind"}));
    EXPECT_TRUE(platform::stateNotifications().empty());
    EXPECT_EQ(core::readSetting(L"OptSchedDocking", 80), L"0");
    EXPECT_EQ(core::readSetting(L"ScheduledUpdate", 80), L"0");
    EXPECT_EQ(core::readSetting(L"QuickSetAlarm", 80), L"7");
    std::ifstream in(store);
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, "kept");
}

TEST(InstallerHookTest, RemovalAnsweredNoKeepsEverythingArmed) {
    TestDevice device;
    arm(L"\\windows\\vornalarms.exe", L"/ALARM Up");
    ASSERT_TRUE(updates::setDockingUpdates());
    RecordingEnvironment rec;
    rec.answer = platform::id::No;
    EXPECT_EQ(installer::uninstallInit(rec.env()), 0);
    EXPECT_EQ(rec.asked.size(), 1u);
    EXPECT_EQ(pendingArguments().size(), 1u);
    EXPECT_EQ(platform::stateNotifications().size(), 1u);
}
