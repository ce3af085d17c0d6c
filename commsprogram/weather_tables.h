#pragma once
// The weather files of one city, written from a forecast: the daily forecast (".dat"), the
// forecast by part of day ("_d.dat"), the current conditions ("_c.dat") and the grouped
// period table ("_a.dat"). Every row is in Celsius and kilometres (unit flag 1), speeds in
// km/h, pressure in millibars (hectopascals). Condition icons are the WMO weather codes the
// install folder has pictures for, with the night pictures 100 to 102 for clear to partly
// cloudy skies after dark.

#include <string>
#include <vector>

#include "commsprogram/providers.h"

namespace commsprogram {

// The icon number of a WMO code; "cw_no_report_icon" for a code without a picture.
std::wstring conditionIcon(int code, bool day);
// A short English description of a WMO code.
std::wstring conditionText(int code);
// 16 points of the compass ("NNE") for a direction in degrees; empty for none.
std::wstring compassPoint(std::optional<double> degrees);

// The text of each table, rows ended by "\n", without the byte-order mark.
std::wstring dailyTable(const WeatherReport& report);
std::wstring periodTable(const WeatherReport& report);
std::wstring currentTable(const WeatherReport& report);
std::wstring outlookTable(const WeatherReport& report);

}  // namespace commsprogram
