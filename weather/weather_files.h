#pragma once
// The weather files the comms program leaves in the download folder: their kinds, names and
// fields, and the rules that name them. Tables are record-table files ("~" between fields);
// pictures are JPEG files stored under the extension ".dat". Files belong to a city code
// (field 7 of a city record); satellite and radar frames belong to a map region (field 9 of
// the favourite with that code).

#include <string>
#include <string_view>

#include "core/record_table.h"

namespace weather {

// File kinds. Any other number reads the file named by the code alone as a 15-field table.
namespace fileKind {
constexpr int Daily = 1;        // code ".dat": daily forecast, one row per day
constexpr int Periods = 2;      // code "_d.dat": forecast by part of day
constexpr int Current = 3;      // code "_c.dat": current conditions, one row per station
constexpr int ForecastMap = 4;  // code "_m.dat": picture
constexpr int Satellite = 5;    // region "_sat" N ".dat", N = 0..10: frames
constexpr int Outlook = 6;      // code "_a.dat": grouped period table
constexpr int Summary = 7;      // code "_s.dat": read only by home-screen items
constexpr int Week = 8;         // code "_w.dat": read only by home-screen items
constexpr int UserMap = 12;     // code "_m4.dat": picture
constexpr int Radar = 13;       // region "_rad" N ".dat", N = 0..10: frames
}  // namespace fileKind

// Frame numbers run from 0 to kLastFrame.
constexpr int kLastFrame = 10;

// Fields of a forecast row (kinds 1 and 2, and any unlisted kind).
namespace forecastField {
constexpr int UnitFlag = 1;       // not 0: Celsius and kilometres; 0: Fahrenheit and miles
constexpr int Icon = 2;           // condition icon number, or "cw_no_report_icon"
constexpr int High = 3;           // temperature (the day's high)
constexpr int Low = 4;            // second temperature (the day's low)
constexpr int WindDirection = 5;  // shown unchanged
constexpr int WindSpeed = 6;
constexpr int Day = 7;      // 1..7, Sunday first (language string 642)
constexpr int Text = 8;     // the forecast in words
constexpr int Date = 9;     // "MMDDYY"
constexpr int Period = 10;  // part of day: "M", "A", "E" or "N"
constexpr int HomeText = 12;
constexpr int HomeTemperature = 13;
constexpr int Distance = 14;  // shown with the distance unit
constexpr int Count = 15;
}  // namespace forecastField

// Fields of a current-conditions row (kind 3); 1 to 6 as in forecast rows.
namespace currentField {
constexpr int UnitFlag = 1;
constexpr int Icon = 2;
constexpr int Temperature = 3;
constexpr int SecondTemperature = 4;
constexpr int WindDirection = 5;
constexpr int WindSpeed = 6;
constexpr int Pressure = 7;  // millibars
constexpr int Text = 8;      // second line of the panel
constexpr int Note = 10;
constexpr int FeelsLike = 11;   // a further temperature
constexpr int Visibility = 12;  // shown with the distance unit
constexpr int Condition = 13;   // shown after the temperature
constexpr int LastLine = 14;    // last line of the panel
constexpr int Count = 14;
}  // namespace currentField

// Fields of the grouped period table (kind 6): a heading, eight groups of four fields and a
// closing text.
namespace outlookField {
constexpr int Heading = 2;  // shown through language string 585
constexpr int Footer = 36;  // shown below the heading
constexpr int Groups = 8;
constexpr int Count = 36;
// Group k = 1..8.
constexpr int period(int k) {
    return 4 * k;
}  // part-of-day letter
constexpr int day(int k) {
    return 4 * k + 1;
}  // day number
constexpr int band(int k) {
    return 4 * k + 2;
}  // band code 0..5
constexpr int text(int k) {
    return 4 * k + 3;
}  // "*" means language string 567
}  // namespace outlookField

// Field counts of the two home-screen tables.
constexpr int kSummaryFieldCount = 26;
constexpr int kWeekFieldCount = 8;

// The field count a table kind is loaded with; 0 for picture and frame kinds.
int fieldCountOf(int kind);
bool isPictureKind(int kind);  // 4 and 12
bool isFrameKind(int kind);    // 5 and 13

// True when a city code or region can name a file inside the download folder: not empty, at
// most 64 characters, and without path separators, drive colons, control characters or "..".
// Codes and regions come from files other programs write, so every name built from them is
// checked first.
bool isSafeKey(std::wstring_view key);

// The file name of a table or picture kind for a city code ("LON.dat", "LON_c.dat", ...);
// the code alone for a kind not listed.
std::wstring fileNameOf(int kind, std::wstring_view code);
// The frame name stem of a frame kind for a region ("Europe_sat", "Europe_rad").
std::wstring frameStemOf(int kind, std::wstring_view region);
// stem + frame number + ".dat".
std::wstring frameNameOf(std::wstring_view stem, int frame);

// The map region of a city code: field 9 of the first favourite whose field 7 equals it;
// empty when there is none.
std::wstring mapRegionOf(const core::RecordTable& favourites, std::wstring_view code);
// The regions radar frames are offered for, compared without regard to case.
bool isRadarRegion(std::wstring_view region);

// Deletes the city's weather files (".dat", "_d", "_m", "_m4", "_a", "_c", "_s", "_w") from
// the folder; nothing for a code that is not safe. Answers how many files went.
int deleteFiles(std::wstring_view folder, std::wstring_view code);
// Deletes the region's satellite and radar frames 0..10 (the region may be empty). Answers
// how many files went.
int deleteFrames(std::wstring_view folder, std::wstring_view region);

// Condition and band pictures, relative to the install folder.
// "icons\customweather\" + number + ".tga". Condition numbers are the WMO weather codes 0..99;
// 100, 101 and 102 are the night pictures of 0 (clear), 1 (mainly clear) and 2 (partly
// cloudy). data/README.md lists the numbers that have pictures.
std::wstring conditionIconPath(int number);
// "icons\customweather\a" + number + ".tga" for band numbers 1..6; the no-report picture
// (9999) for anything else.
std::wstring bandIconPath(int number);

// The icon number that means no report.
constexpr int kNoReportIcon = 9999;

}  // namespace weather
