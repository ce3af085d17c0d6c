// Timed and event notifications: the records as programs set and read them, and the service's
// step that starts the programs of due records, on time, late or missed.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/api/clock.h"
#include "platform/api/device.h"
#include "platform/api/notifications.h"
#include "platform/api/process.h"
#include "platform/device/state_store.h"
#include "platform/services/notification_store.h"
#include "tests/platform/support/test_device.h"

namespace fs = std::filesystem;
using namespace platform;

namespace {

// Writes its argument line and what the service told it into ran-<argument>.txt.
constexpr char kReporter[] =
    "#!/bin/sh\n"
    "f=\"$VORN_DEVICE/ran-$1.txt\"\n"
    "printf '%s\\n' \"$1\" \"$VORN_NOTIFIED_DUE\" \"$VORN_NOTIFIED_OUTCOME\" > \"$f.tmp\"\n"
    "mv \"$f.tmp\" \"$f\"\n";

// A child of the concurrency test: runs the service's step once and exits with the number
// of records it handled.
const bool kIsRunner = [] {
    if (std::getenv("VORN_NOTIFICATION_RUNNER")) {
        int handled = 0;
        try {
            handled = static_cast<int>(runDueNotifications().size());
            state::Store::closeInstance();
        } catch (const std::exception&) {
            handled = 255;
        }
        std::_Exit(handled);
    }
    return false;
}();

SystemTime at(int year, int month, int day, int hour, int minute, int second = 0) {
    SystemTime t;
    t.year = static_cast<std::uint16_t>(year);
    t.month = static_cast<std::uint16_t>(month);
    t.day = static_cast<std::uint16_t>(day);
    t.hour = static_cast<std::uint16_t>(hour);
    t.minute = static_cast<std::uint16_t>(minute);
    t.second = static_cast<std::uint16_t>(second);
    t.dayOfWeek = static_cast<std::uint16_t>(dayOfWeekOf(year, month, day));
    return t;
}

NotificationRecord timeRecord(const SystemTime& start, std::wstring arguments,
                              std::wstring application = L"\\windows\\reporter.exe") {
    NotificationRecord r;
    r.kind = NotificationKind::Time;
    r.application = std::move(application);
    r.arguments = std::move(arguments);
    r.start = start;
    r.end = SystemTime{0, 0, 0, 0, 0, 0, 0, 0};
    return r;
}

class Notifications : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = test::useTestDevice();
        ASSERT_TRUE(setDeviceTimeZone("UTC"));
        // The device clock stands at 2027-03-01 12:00:00.
        setDeviceUtcTime(*toFileTime(at(2027, 3, 1, 12, 0)));
        fs::create_directories(root_ / "windows");
        fs::path reporter = root_ / "windows" / "reporter.exe";
        std::ofstream(reporter) << kReporter;
        fs::permissions(reporter, fs::perms::owner_all);
        setenv("VORN_DISPLAY", "headless", 1);
        for (auto handle : userNotificationHandles()) clearUserNotification(handle);
    }

    // The reporter's lines for an argument, once it has written them.
    std::vector<std::string> report(const std::string& argument) {
        fs::path file = root_ / ("ran-" + argument + ".txt");
        for (int i = 0; i < 1000 && !fs::exists(file); ++i) ::usleep(10000);
        std::vector<std::string> lines;
        std::ifstream in(file);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    fs::path root_;
};

TEST_F(Notifications, RecordsAreSetReadReplacedAndCleared) {
    NotificationRecord first = timeRecord(at(2027, 3, 2, 7, 0), L"/ALARM Wake up");
    NotificationHandle a = setUserNotification(0, first);
    ASSERT_NE(a, 0u);
    EXPECT_EQ(userNotification(a), first);
    // Header, trigger and user part, then both strings in UTF-16 with terminators.
    EXPECT_EQ(userNotificationSize(a), 16u + 52 + 24 + 2 * (21 + 1) + 2 * (14 + 1));

    NotificationRecord second = timeRecord(at(2027, 3, 3, 8, 30), L"/QUICK");
    NotificationHandle b = setUserNotification(0, second);
    ASSERT_NE(b, 0u);
    EXPECT_NE(a, b);
    EXPECT_EQ(userNotificationHandles(), (std::vector<NotificationHandle>{a, b}));

    // Replacing keeps the handle and the place; a handle that is gone gives a new record.
    NotificationRecord moved = timeRecord(at(2027, 3, 4, 6, 15), L"/ALMSZ Wake up");
    EXPECT_EQ(setUserNotification(a, moved), a);
    EXPECT_EQ(userNotification(a), moved);
    EXPECT_EQ(userNotificationHandles(), (std::vector<NotificationHandle>{a, b}));

    EXPECT_TRUE(clearUserNotification(a));
    EXPECT_FALSE(clearUserNotification(a));
    EXPECT_FALSE(clearUserNotification(0));
    EXPECT_EQ(userNotificationSize(a), 0u);
    EXPECT_FALSE(userNotification(a));
    NotificationHandle c = setUserNotification(a, first);
    EXPECT_NE(c, 0u);
    EXPECT_NE(c, a);  // a cleared handle is not handed out again straight away
    EXPECT_EQ(userNotificationHandles(), (std::vector<NotificationHandle>{b, c}));
}

TEST_F(Notifications, DamagedRecordsAreRefused) {
    NotificationRecord good = timeRecord(at(2027, 3, 2, 7, 0), L"/QUICK");
    auto refused = [&](auto change) {
        NotificationRecord r = good;
        change(r);
        return setUserNotification(0, r) == 0;
    };
    EXPECT_TRUE(refused([](auto& r) {
        r.start.month = 4;
        r.start.day = 31;
    }));
    EXPECT_TRUE(refused([](auto& r) { r.start.hour = 24; }));
    EXPECT_TRUE(refused([](auto& r) { r.start.year = 1600; }));
    EXPECT_TRUE(refused([](auto& r) { r.application.clear(); }));
    EXPECT_TRUE(refused([](auto& r) { r.application.assign(kMaxNotificationText + 1, L'a'); }));
    EXPECT_TRUE(refused([](auto& r) { r.arguments.assign(kMaxNotificationText + 1, L'a'); }));
    EXPECT_TRUE(refused([](auto& r) { r.arguments = std::wstring(L"a\0b", 3); }));
    EXPECT_TRUE(refused([](auto& r) { r.kind = static_cast<NotificationKind>(9); }));
    EXPECT_TRUE(refused([](auto& r) { r.kind = NotificationKind::Event; }));  // no event named
    EXPECT_TRUE(userNotificationHandles().empty());
    // The longest lines still fit, and replacing with a refused record keeps the old one.
    NotificationRecord longest = good;
    longest.arguments.assign(kMaxNotificationText, L'x');
    NotificationHandle h = setUserNotification(0, longest);
    ASSERT_NE(h, 0u);
    NotificationRecord bad = good;
    bad.start.month = 13;
    EXPECT_EQ(setUserNotification(h, bad), 0u);
    EXPECT_EQ(userNotification(h), longest);
}

TEST_F(Notifications, DueRecordsStartTheirProgramsOnTimeLateOrMissed) {
    // Now is 12:00:00. Due 10 s ago: on time; 20 minutes ago: late; two hours ago: missed.
    NotificationHandle onTime =
        setUserNotification(0, timeRecord(at(2027, 3, 1, 11, 59, 50), L"ontime"));
    NotificationHandle late = setUserNotification(0, timeRecord(at(2027, 3, 1, 11, 40), L"late"));
    NotificationHandle missed =
        setUserNotification(0, timeRecord(at(2027, 3, 1, 10, 0), L"missed"));
    NotificationHandle future =
        setUserNotification(0, timeRecord(at(2027, 3, 1, 12, 1), L"future"));
    NotificationHandle broken =
        setUserNotification(0, timeRecord(at(2027, 3, 1, 11, 0), L"x", L"\\windows\\missing.exe"));
    NotificationRecord event;
    event.kind = NotificationKind::Event;
    event.event = NotificationEvent::Rs232Detected;
    event.application = L"\\windows\\reporter.exe";
    event.arguments = L"docked";
    NotificationHandle docked = setUserNotification(0, event);
    ASSERT_NE(docked, 0u);

    auto runs = runDueNotifications();
    ASSERT_EQ(runs.size(), 4u);
    // In the order of their times.
    EXPECT_EQ(runs[0].handle, missed);
    EXPECT_EQ(runs[0].outcome, NotificationOutcome::Missed);
    EXPECT_EQ(runs[1].handle, broken);
    EXPECT_EQ(runs[1].outcome, NotificationOutcome::Failed);
    EXPECT_EQ(runs[2].handle, late);
    EXPECT_EQ(runs[2].outcome, NotificationOutcome::Late);
    EXPECT_EQ(runs[3].handle, onTime);
    EXPECT_EQ(runs[3].outcome, NotificationOutcome::Started);
    EXPECT_EQ(runs[3].record.arguments, L"ontime");

    EXPECT_EQ(report("ontime"), (std::vector<std::string>{"ontime", "2027-03-01T11:59:50", "1"}));
    EXPECT_EQ(report("late"), (std::vector<std::string>{"late", "2027-03-01T11:40:00", "2"}));
    EXPECT_EQ(report("missed"), (std::vector<std::string>{"missed", "2027-03-01T10:00:00", "3"}));

    // Fired records are gone, the rest stay; a second look finds nothing more to do.
    EXPECT_EQ(userNotificationHandles(), (std::vector<NotificationHandle>{future, docked}));
    EXPECT_TRUE(runDueNotifications().empty());

    auto log = notificationRunLog();
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log.back().handle, onTime);
    EXPECT_EQ(log.back().record.arguments, L"ontime");
    EXPECT_EQ(log[log.size() - 4].outcome, NotificationOutcome::Missed);

    // The event record starts its program when the event happens, and stays.
    auto signalled = signalNotificationEvent(NotificationEvent::Rs232Detected);
    ASSERT_EQ(signalled.size(), 1u);
    EXPECT_EQ(signalled[0].handle, docked);
    EXPECT_EQ(report("docked"), (std::vector<std::string>{"docked", "", ""}));
    EXPECT_TRUE(userNotification(docked));
}

TEST_F(Notifications, TheClockMovingForwardMakesRecordsDue) {
    EXPECT_FALSE(nextNotificationTime());
    NotificationHandle h = setUserNotification(0, timeRecord(at(2027, 3, 1, 12, 5), L"later"));
    setUserNotification(0, timeRecord(at(2027, 3, 1, 13, 0), L"after"));
    NotificationRecord event;
    event.kind = NotificationKind::Event;
    event.event = NotificationEvent::Rs232Detected;
    event.application = L"\\windows\\reporter.exe";
    setUserNotification(0, event);  // never due
    EXPECT_EQ(nextNotificationTime(), at(2027, 3, 1, 12, 5));
    EXPECT_TRUE(runDueNotifications().empty());
    setDeviceUtcTime(*toFileTime(at(2027, 3, 1, 12, 5, 30)));
    auto runs = runDueNotifications();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].handle, h);
    EXPECT_EQ(runs[0].outcome, NotificationOutcome::Started);
    EXPECT_EQ(nextNotificationTime(), at(2027, 3, 1, 13, 0));
}

TEST_F(Notifications, LatenessIsRealTimeAcrossDaylightChanges) {
    ASSERT_TRUE(setDeviceTimeZone("Europe/Berlin"));
    // 2027-03-28: clocks go from 02:00 to 03:00 local (01:00 UTC). A record for 02:30, a time
    // the day skips, comes due at 03:00 and is on time, not half an hour late.
    setDeviceUtcTime(*toFileTime(at(2027, 3, 28, 1, 0, 5)));
    NotificationHandle skipped =
        setUserNotification(0, timeRecord(at(2027, 3, 28, 2, 30), L"skipped"));
    // One for 01:45 local (00:45 UTC) is twenty minutes late in real time, though the local
    // clock moved on by an hour and a quarter.
    NotificationHandle before =
        setUserNotification(0, timeRecord(at(2027, 3, 28, 1, 45), L"before"));
    auto runs = runDueNotifications();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].handle, before);
    EXPECT_EQ(runs[0].outcome, NotificationOutcome::Late);
    EXPECT_EQ(runs[1].handle, skipped);
    EXPECT_EQ(runs[1].outcome, NotificationOutcome::Started);
    ASSERT_TRUE(setDeviceTimeZone("UTC"));
}

TEST_F(Notifications, EachDueRecordRunsOnceWhateverTheNumberOfServices) {
    constexpr int kRecords = 24, kServices = 4;
    std::set<NotificationHandle> handles;
    for (int i = 0; i < kRecords; ++i) {
        handles.insert(setUserNotification(
            0, timeRecord(at(2027, 3, 1, 11, 59, i), L"n" + std::to_wstring(i))));
    }
    ASSERT_EQ(handles.size(), static_cast<std::size_t>(kRecords));
    std::vector<pid_t> services;
    for (int i = 0; i < kServices; ++i) {
        services.push_back(test::spawnSelfOnDevice(root_, {"VORN_NOTIFICATION_RUNNER=1"}));
    }
    int handled = 0;
    for (pid_t pid : services) {
        ASSERT_GT(pid, 0);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status));
        ASSERT_NE(WEXITSTATUS(status), 255);
        handled += WEXITSTATUS(status);
    }
    EXPECT_EQ(handled, kRecords);
    EXPECT_TRUE(userNotificationHandles().empty());
    std::multiset<NotificationHandle> logged;
    for (const auto& run : notificationRunLog()) {
        if (handles.count(run.handle))
            logged.insert(run.handle);
    }
    EXPECT_EQ(logged.size(), static_cast<std::size_t>(kRecords));
    EXPECT_EQ(std::set<NotificationHandle>(logged.begin(), logged.end()), handles);
    for (int i = 0; i < kRecords; ++i) EXPECT_EQ(report("n" + std::to_string(i)).size(), 3u);
}

TEST_F(Notifications, TheRunLogKeepsTheMostRecentRuns) {
    const std::size_t total = kMaxNotificationRuns + 7;
    for (std::size_t i = 0; i < total; ++i) {
        // Programs that do not exist fail at once, which keeps this quick.
        ASSERT_NE(
            setUserNotification(0, timeRecord(at(2027, 3, 1, 11, 0, static_cast<int>(i % 60)),
                                              L"r" + std::to_wstring(i), L"\\windows\\absent.exe")),
            0u);
    }
    EXPECT_EQ(runDueNotifications().size(), total);
    auto log = notificationRunLog();
    ASSERT_EQ(log.size(), kMaxNotificationRuns);
    for (const auto& run : log) EXPECT_EQ(run.outcome, NotificationOutcome::Failed);
}

TEST(NotificationStartTest, OnlyAWellFormedStartIsBelieved) {
    using notification_internal::parseNotificationStart;
    auto good = parseNotificationStart("2028-02-29T07:05:09", "2");
    ASSERT_TRUE(good);
    EXPECT_EQ(good->due, at(2028, 2, 29, 7, 5, 9));
    EXPECT_EQ(good->outcome, NotificationOutcome::Late);
    EXPECT_EQ(parseNotificationStart("2027-01-01T00:00:00", "3")->outcome,
              NotificationOutcome::Missed);
    for (const char* due : {"2027-02-29T07:00:00", "2027-13-01T07:00:00", "2027-01-01T24:00:00",
                            "2027-1-01T07:00:00", "2027-01-01 07:00:00", "2027-01-01T07:00:00Z",
                            "+027-01-01T07:00:00", "", "1600-12-31T23:59:59"}) {
        EXPECT_FALSE(parseNotificationStart(due, "1")) << due;
    }
    for (const char* outcome : {"0", "4", "", "11", " 1", "x"}) {
        EXPECT_FALSE(parseNotificationStart("2027-01-01T07:00:00", outcome)) << outcome;
    }
    // The environment goes through the same parser.
    unsetenv(notification_internal::kDueVariable);
    unsetenv(notification_internal::kOutcomeVariable);
    EXPECT_FALSE(startedByNotification());
    for (const auto& variable : notification_internal::startEnvironment(
             at(2027, 6, 30, 23, 59, 58), NotificationOutcome::Started)) {
        std::size_t equals = variable.find('=');
        setenv(variable.substr(0, equals).c_str(), variable.substr(equals + 1).c_str(), 1);
    }
    auto started = startedByNotification();
    ASSERT_TRUE(started);
    EXPECT_EQ(started->due, at(2027, 6, 30, 23, 59, 58));
    EXPECT_EQ(started->outcome, NotificationOutcome::Started);
    unsetenv(notification_internal::kDueVariable);
    unsetenv(notification_internal::kOutcomeVariable);
}

}  // namespace
