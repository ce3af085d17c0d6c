// The weather settings kept per city.

#include "weather/settings_keys.h"

#include "core/decimal.h"
#include "core/settings.h"

namespace weather {
namespace {

// UTF-16 bytes with the terminator that admit the longest user map source.
constexpr std::size_t kUserMapBytes = (kUserMapSourceLimit + 1) * 2;

}  // namespace

std::wstring stationSettingName(std::wstring_view code) {
    return std::wstring(L"CITYSTATION_").append(code);
}

int readStationRow(std::wstring_view code) {
    const int row = core::readNumberSetting(stationSettingName(code), 1);
    return row > 0 ? row : 1;
}

bool writeStationRow(std::wstring_view code, int row) {
    return core::writeNumberSetting(stationSettingName(code), row);
}

std::wstring userMapSettingName(std::wstring_view code) {
    return std::wstring(L"CITYIMG_").append(code);
}

std::wstring readUserMapSource(std::wstring_view code) {
    return core::readSetting(userMapSettingName(code), kUserMapBytes).value_or(std::wstring());
}

bool writeUserMapSource(std::wstring_view code, std::wstring_view source) {
    return core::writeSetting(userMapSettingName(code), source.substr(0, kUserMapSourceLimit));
}

}  // namespace weather
