// The weather data set against every file kind the comms program leaves: whole files, short,
// empty, oversized and damaged ones, and keys that must not name a file outside the download
// folder. A damaged file shows placeholders for what it cannot say and never a value of
// another row.

#include <gtest/gtest.h>

#include <string>

#include "core/settings.h"
#include "platform/api/clock.h"
#include "tests/weather/support/weather_test_support.h"
#include "weather/settings_keys.h"
#include "weather/weather_data.h"

namespace weather {
namespace {

using test::kDownloads;
using test::writeDownload;
using namespace temperatureFlag;

constexpr Units kCelsiusKm{true, true};

// A week of London: Celsius rows, highs 10..16, lows 2..8, Sunday 6 December 2026 onwards.
std::string week() {
    std::string text;
    for (int day = 0; day < 7; ++day) {
        const int date = 6 + day;
        text += "1~" + std::to_string(61 + day) + "~" + std::to_string(10 + day) + "~" +
                std::to_string(2 + day) + "~SW~" + std::to_string(20 + day) + "~" +
                std::to_string(day + 1) + "~Rain " + std::to_string(day) + "~12" +
                (date < 10 ? "0" : "") + std::to_string(date) + "26~~~home~9~10~\n";
    }
    return text;
}

WeatherData loaded(int kind, std::wstring_view code = L"LON", Units units = kCelsiusKm) {
    return WeatherData(kind, code, units, kDownloads);
}

class WeatherReaderTest : public ::testing::Test {
  protected:
    void SetUp() override { test::prepareDevice(); }
};

TEST_F(WeatherReaderTest, DailyFileLoadsEveryRowWithRowOneCurrent) {
    writeDownload(L"LON.dat", week());
    WeatherData data = loaded(fileKind::Daily);
    EXPECT_FALSE(data.noData());
    EXPECT_EQ(data.path(), L"LON.dat");
    EXPECT_EQ(data.rowCount(), 7);
    EXPECT_EQ(data.currentRow(), 1);
    EXPECT_EQ(data.iconNumber(), 61);
    EXPECT_EQ(data.temperatureText(HighLow), L"10/2");
    EXPECT_EQ(data.fieldText(forecastField::Text, 7), L"Rain 6");
    EXPECT_EQ(data.iconNumber(7), 67);
}

TEST_F(WeatherReaderTest, EachKindReadsItsOwnFileWithItsFieldCount) {
    struct Case {
        int kind;
        const wchar_t* file;
        int fields;
    };
    const Case cases[] = {{fileKind::Daily, L"LON.dat", 15},
                          {fileKind::Periods, L"LON_d.dat", 15},
                          {fileKind::Current, L"LON_c.dat", 14},
                          {fileKind::Outlook, L"LON_a.dat", 36},
                          {fileKind::Summary, L"LON_s.dat", 26},
                          {fileKind::Week, L"LON_w.dat", 8},
                          {9, L"LON", 15}};
    for (const Case& c : cases) {
        // Two one-field rows naming the kind, so a kind reading another's file shows.
        writeDownload(c.file, std::to_string(c.kind) + "\n" + std::to_string(c.kind) + "\n");
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        WeatherData data = loaded(c.kind);
        EXPECT_EQ(data.path(), c.file);
        EXPECT_FALSE(data.noData());
        EXPECT_EQ(data.table().columnCount(), c.fields);
        EXPECT_EQ(data.fieldText(1), std::to_wstring(c.kind));
    }
}

TEST_F(WeatherReaderTest, ForecastFilesBelowTwoRowsShowThePlaceholder) {
    // Missing, empty, a byte-order mark alone, and exactly one line.
    const char* contents[] = {nullptr, "", "\xEF\xBB\xBF", "1~61~10~2~SW~20~1~Rain~120626\n"};
    for (int kind : {fileKind::Daily, fileKind::Periods, 9}) {
        for (const char* content : contents) {
            SCOPED_TRACE(std::to_string(kind) + (content ? content : "(missing)"));
            test::prepareDevice();
            if (content)
                writeDownload(fileNameOf(kind, L"LON"), content);
            WeatherData data = loaded(kind);
            EXPECT_TRUE(data.noData());
            EXPECT_EQ(data.rowCount(), 1);
            EXPECT_EQ(data.currentRow(), 1);
            EXPECT_EQ(data.fieldText(forecastField::UnitFlag), L"-");
            EXPECT_EQ(data.fieldText(forecastField::Icon), L"9999.jpg");
            EXPECT_EQ(data.fieldText(forecastField::Low), L"N/A");
            // Nothing of the one real line survives.
            EXPECT_EQ(data.fieldText(forecastField::Text), L" ");
            EXPECT_EQ(data.iconNumber(), kNoReportIcon);
            EXPECT_EQ(data.temperatureText(High | Degree | Unit), L"N/A");
            EXPECT_EQ(data.windText(), L"N/A");
        }
    }
}

TEST_F(WeatherReaderTest, OtherTablesWithoutRowsGetOneEmptyRow) {
    for (int kind : {fileKind::Current, fileKind::Outlook, fileKind::Summary, fileKind::Week}) {
        SCOPED_TRACE(kind);
        test::prepareDevice();
        writeDownload(fileNameOf(kind, L"LON"), "\xEF\xBB\xBF");
        WeatherData data = loaded(kind);
        EXPECT_TRUE(data.noData());
        EXPECT_EQ(data.rowCount(), 1);
        EXPECT_EQ(data.currentRow(), 1);
        EXPECT_EQ(data.fieldText(2), L"");
        EXPECT_EQ(data.iconNumber(), kNoReportIcon);
    }
    // One station is a whole current-conditions file.
    writeDownload(L"LON_c.dat", "1~3~7~5~W~15~1012~Overcast~~~4~10~cloudy~Heathrow");
    WeatherData current = loaded(fileKind::Current);
    EXPECT_FALSE(current.noData());
    EXPECT_EQ(current.temperatureText(High | Degree | Unit), L"7°C");
}

TEST_F(WeatherReaderTest, OversizedFilesReadAsMissingAndLongFilesAreCut) {
    std::string huge = week();
    huge.append(kMaxWeatherFileBytes, 'x');
    writeDownload(L"LON.dat", huge);
    EXPECT_TRUE(loaded(fileKind::Daily).noData());

    std::string many;
    for (int row = 0; row < kMaxWeatherRows + 50; ++row)
        many += week().substr(0, week().find('\n') + 1);
    writeDownload(L"LON_d.dat", many);
    WeatherData periods = loaded(fileKind::Periods);
    EXPECT_FALSE(periods.noData());
    EXPECT_EQ(periods.rowCount(), kMaxWeatherRows);
}

TEST_F(WeatherReaderTest, DamagedRowsShowPlaceholdersAndNeverAnotherRowsValues) {
    writeDownload(L"LON.dat",
                  // Extra fields beyond the fifteen.
                  "1~61~10~2~SW~20~1~Rain~120626~~~t~9~10~x~EXTRA~99~99\n"
                  // Too few fields: no low, no wind.
                  "1~63~11\n"
                  // Values that are not numbers.
                  "1~rain~warm~-3x~N~fast~9~Snow~120826\n"
                  // A unit flag that is not a number, and an icon beyond 16 bits.
                  "C~65539~14~6~E~20~4~Sun~120926\n"
                  // No icon field at all, and the no-report name.
                  "1~~15~7~E~20~5~Fog~121026\n"
                  "1~cw_no_report_icon~16~8~E~20~6~Fog~121126\n");
    WeatherData data = loaded(fileKind::Daily);
    ASSERT_FALSE(data.noData());
    ASSERT_EQ(data.rowCount(), 6);
    EXPECT_EQ(data.temperatureText(HighLow, 1), L"10/2");
    EXPECT_EQ(data.fieldText(forecastField::Text, 1), L"Rain");

    EXPECT_EQ(data.temperatureText(High, 2), L"11");
    EXPECT_EQ(data.temperatureText(Low, 2), L"N/A");
    EXPECT_EQ(data.temperatureText(HighLow, 2), L"N/A");
    EXPECT_EQ(data.windText(2), L"N/A");
    EXPECT_EQ(data.fieldText(forecastField::Text, 2), L"");
    EXPECT_EQ(data.dayText(forecastField::Day, 2), L"N/A");

    EXPECT_EQ(data.iconNumber(3), kNoReportIcon);
    EXPECT_EQ(data.temperatureText(High, 3), L"N/A");
    EXPECT_EQ(data.temperatureText(Low, 3), L"N/A");
    EXPECT_EQ(data.windText(3), L"N/A");
    EXPECT_EQ(data.fieldText(forecastField::Text, 3), L"Snow");

    EXPECT_EQ(data.iconNumber(4), kNoReportIcon);
    EXPECT_EQ(data.temperatureText(High, 4), L"N/A");
    EXPECT_EQ(data.temperatureField(forecastField::Low, 4), L"N/A");

    EXPECT_EQ(data.iconNumber(5), kNoReportIcon);
    EXPECT_EQ(data.iconNumber(6), kNoReportIcon);
    EXPECT_EQ(data.temperatureText(High, 6), L"16");
}

TEST_F(WeatherReaderTest, BinaryGarbageLoadsWithoutNumbers) {
    std::string garbage;
    for (int i = 0; i < 5000; ++i) garbage += static_cast<char>((i * 7919) % 256);
    for (int kind : {fileKind::Daily, fileKind::Current, fileKind::Outlook}) {
        writeDownload(fileNameOf(kind, L"LON"), garbage);
        WeatherData data = loaded(kind);
        for (int row = 1; row <= data.rowCount(); ++row) {
            EXPECT_EQ(data.iconNumber(row), kNoReportIcon);
            const std::wstring temperature = data.temperatureText(High, row);
            EXPECT_TRUE(temperature == L"N/A" || temperature.empty()) << row;
        }
    }
}

TEST_F(WeatherReaderTest, KeysThatLeaveTheFolderReadNothing) {
    test::writeDownload(L"LON.dat", week());
    // "..\\downloads\\LON" would reach the same file by another way.
    for (std::wstring_view key : {L"..\\downloads\\LON", L"x/../LON", L"", L"C:LON", L"a\nb"}) {
        SCOPED_TRACE(platform::toUtf8(key));
        EXPECT_FALSE(isSafeKey(key));
        WeatherData data = loaded(fileKind::Daily, key);
        EXPECT_TRUE(data.noData());
        WeatherData frames(fileKind::Satellite, key, kCelsiusKm, kDownloads);
        EXPECT_FALSE(frames.stepFrame());
        EXPECT_EQ(frames.frameCount(), 0);
    }
    EXPECT_TRUE(isSafeKey(L"UKXX0085"));
    EXPECT_TRUE(isSafeKey(L"BritishIsles"));
}

class SelectTodayTest : public WeatherReaderTest {};

TEST_F(SelectTodayTest, FindsTodayElseTheFirstLaterDay) {
    // Rows out of order, with a damaged date among them.
    writeDownload(L"LON.dat",
                  "1~1~1~1~~~~a~121026\n"
                  "1~1~2~1~~~~b~13x026\n"
                  "1~1~3~1~~~~c~120826\n"
                  "1~1~4~1~~~~d~010127\n"
                  "1~1~5~1~~~~e~120926\n");
    WeatherData data = loaded(fileKind::Daily);
    EXPECT_EQ(data.selectDate(2026, 12, 9), 5);
    EXPECT_EQ(data.currentRow(), 5);
    EXPECT_EQ(data.selectDate(2026, 12, 8), 3);
    // Not in the file: the first later row, by year, then month, then day.
    EXPECT_EQ(data.selectDate(2026, 12, 1), 1);
    EXPECT_EQ(data.selectDate(2026, 12, 11), 4);
    EXPECT_EQ(data.selectDate(2027, 1, 1), 4);
    // Nothing later: no row, and the row's texts are empty.
    EXPECT_EQ(data.selectDate(2027, 1, 2), 0);
    EXPECT_EQ(data.currentRow(), 0);
    EXPECT_EQ(data.fieldText(forecastField::Text), L"");
    EXPECT_EQ(data.iconNumber(), kNoReportIcon);
    EXPECT_EQ(data.temperatureText(High), L"N/A");
    EXPECT_EQ(data.bandNumber(2), 37);
}

TEST_F(SelectTodayTest, UsesTheDevicesUtcDate) {
    writeDownload(L"LON.dat", week());
    WeatherData data = loaded(fileKind::Daily);
    platform::setDeviceUtcTime(*platform::toFileTime({2026, 12, 0, 9, 23, 30, 0, 0}));
    EXPECT_EQ(data.selectToday(), 4);
    EXPECT_EQ(data.fieldText(forecastField::Text), L"Rain 3");
    platform::setDeviceUtcTime(*platform::toFileTime({2026, 12, 0, 1, 12, 0, 0, 0}));
    EXPECT_EQ(data.selectToday(), 1);
    platform::setClockOffsetSeconds(0);
}

TEST_F(SelectTodayTest, NeedsTwoRows) {
    writeDownload(L"LON.dat", "1~1~1~1~~~~a~120826\n");
    WeatherData data = loaded(fileKind::Daily);
    EXPECT_EQ(data.selectDate(2026, 12, 8), 0);
    EXPECT_EQ(data.currentRow(), 0);
}

TEST_F(WeatherReaderTest, StationRowComesFromTheSettingAndStaysInTheFile) {
    writeDownload(L"LON_c.dat",
                  "1~3~7~5~W~15~1012~A~~~4~10~x~Heathrow\n"
                  "1~3~8~5~W~15~1012~B~~~4~10~x~City\n"
                  "1~3~9~5~W~15~1012~C~~~4~10~x~Gatwick\n");
    EXPECT_EQ(readStationRow(L"LON"), 1);
    ASSERT_TRUE(writeStationRow(L"LON", 3));
    WeatherData current = loaded(fileKind::Current);
    EXPECT_EQ(current.selectStation(readStationRow(L"LON")), 3);
    EXPECT_EQ(current.fieldText(currentField::LastLine), L"Gatwick");
    // A station beyond the file (it lost rows since) falls back to the first.
    EXPECT_EQ(current.selectStation(7), 1);
    EXPECT_EQ(current.fieldText(currentField::LastLine), L"Heathrow");
    core::writeSetting(stationSettingName(L"LON"), L"none");
    EXPECT_EQ(readStationRow(L"LON"), 1);
    core::writeSetting(stationSettingName(L"LON"), L"-4");
    EXPECT_EQ(readStationRow(L"LON"), 1);
}

TEST_F(WeatherReaderTest, UserMapSourceKeepsAtMost511Characters) {
    EXPECT_EQ(readUserMapSource(L"LON"), L"");
    const std::wstring longSource = L"http://maps.example/" + std::wstring(600, L'a');
    ASSERT_TRUE(writeUserMapSource(L"LON", longSource));
    EXPECT_EQ(readUserMapSource(L"LON"), longSource.substr(0, 511));
    EXPECT_EQ(userMapSettingName(L"LON"), L"CITYIMG_LON");
}

}  // namespace
}  // namespace weather
