// Names of the weather files, the keys that may build them, and their removal.

#include "weather/weather_files.h"

#include <array>

#include "core/text_case.h"
#include "platform/api/device.h"
#include "worldtime/cities.h"

namespace weather {
namespace {

constexpr std::size_t kMaxKeyLength = 64;

// The suffix after the city code of each table and picture kind a city owns.
struct KindName {
    int kind;
    std::wstring_view suffix;
};
constexpr std::array<KindName, 8> kCityFiles{{{fileKind::Daily, L".dat"},
                                              {fileKind::Periods, L"_d.dat"},
                                              {fileKind::Current, L"_c.dat"},
                                              {fileKind::ForecastMap, L"_m.dat"},
                                              {fileKind::Outlook, L"_a.dat"},
                                              {fileKind::Summary, L"_s.dat"},
                                              {fileKind::Week, L"_w.dat"},
                                              {fileKind::UserMap, L"_m4.dat"}}};

constexpr std::array<std::wstring_view, 10> kRadarRegions{
    L"Europe", L"Australia",   L"Russia",    L"CentralAsia", L"Africa",
    L"Japan",  L"Scandinavia", L"Indonesia", L"Caribbean",   L"BritishIsles"};

}  // namespace

int fieldCountOf(int kind) {
    switch (kind) {
        case fileKind::Current:
            return currentField::Count;
        case fileKind::Outlook:
            return outlookField::Count;
        case fileKind::Summary:
            return kSummaryFieldCount;
        case fileKind::Week:
            return kWeekFieldCount;
        case fileKind::ForecastMap:
        case fileKind::UserMap:
        case fileKind::Satellite:
        case fileKind::Radar:
            return 0;
        default:
            return forecastField::Count;
    }
}

bool isPictureKind(int kind) {
    return kind == fileKind::ForecastMap || kind == fileKind::UserMap;
}

bool isFrameKind(int kind) {
    return kind == fileKind::Satellite || kind == fileKind::Radar;
}

bool isSafeKey(std::wstring_view key) {
    if (key.empty() || key.size() > kMaxKeyLength || key.find(L"..") != std::wstring_view::npos)
        return false;
    for (wchar_t c : key) {
        if (c < 0x20 || c == 0x7f || c == L'\\' || c == L'/' || c == L':' || c == L'*' ||
            c == L'?' || c == L'"' || c == L'<' || c == L'>' || c == L'|')
            return false;
    }
    return true;
}

std::wstring fileNameOf(int kind, std::wstring_view code) {
    std::wstring name(code);
    for (const KindName& file : kCityFiles) {
        if (file.kind == kind)
            return name.append(file.suffix);
    }
    return name;
}

std::wstring frameStemOf(int kind, std::wstring_view region) {
    return std::wstring(region).append(kind == fileKind::Radar ? L"_rad" : L"_sat");
}

std::wstring frameNameOf(std::wstring_view stem, int frame) {
    return std::wstring(stem).append(std::to_wstring(frame)).append(L".dat");
}

std::wstring mapRegionOf(const core::RecordTable& favourites, std::wstring_view code) {
    if (code.empty())
        return {};
    const int row = favourites.find(worldtime::cityField::Code, code);
    return row ? std::wstring(favourites.fieldText(row, worldtime::cityField::MapRegion))
               : std::wstring();
}

bool isRadarRegion(std::wstring_view region) {
    for (std::wstring_view known : kRadarRegions) {
        if (core::equalsIgnoringCase(known, region))
            return true;
    }
    return false;
}

int deleteFiles(std::wstring_view folder, std::wstring_view code) {
    if (!isSafeKey(code))
        return 0;
    int deleted = 0;
    for (const KindName& file : kCityFiles) {
        if (platform::deleteFile(core::joinDevicePath(folder, fileNameOf(file.kind, code))))
            ++deleted;
    }
    return deleted;
}

int deleteFrames(std::wstring_view folder, std::wstring_view region) {
    // An empty region still names the frames the comms program leaves without one.
    if (!region.empty() && !isSafeKey(region))
        return 0;
    int deleted = 0;
    for (int kind : {fileKind::Satellite, fileKind::Radar}) {
        const std::wstring stem = frameStemOf(kind, region);
        for (int frame = 0; frame <= kLastFrame; ++frame) {
            if (platform::deleteFile(core::joinDevicePath(folder, frameNameOf(stem, frame))))
                ++deleted;
        }
    }
    return deleted;
}

std::wstring conditionIconPath(int number) {
    return L"icons\\customweather\\" + std::to_wstring(number) + L".tga";
}

std::wstring bandIconPath(int number) {
    if (number < 1 || number > 6)
        return conditionIconPath(kNoReportIcon);
    return L"icons\\customweather\\a" + std::to_wstring(number) + L".tga";
}

}  // namespace weather
