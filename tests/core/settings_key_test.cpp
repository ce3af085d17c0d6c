// Typed settings keys: defaults for absent values, out-of-range numbers clamped or replaced by
// the default as the key says, values of the wrong type read as the default, and writes kept
// in the form other programs read (decimal text, texts within their limit).

#include <gtest/gtest.h>

#include <string>

#include "core/settings_key.h"
#include "core/settings_keys.h"
#include "platform/api/registry.h"
#include "tests/core/support/core_test_support.h"

using namespace core;
using platform::Hive;
using platform::RegistryKey;

namespace {

constexpr settings::NumberKey kRow{L"TestRow", 1, 0, 50};
constexpr settings::NumberKey kChoice{L"TestChoice", 1, 1, 3, settings::OutOfRange::UseDefault};
constexpr settings::TextKey kName{L"TestName", L"automatic", byteLimit::Short};

class SettingsKey : public ::testing::Test {
  protected:
    void SetUp() override { test::clearRegistry(); }
    static RegistryKey key() { return *RegistryKey::create(Hive::CurrentUser, kSettingsKeyPath); }
};

TEST_F(SettingsKey, AbsentValuesReadAsTheDefault) {
    EXPECT_EQ(settings::read(kRow), 1);
    EXPECT_EQ(settings::read(kChoice), 1);
    EXPECT_EQ(settings::read(kName), L"automatic");
    EXPECT_EQ(settings::read(keys::OptStartScreen), 10);
    EXPECT_EQ(settings::read(keys::OptTimeFormat), 1);
}

TEST_F(SettingsKey, OutOfRangeNumbersAreClampedOrReplacedAsTheKeySays) {
    key().setString(L"TestRow", L"51");
    EXPECT_EQ(settings::read(kRow), 50);
    key().setString(L"TestRow", L"-7");
    EXPECT_EQ(settings::read(kRow), 0);
    key().setString(L"TestRow", L"9999999999");
    EXPECT_EQ(settings::read(kRow), 50);
    key().setString(L"TestRow", L"17");
    EXPECT_EQ(settings::read(kRow), 17);
    // A number value left by the comms program is read and clamped too.
    key().setDword(L"TestRow", 4000000000u);
    EXPECT_EQ(settings::read(kRow), 0) << "a DWORD above 2^31 is a negative int";
    key().setDword(L"TestRow", 70);
    EXPECT_EQ(settings::read(kRow), 50);

    key().setString(L"TestChoice", L"4");
    EXPECT_EQ(settings::read(kChoice), 1) << "an unknown choice is the default";
    key().setString(L"TestChoice", L"0");
    EXPECT_EQ(settings::read(kChoice), 1);
    key().setString(L"TestChoice", L"3");
    EXPECT_EQ(settings::read(kChoice), 3);
}

TEST_F(SettingsKey, ValuesOfTheWrongTypeReadAsTheDefault) {
    key().setString(L"TestRow", L"abc");
    EXPECT_EQ(settings::read(kRow), 1) << "text that holds no number";
    key().setString(L"TestRow", L"");
    EXPECT_EQ(settings::read(kRow), 1);
    key().setString(L"TestRow", std::wstring(30, L'7'));
    EXPECT_EQ(settings::read(kRow), 1) << "longer than any number";
    key().setString(L"TestRow", L" 12abc");
    EXPECT_EQ(settings::read(kRow), 12) << "a number followed by text reads as before";

    key().setDword(L"TestName", 5);
    EXPECT_EQ(settings::read(kName), L"automatic");
    key().setString(L"TestName", std::wstring(40, L'x'));
    EXPECT_EQ(settings::read(kName), L"automatic") << "over the key's limit";
    key().setString(L"TestName", L"dusk.jpg");
    EXPECT_EQ(settings::read(kName), L"dusk.jpg");
}

TEST_F(SettingsKey, WritesKeepTheStoredFormOtherProgramsRead) {
    ASSERT_TRUE(settings::write(kRow, 12));
    auto stored = key().query(L"TestRow");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, platform::RegistryType::String);
    EXPECT_EQ(stored->text, L"12");
    ASSERT_TRUE(settings::write(kRow, 80));
    EXPECT_EQ(key().query(L"TestRow")->text, L"50");
    ASSERT_TRUE(settings::write(kChoice, 9));
    EXPECT_EQ(key().query(L"TestChoice")->text, L"1");

    // 80 bytes admit 39 UTF-16 units: a longer text is cut so that it still reads back.
    ASSERT_TRUE(settings::write(kName, std::wstring(60, L'n')));
    EXPECT_EQ(settings::read(kName), std::wstring(39, L'n'));
    ASSERT_TRUE(settings::write(kName, std::wstring(38, L'n') + L"\U0001F600"));
    EXPECT_EQ(settings::read(kName), std::wstring(38, L'n'))
        << "a character of two units that does not fit is left out whole";
}

}  // namespace
