// The companion table of regions and alternate names, "citynames.dat", as damage may leave it:
// any file loads, and every name matched against a city that it describes is answered.

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
    return 0;
}
