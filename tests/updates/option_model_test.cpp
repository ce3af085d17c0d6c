// The option model: every row of every option stores and reads back, values no row offers
// read as the default and are refused, and changes do what they must beyond storing.

#include <gtest/gtest.h>

#include <set>

#include "core/settings.h"
#include "platform/api/notifications.h"
#include "platform/api/state_notifications.h"
#include "tests/updates/support/updates_test_support.h"
#include "updates/option_model.h"
#include "updates/update_status.h"

using namespace updates;
using updates::test::kMainPath;
using updates::test::setting;

namespace {

class OptionModelTest : public ::testing::Test {
  protected:
    void SetUp() override { updates::test::prepareDevice(); }
    static const OptionSpec& spec(std::wstring_view name) {
        const OptionSpec* s = findOption(name);
        EXPECT_TRUE(s) << platform::toUtf8(name);
        return *s;
    }
    static std::wstring value(std::wstring_view name) { return optionValue(spec(name), kMainPath); }
    static SetResult set(std::wstring_view name, std::wstring_view v) {
        return setOption(spec(name), v, kMainPath).result;
    }
};

}  // namespace

TEST_F(OptionModelTest, EveryRowOfEveryOptionRoundTrips) {
    std::set<int> pages;
    for (const auto& s : optionSpecs()) {
        pages.insert(s.page);
        auto choices = optionChoices(s, kMainPath);
        ASSERT_FALSE(choices.empty()) << platform::toUtf8(s.name);
        for (std::size_t row = 0; row < choices.size(); ++row) {
            const auto& c = choices[row];
            EXPECT_NE(c.label, L"NotLoaded") << platform::toUtf8(s.name) << " row " << row;
            ASSERT_EQ(setOption(s, c.stored, kMainPath).result, SetResult::Stored)
                << platform::toUtf8(s.name) << " " << platform::toUtf8(c.stored);
            EXPECT_EQ(optionValue(s, kMainPath), c.stored) << platform::toUtf8(s.name);
            if (s.source != RowSource::FilterBits) {
                EXPECT_EQ(rowOfValue(choices, optionValue(s, kMainPath)), static_cast<int>(row));
            }
        }
    }
    EXPECT_EQ(pages, (std::set<int>{110, 111, 112, 113, 114}));
}

TEST_F(OptionModelTest, AbsentValuesReadAsTheirDefaults) {
    EXPECT_EQ(value(L"OptStartScreen"), L"10");
    EXPECT_EQ(value(L"OptTimeFormat"), L"1");
    EXPECT_EQ(value(L"OptHomeAction"), L"0");
    EXPECT_EQ(value(L"OptSchedFilter"), L"14");
    EXPECT_EQ(value(L"OptSchedStartTime"), L"7");
    EXPECT_EQ(value(L"OptSchedEndTime"), L"23");
    EXPECT_EQ(value(L"OptSchedRetry"), L"0");
    EXPECT_EQ(value(L"OptLang"), L"0409");
    EXPECT_EQ(value(L"OptSkin"), L"automatic");
    EXPECT_EQ(value(L"OptClock"), L"default.tga");
    EXPECT_EQ(value(L"OptHomeLayout"), L"\\Program Files\\Vorn Roamer\\home\\today_default.xml");
}

TEST_F(OptionModelTest, ValuesNoRowOffersReadAsTheDefault) {
    const std::pair<const wchar_t*, const wchar_t*> damaged[] = {
        {L"OptStartScreen", L"12"},   {L"OptTimeFormat", L"9"},   {L"OptTempFormat", L"-1"},
        {L"OptScheduler", L"5"},      {L"OptSchedRetry", L"45"},  {L"OptSchedStartTime", L"24"},
        {L"OptSchedEndTime", L"abc"}, {L"OptHomeAction", L"2"},   {L"OptSchedFilter", L"4096"},
        {L"OptSchedFilter", L"-3"},   {L"OptSkin", L"..\\x.jpg"}, {L"OptColor", L"99999999"},
        {L"OptClock", L"missing.tga"}};
    for (auto [name, stored] : damaged) {
        core::writeSetting(name, stored);
        EXPECT_EQ(value(name), optionDefault(spec(name), kMainPath)) << platform::toUtf8(name);
    }
}

TEST_F(OptionModelTest, RefusesValuesNoRowOffersAndKeepsTheStoredOne) {
    ASSERT_EQ(set(L"OptScheduler", L"6"), SetResult::Stored);
    EXPECT_EQ(set(L"OptScheduler", L"5"), SetResult::NotOffered);
    EXPECT_EQ(set(L"OptSchedFilter", L"7x"), SetResult::NotOffered);
    EXPECT_EQ(set(L"OptSchedFilter", L"32"), SetResult::NotOffered);
    EXPECT_EQ(set(L"OptLang", L"9999"), SetResult::NotOffered);
    EXPECT_EQ(setting(L"OptScheduler"), "6");
}

TEST_F(OptionModelTest, ValuesCompareWithoutRegardToCase) {
    ASSERT_EQ(set(L"OptSkin", L"OCEAN.JPG"), SetResult::Stored);
    EXPECT_EQ(setting(L"OptSkin"), "ocean.jpg");
    EXPECT_EQ(findOption(L"optskin"), findOption(L"OptSkin"));
}

TEST_F(OptionModelTest, TickingRowsOneAndSixOfTheFilterStores257) {
    auto rows = optionChoices(spec(L"OptSchedFilter"), kMainPath);
    ASSERT_EQ(rows.size(), 9u);
    int mask = std::stoi(rows[0].stored) | std::stoi(rows[5].stored);
    ASSERT_EQ(set(L"OptSchedFilter", std::to_wstring(mask)), SetResult::Stored);
    EXPECT_EQ(setting(L"OptSchedFilter"), "257");
}

TEST_F(OptionModelTest, ClockFacesLeaveOutLandscapeVariants) {
    for (const auto& c : optionChoices(spec(L"OptClock"), kMainPath))
        EXPECT_EQ(c.stored.find(L"land_"), std::wstring::npos);
}

TEST_F(OptionModelTest, UnitAndClockChangesAskTheHomeScreensToRebuild) {
    for (const wchar_t* name : {L"OptTimeFormat", L"OptTempFormat", L"OptWindFormat",
                                L"OptHomeLayout", L"OptHomeDayDate"}) {
        core::writeNumberSetting(L"OptHomeLayoutReload", 0);
        auto choices = optionChoices(spec(name), kMainPath);
        ASSERT_EQ(setOption(spec(name), choices.back().stored, kMainPath).result,
                  SetResult::Stored);
        EXPECT_EQ(setting(L"OptHomeLayoutReload"), "1") << platform::toUtf8(name);
    }
}

TEST_F(OptionModelTest, ChoosingALanguageStoresItsDownloadName) {
    ASSERT_EQ(set(L"OptLang", L"0407"), SetResult::Stored);
    EXPECT_NE(setting(L"OptLangDownload"), "absent");
    auto outcome = setOption(spec(L"OptLang"), L"0409", kMainPath);
    EXPECT_TRUE(outcome.effects & effect::LanguageChange);
}

TEST_F(OptionModelTest, ColourBackToAutomaticReloadsTheLook) {
    EXPECT_TRUE(setOption(spec(L"OptColor"), L"255", kMainPath).effects & effect::LookRedraw);
    auto back = setOption(spec(L"OptColor"), L"automatic", kMainPath).effects;
    EXPECT_TRUE(back & effect::LookReload);
    EXPECT_FALSE(back & effect::LookRedraw);
}

TEST_F(OptionModelTest, IntervalAndWindowChangesRescheduleWithBothHoursStored) {
    ASSERT_EQ(set(L"OptScheduler", L"6"), SetResult::Stored);
    EXPECT_EQ(setting(L"OptSchedStartTime"), "7") << "the page's hours are the ones used";
    EXPECT_EQ(setting(L"OptSchedEndTime"), "23");
    EXPECT_NE(setting(L"ScheduledUpdate"), "0");
    ASSERT_EQ(set(L"OptSchedStartTime", L"-1"), SetResult::Stored);
    auto handle = core::readNumberSetting(L"ScheduledUpdate", 0);
    auto record = platform::userNotification(static_cast<platform::NotificationHandle>(handle));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->start.hour, 18) << "six hours from 12:00 without a window";
    ASSERT_EQ(set(L"OptScheduler", L"0"), SetResult::Stored);
    EXPECT_EQ(setting(L"ScheduledUpdate"), "0");
    EXPECT_TRUE(platform::userNotificationHandles().empty());
}

TEST_F(OptionModelTest, TheDockingOptionRegistersAndRemovesTheCradleStart) {
    ASSERT_EQ(set(L"OptSchedDocking", L"2"), SetResult::Stored);
    EXPECT_TRUE(platform::stateNotifications().empty());
    ASSERT_EQ(set(L"OptSchedDocking", L"1"), SetResult::Stored);
    EXPECT_EQ(platform::stateNotifications().size(), 1u);
}

TEST_F(OptionModelTest, StatusBoxTellsTheNextUpdateItsIntervalWindowAndTheLastUpdate) {
    auto today = updates::test::at(2027, 1, 4, 12, 0);
    auto idle = updateStatusLines(today);
    ASSERT_EQ(idle.size(), 4u);
    EXPECT_EQ(idle[0], L"Automatic updates");
    EXPECT_EQ(idle[1], L"No update is scheduled.");
    EXPECT_EQ(idle[2], L"Last update:");
    core::writeSetting(L"ScheduledUpdateLastDisp", L"4 Jan 11:02");
    core::writeSetting(L"OptSchedStartTime", L"9");
    core::writeSetting(L"OptSchedEndTime", L"20");
    ASSERT_EQ(set(L"OptScheduler", L"2"), SetResult::Stored);
    auto lines = updateStatusLines(today);
    ASSERT_EQ(lines.size(), 6u);
    // Every two hours from 9:00: 9, 11, then 13 is the first ahead of 12:00.
    EXPECT_EQ(lines[1], L"Next update: Today 1:00 PM");
    EXPECT_EQ(lines[2], L"Every 2 hours");
    EXPECT_EQ(lines[3], L"Between 9:00 and 20:00");
    EXPECT_EQ(lines[5], L"4 Jan 11:02");
    // A pending handle that no longer exists shows N/A.
    platform::clearUserNotification(
        static_cast<platform::NotificationHandle>(core::readNumberSetting(L"ScheduledUpdate", 0)));
    EXPECT_EQ(updateStatusLines(today)[1], L"Next update: N/A  ");
}
