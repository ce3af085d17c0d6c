#pragma once
// The texts of the weather screen, built from weather data sets: the list rows, the summary
// line and the current-conditions panel. The screen and `vorn weather` both use them, so the
// command line prints what the screen shows.

#include <string>
#include <vector>

#include "weather/weather_data.h"

namespace weather {

// The weather screen's list modes (the settings-file key "weathermode"; 4 is the maps).
namespace listMode {
constexpr int Daily = 1;    // seven-day list, kind 1
constexpr int Periods = 2;  // two-day list, kind 2
constexpr int Outlook = 3;  // grouped period table, kind 6
constexpr int Maps = 4;
}  // namespace listMode

// The file kind a list mode reads.
int listKindOf(int mode);

// What a list row shows: its icon number, a temperature and a label. Rows are table rows in
// modes 1 and 2 and groups 1..8 in mode 3 (row 1 of the table).
struct ListRowTexts {
    int icon = kNoReportIcon;  // modes 1, 2: condition icon; mode 3: bandIconPath number
    std::wstring temperature;  // mode 3: the band text
    std::wstring label;
};
ListRowTexts listRowTexts(const WeatherData& data, int mode, int row, bool dayNames);
// Rows the list shows: 0 when the file has fewer than two rows (modes 1, 2) or no rows
// (mode 3); otherwise the table's rows, respectively the eight groups.
int listRowCount(const WeatherData& data, int mode);
// The language string shown when the list is empty: 582, 583 or 584 by mode.
std::wstring emptyListText(int mode);

// The summary line of a row (a group in mode 3); empty while the set has no data.
std::wstring summaryLine(const WeatherData& data, int mode, int row);

// The current-conditions panel, a line a text: "no current conditions" alone without data,
// else the temperature and condition, the text, pressure, wind and visibility, the felt
// temperature and the last line. Uses the current row (the station).
std::vector<std::wstring> currentPanelLines(const WeatherData& current);
// Mode 3's panel: the heading (language string 585 with field 2) and field 36.
std::vector<std::wstring> outlookPanelLines(const WeatherData& outlook);

}  // namespace weather
