// The value texts of weather rows in both unit systems, for rows written in either unit, and
// in English and German.

#include <gtest/gtest.h>

#include <string>

#include "core/settings_key.h"
#include "core/settings_keys.h"
#include "tests/weather/support/weather_test_support.h"
#include "weather/units.h"
#include "weather/weather_data.h"

namespace weather {
namespace {

using test::kDownloads;
using test::writeDownload;
using namespace temperatureFlag;

// Row 1 is written in Celsius and kilometres, row 2 in Fahrenheit and miles; both describe
// about the same day. Fields: flag, icon, high, low, direction, speed, day, text, date,
// period, -, home text, home temperature, distance.
constexpr std::string_view kRows =
    "1~63~20~12~SW~10~1~Rain~120626~M~~Showers~18~10\n"
    "0~63~68~54~SW~10~7~Rain~120726~N~~Showers~64~10\n";

struct Language {
    platform::LanguageId id;
    const wchar_t* kilometresPerHour;
    const wchar_t* milesPerHour;
    const wchar_t* kilometres;
    const wchar_t* miles;
    const wchar_t* sunday;
    const wchar_t* saturday;
    const wchar_t* periods[4];  // E, N, M, A
};

// Names the language in test output instead of dumping its bytes.
void PrintTo(const Language& language, std::ostream* out) {
    *out << std::hex << language.id;
}

const Language kLanguages[] = {
    {0x0409,
     L"km/h",
     L"mph",
     L"km",
     L"miles",
     L"Sun",
     L"Sat",
     {L"Evening", L"Night", L"Morning", L"Afternoon"}},
    {0x0407,
     L"km/h",
     L"mph",
     L"km",
     L"Meilen",
     L"So",
     L"Sa",
     {L"Abend", L"Nacht", L"Vormittag", L"Nachmittag"}},
};

class WeatherTextTest : public ::testing::TestWithParam<Language> {
  protected:
    void SetUp() override {
        test::prepareDevice();
        test::useLanguage(GetParam().id);
        writeDownload(L"LON.dat", kRows);
    }
    WeatherData data(bool celsius, bool metric) {
        return WeatherData(fileKind::Daily, L"LON", Units{celsius, metric}, kDownloads);
    }
};

TEST_P(WeatherTextTest, TemperaturesConvertBetweenTheRowsUnitAndTheShownOne) {
    const WeatherData celsius = data(true, true);
    const WeatherData fahrenheit = data(false, false);
    // 20 in a Celsius row shows 68 in Fahrenheit; 68 in a Fahrenheit row shows 20 in Celsius.
    EXPECT_EQ(celsius.temperatureText(High, 1), L"20");
    EXPECT_EQ(fahrenheit.temperatureText(High, 1), L"68");
    EXPECT_EQ(celsius.temperatureText(High, 2), L"20");
    EXPECT_EQ(fahrenheit.temperatureText(High, 2), L"68");
    EXPECT_EQ(celsius.temperatureText(Low | Degree | Unit, 1), L"12°C");
    EXPECT_EQ(fahrenheit.temperatureText(Low | Degree | Unit, 1), L"54°F");
    EXPECT_EQ(celsius.temperatureText(HighLow | Degree, 2), L"20/12°");
    EXPECT_EQ(fahrenheit.temperatureText(HighLow | Unit, 1), L"68/54F");
    // The Fahrenheit flags give Fahrenheit whatever the user chose, and say so.
    EXPECT_EQ(celsius.temperatureText(HighFahrenheit | Degree | Unit, 1), L"68°F");
    EXPECT_EQ(celsius.temperatureText(LowFahrenheit, 1), L"54");
    EXPECT_EQ(celsius.temperatureText(HighFahrenheit, 2), L"68");
    // No value flag, no text.
    EXPECT_EQ(celsius.temperatureText(Degree | Unit, 1), L"");
    EXPECT_EQ(celsius.temperatureField(forecastField::HomeTemperature, 1), L"18°C");
    EXPECT_EQ(fahrenheit.temperatureField(forecastField::HomeTemperature, 1), L"64°F");
    EXPECT_EQ(celsius.temperatureField(forecastField::HomeTemperature, 2), L"18°C");
}

TEST_P(WeatherTextTest, WindAndDistanceFollowTheDistanceUnit) {
    const Language& l = GetParam();
    const WeatherData metric = data(true, true);
    const WeatherData imperial = data(true, false);
    EXPECT_EQ(metric.windText(1), std::wstring(L"10 ") + l.kilometresPerHour);
    EXPECT_EQ(imperial.windText(1), std::wstring(L"6 ") + l.milesPerHour);
    EXPECT_EQ(metric.windText(2), std::wstring(L"16 ") + l.kilometresPerHour);
    EXPECT_EQ(imperial.windText(2), std::wstring(L"10 ") + l.milesPerHour);
    EXPECT_EQ(metric.distanceText(forecastField::Distance, 1), std::wstring(L"10 ") + l.kilometres);
    EXPECT_EQ(imperial.distanceText(forecastField::Distance, 1), std::wstring(L"6 ") + l.miles);
    EXPECT_EQ(metric.distanceText(forecastField::Distance, 2), std::wstring(L"16 ") + l.kilometres);
    // An empty field says nothing; words are shown as they are.
    EXPECT_EQ(metric.distanceText(forecastField::Period + 1, 1), L"");
    writeDownload(L"LON.dat", "1~1~1~1~~~~~~~~~~Unlimited\n1~1~1~1~~~~~~~~~~Unlimited\n");
    EXPECT_EQ(data(true, true).distanceText(forecastField::Distance, 1), L"Unlimited");
}

TEST_P(WeatherTextTest, DaysAndPartsOfDayAreLanguageStrings) {
    const Language& l = GetParam();
    const WeatherData d = data(true, true);
    EXPECT_EQ(d.dayText(forecastField::Day, 1), l.sunday);
    EXPECT_EQ(d.dayText(forecastField::Day, 2), l.saturday);
    EXPECT_EQ(d.periodText(forecastField::Period, 1), l.periods[2]);
    EXPECT_EQ(d.periodText(forecastField::Period, 2), l.periods[1]);
    writeDownload(L"LON.dat",
                  "1~1~1~1~~~0~~~E\n1~1~1~1~~~8~~~A\n1~1~1~1~~~x~~~m\n1~1~1~1~~~3~~~N\n");
    const WeatherData odd = data(true, true);
    EXPECT_EQ(odd.periodText(forecastField::Period, 1), l.periods[0]);
    EXPECT_EQ(odd.periodText(forecastField::Period, 2), l.periods[3]);
    EXPECT_EQ(odd.periodText(forecastField::Period, 3), L"N/A");
    EXPECT_EQ(odd.periodText(forecastField::Period, 4), l.periods[1]);
    EXPECT_EQ(odd.dayText(forecastField::Day, 1), L"N/A");
    EXPECT_EQ(odd.dayText(forecastField::Day, 2), L"N/A");
    EXPECT_EQ(odd.dayText(forecastField::Day, 3), L"N/A");
}

INSTANTIATE_TEST_SUITE_P(Languages, WeatherTextTest, ::testing::ValuesIn(kLanguages),
                         [](const auto& info) {
                             return info.param.id == 0x0409 ? "English" : "German";
                         });

class WeatherValueTest : public ::testing::Test {
  protected:
    void SetUp() override { test::prepareDevice(); }
};

TEST_F(WeatherValueTest, PressureIsShownInMillibars) {
    writeDownload(L"LON_c.dat", "1~3~7~5~W~15~1013.4~A~~~4~10~x~y\n1~3~7~5~W~15~high~A\n");
    WeatherData current(fileKind::Current, L"LON", Units{}, kDownloads);
    EXPECT_EQ(current.pressureText(currentField::Pressure, 1), L"1013mb");
    EXPECT_EQ(current.pressureText(currentField::Pressure, 2), L"N/A");
}

TEST_F(WeatherValueTest, BandsAndIcons) {
    writeDownload(L"LON_a.dat", "x~0~1~2~3~4~5~6~-1~2.5~~cw_no_report_icon~65535~65536~0063\n");
    WeatherData outlook(fileKind::Outlook, L"LON", Units{}, kDownloads);
    const wchar_t* texts[] = {L"OK", L"0-15", L"15-30", L"30-45", L"45-60", L"60-90"};
    for (int code = 0; code <= 5; ++code) {
        EXPECT_EQ(outlook.bandText(2 + code), texts[code]);
        EXPECT_EQ(outlook.bandNumber(2 + code), code + 1);
    }
    for (int field : {8, 9, 10, 11}) {  // 6, -1, 2.5, empty
        EXPECT_EQ(outlook.bandText(field), L"N/A") << field;
        EXPECT_EQ(outlook.bandNumber(field), kNoReportIcon) << field;
    }
    EXPECT_EQ(bandIconPath(3), L"icons\\customweather\\a3.tga");
    EXPECT_EQ(bandIconPath(kNoReportIcon), L"icons\\customweather\\9999.tga");
    EXPECT_EQ(bandIconPath(37), L"icons\\customweather\\9999.tga");
    EXPECT_EQ(conditionIconPath(63), L"icons\\customweather\\63.tga");

    writeDownload(L"LON.dat", "1~cw_no_report_icon\n1~65535\n1~65536\n1~0063\n1~ 95 \n1~-1\n");
    WeatherData daily(fileKind::Daily, L"LON", Units{}, kDownloads);
    EXPECT_EQ(daily.iconNumber(1), kNoReportIcon);
    EXPECT_EQ(daily.iconNumber(2), 65535);
    EXPECT_EQ(daily.iconNumber(3), kNoReportIcon);
    EXPECT_EQ(daily.iconNumber(4), 63);
    EXPECT_EQ(daily.iconNumber(5), 95);
    EXPECT_EQ(daily.iconNumber(6), kNoReportIcon);
}

TEST_F(WeatherValueTest, ValuesAreDecimalNumbersWithAPoint) {
    EXPECT_EQ(readValue(L" -3.5 "), -3.5);
    EXPECT_EQ(readValue(L"+7"), 7);
    EXPECT_EQ(readValue(L".5"), 0.5);
    for (std::wstring_view bad : {L"", L" ", L"-", L".", L"3,5", L"12abc", L"1e3", L"nan", L"inf",
                                  L"0x10", L"2000000000"}) {
        EXPECT_FALSE(readValue(bad)) << platform::toUtf8(bad);
    }
    EXPECT_FALSE(readValue(std::wstring(40, L'0') + L"1"));
    EXPECT_EQ(formatValue(-0.4), L"0");
    EXPECT_EQ(formatValue(-0.6), L"-1");
    EXPECT_EQ(formatValue(19.5), L"20");
    EXPECT_NEAR(displaySpeed(100, true, false), 62.1371192237334, 1e-9);
    EXPECT_NEAR(displaySpeed(100, false, true), 160.9344, 1e-9);
    EXPECT_NEAR(displayTemperature(-40, true, false), -40, 1e-9);
    EXPECT_NEAR(displayTemperature(212, false, true), 100, 1e-9);
}

TEST_F(WeatherValueTest, UnitsComeFromTheOptions) {
    // Celsius and miles unless the user chose otherwise.
    EXPECT_TRUE(unitsFromSettings().celsius);
    EXPECT_FALSE(unitsFromSettings().metric);
    core::settings::write(core::keys::OptTempFormat, 2);
    core::settings::write(core::keys::OptWindFormat, 2);
    EXPECT_FALSE(unitsFromSettings().celsius);
    EXPECT_TRUE(unitsFromSettings().metric);
}

}  // namespace
}  // namespace weather
