#include "tests/updates/support/updates_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "core/language.h"
#include "core/settings.h"
#include "platform/api/device.h"
#include "platform/api/notifications.h"
#include "platform/api/registry.h"
#include "platform/api/state_notifications.h"
#include "tests/platform/support/test_device.h"

namespace fs = std::filesystem;

namespace updates::test {
namespace {

fs::path startLog() {
    return *platform::hostPath(L"\\Temp\\comms-starts.log");
}

void copyInto(const fs::path& from, const fs::path& to) {
    fs::create_directories(to.parent_path());
    fs::copy(from, to, fs::copy_options::overwrite_existing | fs::copy_options::recursive);
}

}  // namespace

void prepareDevice() {
    platform::test::useTestDevice();
    fs::path install = *platform::hostPath(kMainPath);
    fs::path data = fs::path(VORN_SOURCE_DIR) / "data";
    if (!fs::exists(install / "lang")) {
        copyInto(data / "lang", install / "lang");
        fs::create_directories(install / "home");
        for (const char* layout : {"today_default.xml", "two_clocks.xml"})
            std::ofstream(install / "home" / layout) << "<home/>";
        copyInto(data / "backgrounds", install / "backgrounds");
        fs::create_directories(install / "clocks");
        for (const char* face : {"default.tga", "classic.tga", "land_default.tga"})
            std::ofstream(install / "clocks" / face) << "x";
    }
    fs::path windows = *platform::hostPath(L"\\windows");
    fs::create_directories(windows);
    fs::create_directories(startLog().parent_path());
    fs::path comms = windows / "vornroamer3_sched.exe";
    std::ofstream(comms) << "#!/bin/sh\necho \"$1\" >> '" << startLog().string() << "'\n";
    fs::permissions(comms, fs::perms::owner_all);
    fs::remove(startLog());
    for (auto handle : platform::userNotificationHandles()) platform::clearUserNotification(handle);
    for (const auto& n : platform::stateNotifications()) platform::registryStopNotification(n.name);
    platform::deleteRegistryKey(platform::Hive::CurrentUser, core::kSettingsKeyPath);
    platform::deleteRegistryKey(platform::Hive::LocalMachine, L"System\\State\\Hardware");
    ASSERT_TRUE(core::buildLanguageList(kMainPath, 1, 9));
    ASSERT_TRUE(core::openLanguage(kMainPath, true, true));
    ASSERT_TRUE(platform::setDeviceTimeZone("Europe/Berlin"));
    setDeviceLocalTime(at(2027, 1, 4, 12, 0));
}

platform::SystemTime at(int year, int month, int day, int hour, int minute) {
    platform::SystemTime t;
    t.year = static_cast<std::uint16_t>(year);
    t.month = static_cast<std::uint16_t>(month);
    t.day = static_cast<std::uint16_t>(day);
    t.hour = static_cast<std::uint16_t>(hour);
    t.minute = static_cast<std::uint16_t>(minute);
    t.dayOfWeek = static_cast<std::uint16_t>(platform::dayOfWeekOf(year, month, day));
    return t;
}

std::string text(const platform::SystemTime& t) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute);
    return buffer;
}

void setDeviceLocalTime(const platform::SystemTime& local) {
    platform::setClockOffsetSeconds(0);
    auto utc = platform::localToUtc(local);
    ASSERT_TRUE(utc);
    platform::setClockOverride(*platform::toFileTime(*utc));
}

int commsStarts(int expected) {
    auto count = [] {
        std::ifstream in(startLog());
        int lines = 0;
        for (std::string line; std::getline(in, line);) ++lines;
        return lines;
    };
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (count() < expected && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    // A start beyond the expected ones would show a little later.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return count();
}

std::string setting(std::wstring_view name) {
    auto value = core::readSetting(name, core::byteLimit::Path);
    return value ? platform::toUtf8(*value) : "absent";
}

}  // namespace updates::test
