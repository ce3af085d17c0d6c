// The companion table of regions and alternate names, "citynames.dat", as damage may leave it:
// any file loads, every name matched against a city that it describes is answered, and the
// command line's scan of the mapped file finds only rows that the whole table holds.

#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/record_table.h"
#include "platform/api/device.h"
#include "worldtime/cities.h"
#include "worldtime/city_match.h"
#include "worldtime/city_names.h"
#include "worldtime/city_scan.h"

namespace {

constexpr std::wstring_view kMainPath = L"\\app\\";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern = (std::filesystem::temp_directory_path() / "vorn-fuzz-XXXXXX").string();
    std::filesystem::path root = ::mkdtemp(pattern.data());
    ::setenv("VORN_DEVICE", root.c_str(), 1);
    platform::setDeviceRoot(root);
    platform::createFolder(kMainPath);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::writeFileAtomic(L"\\app\\citynames.dat", {data, size});
    worldtime::CityNames names;
    names.load(kMainPath);
    core::RecordTable list(worldtime::cityField::Count);
    int row = list.appendRow();
    list.setField(row, worldtime::cityField::Name, L"Portland");
    list.setField(row, worldtime::cityField::Country, L"United States");
    list.setField(row, worldtime::cityField::Code, L"US5746545");
    worldtime::CityKeys keys = worldtime::cityKeys(list, row, &names);
    for (const wchar_t* text : {L"portland, or", L"bombay", L"p", L",", L""})
        (void)worldtime::cityFit(keys, worldtime::CityQuery::parse(text));
    (void)names.codesWithAlternateStarting(L"bo");

    auto scan =
        worldtime::CityFileScan::open(kMainPath, worldtime::kCityNamesFile, &worldtime::searchKey,
                                      worldtime::cityNameField::Count);
    if (!scan)
        return 0;
    const std::wstring texts[] = {L"us5746545", L"bombay", L"a"};
    constexpr int kColumns[] = {worldtime::cityNameField::Code,
                                worldtime::cityNameField::Alternates};
    if (auto rows = scan->rowsHolding(texts, kColumns)) {
        if (rows->columnCount() != worldtime::cityNameField::Count)
            __builtin_trap();
        // A code the scan found is one the whole table knows.
        for (int r = 1; r <= rows->rowCount(); ++r) {
            std::wstring_view code = rows->fieldText(r, worldtime::cityNameField::Code);
            if (!code.empty() && !names.contains(code))
                __builtin_trap();
        }
    }
    return 0;
}
