#include "worldtime/dial_codes.h"

#include "platform/api/locale.h"
#include "worldtime/cities.h"

namespace worldtime {
namespace {

constexpr std::wstring_view kGroups[] = {L"abc", L"def", L"ghi", L"jkl", L"mno",
                                         L"pqr", L"stu", L"vwx", L"yzz"};

wchar_t initialOf(std::wstring_view text) {
    return text.empty() ? L'\0' : platform::searchLetter(text.front());
}

}  // namespace

core::RecordTable loadDialCodes(std::wstring_view mainPath) {
    core::RecordTable table(kDialColumns);
    table.load(mainPath, L"dialcodes.dat", L'~', true);
    // A row without a country cannot be listed or found.
    for (int row = table.rowCount(); row >= 1; --row) {
        if (table.fieldText(row, dialField::Country).empty())
            table.removeRow(row);
    }
    table.sort(dialField::Country, false);
    return table;
}

std::wstring_view dialLetterGroup(int group) {
    if (group < 1 || group > 9)
        return {};
    return kGroups[group - 1];
}

int dialGroupOf(wchar_t character) {
    wchar_t letter = platform::searchLetter(character);
    for (int group = 1; group <= 9; ++group) {
        if (kGroups[group - 1].find(letter) != std::wstring_view::npos)
            return group;
    }
    return 0;
}

bool inDialGroup(std::wstring_view country, int group) {
    if (group == kAllLettersGroup)
        return true;
    if (group < 1 || group > 9 || country.empty())
        return false;
    return dialGroupOf(country.front()) == group;
}

void filterDialCodes(const core::RecordTable& all, int group, core::RecordTable& view) {
    view.clear();
    view.widenTo(all.columnCount());
    for (int row = 1; row <= all.rowCount(); ++row) {
        if (!inDialGroup(all.fieldText(row, dialField::Country), group))
            continue;
        int added = view.appendRow();
        for (int column = 1; column <= all.columnCount(); ++column)
            view.setField(added, column, all.fieldText(row, column));
    }
}

int firstDialRowWith(const core::RecordTable& view, wchar_t initial) {
    if (view.empty())
        return 0;
    wchar_t wanted = platform::searchLetter(initial);
    for (int row = 1; row <= view.rowCount(); ++row) {
        if (initialOf(view.fieldText(row, dialField::Country)) == wanted)
            return row;
    }
    return 1;
}

std::vector<int> findDialCountries(const core::RecordTable& all, std::wstring_view query) {
    const std::wstring wanted = searchKey(query);
    std::vector<int> starting, holding;
    if (wanted.empty())
        return {};
    for (int row = 1; row <= all.rowCount(); ++row) {
        const std::wstring name = searchKey(all.fieldText(row, dialField::Country));
        if (name == wanted)
            return {row};
        std::size_t at = name.find(wanted);
        if (at == 0)
            starting.push_back(row);
        else if (at != std::wstring::npos)
            holding.push_back(row);
    }
    return starting.empty() ? holding : starting;
}

}  // namespace worldtime
