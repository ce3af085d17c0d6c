#pragma once
// International dialling codes: dialcodes.dat in the install folder, a record table of
// country ~ calling code ~ international (exit) prefix ~ national (trunk) prefix, and its
// views by letter group. A prefix written "8-10" means: dial 8, wait for the tone, dial 10.

#include <string>
#include <string_view>
#include <vector>

#include "core/record_table.h"

namespace worldtime {

namespace dialField {
constexpr int Country = 1, CallingCode = 2, ExitPrefix = 3, TrunkPrefix = 4;
}

constexpr int kDialColumns = 4;
constexpr int kAllLettersGroup = 10;

// The table of mainPath + "dialcodes.dat", quotes stripped, sorted by country (a stable
// sort). A missing or empty file gives an empty table; damage() tells what a load found.
core::RecordTable loadDialCodes(std::wstring_view mainPath);

// The letters of group 1 to 9 ("abc" ... "yzz", which is y and z); empty for group 10 (every
// row) and for a
// number outside 1..10.
std::wstring_view dialLetterGroup(int group);
// The group whose letters hold the character, case and accents aside ("Å" is in "abc");
// 0 for a character in none.
int dialGroupOf(wchar_t character);
// Whether the country belongs to the group: its first letter is one of the group's; group 10
// holds every country. A number outside 1..10 holds none.
bool inDialGroup(std::wstring_view country, int group);

// The rows of the group, in the table's order, into view (which takes the table's columns).
void filterDialCodes(const core::RecordTable& all, int group, core::RecordTable& view);

// The first row of the view whose country starts with the character, case and accents aside;
// row 1 when none does; 0 for an empty view.
int firstDialRowWith(const core::RecordTable& view, wchar_t initial);

// The rows whose country the query names: the one whose name equals it (case and accents
// aside) alone, else every country whose name starts with it, else every one that holds it.
std::vector<int> findDialCountries(const core::RecordTable& all, std::wstring_view query);

}  // namespace worldtime
