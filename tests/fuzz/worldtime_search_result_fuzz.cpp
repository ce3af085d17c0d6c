// The comms program's "searchresult.dat": any file loads into results of ten fields whose
// zones are table zones, and adding every ticked result keeps the city files loadable.

#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/record_table.h"
#include "platform/api/device.h"
#include "worldtime/cities.h"
#include "worldtime/zones.h"

namespace {

constexpr std::wstring_view kMainPath = L"\\app\\";
constexpr std::wstring_view kDownloadPath = L"\\app\\downloads\\";

void writeText(std::wstring_view path, std::string_view text) {
    platform::writeFileAtomic(path,
                              {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern = (std::filesystem::temp_directory_path() / "vorn-fuzz-XXXXXX").string();
    std::filesystem::path root = ::mkdtemp(pattern.data());
    ::setenv("VORN_DEVICE", root.c_str(), 1);
    platform::setDeviceRoot(root);
    platform::createFolder(kDownloadPath);
    writeText(L"\\app\\dstinfo.dat",
              "25~0~0~0~0~0~0~0~0~0~0~UTC~-\n26~-60~0~0~0~0~0~0~0~0~0~UTC+1~-\n"
              "64~-330~0~0~0~0~0~0~0~0~0~UTC+5:30~-\n55~-60~-60~5~3~0~2~5~10~0~3~CET~-");
    worldtime::loadZones(kMainPath);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    writeText(L"\\app\\citylist.dat", "55~Paris~France~48.85~2.35~~FR1~0~Europe~");
    writeText(L"\\app\\mycities.dat", "55~Paris~France~48.85~2.35~~FR1~1~Europe~");
    platform::writeFileAtomic(std::wstring(kDownloadPath) + L"searchresult.dat", {data, size});
    core::RecordTable favourites(worldtime::cityField::Count);
    worldtime::CityDatabase db{std::wstring(kMainPath), std::wstring(kDownloadPath), favourites};
    db.loadFavourites();
    if (!db.loadSearchResults())
        return 0;
    const core::RecordTable& results = db.results();
    for (int row = 1; row <= results.rowCount(); ++row) {
        int zone = worldtime::cityZone(results, row);
        if (worldtime::findZone(zone) == 0)
            __builtin_trap();
        if (results.fieldText(row, worldtime::cityField::Code).empty())
            __builtin_trap();
    }
    if (results.columnCount() < worldtime::cityField::Count)
        __builtin_trap();
    db.addSearchResults();
    core::RecordTable list(worldtime::cityField::Count);
    list.load(kMainPath, L"citylist.dat", L'~', true);
    if (list.rowCount() < 1)
        __builtin_trap();
    return 0;
}
