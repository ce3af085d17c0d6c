// The zone table: any "dstinfo.dat" loads, and every zone it describes answers the daylight
// test, local times and look-ups without faults.

#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/api/device.h"
#include "worldtime/zones.h"

namespace {

constexpr std::wstring_view kFolder = L"\\fuzz\\";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern = (std::filesystem::temp_directory_path() / "vorn-fuzz-XXXXXX").string();
    platform::setDeviceRoot(::mkdtemp(pattern.data()));
    platform::createFolder(kFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::writeFileAtomic(std::wstring(kFolder) + L"dstinfo.dat", {data, size});
    worldtime::loadZones(kFolder);
    const core::RecordTable& table = worldtime::zoneTable();
    const std::int64_t instants[] = {0, 130000000000000000LL, 133800000000000000LL,
                                     0x7FFFFFFFFFFFFFFFLL};
    for (int row = 1; row <= table.rowCount() && row <= 64; ++row) {
        worldtime::ZoneInfo info = worldtime::zoneInfoOfRow(table, row);
        for (std::int64_t utc : instants) {
            (void)worldtime::isDaylight(info, utc);
            (void)worldtime::zoneLocalTicks(info, utc);
            (void)worldtime::zoneLocalToUtcTicks(info, utc);
        }
        (void)worldtime::zoneInfo(table.fieldInt(row, worldtime::zoneColumn::Number));
    }
    (void)worldtime::zoneNumberForHours(3);
    (void)worldtime::zoneDisplayName(25);
    return 0;
}
