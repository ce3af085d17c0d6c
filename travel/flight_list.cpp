#include "travel/flight_list.h"

#include <cwctype>

#include "core/format.h"
#include "core/language.h"
#include "platform/api/device.h"
#include "travel/airline_table.h"

namespace travel {

namespace {

constexpr std::wstring_view kExtension = L".fls";

bool endsWithExtension(std::wstring_view name) {
    if (name.size() <= kExtension.size())
        return false;
    std::wstring_view tail = name.substr(name.size() - kExtension.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (static_cast<wchar_t>(std::towlower(tail[i])) != kExtension[i])
            return false;
    }
    return true;
}

}  // namespace

bool isSafeFlightFileName(std::wstring_view name) {
    if (name.empty() || name.size() > kMaxFlightFileName || name.front() == L'.' ||
        !endsWithExtension(name))
        return false;
    for (wchar_t c : name) {
        if (c < 0x20 || c == 0x7F)
            return false;
        if (std::wstring_view(L"\\/:*?\"<>|~").find(c) != std::wstring_view::npos)
            return false;
    }
    return name.find(L"..") == std::wstring_view::npos;
}

std::wstring flightFileName(std::wstring_view airlineCode, std::wstring_view number) {
    std::wstring name(airlineCode);
    name += L'_';
    name += number;
    name += kExtension;
    return name;
}

core::RecordTable listSavedFlights(std::wstring_view downloadPath,
                                   const core::RecordTable& airlines) {
    core::RecordTable list(kSavedFlightColumns);
    int query = list.appendRow();
    list.setField(query, savedFlightField::Label, core::languageString(flightListString::NewQuery));
    if (downloadPath.empty())
        return list;
    for (const platform::DirectoryEntry& entry : platform::listFolder(downloadPath, L"*.fls")) {
        const std::wstring& name = entry.name;
        if (!isSafeFlightFileName(name))
            continue;
        std::wstring_view stem(name.data(), name.size() - kExtension.size());
        std::size_t underscore = stem.find(L'_');
        std::wstring_view code = stem.substr(0, underscore);
        std::wstring_view number;
        if (underscore != std::wstring_view::npos)
            number = stem.substr(underscore + 1, stem.find(L'.', underscore + 1) - underscore - 1);
        std::wstring airline = airlineNameOf(airlines, code);
        std::wstring label =
            airline.empty()
                ? core::formatText(core::languageString(flightListString::AirlineAlone), code)
                : core::formatText(core::languageString(flightListString::AirlineAndName), code,
                                   airline);
        if (airline.empty())
            airline = core::languageString(flightListString::UnknownAirline);
        int row = list.appendRow();
        list.setField(row, savedFlightField::Label, label);
        list.setField(row, savedFlightField::AirlineCode, code);
        list.setField(row, savedFlightField::AirlineName, airline);
        list.setField(row, savedFlightField::Number, number);
        list.setField(row, savedFlightField::Saved, L"1");
        list.setField(row, savedFlightField::FileName, name);
    }
    return list;
}

int savedFlightRow(const core::RecordTable& list, std::wstring_view fileName) {
    if (fileName.empty())
        return 0;
    return list.find(savedFlightField::FileName, fileName, true);
}

bool deleteSavedFlight(std::wstring_view downloadPath, std::wstring_view fileName) {
    if (!isSafeFlightFileName(fileName) || downloadPath.empty())
        return false;
    const std::wstring path = core::joinDevicePath(downloadPath, fileName);
    auto host = platform::hostPath(path);
    auto folder = platform::hostPath(downloadPath);
    if (!host || !folder || !platform::resolvesInside(*host, *folder))
        return false;
    return platform::deleteFile(path);
}

}  // namespace travel
