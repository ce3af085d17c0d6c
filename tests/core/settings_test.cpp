// Settings in the registry: byte limits, number text, the published paths and the Today
// item registration.

#include <gtest/gtest.h>

#include <string>

#include "core/settings.h"
#include "platform/api/registry.h"
#include "platform/api/window.h"
#include "tests/core/support/core_test_support.h"

using namespace core;
using platform::Hive;
using platform::RegistryKey;

namespace {

class Settings : public ::testing::Test {
  protected:
    void SetUp() override { test::clearRegistry(); }

    static RegistryKey key() { return *RegistryKey::create(Hive::CurrentUser, kSettingsKeyPath); }
};

TEST_F(Settings, AbsentValuesAndAbsentKey) {
    EXPECT_FALSE(readSetting(L"OptLang", byteLimit::Short));
    EXPECT_FALSE(readNumberSetting(L"FavCity"));
    EXPECT_EQ(readNumberSetting(L"FavCity", 1), 1);
}

TEST_F(Settings, ByteLimitsCountUtf16WithTerminator) {
    writeSetting(L"OptLang", std::wstring(39, L'x'));
    EXPECT_EQ(readSetting(L"OptLang", byteLimit::Short), std::wstring(39, L'x'));
    writeSetting(L"OptLang", std::wstring(40, L'x'));
    EXPECT_FALSE(readSetting(L"OptLang", byteLimit::Short));
    writeSetting(L"Long", std::wstring(126, L'y'));
    EXPECT_TRUE(readSetting(L"Long", byteLimit::Text));
    writeSetting(L"Long", std::wstring(127, L'y'));
    EXPECT_FALSE(readSetting(L"Long", byteLimit::Text));
    writeSetting(L"CITYIMG_X", std::wstring(255, L'z'));
    EXPECT_TRUE(readSetting(L"CITYIMG_X", byteLimit::Long));
    // A character beyond U+FFFF is two code units on the handheld.
    writeSetting(L"OptLang", std::wstring(38, L'x') + L"\U0001F600");
    EXPECT_FALSE(readSetting(L"OptLang", byteLimit::Short));
}

TEST_F(Settings, NumbersAreDecimalText) {
    writeNumberSetting(L"OptStartScreen", 15);
    auto stored = key().query(L"OptStartScreen");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, platform::RegistryType::String);
    EXPECT_EQ(stored->text, L"15");
    writeNumberSetting(L"Negative", -42);
    EXPECT_EQ(readNumberSetting(L"Negative"), -42);

    key().setString(L"Mixed", L"12abc");
    EXPECT_EQ(readNumberSetting(L"Mixed"), 12);
    key().setString(L"Empty", L"");
    EXPECT_EQ(readNumberSetting(L"Empty", 7), 0);  // present, reads 0
    key().setString(L"Letters", L"abc");
    EXPECT_EQ(readNumberSetting(L"Letters", 7), 0);
    key().setString(L"Huge", L"99999999999");
    EXPECT_EQ(readNumberSetting(L"Huge"), 2147483647);
    // Over the 40-byte limit of number reads: absent.
    key().setString(L"TooLong", std::wstring(20, L'1'));
    EXPECT_EQ(readNumberSetting(L"TooLong", 5), 5);
}

TEST_F(Settings, NumberValuesLeftByTheCommsProgramAreRead) {
    key().setDword(L"SchedulerStatus", 1);
    EXPECT_EQ(readNumberSetting(L"SchedulerStatus"), 1);
    key().setDword(L"SchedErrorStr", 0xFFFFFFFF);
    EXPECT_EQ(readNumberSetting(L"SchedErrorStr"), -1);
    // Text reads still refuse a number value.
    EXPECT_FALSE(readSetting(L"SchedulerStatus", byteLimit::Text));
}

TEST_F(Settings, PublishedPaths) {
    std::wstring main = mainPathOf(L"\\Program Files\\Vorn Roamer\\vornroamer3.exe");
    EXPECT_EQ(main, L"\\Program Files\\Vorn Roamer\\");
    publishPaths(main);
    EXPECT_EQ(readMainPath(), main);
    EXPECT_EQ(readDownloadPath(), L"\\Program Files\\Vorn Roamer\\downloads\\");
}

TEST_F(Settings, TodayItemCreatedWithAllValues) {
    EXPECT_EQ(registerTodayItem(), TodayItemResult::Created);
    auto item = RegistryKey::open(Hive::LocalMachine, kTodayItemKeyPath);
    ASSERT_TRUE(item);
    EXPECT_TRUE(platform::registryKeyExists(Hive::LocalMachine,
                                            L"Software\\Microsoft\\Today\\Items\\\"VornRoamer\""));
    EXPECT_EQ(item->queryString(L"DLL", 512), L"\\windows\\VornRoamerToday.dll");
    EXPECT_EQ(item->queryDword(L"Enabled"), 1u);
    EXPECT_EQ(item->queryDword(L"Options"), 0u);
    EXPECT_EQ(item->queryDword(L"Type"), 4u);
    EXPECT_EQ(item->queryDword(L"Selectability"), 2u);
}

TEST_F(Settings, ExistingTodayItemOnlyGetsItsDllRewritten) {
    auto item = RegistryKey::create(Hive::LocalMachine, kTodayItemKeyPath);
    item->setString(L"DLL", L"\\old\\place.dll");
    item->setDword(L"Enabled", 0);
    EXPECT_EQ(registerTodayItem(), TodayItemResult::Updated);
    EXPECT_EQ(item->queryString(L"DLL", 512), L"\\windows\\VornRoamerToday.dll");
    EXPECT_EQ(item->queryDword(L"Enabled"), 0u);
    EXPECT_FALSE(item->queryDword(L"Type"));
}

TEST_F(Settings, NewTodayItemTellsTheTodayScreen) {
    std::vector<platform::WParam> received;
    platform::registerWindowClass(
        {std::wstring(kTodayWindowClass),
         [&](platform::WindowHandle w, std::uint32_t id, platform::WParam wp, platform::LParam lp) {
             if (id == platform::wm::SettingChange)
                 received.push_back(wp);
             return platform::defWindowProc(w, id, wp, lp);
         }});
    platform::WindowCreate create;
    create.className = kTodayWindowClass;
    create.title = kTodayWindowTitle;
    platform::WindowHandle today = platform::createWindow(create);
    ASSERT_NE(today, 0u);
    registerTodayItem();
    platform::Message m;
    while (platform::peekMessage(m, true)) platform::dispatchMessage(m);
    EXPECT_EQ(received, std::vector<platform::WParam>{0xF2});
    // Only a new item is announced.
    received.clear();
    registerTodayItem();
    while (platform::peekMessage(m, true)) platform::dispatchMessage(m);
    EXPECT_TRUE(received.empty());
    platform::destroyWindow(today);
}

}  // namespace
