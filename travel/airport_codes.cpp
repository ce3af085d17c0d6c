#include "travel/airport_codes.h"

#include <array>
#include <cstdint>
#include <cwctype>

#include "platform/api/locale.h"
#include "worldtime/cities.h"

namespace travel {

namespace {

constexpr std::array<std::wstring_view, 10> kTabLabels = {L"abc", L"def", L"ghi", L"jkl", L"mno",
                                                          L"pqr", L"stu", L"vwx", L"yzz", L"all"};

int validField(int field) {
    return field >= airportField::Code && field <= airportField::City ? field : airportField::Code;
}

// Whether the folded text starts with the folded prefix.
bool startsWith(std::wstring_view text, std::wstring_view foldedPrefix) {
    if (foldedPrefix.size() > text.size())
        return false;
    for (std::size_t i = 0; i < foldedPrefix.size(); ++i) {
        if (platform::searchLetter(text[i]) != foldedPrefix[i])
            return false;
    }
    return true;
}

}  // namespace

core::RecordTable loadAirports(std::wstring_view mainPath, int sortField) {
    core::RecordTable table(kAirportColumns);
    table.loadQuoted(core::joinDevicePath(mainPath, L"travel\\"), L"airportcodes.dat", L',');
    // A row without a code cannot be listed or asked for.
    for (int row = table.rowCount(); row >= 1; --row) {
        if (table.fieldText(row, airportField::Code).empty())
            table.removeRow(row);
    }
    table.widenTo(kAirportColumns);
    sortAirports(table, sortField);
    return table;
}

void sortAirports(core::RecordTable& airports, int sortField) {
    airports.sort(validField(sortField), false);
}

std::wstring_view airportTabLabel(int tab) {
    if (tab < 1 || tab > kAllAirportsTab)
        return {};
    return kTabLabels[tab - 1];
}

int airportTabOf(wchar_t character) {
    // The tab of each letter a to z, from the labels ("yzz" holds y and z).
    static constexpr std::array<std::uint8_t, 26> kTabOfLetter = [] {
        std::array<std::uint8_t, 26> tabs{};
        for (int tab = 1; tab < kAllAirportsTab; ++tab) {
            for (wchar_t c : kTabLabels[static_cast<std::size_t>(tab - 1)])
                tabs[static_cast<std::size_t>(c - L'a')] = static_cast<std::uint8_t>(tab);
        }
        return tabs;
    }();
    // Plain ASCII letters need no folding, which keeps the filter of a tab key quick.
    wchar_t letter = character < 0x80 ? static_cast<wchar_t>(std::towlower(character))
                                      : platform::searchLetter(character);
    if (letter < L'a' || letter > L'z')
        return 0;
    return kTabOfLetter[static_cast<std::size_t>(letter - L'a')];
}

std::vector<std::uint8_t> airportRowTabs(const core::RecordTable& all, int sortField) {
    const int field = validField(sortField);
    std::vector<std::uint8_t> tabs(static_cast<std::size_t>(all.rowCount()));
    for (int row = 1; row <= all.rowCount(); ++row) {
        std::wstring_view text = all.fieldText(row, field);
        tabs[static_cast<std::size_t>(row - 1)] =
            static_cast<std::uint8_t>(text.empty() ? 0 : airportTabOf(text.front()));
    }
    return tabs;
}

std::vector<int> airportTabRows(std::span<const std::uint8_t> rowTabs, int tab) {
    std::vector<int> rows;
    if (tab < 1 || tab > kAllAirportsTab)
        return rows;
    rows.reserve(tab == kAllAirportsTab ? rowTabs.size() : rowTabs.size() / 8);
    for (std::size_t i = 0; i < rowTabs.size(); ++i) {
        if (tab == kAllAirportsTab || rowTabs[i] == tab)
            rows.push_back(static_cast<int>(i) + 1);
    }
    return rows;
}

std::vector<int> airportTabRows(const core::RecordTable& all, int sortField, int tab) {
    return airportTabRows(airportRowTabs(all, sortField), tab);
}

int firstAirportRowWith(const core::RecordTable& all, std::span<const int> rows, int sortField,
                        std::wstring_view prefix) {
    if (rows.empty())
        return 0;
    const std::wstring wanted = worldtime::searchKey(prefix);
    const int field = validField(sortField);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (startsWith(all.fieldText(rows[i], field), wanted))
            return static_cast<int>(i) + 1;
    }
    return 1;
}

std::vector<int> findAirports(const core::RecordTable& all, std::wstring_view query) {
    const std::wstring wanted = worldtime::searchKey(query);
    if (wanted.empty())
        return {};
    std::vector<int> code, cityStart, nameStart, holding;
    for (int row = 1; row <= all.rowCount(); ++row) {
        if (worldtime::searchKey(all.fieldText(row, airportField::Code)) == wanted) {
            code.push_back(row);
            continue;
        }
        const std::wstring city = worldtime::searchKey(all.fieldText(row, airportField::City));
        const std::wstring name = worldtime::searchKey(all.fieldText(row, airportField::Name));
        if (city.starts_with(wanted))
            cityStart.push_back(row);
        else if (name.starts_with(wanted))
            nameStart.push_back(row);
        else if (city.find(wanted) != std::wstring::npos || name.find(wanted) != std::wstring::npos)
            holding.push_back(row);
    }
    for (const auto* group : {&cityStart, &nameStart, &holding})
        code.insert(code.end(), group->begin(), group->end());
    return code;
}

}  // namespace travel
