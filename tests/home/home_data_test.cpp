// What the home objects show: the next alarm among the store's alarms and the quick alarm with
// its relative texts, favourites counted from the current one, city times and dates, and the
// weather values of each style from the weather files.

#include <gtest/gtest.h>

#include <algorithm>

#include "alarms/alarm_record.h"
#include "alarms/settings_keys.h"
#include "core/record_table.h"
#include "core/settings_key.h"
#include "home/home_data.h"
#include "home/settings_keys.h"
#include "platform/api/device.h"
#include "platform/api/notifications.h"
#include "tests/home/support/home_test_support.h"

using home::NextAlarm;
using home::test::kDownloads;
using home::test::kMainPath;
namespace weatherStyle = home::weatherStyle;

namespace {

platform::SystemTime localAt(int year, int month, int day, int hour, int minute) {
    platform::SystemTime t{};
    t.year = static_cast<std::uint16_t>(year);
    t.month = static_cast<std::uint16_t>(month);
    t.day = static_cast<std::uint16_t>(day);
    t.hour = static_cast<std::uint16_t>(hour);
    t.minute = static_cast<std::uint16_t>(minute);
    return t;
}

platform::NotificationHandle notify(const platform::SystemTime& start) {
    platform::NotificationRecord record;
    record.application = L"\\windows\\vornalarms.exe";
    record.arguments = L"/ALARM x";
    record.start = start;
    return platform::setUserNotification(0, record);
}

// Writes the alarm store: one row a name with its notification handle (0: off).
void writeAlarms(const std::vector<std::pair<std::wstring, platform::NotificationHandle>>& rows) {
    core::RecordTable table(alarms::alarmField::Count);
    for (const auto& [name, handle] : rows) {
        int row = table.appendRow();
        table.setField(row, alarms::alarmField::Name, name);
        table.setField(row, alarms::alarmField::Handle, std::to_wstring(handle));
    }
    platform::createFolder(L"\\windows");
    ASSERT_TRUE(table.save(L"\\windows", L"vornalarms.dat"));
}

class HomeDataTest : public ::testing::Test {
  protected:
    void SetUp() override {
        home::test::prepareDevice();
        for (auto handle : platform::userNotificationHandles())
            platform::clearUserNotification(handle);
    }
};

TEST_F(HomeDataTest, NextAlarmIsTheSoonestFutureOneQuickAlarmIncluded) {
    platform::SystemTime now = localAt(2027, 3, 10, 8, 0);
    EXPECT_EQ(home::findNextAlarm(L"\\windows", now).state, NextAlarm::State::None);
    auto passed = notify(localAt(2027, 3, 10, 7, 0));
    auto later = notify(localAt(2027, 3, 12, 9, 0));
    auto sooner = notify(localAt(2027, 3, 10, 11, 30));
    writeAlarms({{L"Off", 0},
                 {L"Passed", passed},
                 {L"Later", later},
                 {L"Sooner", sooner},
                 {L"Gone", 987654}});
    NextAlarm next = home::findNextAlarm(L"\\windows", now);
    EXPECT_EQ(next.state, NextAlarm::State::Future);
    EXPECT_EQ(next.name, L"Sooner");
    EXPECT_EQ(home::relativeAlarmText(next, now), L"In 3 hours");
    EXPECT_EQ(home::alarmNameText(next), L"Sooner");
    EXPECT_EQ(home::alarmTimeText(next).substr(0, 3), L"at ");

    // A quick alarm before it wins, and is named as the quick alarm.
    auto quick = notify(localAt(2027, 3, 10, 8, 20));
    core::settings::write(alarms::keys::QuickSetAlarm, std::to_wstring(quick));
    next = home::findNextAlarm(L"\\windows", now);
    EXPECT_TRUE(next.quick);
    EXPECT_EQ(home::alarmNameText(next), L"Quick alarm");
    EXPECT_EQ(home::relativeAlarmText(next, now), L"In 20 minutes");

    // Only passed or unreadable alarms: the first found, shown as not set.
    core::settings::write(alarms::keys::QuickSetAlarm, L"0");
    writeAlarms({{L"Passed", passed}, {L"Gone", 987654}});
    next = home::findNextAlarm(L"\\windows", now);
    EXPECT_EQ(next.state, NextAlarm::State::Passed);
    EXPECT_EQ(next.name, L"Passed");
    EXPECT_EQ(home::relativeAlarmText(next, now), L"Not set");
}

TEST_F(HomeDataTest, RelativeTexts) {
    platform::SystemTime now = localAt(2027, 3, 10, 8, 0);
    auto in = [&](platform::SystemTime at) {
        NextAlarm alarm;
        alarm.state = NextAlarm::State::Future;
        alarm.start = at;
        return home::relativeAlarmText(alarm, now);
    };
    EXPECT_EQ(in(localAt(2027, 3, 11, 6, 0)), L"Tomorrow");
    EXPECT_EQ(in(localAt(2027, 3, 14, 6, 0)), L"In 4 days");
    EXPECT_EQ(in(localAt(2027, 3, 10, 9, 59)), L"In 1 hours");
    EXPECT_EQ(in(localAt(2027, 3, 10, 8, 59)), L"In 59 minutes");
    EXPECT_EQ(in(localAt(2027, 3, 10, 8, 0)), L"Now");
    // A later month or year: its short date.
    EXPECT_NE(in(localAt(2027, 4, 1, 6, 0)).find(L"2027"), std::wstring::npos);
    EXPECT_NE(in(localAt(2028, 3, 10, 6, 0)).find(L"2028"), std::wstring::npos);
    EXPECT_EQ(home::relativeAlarmText(NextAlarm{}, now), L"No alarm set");
    EXPECT_EQ(home::alarmTimeText(NextAlarm{}), L"");
}

TEST_F(HomeDataTest, CityNumbersCountOnFromTheCurrentFavouriteAndWrap) {
    home::HomeData data({std::wstring(kMainPath), std::wstring(kDownloads)});
    EXPECT_EQ(data.cityRow(1), 0);
    data.loadFavourites();
    ASSERT_EQ(data.favouriteCount(), 5);
    EXPECT_EQ(data.currentFavourite(), 1);
    EXPECT_EQ(data.cityRow(0), 0);
    EXPECT_EQ(data.cityRow(1), 1);
    EXPECT_EQ(data.cityRow(5), 5);
    data.setCurrentFavourite(4);
    EXPECT_EQ(data.cityRow(1), 4);
    EXPECT_EQ(data.cityRow(2), 5);
    EXPECT_EQ(data.cityRow(3), 1);
    // Far beyond the count it still names a favourite, never row 0.
    EXPECT_EQ(data.cityRow(7), 5);
    EXPECT_EQ(data.cityRow(12), 5);
    data.nextFavourite();
    data.nextFavourite();
    EXPECT_EQ(data.currentFavourite(), 1);
}

TEST_F(HomeDataTest, TextsOfCitiesTimesAndDates) {
    std::string text =
        "<xml><homescreen><layout>"
        "<obj type=\"cityname\" city=\"1\"/>"
        "<obj type=\"fullcityname\" city=\"3\"/>"
        "<obj type=\"time\" city=\"3\" format=\"HH':'mm\"/>"
        "<obj type=\"date\" city=\"3\" format=\"yyyy-MM-dd\"/>"
        "<obj type=\"time\" city=\"0\" format=\"HH\"/>"
        "<obj type=\"cityname\" city=\"0\"/>"
        "<obj type=\"static\" text=\"Hello\"/>"
        "<obj type=\"clock\" city=\"2\"/>"
        "</layout></homescreen></xml>";
    home::LayoutModel model =
        home::parseLayout({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, 1.0);
    ASSERT_EQ(model.layouts.size(), 1u);
    home::HomeData data({std::wstring(kMainPath), std::wstring(kDownloads)});
    data.loadFavourites();
    // 23:30 UTC on 10 March 2027: already the 11th in Tokyo (UTC+9).
    home::LayoutContent content =
        data.gather(model.layouts[0], home::test::utcAt(2027, 3, 10, 23, 30), false);
    ASSERT_EQ(content.size(), 8u);
    // The list runs from the last object of the file to the first.
    EXPECT_TRUE(content[0].clockOffsetMinutes);
    EXPECT_EQ(*content[0].clockOffsetMinutes, -5 * 60);  // New York in winter time
    EXPECT_EQ(content[1].text, L"Hello");
    EXPECT_EQ(content[2].text, L"N/A");
    EXPECT_EQ(content[3].text.size(), 2u);
    EXPECT_EQ(content[4].text, L"2027-03-11");
    EXPECT_EQ(content[5].text, L"08:30");
    EXPECT_EQ(content[6].text, L"Tokyo, Japan");
    EXPECT_EQ(content[7].text, L"London");
    data.nextFavourite();
    content = data.gather(model.layouts[0], home::test::utcAt(2027, 3, 10, 23, 30), false);
    EXPECT_EQ(content[7].text, L"New York City");
    EXPECT_EQ(content[6].text, L"Sydney, Australia");
}

TEST_F(HomeDataTest, WeatherValuesByStyle) {
    // London's daily forecast from yesterday on, and two stations of current conditions.
    home::test::writeDownload(L"GB2643743.dat",
                              "1~61~11~4~SW~20~3~Light rain~030927~~~~~~\n"
                              "1~95~13~6~S~35~4~Thunderstorms~031027~~~~9~~\n"
                              "1~0~9~1~N~10~5~Clear~031127~~~~~~\n");
    home::test::writeDownload(L"GB2643743_c.dat",
                              "1~3~7~5~W~15~1012~Overcast~~0850~4~10~cloudy~Heathrow\n"
                              "1~61~8~5~SW~20~1009~Drizzle~~0855~5~8~wet~City Airport\n");
    std::string text =
        "<xml><homescreen><layout>"
        "<obj type=\"weather\" city=\"1\" day=\"1\" style=\"max\"/>"
        "<obj type=\"weather\" city=\"1\" day=\"2\" style=\"min\" showCF=\"1\"/>"
        "<obj type=\"weather\" city=\"1\" day=\"1\" style=\"day\"/>"
        "<obj type=\"weather\" city=\"1\" day=\"1\" style=\"icon\"/>"
        "<obj type=\"weather\" city=\"1\" day=\"1\" style=\"windinfo\"/>"
        "<obj type=\"weather\" city=\"1\" day=\"1\" style=\"desc\"/>"
        "<obj type=\"weather_curr\" city=\"1\" style=\"max\" showCF=\"1\"/>"
        "<obj type=\"weather_curr\" city=\"1\" style=\"stationname\"/>"
        "<obj type=\"weather_2\" city=\"1\" station=\"2\" style=\"stationname\"/>"
        "<obj type=\"weather_2\" city=\"1\" station=\"2\" style=\"comfort\"/>"
        "<obj type=\"weather\" city=\"2\" day=\"1\" style=\"max\"/>"
        "<obj type=\"weather\" city=\"2\" day=\"1\" style=\"icon\"/>"
        "<obj type=\"weather\" city=\"1\" day=\"1\" style=\"day/date\"/>"
        "<obj type=\"weather_curr\" city=\"1\" style=\"humidity\"/>"
        "</layout></homescreen></xml>";
    home::LayoutModel model =
        home::parseLayout({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, 1.0);
    home::HomeData data({std::wstring(kMainPath), std::wstring(kDownloads)});
    data.loadFavourites();
    data.readSettings();
    // Read on 10 March: day 1 is the row of the 10th, whatever else the file holds.
    platform::setDeviceUtcTime(home::test::utcAt(2027, 3, 10, 9, 0));
    home::LayoutContent c =
        data.gather(model.layouts[0], home::test::utcAt(2027, 3, 10, 9, 0), true);
    ASSERT_EQ(c.size(), 14u);
    std::reverse(c.begin(), c.end());  // file order
    EXPECT_EQ(c[0].text, L"13\u00B0");
    EXPECT_EQ(c[1].text, L"1\u00B0C");
    EXPECT_EQ(c[2].text, L"Wed");
    EXPECT_EQ(c[3].picture, std::wstring(kMainPath) + L"icons\\customweather\\95.tga");
    EXPECT_EQ(c[4].text.substr(c[4].text.size() - 2), L",S");
    EXPECT_EQ(c[5].text, L"Thunderstorms");
    EXPECT_EQ(c[6].text, L"7\u00B0C");
    EXPECT_EQ(c[7].text, L"Heathrow");
    EXPECT_EQ(c[8].text, L"City Airport");
    EXPECT_EQ(c[9].text, L"5\u00B0");
    // New York has no files: "N/A" and the no-report picture.
    EXPECT_EQ(c[10].text, L"N/A");
    EXPECT_EQ(c[11].picture, std::wstring(kMainPath) + L"icons\\customweather\\9999.tga");
    EXPECT_NE(c[12].text.find(L"10"), std::wstring::npos);
    EXPECT_EQ(c[13].text, L"N/A");
    // Day names instead of dates, and Fahrenheit, once the settings say so.
    core::settings::write(home::keys::OptHomeDayDate, 2);
    core::writeNumberSetting(L"OptTempFormat", 2);
    data.readSettings();
    c = data.gather(model.layouts[0], home::test::utcAt(2027, 3, 10, 9, 0), false);
    std::reverse(c.begin(), c.end());
    EXPECT_EQ(c[12].text, L"Wed");
    EXPECT_EQ(c[0].text, L"55\u00B0");
}

}  // namespace
