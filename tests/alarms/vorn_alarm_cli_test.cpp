// vorn alarms and vorn alarm as a person or a script runs them: the store and the
// notifications they leave, their listing at a moment, and the faults they refuse.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "alarms/alarm_store.h"
#include "platform/api/clock.h"
#include "platform/api/device.h"
#include "platform/api/notifications.h"
#include "tests/alarms/support/alarm_test_support.h"
#include "tests/platform/support/test_device.h"
#include "tests/platform/support/vorn_command.h"

namespace fs = std::filesystem;
using namespace alarms;
using alarms::test::at;
using alarms::test::text;

namespace {

using Outcome = platform::test::VornOutcome;

class VornAlarm : public ::testing::Test {
  protected:
    void SetUp() override {
        alarms::test::prepareDevice();
        fs::path install = *platform::hostPath(L"\\Program Files\\Vorn Roamer\\");
        fs::copy_file(fs::path(VORN_SOURCE_DIR) / "data" / "mycities.dat", install / "mycities.dat",
                      fs::copy_options::overwrite_existing);
        // The companion runs in a process of its own: the device clock is set through its
        // offset, which every program of the device reads. 06:50 on Monday 4 January 2027.
        platform::setClockOverride(std::nullopt);
        auto utc = platform::localToUtc(at(2027, 1, 4, 6, 50));
        platform::setDeviceUtcTime(*platform::toFileTime(*utc));
    }

    static Outcome vorn(const std::string& arguments) { return platform::test::runVorn(arguments); }

    static bool holds(const Outcome& run, const std::string& text) {
        return run.out.find(text) != std::string::npos;
    }

    static std::string storeText() {
        std::ifstream in(alarms::test::storeFile(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
};

}  // namespace

TEST_F(VornAlarm, AddedAlarmsAreStoredArmedAndListed) {
    Outcome added = vorn("alarm add Morning --time 07:00 --repeat daily");
    ASSERT_EQ(added.exitCode, 0) << added.out;
    EXPECT_TRUE(holds(added, "added Morning, rings 2027-01-04T07:00:00")) << added.out;
    AlarmStore store;
    ASSERT_TRUE(store.select(L"Morning"));
    auto n = platform::userNotification(store.handle());
    ASSERT_TRUE(n);
    EXPECT_EQ(n->arguments, L"/ALARM Morning");
    EXPECT_EQ(text(n->start), "2027-01-04 07:00:00");

    ASSERT_EQ(
        vorn("alarm add Gym --time 18:30 --repeat weekly --days MON,fri --city tokyo").exitCode, 0);
    store.reload();
    ASSERT_TRUE(store.select(L"gym"));
    AlarmRecord gym = store.record();
    EXPECT_EQ(gym.city, L"Tokyo");
    EXPECT_EQ(gym.zone, 34);
    EXPECT_EQ(gym.dayMask, dayBit::Monday | dayBit::Friday);
    // 18:30 on Monday in Tokyo is 10:30 in Berlin.
    EXPECT_EQ(text(*store.armedStart()), "2027-01-04 10:30:00");

    ASSERT_EQ(vorn("alarm add Rent --time 09:00 --repeat monthly --day 31").exitCode, 0);
    ASSERT_EQ(vorn("alarm add Trip --time 05:15 --start 20:2:2027").exitCode, 0);

    // Listed at a device time, and at a UTC time (05:59Z is 06:59 in Berlin in winter).
    Outcome listed = vorn("alarms --at 2027-01-04T07:00");
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_TRUE(holds(listed, "07:00  Morning  daily  armed  next 2027-01-05T07:00:00"))
        << listed.out;
    EXPECT_TRUE(
        holds(listed, "18:30  Gym  weekly mon,fri (Tokyo time)  armed  next 2027-01-04T10:30:00"))
        << listed.out;
    EXPECT_TRUE(holds(listed, "monthly on day 31  armed  next 2027-01-31T09:00:00")) << listed.out;
    Outcome json = vorn("alarms --at 2027-04-05T05:59Z --json");
    EXPECT_TRUE(holds(json, "\"at\":\"2027-04-05T07:59:00\"")) << json.out;
    EXPECT_TRUE(holds(json,
                      "\"name\":\"Rent\",\"message\":\"\",\"time\":\"09:00\",\"repeat\":"
                      "\"monthly\",\"day\":31"))
        << json.out;
    EXPECT_TRUE(holds(json, "\"next\":\"2027-04-30T09:00:00\"")) << json.out;
    EXPECT_TRUE(holds(json, "\"name\":\"Trip\"")) << json.out;
    EXPECT_TRUE(holds(json, "\"armed\":\"2027-02-20T05:15:00\",\"next\":\"\"")) << json.out;
}

TEST_F(VornAlarm, OffOnAndDeleteGoThroughTheStore) {
    ASSERT_EQ(vorn("alarm add Morning --time 07:00 --repeat workdays").exitCode, 0);
    Outcome off = vorn("alarm off MORNING");
    EXPECT_EQ(off.exitCode, 0);
    EXPECT_TRUE(platform::userNotificationHandles().empty());
    EXPECT_TRUE(holds(vorn("alarms"), "07:00  Morning  workdays  off")) << vorn("alarms").out;
    // On again rings at the next occurrence, not the one after it.
    Outcome on = vorn("alarm on Morning --json");
    EXPECT_EQ(on.exitCode, 0);
    EXPECT_TRUE(holds(on, "\"state\":\"armed\",\"armed\":\"2027-01-04T07:00:00\"")) << on.out;
    ASSERT_EQ(platform::userNotificationHandles().size(), 1u);
    Outcome deleted = vorn("alarm delete morning");
    EXPECT_EQ(deleted.exitCode, 0);
    EXPECT_TRUE(holds(deleted, "deleted Morning"));
    EXPECT_FALSE(fs::exists(alarms::test::storeFile()));
    EXPECT_TRUE(platform::userNotificationHandles().empty());
    EXPECT_TRUE(holds(vorn("alarms"), "no alarms"));
}

TEST_F(VornAlarm, AMissedRingIsListed) {
    ASSERT_EQ(vorn("alarm add Early --time 07:00 --repeat daily").exitCode, 0);
    // The device was off from 06:50 until 09:00: the 07:00 ring is two hours late.
    auto utc = platform::localToUtc(at(2027, 1, 4, 9, 0));
    platform::setDeviceUtcTime(*platform::toFileTime(*utc));
    auto runs = platform::runDueNotifications();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].outcome, platform::NotificationOutcome::Missed);
    Outcome listed = vorn("alarms --json");
    EXPECT_TRUE(holds(listed, "\"state\":\"gone\"")) << listed.out;
    EXPECT_TRUE(holds(listed, "\"missed\":\"2027-01-04T07:00:00\"")) << listed.out;
    EXPECT_TRUE(holds(vorn("alarms"), "missed 2027-01-04T07:00:00"));
}

TEST_F(VornAlarm, FaultyRequestsChangeNothing) {
    ASSERT_EQ(vorn("alarm add Morning --time 07:00 --repeat daily").exitCode, 0);
    const std::string before = storeText();
    for (const char* faulty : {
             "alarm add morning --time 08:00",               // the name exists
             "alarm add Late --time 24:00",                  // no such time
             "alarm add Late --time 7",                      // malformed
             "alarm add Late",                               // no time
             "alarm add Late --time 08:00 --repeat weekly",  // no days
             "alarm add Late --time 08:00 --repeat weekly --days mon,xyz",
             "alarm add Late --time 08:00 --repeat hourly",  // no such repeat
             "alarm add Late --time 08:00 --repeat monthly --day 32",
             "alarm add Late --time 08:00 --repeat yearly --month 0",
             "alarm add Late --time 06:00 --start 4:1:2027",   // in the past
             "alarm add Late --time 08:00 --start 29:2:2027",  // no such date
             "alarm add Late --time 08:00 --city Atlantis",    // not a favourite
             "alarm add 'a~b' --time 08:00",                   // breaks the store
             "alarm off Nobody",
             "alarm snooze Morning",
             "alarm add",
             "alarms extra",
             "alarms --at yesterday",
         }) {
        Outcome run = vorn(faulty);
        EXPECT_EQ(run.exitCode, 2) << faulty << "\n" << run.out;
    }
    EXPECT_EQ(storeText(), before);
    EXPECT_EQ(platform::userNotificationHandles().size(), 1u);
}
