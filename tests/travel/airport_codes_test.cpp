// The airport table: the quoted loader against quoted, unquoted and malformed lines, sorting by
// each field, the letter tabs and the jump to a typed start, the search by code, city or name,
// and the shipped table's coverage of well-known airports.

#include <gtest/gtest.h>

#include <string>

#include "tests/travel/support/travel_test_support.h"
#include "travel/airport_codes.h"

using namespace travel;
using travel::test::kMainPath;

namespace {

class Airports : public ::testing::Test {
  protected:
    void SetUp() override { travel::test::prepareDevice(); }
    static void write(std::string_view text) {
        travel::test::writeDeviceFile(std::wstring(kMainPath) + L"travel\\airportcodes.dat", text);
    }
    static std::wstring codes(const core::RecordTable& table, const std::vector<int>& rows) {
        std::wstring out;
        for (int row : rows) {
            if (!out.empty())
                out += L' ';
            out += table.fieldText(row, airportField::Code);
        }
        return out;
    }
    static std::wstring codes(const core::RecordTable& table) {
        std::wstring out;
        for (int row = 1; row <= table.rowCount(); ++row) {
            if (row > 1)
                out += L' ';
            out += table.fieldText(row, airportField::Code);
        }
        return out;
    }
};

}  // namespace

TEST_F(Airports, MissingFileGivesAnEmptyTable) {
    core::RecordTable table = loadAirports(kMainPath);
    EXPECT_EQ(table.rowCount(), 0);
    std::vector<int> rows = airportTabRows(table, airportField::Code, kAllAirportsTab);
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(firstAirportRowWith(table, rows, airportField::Code, L"z"), 0);
    EXPECT_TRUE(findAirports(table, L"zur").empty());
}

TEST_F(Airports, QuotedFieldsKeepTheirCommas) {
    write(
        "\xEF\xBB\xBF\"ZRH\",\"Z\xC3\xBCrich Airport\",\"Zurich, Switzerland\"\n"
        "\"LHR\",\"London Heathrow Airport\",\"London, United Kingdom\"\r\n");
    core::RecordTable table = loadAirports(kMainPath);
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(codes(table), L"LHR ZRH");
    EXPECT_EQ(table.fieldText(2, airportField::Name), L"Zürich Airport");
    EXPECT_EQ(table.fieldText(2, airportField::City), L"Zurich, Switzerland");
    EXPECT_EQ(table.fieldText(1, airportField::City), L"London, United Kingdom");
}

TEST_F(Airports, MalformedLinesNeitherCrashNorShiftOtherRows) {
    write(
        "\"AAA\",\"Anaa Airport\"\n"                  // a field short
        "BBB,Plain Airport,Plainville\n"              // unquoted
        "\"CCC\",\"Open quote,Nowhere\n"              // quote never closed
        "\n"                                          // empty line
        ",\"No Code Airport\",\"Somewhere, Land\"\n"  // no code: dropped
        "\"DDD\",\"Extra\",\"Field, X\",\"more\",\"yet more\"\n"
        "\"EEE\",\"Last Airport\",\"Lastville, Y\"");  // no final line end
    core::RecordTable table = loadAirports(kMainPath);
    EXPECT_EQ(codes(table), L"AAA BBB CCC DDD EEE");
    EXPECT_EQ(table.fieldText(1, airportField::City), L"");
    EXPECT_EQ(table.fieldText(2, airportField::City), L"Plainville");
    EXPECT_EQ(table.fieldText(4, airportField::City), L"Field, X");
    EXPECT_EQ(table.fieldText(5, airportField::Name), L"Last Airport");
    EXPECT_EQ(table.fieldText(5, airportField::City), L"Lastville, Y");
}

TEST_F(Airports, SortsStablyByEachField) {
    write(
        "\"SYD\",\"Airport Kingsford Smith\",\"Sydney, Australia\"\n"
        "\"SXF\",\"Berlin Brandenburg Airport\",\"Berlin, Germany\"\n"
        "\"ADL\",\"Adelaide Airport\",\"Adelaide, Australia\"\n"
        "\"BER\",\"Berlin Brandenburg Airport\",\"Berlin, Germany\"\n");
    core::RecordTable table = loadAirports(kMainPath);
    EXPECT_EQ(codes(table), L"ADL BER SXF SYD");
    // Sorting again keeps the order of equal rows as they stand: BER before SXF.
    sortAirports(table, airportField::City);
    EXPECT_EQ(codes(table), L"ADL BER SXF SYD");
    sortAirports(table, airportField::Name);
    EXPECT_EQ(codes(table), L"ADL SYD BER SXF");
    // Loaded sorted by a field, equal rows keep the file's order.
    EXPECT_EQ(codes(loadAirports(kMainPath, airportField::City)), L"ADL SXF BER SYD");
    EXPECT_EQ(codes(loadAirports(kMainPath, airportField::Name)), L"ADL SYD SXF BER");
    // A field that is none of the three sorts by code.
    EXPECT_EQ(codes(loadAirports(kMainPath, 7)), L"ADL BER SXF SYD");
}

TEST_F(Airports, TabsKeepRowsWhoseSortFieldStartsWithTheirLetters) {
    write(
        "\"VIE\",\"Vienna International Airport\",\"Vienna, Austria\"\n"
        "\"SIN\",\"Singapore Changi Airport\",\"Singapore, Singapore\"\n"
        "\"TXL\",\"Tegel Airport\",\"Berlin, Germany\"\n"
        "\"UIO\",\"Mariscal Sucre Airport\",\"Quito, Ecuador\"\n"
        "\"YYZ\",\"Toronto Pearson Airport\",\"Toronto, Canada\"\n"
        "\"ZRH\",\"Z\xC3\xBCrich Airport\",\"Zurich, Switzerland\"\n"
        "\"AAL\",\"\xC3\x85lborg Airport\",\"Aalborg, Denmark\"\n");
    core::RecordTable table = loadAirports(kMainPath);
    EXPECT_EQ(codes(table, airportTabRows(table, airportField::Code, 7)), L"SIN TXL UIO");  // stu
    EXPECT_EQ(codes(table, airportTabRows(table, airportField::Code, 9)), L"YYZ ZRH");      // yzz
    // By name the tab looks at the name's initial, accents aside.
    sortAirports(table, airportField::Name);
    EXPECT_EQ(codes(table, airportTabRows(table, airportField::Name, 1)), L"AAL");  // abc
    // Singapore, Tegel, Toronto; not Vienna.
    EXPECT_EQ(codes(table, airportTabRows(table, airportField::Name, 7)), L"SIN TXL YYZ");
    // Sorting by field 2 and choosing "all" shows every airport ordered by field 2.
    std::vector<int> all = airportTabRows(table, airportField::Name, kAllAirportsTab);
    ASSERT_EQ(all.size(), 7u);
    for (std::size_t i = 1; i < all.size(); ++i)
        EXPECT_LE(table.fieldText(all[i - 1], airportField::Name),
                  table.fieldText(all[i], airportField::Name));
    EXPECT_TRUE(airportTabRows(table, airportField::Name, 11).empty());
    EXPECT_TRUE(airportTabRows(table, airportField::Name, 0).empty());
}

TEST_F(Airports, JumpsToTheFirstRowStartingWithTheTypedText) {
    write(
        "\"ZAG\",\"Zagreb Airport\",\"Zagreb, Croatia\"\n"
        "\"ZRH\",\"Z\xC3\xBCrich Airport\",\"Zurich, Switzerland\"\n"
        "\"ZTH\",\"Zakynthos Airport\",\"Zakynthos, Greece\"\n");
    core::RecordTable table = loadAirports(kMainPath, airportField::Name);
    std::vector<int> rows = airportTabRows(table, airportField::Name, 9);
    ASSERT_EQ(rows.size(), 3u);
    auto codeAt = [&](int position) {
        return std::wstring(table.fieldText(rows[position - 1], airportField::Code));
    };
    EXPECT_EQ(codeAt(firstAirportRowWith(table, rows, airportField::Name, L"zur")), L"ZRH");
    EXPECT_EQ(codeAt(firstAirportRowWith(table, rows, airportField::Name, L"ZAK")), L"ZTH");
    // Nothing fits: the first row.
    EXPECT_EQ(firstAirportRowWith(table, rows, airportField::Name, L"zz"), 1);
}

TEST_F(Airports, FindsByCodeCityOrNameIgnoringCaseAndAccents) {
    write(
        "\"ZRH\",\"Z\xC3\xBCrich Airport\",\"Zurich, Switzerland\"\n"
        "\"BSL\",\"EuroAirport Basel-Mulhouse-Freiburg\",\"Basel, Switzerland\"\n"
        "\"LCY\",\"London City Airport\",\"London, United Kingdom\"\n"
        "\"LHR\",\"London Heathrow Airport\",\"London, United Kingdom\"\n"
        "\"ZRC\",\"Other Airport\",\"Somewhere near Zurich, Switzerland\"\n");
    core::RecordTable table = loadAirports(kMainPath);
    auto codesOf = [&](std::wstring_view query) {
        std::wstring out;
        for (int row : findAirports(table, query))
            out += std::wstring(table.fieldText(row, airportField::Code)) + L" ";
        return out;
    };
    EXPECT_EQ(codesOf(L"zrh"), L"ZRH ");
    EXPECT_EQ(codesOf(L"ZÜRICH"), L"ZRH ZRC ");
    EXPECT_EQ(codesOf(L"heathrow"), L"LHR ");
    EXPECT_EQ(codesOf(L"london"), L"LCY LHR ");
    // Held in the city only: table order.
    EXPECT_EQ(codesOf(L"switzerland"), L"BSL ZRC ZRH ");
    EXPECT_EQ(codesOf(L"  "), L"");
    EXPECT_EQ(codesOf(L"nowhere at all"), L"");
}

TEST(AirportTabs, LabelsAndLetters) {
    EXPECT_EQ(airportTabLabel(1), L"abc");
    EXPECT_EQ(airportTabLabel(9), L"yzz");
    EXPECT_EQ(airportTabLabel(10), L"all");
    EXPECT_EQ(airportTabLabel(0), L"");
    EXPECT_EQ(airportTabOf(L'v'), 8);
    EXPECT_EQ(airportTabOf(L'S'), 7);
    EXPECT_EQ(airportTabOf(L'Ö'), 5);
    EXPECT_EQ(airportTabOf(L'1'), 0);
}

TEST_F(Airports, ShippedTableHoldsTheBusyAirportsWithTheirCities) {
    travel::test::prepareDevice({"travel/airportcodes.dat"});
    core::RecordTable table = loadAirports(kMainPath);
    EXPECT_GT(table.rowCount(), 4000);
    struct Known {
        const wchar_t* code;
        const wchar_t* city;
    };
    for (Known known :
         {Known{L"ZRH", L"Zurich, Switzerland"}, Known{L"LHR", L"London, United Kingdom"},
          Known{L"JFK", L"New York, United States"}, Known{L"HND", L"Tokyo, Japan"},
          Known{L"SYD", L"Sydney, Australia"}, Known{L"GRU", L"São Paulo, Brazil"}}) {
        int row = table.find(airportField::Code, known.code);
        ASSERT_GT(row, 0) << known.code;
        EXPECT_EQ(table.fieldText(row, airportField::City), known.city) << known.code;
    }
    // Codes are unique and three letters.
    for (int row = 2; row <= table.rowCount(); ++row) {
        ASSERT_NE(table.fieldText(row - 1, airportField::Code),
                  table.fieldText(row, airportField::Code));
        ASSERT_EQ(table.fieldText(row, airportField::Code).size(), 3u);
    }
}
