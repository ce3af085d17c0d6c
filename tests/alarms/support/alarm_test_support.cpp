#include "tests/alarms/support/alarm_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "core/settings.h"
#include "platform/api/device.h"
#include "platform/api/notifications.h"
#include "platform/api/registry.h"
#include "tests/platform/support/test_device.h"
#include "worldtime/date_helpers.h"
#include "worldtime/zones.h"

namespace fs = std::filesystem;

namespace alarms::test {
namespace {

constexpr std::wstring_view kMainPath = L"\\Program Files\\Vorn Roamer\\";

}  // namespace

const fs::path& prepareDevice() {
    const fs::path& root = platform::test::useTestDevice();
    fs::path install = *platform::hostPath(kMainPath);
    fs::create_directories(install);
    fs::copy_file(fs::path(VORN_SOURCE_DIR) / "data" / "dstinfo.dat", install / "dstinfo.dat",
                  fs::copy_options::overwrite_existing);
    EXPECT_TRUE(worldtime::loadZones(kMainPath));
    fs::path windows = *platform::hostPath(L"\\windows");
    fs::remove_all(windows);
    fs::create_directories(windows);
    fs::path program = windows / "vornalarms.exe";
    std::ofstream(program) << "#!/bin/sh\nexit 0\n";
    fs::permissions(program, fs::perms::owner_all);
    for (auto handle : platform::userNotificationHandles()) platform::clearUserNotification(handle);
    platform::deleteRegistryKey(platform::Hive::CurrentUser, core::kSettingsKeyPath);
    EXPECT_TRUE(platform::setDeviceTimeZone("Europe/Berlin"));
    setDeviceLocalTime(at(2027, 1, 4, 12, 0));
    return root;
}

platform::SystemTime at(int year, int month, int day, int hour, int minute, int second) {
    platform::SystemTime t;
    t.year = static_cast<std::uint16_t>(year);
    t.month = static_cast<std::uint16_t>(month);
    t.day = static_cast<std::uint16_t>(day);
    t.hour = static_cast<std::uint16_t>(hour);
    t.minute = static_cast<std::uint16_t>(minute);
    t.second = static_cast<std::uint16_t>(second);
    t.dayOfWeek = static_cast<std::uint16_t>(platform::dayOfWeekOf(year, month, day));
    return t;
}

std::string text(const platform::SystemTime& t) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return buffer;
}

void setDeviceLocalTime(const platform::SystemTime& local) {
    platform::setClockOffsetSeconds(0);
    auto utc = platform::localToUtc(local);
    ASSERT_TRUE(utc);
    platform::setClockOverride(*platform::toFileTime(*utc));
}

AlarmRecord alarmAt(std::wstring name, RepeatKind kind, int hour, int minute) {
    AlarmRecord r;
    r.name = std::move(name);
    r.message = L"Wake up";
    r.kind = kind;
    r.timeOfDayMs = hour * 3600000 + minute * 60000;
    r.startDate = {4, 1, 2027};
    r.soundName = L"alarm1.wav";
    r.soundPath = L"\\Program Files\\Vorn Roamer\\sounds\\alarm1.wav";
    r.dayMask = dayBit::Monday | dayBit::Friday;
    return r;
}

fs::path storeFile() {
    return *platform::hostPath(L"\\windows\\vornalarms.dat");
}

int zoneWithoutDaylight(int hours) {
    int zone = worldtime::zoneNumberForHours(hours);
    EXPECT_EQ(worldtime::zoneInfo(zone).daylightDate.month, 0) << "zone " << zone;
    return zone;
}

}  // namespace alarms::test
