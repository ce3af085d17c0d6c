// The notification service on a running device: a program started when its notification's
// time comes, notifications that came due while the device was off starting late or missed
// when it starts, the clock moved forward by vorndev, and the ctl verbs of the services.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/api/clock.h"
#include "platform/api/notifications.h"
#include "platform/api/phone.h"
#include "platform/api/power.h"
#include "platform/api/profile.h"
#include "platform/api/sound.h"
#include "platform/api/window.h"
#include "tests/e2e/support/e2e_device.h"

using namespace e2e;
using namespace platform;

namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The device-local time `seconds` from now.
SystemTime localIn(std::int64_t seconds) {
    FileTime now = *toFileTime(deviceLocalTime());
    auto t = toSystemTime(now + static_cast<FileTime>(seconds * kFileTimeTicksPerSecond));
    return *t;
}

NotificationHandle notifyTestProgram(const SystemTime& start, const std::string& title) {
    NotificationRecord r;
    r.kind = NotificationKind::Time;
    r.application = L"\\windows\\vorn_testprog.exe";
    r.arguments = L"--class NotifiedProgram --title " + std::wstring(title.begin(), title.end());
    r.start = start;
    r.end = SystemTime{0, 0, 0, 0, 0, 0, 0, 0};
    return setUserNotification(0, r);
}

class NotificationServiceTest : public ::testing::Test {
  protected:
    void SetUp() override { ::setenv("VORN_DISPLAY", "headless", 1); }

    void startDevice() {
        CommandResult start =
            vorndev({"start", "--device", device_.root().string(), "--headless", "--detach"});
        ASSERT_EQ(start.exitCode, 0) << start.err;
        ASSERT_TRUE(contains(start.out, "Notification service")) << start.out;
    }

    // The program's report once its window exists; nothing when it never started.
    std::optional<std::uint32_t> startedProcess(const std::string& title, int seconds = 30) {
        waitUntil([&] { return device_.reportedNumber(title, L"ProcessId").has_value(); },
                  std::chrono::seconds(seconds));
        return device_.reportedNumber(title, L"ProcessId");
    }

    TestDevice device_;
};

TEST_F(NotificationServiceTest, AProgramStartsWhenItsTimeComes) {
    startDevice();
    SystemTime due = localIn(2);
    NotificationHandle handle = notifyTestProgram(due, "OnTime");
    ASSERT_NE(handle, 0u);
    EXPECT_TRUE(userNotification(handle));
    auto pid = startedProcess("OnTime");
    ASSERT_TRUE(pid) << device_.deviceLog();
    // It started with its argument line (the title it reports under), not before its time,
    // and was told it is on time.
    EXPECT_GE(*toFileTime(deviceLocalTime()), *toFileTime(due));
    EXPECT_EQ(device_.reportedNumber("OnTime", L"NotifiedOutcome"),
              static_cast<std::uint32_t>(NotificationOutcome::Started));
    EXPECT_EQ(device_.reportedNumber("OnTime", L"NotifiedDueMinute"), due.hour * 60u + due.minute);
    // The record is gone and the run is logged.
    EXPECT_FALSE(userNotification(handle));
    auto log = notificationRunLog();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().handle, handle);
    EXPECT_EQ(log.back().processId, static_cast<int>(*pid));
    CommandResult runs = device_.ctl({"notifications", "runs"});
    EXPECT_TRUE(contains(runs.out, std::to_string(handle) + "\tstarted")) << runs.out;

    // Stopping the device stops the service with the programs.
    EXPECT_EQ(device_.ctl({"stop"}).exitCode, 0);
    EXPECT_TRUE(waitUntil([] { return listWindows().empty(); }));
}

TEST_F(NotificationServiceTest, WhatCameDueWhileTheDeviceWasOffStartsWithIt) {
    NotificationHandle late = notifyTestProgram(localIn(-10 * 60), "Late");
    NotificationHandle missed = notifyTestProgram(localIn(-2 * 3600), "Missed");
    NotificationHandle future = notifyTestProgram(localIn(3600), "Future");
    startDevice();
    ASSERT_TRUE(startedProcess("Late")) << device_.deviceLog();
    ASSERT_TRUE(startedProcess("Missed")) << device_.deviceLog();
    EXPECT_EQ(device_.reportedNumber("Late", L"NotifiedOutcome"),
              static_cast<std::uint32_t>(NotificationOutcome::Late));
    EXPECT_EQ(device_.reportedNumber("Missed", L"NotifiedOutcome"),
              static_cast<std::uint32_t>(NotificationOutcome::Missed));
    EXPECT_FALSE(userNotification(late));
    EXPECT_FALSE(userNotification(missed));
    EXPECT_TRUE(userNotification(future));
    EXPECT_FALSE(device_.reportedNumber("Future", L"ProcessId"));
}

TEST_F(NotificationServiceTest, MovingTheClockForwardStartsWhatIsDue) {
    NotificationHandle handle = notifyTestProgram(localIn(3600), "AnHourOn");
    NotificationHandle later = notifyTestProgram(localIn(3 * 3600), "Later");
    CommandResult list = device_.ctl({"notifications"});
    EXPECT_TRUE(contains(list.out, std::to_string(handle) + "\ttime\t")) << list.out;
    EXPECT_TRUE(contains(list.out, "\\windows\\vorn_testprog.exe\t--class NotifiedProgram"))
        << list.out;

    CommandResult clock =
        device_.ctl({"clock", "set", std::to_string(clockOffsetSeconds() + 3600 + 30)});
    ASSERT_EQ(clock.exitCode, 0) << clock.err;
    EXPECT_TRUE(contains(clock.out, "ran\t" + std::to_string(handle) + "\tstarted")) << clock.out;
    EXPECT_FALSE(contains(clock.out, "\t" + std::to_string(later) + "\t")) << clock.out;
    ASSERT_TRUE(startedProcess("AnHourOn")) << device_.deviceLog();

    // Moving it again finds nothing more due; clearing leaves the list empty.
    clock = device_.ctl({"clock", "set", std::to_string(clockOffsetSeconds() + 1)});
    EXPECT_FALSE(contains(clock.out, "ran\t")) << clock.out;
    EXPECT_EQ(device_.ctl({"notifications", "clear", std::to_string(later)}).exitCode, 0);
    EXPECT_EQ(device_.ctl({"notifications", "clear", std::to_string(later)}).exitCode, 1);
    notifyTestProgram(localIn(60), "A");
    // ctl adds records too: seconds from now or a local time, the rest being the arguments.
    CommandResult added =
        device_.ctl({"notifications", "add", "+120", "\\windows\\vorn_testprog.exe", "--class", "C",
                     "--title", "ViaCtl"});
    ASSERT_EQ(added.exitCode, 0) << added.err;
    auto viaCtl = userNotification(static_cast<NotificationHandle>(std::stoul(added.out)));
    ASSERT_TRUE(viaCtl);
    EXPECT_EQ(viaCtl->arguments, L"--class C --title ViaCtl");
    auto expected = static_cast<std::int64_t>(*toFileTime(localIn(120)));
    auto got = static_cast<std::int64_t>(*toFileTime(viaCtl->start));
    EXPECT_NEAR(static_cast<double>(got - expected) / kFileTimeTicksPerSecond, 0.0, 5.0);
    EXPECT_EQ(
        device_.ctl({"notifications", "add", "2027-02-29T07:00", "\\windows\\x.exe"}).exitCode, 2);
    EXPECT_EQ(
        device_.ctl({"notifications", "add", "2027-02-28T07:00Z", "\\windows\\x.exe"}).exitCode, 2);
    EXPECT_EQ(device_.ctl({"notifications", "add", "+5"}).exitCode, 2);
    CommandResult all = device_.ctl({"notifications", "clear", "--all"});
    EXPECT_TRUE(contains(all.out, "Cleared 2")) << all.out;
    EXPECT_TRUE(userNotificationHandles().empty());
    EXPECT_EQ(device_.ctl({"notifications", "forget"}).exitCode, 2);
}

TEST(NotificationServiceUsageTest, TheCommandListNamesTheService) {
    CommandResult help = vorndev({"--help"});
    ASSERT_EQ(help.exitCode, 0) << help.err;
    EXPECT_TRUE(contains(help.out, "  notifications-service run the notification service"))
        << help.out;
    EXPECT_TRUE(contains(help.out, "  today       run the Today screen")) << help.out;
    CommandResult ctlHelp = vorndev({"ctl", "--help"});
    for (const char* verb : {"notifications", "sound", "power", "phone"})
        EXPECT_TRUE(contains(ctlHelp.out, std::string("\n  ") + verb + " ")) << verb;
}

TEST_F(NotificationServiceTest, CtlReadsAndSetsThePhonePowerAndSound) {
    CommandResult phone = device_.ctl({"phone", "incoming"});
    ASSERT_EQ(phone.exitCode, 0) << phone.err;
    EXPECT_EQ(phoneStatus(), kPhoneIncomingCall);
    EXPECT_TRUE(contains(phone.out, "incoming\t0x00010000")) << phone.out;
    EXPECT_EQ(device_.ctl({"phone", "busy"}).exitCode, 0);
    EXPECT_EQ(phoneStatus(), kPhoneCallInProgress);
    EXPECT_EQ(device_.ctl({"phone", "idle"}).exitCode, 0);
    EXPECT_EQ(phoneStatus(), 0u);
    EXPECT_TRUE(contains(device_.ctl({"phone"}).out, "idle\t0x00000000"));
    EXPECT_EQ(device_.ctl({"phone", "ringing"}).exitCode, 2);

    setLedState(1, 1);
    PowerRequirementHandle hold = setPowerRequirement(L"BKL1:", DevicePowerState::D0);
    CommandResult power = device_.ctl({"power"});
    EXPECT_TRUE(contains(power.out, "state=0x00010000\nbacklight=held\nled0=0\nvibrator=1"))
        << power.out;
    releasePowerRequirement(hold);
    EXPECT_TRUE(contains(device_.ctl({"power"}).out, "backlight=free"));

    setWaveOutVolume(bothChannels(0x8000));
    CommandResult sound = device_.ctl({"sound"});
    EXPECT_TRUE(contains(sound.out, "volume=0x80008000")) << sound.out;
    EXPECT_EQ(device_.ctl({"sound", "--clear"}).exitCode, 0);
    EXPECT_TRUE(playLog().empty());
}

}  // namespace
