// The quick way into the city list: the rows it parses must be exactly those where a looked-up
// column holds the name, parsed as the table's own reader parses them, and it must decline whatever
// it cannot scan rather than miss a city.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/record_table.h"
#include "core/text_case.h"
#include "platform/api/device.h"
#include "tests/worldtime/support/world_test_support.h"
#include "worldtime/cities.h"
#include "worldtime/city_scan.h"

using namespace worldtime;
using worldtime::test::kMainPath;

namespace {

// Case and the accents of the test rows dropped, as a command line folds names.
std::wstring fold(std::wstring_view text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'\u00ED')
            c = L'i';
        if (c == L'\u00FC' || c == L'\u00DC')
            c = L'u';
        out += core::foldCase(c);
    }
    return out;
}

constexpr std::string_view kRows =
    "54~London~United Kingdom~51.5085~-0.1257~Europe/London~GB2643743~0~Europe~8961989\n"
    "40~Reykjav\xC3\xADk~Iceland~64.1355~-21.8954~Atlantic/Reykjavik~IS3413829~0~Europe~118918\n"
    "55~Z\xC3\xBCrich~Switzerland~47.3667~8.55~Europe/Zurich~CH2657896~0~Europe~341730\r\n"
    "47~New London~United States~41.3557~-72.0995~America/New_York~US4839416~0~America~27179\n"
    "55~\xC3\x9C"
    "berlingen~Germany~47.7667~9.1667~Europe/Berlin~DE2820087~0~Europe~21000\n"
    "36~Tokyo~Japan~35.6895~139.6917~Asia/Tokyo~JP1850147~0~Asia~8336599\n"
    "36~Sapporo~Japan~43.0667~141.35~Asia/Tokyo~JP2128295~0~Asia~1883027";

class CityScan : public ::testing::Test {
  protected:
    void SetUp() override {
        worldtime::test::installData({});
        worldtime::test::writeDeviceText(std::wstring(kMainPath) + L"scan.dat", kRows);
    }

    static std::vector<std::wstring> names(const core::RecordTable& table) {
        std::vector<std::wstring> out;
        for (int row = 1; row <= table.rowCount(); ++row)
            out.emplace_back(table.fieldText(row, cityField::Name));
        return out;
    }

    static std::optional<core::RecordTable> rows(std::vector<std::wstring> texts,
                                                 std::vector<int> columns = {cityField::Name,
                                                                             cityField::Country,
                                                                             cityField::Code}) {
        auto scan = CityFileScan::open(kMainPath, L"scan.dat", &fold);
        if (!scan)
            return std::nullopt;
        return scan->rowsHolding(texts, columns);
    }
};

}  // namespace

TEST_F(CityScan, FindsRowsWhateverTheCaseAndAccentsInFileOrder) {
    using V = std::vector<std::wstring>;
    EXPECT_EQ(names(*rows({L"london"})), (V{L"London", L"New London"}));
    EXPECT_EQ(names(*rows({L"reykjavik"})), (V{L"Reykjav\u00EDk"}));
    EXPECT_EQ(names(*rows({L"zurich"})), (V{L"Z\u00FCrich"}));
    // A text found in a field other than the name, or only across an accent.
    EXPECT_EQ(names(*rows({L"jp1850147"})), (V{L"Tokyo"}));
    EXPECT_EQ(names(*rows({L"uberl"})), (V{L"\u00DCberlingen"}));
    // Two texts give each row once, in the file's order.
    EXPECT_EQ(names(*rows({L"tokyo", L"london", L"new london"})),
              (V{L"London", L"New London", L"Tokyo"}));
    EXPECT_TRUE(rows({L"atlantis"})->empty());
    EXPECT_TRUE(rows({L"lon\ndon"})->empty());
}

// Every Japanese city's zone column says "Asia/Tokyo": a look-up of Tokyo by name must not
// parse them all.
TEST_F(CityScan, OnlyTheAskedForColumnsAreSearched) {
    using V = std::vector<std::wstring>;
    EXPECT_EQ(names(*rows({L"tokyo"})), (V{L"Tokyo"}));
    EXPECT_TRUE(rows({L"europe"})->empty()) << "in the zone and region columns only";
    EXPECT_EQ(names(*rows({L"japan"})), (V{L"Tokyo", L"Sapporo"}));
    EXPECT_EQ(names(*rows({L"tokyo"}, {6})), (V{L"Tokyo", L"Sapporo"}));
    // Behind an accent the column is found in the folded line.
    EXPECT_TRUE(rows({L"europe/berlin"}, {cityField::Name})->empty());
    EXPECT_EQ(names(*rows({L"europe/berlin"}, {6})), (V{L"\u00DCberlingen"}));
    EXPECT_EQ(names(*rows({L"switzerland"}, {cityField::Country})), (V{L"Z\u00FCrich"}));
    EXPECT_TRUE(rows({L"switzerland"}, {cityField::Name})->empty());
    // No field holds the separator.
    EXPECT_TRUE(rows({L"tokyo~japan"})->empty());
}

TEST_F(CityScan, RowsAreTheRowsTheTableReaderMakes) {
    core::RecordTable full(cityField::Count);
    full.load(kMainPath, L"scan.dat", L'~', true);
    widenTable(full, cityField::Count);
    auto all = rows({L"0"}, {cityField::Favourite});  // every row's favourite column
    ASSERT_TRUE(all);
    ASSERT_EQ(all->rowCount(), full.rowCount());
    for (int row = 1; row <= full.rowCount(); ++row) {
        for (int column = 1; column <= cityField::Count; ++column) {
            EXPECT_EQ(all->fieldText(row, column), full.fieldText(row, column))
                << "row " << row << " column " << column;
        }
    }
}

TEST_F(CityScan, DeclinesWhatItCannotScan) {
    // A name beyond ASCII after folding, or an empty one.
    EXPECT_FALSE(rows({L"\u4E1C\u4EAC"}));
    EXPECT_FALSE(rows({L""}));
    // A fold that changes ASCII other than by lower-casing letters.
    auto oddFold = [](std::wstring_view text) {
        std::wstring out(text);
        for (wchar_t& c : out)
            if (c == L'-')
                c = L' ';
        return fold(out);
    };
    EXPECT_FALSE(CityFileScan::open(kMainPath, L"scan.dat", oddFold));
    // A file without the UTF-8 mark is read in the device's code page, a missing one not at all.
    std::string plain(kRows);
    platform::writeFileAtomic(
        std::wstring(kMainPath) + L"plain.dat",
        std::span(reinterpret_cast<const std::uint8_t*>(plain.data()), plain.size()));
    EXPECT_FALSE(CityFileScan::open(kMainPath, L"plain.dat", &fold));
    EXPECT_FALSE(CityFileScan::open(kMainPath, L"missing.dat", &fold));
}

// A damaged line among the candidates is left to the whole list's reader, which names the
// damage; a damaged line elsewhere does not stop the scan.
TEST_F(CityScan, DeclinesWhenACandidateLineIsDamaged) {
    std::string damaged(kRows);
    damaged += "\n36~Osaka\xFF~Japan~34.69~135.50~Asia/Tokyo~JP1853909~0~Asia~2592413\n";
    damaged += "36~Kobe" + std::string(40, '~') + "\n";
    worldtime::test::writeDeviceText(std::wstring(kMainPath) + L"scan.dat", damaged);
    EXPECT_FALSE(rows({L"osaka"}));
    EXPECT_FALSE(rows({L"kobe"}));
    EXPECT_FALSE(rows({L"japan"}));
    // Osaka's line holds "Asia/Tokyo" in a column look-ups do not read.
    EXPECT_EQ(names(*rows({L"tokyo"})), (std::vector<std::wstring>{L"Tokyo"}));
    auto london = rows({L"london"});
    ASSERT_TRUE(london);
    EXPECT_EQ(names(*london), (std::vector<std::wstring>{L"London", L"New London"}));
}
