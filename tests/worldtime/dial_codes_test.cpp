// Dialling codes: the table loaded and sorted, the letter groups and the jump to an initial,
// a missing file as an empty list, finding a country by name, and the shipped table checked
// against calling codes and prefixes everyone can look up.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tests/worldtime/support/world_test_support.h"
#include "worldtime/dial_codes.h"

using namespace worldtime;
using worldtime::test::kMainPath;

namespace {

std::wstring countryOf(const core::RecordTable& table, int row) {
    return std::wstring(table.fieldText(row, dialField::Country));
}

class DialCodes : public ::testing::Test {
  protected:
    void SetUp() override { worldtime::test::installData({}); }
    static void write(std::string_view text) {
        worldtime::test::writeDeviceText(std::wstring(kMainPath) + L"dialcodes.dat", text);
    }
};

}  // namespace

TEST_F(DialCodes, MissingFileGivesAnEmptyList) {
    core::RecordTable table = loadDialCodes(kMainPath);
    EXPECT_EQ(table.rowCount(), 0);
    core::RecordTable view;
    filterDialCodes(table, kAllLettersGroup, view);
    EXPECT_EQ(view.rowCount(), 0);
    EXPECT_EQ(firstDialRowWith(view, L'a'), 0);
    EXPECT_TRUE(findDialCountries(table, L"france").empty());
}

TEST_F(DialCodes, LoadedSortedWithQuotesStrippedAndBlankCountriesDropped) {
    write("\"Zambia\"~260~00~0\nBelgium~32~00~0\n~1~011~1\nAustria~43~00~0\nCanada~1~011\n");
    core::RecordTable table = loadDialCodes(kMainPath);
    ASSERT_EQ(table.rowCount(), 4);
    EXPECT_EQ(countryOf(table, 1), L"Austria");
    EXPECT_EQ(countryOf(table, 2), L"Belgium");
    EXPECT_EQ(countryOf(table, 3), L"Canada");
    EXPECT_EQ(countryOf(table, 4), L"Zambia");
    // A row that lacks the trunk column reads it as empty.
    EXPECT_EQ(table.fieldText(3, dialField::TrunkPrefix), L"");
    EXPECT_EQ(table.fieldText(3, dialField::ExitPrefix), L"011");
}

TEST_F(DialCodes, LetterGroupsKeepTheSortedOrder) {
    write(
        "Yemen~967~00~0\nZambia~260~00~0\nÅland Islands~358~00~0\nAustria~43~00~0\n"
        "Belgium~32~00~0\nChad~235~00\nDenmark~45~00\nxylophonia~999~00\n"
        "Vanuatu~678~00\n1 Test~1~1\n");
    core::RecordTable table = loadDialCodes(kMainPath);
    core::RecordTable view;

    filterDialCodes(table, 1, view);  // "abc", accents aside
    ASSERT_EQ(view.rowCount(), 4);
    EXPECT_EQ(countryOf(view, 1), L"Austria");
    EXPECT_EQ(countryOf(view, 2), L"Belgium");
    EXPECT_EQ(countryOf(view, 3), L"Chad");
    EXPECT_EQ(countryOf(view, 4), L"Åland Islands");
    EXPECT_EQ(view.columnCount(), table.columnCount());

    filterDialCodes(table, 9, view);  // the countries beginning with Y or Z
    ASSERT_EQ(view.rowCount(), 2);
    EXPECT_EQ(countryOf(view, 1), L"Yemen");
    EXPECT_EQ(countryOf(view, 2), L"Zambia");

    filterDialCodes(table, 8, view);  // "vwx", lower case too
    ASSERT_EQ(view.rowCount(), 2);
    EXPECT_EQ(countryOf(view, 1), L"Vanuatu");
    EXPECT_EQ(countryOf(view, 2), L"xylophonia");

    filterDialCodes(table, kAllLettersGroup, view);
    EXPECT_EQ(view.rowCount(), table.rowCount());
    filterDialCodes(table, 11, view);
    EXPECT_EQ(view.rowCount(), 0);
    filterDialCodes(table, 0, view);
    EXPECT_EQ(view.rowCount(), 0);

    EXPECT_EQ(dialGroupOf(L'Z'), 9);
    EXPECT_EQ(dialGroupOf(L'é'), 2);
    EXPECT_EQ(dialGroupOf(L'1'), 0);
    EXPECT_EQ(dialLetterGroup(10), L"");
    EXPECT_EQ(dialLetterGroup(1), L"abc");
}

TEST_F(DialCodes, SelectionJumpsToTheFirstRowWithTheInitial) {
    write("Austria~43~00\nBelgium~32~00\nBhutan~975~00\nCanada~1~011\n");
    core::RecordTable table = loadDialCodes(kMainPath);
    core::RecordTable view;
    filterDialCodes(table, 1, view);
    EXPECT_EQ(firstDialRowWith(view, L'b'), 2);
    EXPECT_EQ(firstDialRowWith(view, L'C'), 4);
    EXPECT_EQ(firstDialRowWith(view, L'q'), 1);  // none: the first row
}

TEST_F(DialCodes, CountriesFoundByNameOrItsStart) {
    write(
        "Niger~227~00\nNigeria~234~009~0\nSaint Lucia~1~011~1\nCôte d'Ivoire~225~00\n"
        "United Kingdom~44~00~0\nUnited States~1~011~1\n");
    core::RecordTable table = loadDialCodes(kMainPath);
    // An exact name wins over the longer names it starts.
    auto found = findDialCountries(table, L"niger");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(countryOf(table, found[0]), L"Niger");
    found = findDialCountries(table, L"cote d'ivoire");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(table.fieldText(found[0], dialField::CallingCode), L"225");
    EXPECT_EQ(findDialCountries(table, L"united").size(), 2u);
    found = findDialCountries(table, L"lucia");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(countryOf(table, found[0]), L"Saint Lucia");
    EXPECT_TRUE(findDialCountries(table, L"").empty());
    EXPECT_TRUE(findDialCountries(table, L"atlantis").empty());
}

TEST_F(DialCodes, ShippedTableIsCompleteAndRight) {
    worldtime::test::installData({"dialcodes.dat"});
    core::RecordTable table = loadDialCodes(kMainPath);
    EXPECT_FALSE(table.damage().damaged());
    EXPECT_GE(table.rowCount(), 240);
    std::set<std::wstring> names;
    for (int row = 1; row <= table.rowCount(); ++row) {
        EXPECT_TRUE(names.insert(countryOf(table, row)).second) << row;
        EXPECT_FALSE(table.fieldText(row, dialField::CallingCode).empty()) << row;
        EXPECT_FALSE(table.fieldText(row, dialField::ExitPrefix).empty()) << row;
    }
    struct Known {
        const wchar_t* country;
        const wchar_t* code;
        const wchar_t* exit;
        const wchar_t* trunk;
    };
    const Known known[] = {
        {L"United Kingdom", L"44", L"00", L"0"}, {L"United States", L"1", L"011", L"1"},
        {L"Germany", L"49", L"00", L"0"},        {L"Italy", L"39", L"00", L""},
        {L"Japan", L"81", L"010", L"0"},         {L"Australia", L"61", L"0011", L"0"},
        {L"Kosovo", L"383", L"00", L"0"},        {L"Russia", L"7", L"8-10", L"8"},
        {L"Hungary", L"36", L"00", L"06"},       {L"Ascension Island", L"247", L"00", L""},
        {L"Saint Helena", L"290", L"00", L""},   {L"South Sudan", L"211", L"00", L"0"},
    };
    for (const Known& k : known) {
        int row = table.find(dialField::Country, k.country);
        ASSERT_NE(row, 0) << platform::toUtf8(k.country);
        EXPECT_EQ(table.fieldText(row, dialField::CallingCode), k.code);
        EXPECT_EQ(table.fieldText(row, dialField::ExitPrefix), k.exit);
        EXPECT_EQ(table.fieldText(row, dialField::TrunkPrefix), k.trunk);
    }
}
