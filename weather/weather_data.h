#pragma once
// The weather data set: one file kind of one city (or, for frames, one map region), read from
// the download folder, with the texts every weather display shows. The weather screens, the
// maps, the home screen, the Today plug-in and `vorn weather` all read weather through it.
//
// Table kinds load at construction. A daily or part-of-day file (and any unlisted kind) with
// fewer than two rows counts as missing: row 1 becomes a placeholder row and noData() is set.
// Other tables with no rows get one empty row and noData(). A file that is too large, or a
// key that cannot name a file, reads as missing. Fields are read from the current row only,
// so a short, long or damaged row never shows a value of another row; a field that does not
// hold what it should reads as unreadable ("N/A", icon 9999) rather than as 0.
//
// Picture kinds load their picture on load(); frame kinds step through the frames 10..0 that
// exist, wrapping around, and load the current one.

#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/record_table.h"
#include "gfx/dib.h"
#include "weather/units.h"
#include "weather/weather_files.h"

namespace weather {

// Files larger than this are not read: the comms program never writes them.
constexpr std::uintmax_t kMaxWeatherFileBytes = 1 << 20;
constexpr std::uintmax_t kMaxWeatherPictureBytes = 8 << 20;
// Rows beyond this are dropped.
constexpr int kMaxWeatherRows = 256;

// Flags of temperatureText. One value flag is used (the first of 0x4, 0x1, 0x2, 0x8, 0x10);
// the suffix flags may be added to any of them.
namespace temperatureFlag {
constexpr int High = 0x1;            // field 3
constexpr int Low = 0x2;             // field 4
constexpr int HighLow = 0x4;         // field 3 "/" field 4
constexpr int HighFahrenheit = 0x8;  // field 3 of a Celsius row, in Fahrenheit
constexpr int LowFahrenheit = 0x10;  // field 4 of a Celsius row, in Fahrenheit
constexpr int Degree = 0x100;        // appends "°"
constexpr int Unit = 0x200;          // appends "C" or "F"
}  // namespace temperatureFlag

class WeatherData {
  public:
    // key is the city code, or for frame kinds the map region. Table kinds load at once.
    WeatherData(int kind, std::wstring_view key, Units units, std::wstring_view folder);

    int kind() const { return kind_; }
    const std::wstring& key() const { return key_; }
    const std::wstring& folder() const { return folder_; }
    Units units() const { return units_; }
    // The picture's file name, or the frame name stem; the table's file name for tables.
    const std::wstring& path() const { return path_; }

    // Tables: the file was missing, short or unreadable. Pictures: the last load failed or
    // there is no picture. Frames: no frame exists.
    bool noData() const { return noData_; }

    // --- Tables
    const core::RecordTable& table() const { return table_; }
    int rowCount() const { return table_.rowCount(); }
    int currentRow() const { return table_.currentRow(); }
    // False (and nothing changed) for a row that does not exist; 0 clears the current row.
    bool setCurrentRow(int row);
    // Makes the stored station row current when it exists, else row 1; answers the row.
    int selectStation(int stored);
    // The row dated today (UTC) when there is one, else the first later one; that row becomes
    // current and is answered. 0 (and no current row) when there is none or the table has
    // fewer than two rows.
    int selectToday();
    // The same for a given date.
    int selectDate(int year, int month, int day);

    // --- Pictures and frames
    // Pictures: whether the file exists. Frames: stepFrame().
    bool exists();
    // Decodes the picture (frames: the current frame) into image(); false, noData() and no
    // image when the file is missing or does not decode.
    bool load();
    const gfx::Dib& image() const { return image_; }
    void releaseImage() { image_.reset(); }

    // --- Frames
    int frameIndex() const { return frameIndex_; }
    // Frames 0..10 present in the folder; counted once, on first use, by one look at the
    // folder. The steps below go by that count; a set made after an update sees new frames.
    int frameCount();
    // Moves the frame index down by one (from 0 to 10) until a frame file exists. False when
    // no frame exists; with one frame it stays on it.
    bool stepFrame();
    // Moves up by one (from 10 to 0) until a frame file exists.
    bool stepFrameForward();

    // --- Value texts of a row (0: the current row); empty when there is no such row, except
    // the temperatures, which say "N/A" then, and the numbers, which say what is noted.
    // kNoReportIcon when there is no data, no row, no icon, "cw_no_report_icon" or a field
    // that is not a number from 0 to 65535.
    int iconNumber(int row = 0) const;
    // "N/A" when there is no data or the value cannot be read.
    std::wstring temperatureText(int flags, int row = 0) const;
    // Field 6 as a speed in the chosen unit, " ", "km/h" or "mph" (strings 595, 596).
    std::wstring windText(int row = 0) const;
    // A number in the chosen distance unit, " ", "km" or "miles" (strings 597, 598); a text
    // that is not a number unchanged; empty for an empty field.
    std::wstring distanceText(int field, int row = 0) const;
    // A temperature in the chosen unit followed by "°C" or "°F".
    std::wstring temperatureField(int field, int row = 0) const;
    // A pressure followed by "mb".
    std::wstring pressureText(int field, int row = 0) const;
    // The day name of a day number 1..7 (Sunday first); "N/A" for anything else.
    std::wstring dayText(int field, int row = 0) const;
    // "E", "N", "M", "A" as Evening, Night, Morning, Afternoon; "N/A" for anything else.
    std::wstring periodText(int field, int row = 0) const;
    // Band code 0..5 as "OK", "0-15", "15-30", "30-45", "45-60", "60-90"; else "N/A".
    std::wstring bandText(int field, int row = 0) const;
    // Band code 0..5 as 1..6, other values kNoReportIcon; 37 when there is no row.
    int bandNumber(int field, int row = 0) const;
    // The field's text, empty when there is none.
    std::wstring fieldText(int field, int row = 0) const;
    // The date of field 9 written by a date picture ("ddd',' MMM dd"); empty when the field
    // is not a real date.
    std::wstring dateText(std::wstring_view picture, int row = 0) const;

  private:
    void loadTable();
    // The row a helper reads (0: current), 0 when it does not exist.
    int rowOf(int row) const;
    // The row's unit flag: Celsius and kilometres, or nothing when it is not a number.
    std::optional<bool> rowCelsius(int row) const;
    std::optional<double> value(int field, int row) const;
    // A value in the row's units; nothing when it or the unit flag cannot be read.
    std::optional<double> measured(int field, int row) const;
    bool frameExists(int frame);
    // Moves by one frame in a direction until an existing frame.
    bool step(int direction);

    int kind_;
    std::wstring key_;
    std::wstring folder_;
    Units units_;
    std::wstring path_;
    bool noData_ = false;
    core::RecordTable table_;
    gfx::Dib image_;
    int frameIndex_ = 0;
    std::bitset<kLastFrame + 1> frames_;
    bool framesCounted_ = false;
};

// The condition icon of a city for today: the daily forecast's row for today's UTC date (else
// the next day it has); kNoReportIcon without a forecast. Lists of cities show it.
int todayIconNumber(std::wstring_view folder, std::wstring_view code);

}  // namespace weather
