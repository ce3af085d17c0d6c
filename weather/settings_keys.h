#pragma once
// The settings the weather subsystem owns. Per-city values join a prefix and the city code.

#include <cstddef>
#include <string>
#include <string_view>

namespace weather {

// The longest user map source kept, in characters.
constexpr std::size_t kUserMapSourceLimit = 511;

// "CITYSTATION_" + code: the station row of the city's current conditions (1 when absent or
// not a positive number).
std::wstring stationSettingName(std::wstring_view code);
int readStationRow(std::wstring_view code);
bool writeStationRow(std::wstring_view code, int row);

// "CITYIMG_" + code: the address of the city's user map, up to 511 characters; empty when
// absent.
std::wstring userMapSettingName(std::wstring_view code);
std::wstring readUserMapSource(std::wstring_view code);
// Stores at most 511 characters.
bool writeUserMapSource(std::wstring_view code, std::wstring_view source);

}  // namespace weather
