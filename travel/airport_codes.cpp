#include "travel/airport_codes.h"

#include <array>

#include "platform/api/locale.h"
#include "worldtime/cities.h"

namespace travel {

namespace {

constexpr std::array<std::wstring_view, 10> kTabLabels = {L"abc", L"def", L"ghi", L"jkl", L"mno",
                                                          L"pqr", L"stu", L"vwx", L"yzz", L"all"};

int validField(int field) {
    return field >= airportField::Code && field <= airportField::City ? field : airportField::Code;
}

wchar_t initialOf(std::wstring_view text) {
    return text.empty() ? L'\0' : platform::searchLetter(text.front());
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
    wchar_t letter = platform::searchLetter(character);
    if (letter == 0)
        return 0;
    for (int tab = 1; tab < kAllAirportsTab; ++tab) {
        if (kTabLabels[tab - 1].find(letter) != std::wstring_view::npos)
            return tab;
    }
    return 0;
}

void filterAirports(const core::RecordTable& all, int sortField, int tab, core::RecordTable& view) {
    view.clear();
    view.widenTo(all.columnCount());
    if (tab < 1 || tab > kAllAirportsTab)
        return;
    const int field = validField(sortField);
    for (int row = 1; row <= all.rowCount(); ++row) {
        if (tab != kAllAirportsTab) {
            wchar_t initial = initialOf(all.fieldText(row, field));
            if (initial == 0 || airportTabOf(initial) != tab)
                continue;
        }
        int added = view.appendRow();
        for (int column = 1; column <= all.columnCount(); ++column)
            view.setField(added, column, all.fieldText(row, column));
    }
}

int firstAirportRowWith(const core::RecordTable& view, int sortField, std::wstring_view prefix) {
    if (view.empty())
        return 0;
    const std::wstring wanted = worldtime::searchKey(prefix);
    const int field = validField(sortField);
    for (int row = 1; row <= view.rowCount(); ++row) {
        if (startsWith(view.fieldText(row, field), wanted))
            return row;
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
