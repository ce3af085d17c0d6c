// The conversions against published exact definitions (the mile, the pound, the US gallon,
// the knot, the temperature scales), read from the conversion file the program ships, and the
// conversion list's behaviour with units it cannot convert.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "conversions/categories.h"
#include "conversions/conversion.h"
#include "platform/api/device.h"
#include "tests/platform/support/test_device.h"

namespace conversions {
namespace {

constexpr std::wstring_view kFolder = L"\\app\\conversions\\";

void writeDeviceFile(std::wstring_view name, std::string_view bytes) {
    platform::createFolder(kFolder);
    ASSERT_TRUE(platform::writeFileAtomic(
        std::wstring(kFolder) + std::wstring(name),
        {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}));
}

void installShippedFile(std::string_view name) {
    std::ifstream in(std::filesystem::path(VORN_SOURCE_DIR) / "data" / "conversions" / name,
                     std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(bytes.empty()) << name;
    writeDeviceFile(platform::fromUtf8(name), bytes);
}

const Category& categoryKeyed(const std::vector<Category>& categories, std::wstring_view key) {
    for (const Category& category : categories) {
        if (category.key == key)
            return category;
    }
    ADD_FAILURE() << "no category " << platform::toUtf8(key);
    return categories.front();
}

class ShippedFactorsTest : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        platform::test::useTestDevice();
        installShippedFile(GetParam());
        language_ = std::string(GetParam()).substr(5, 4);
        categories_ =
            loadCategories(kFolder, platform::fromUtf8(language_), L"Currency", L"Temperature");
    }
    // How many of `to` one `from` is, through the category's base amount.
    double ratio(std::wstring_view key, std::wstring_view from, std::wstring_view to) {
        UnitTable table = loadUnits(kFolder, categoryKeyed(categories_, key));
        const Unit* a = table.find(from);
        const Unit* b = table.find(to);
        EXPECT_TRUE(a && b) << platform::toUtf8(from) << " " << platform::toUtf8(to);
        return a && b ? b->factor / a->factor : 0;
    }
    std::string language_;
    std::vector<Category> categories_;
};

TEST_P(ShippedFactorsTest, FactorsMatchTheExactDefinitions) {
    // Relative error well below what three decimals show.
    auto near = [](double actual, double exact) {
        EXPECT_NEAR(actual / exact, 1.0, 1e-10) << actual << " vs " << exact;
    };
    near(ratio(L"Length", L"mi", L"km"), 1.609344);
    near(ratio(L"Length", L"ft", L"m"), 0.3048);
    near(ratio(L"Length", L"in", L"cm"), 2.54);
    near(ratio(L"Length", L"nmi", L"m"), 1852);
    near(ratio(L"Weight", L"lb", L"kg"), 0.45359237);
    near(ratio(L"Weight", L"oz", L"g"), 28.349523125);
    near(ratio(L"Weight", L"st", L"lb"), 14);
    near(ratio(L"Speed", L"kn", L"kmh"), 1.852);
    near(ratio(L"Speed", L"mph", L"kmh"), 1.609344);
    near(ratio(L"Speed", L"ms", L"kmh"), 3.6);
    near(ratio(L"Volume", L"galus", L"l"), 3.785411784);
    near(ratio(L"Volume", L"galuk", L"l"), 4.54609);
    near(ratio(L"Volume", L"flozus", L"ml"), 29.5735295625);
}

TEST_P(ShippedFactorsTest, AMarathonInKilometresReadsInMiles) {
    const Category& length = categoryKeyed(categories_, L"Length");
    UnitTable table = loadUnits(kFolder, length);
    std::vector<ListRow> rows = linearRows(table, {L"km", L"mi"});
    ASSERT_TRUE(convertLinear(table, rows, 42.195, 0, {}));
    EXPECT_EQ(rows[0].value, L"42.195");
    EXPECT_EQ(rows[1].value, L"26.219");
    EXPECT_EQ(rows[1].name, language_ == "0409" ? L"Miles" : L"Meilen");
    ASSERT_TRUE(convertLinear(table, rows, 100, 1, {L","}));
    EXPECT_EQ(rows[0].value, L"160,934") << "the locale's separator";
}

TEST_P(ShippedFactorsTest, EverySectionIsACategoryInFileOrder) {
    ASSERT_GE(categories_.size(), 6u);
    EXPECT_EQ(categories_[0].type, CategoryType::Rates);
    EXPECT_EQ(categories_[1].type, CategoryType::Temperature);
    EXPECT_EQ(categories_[2].key, L"Speed");
    EXPECT_EQ(modeOfCategory(categoryKeyed(categories_, L"Childrens Shoes")), 6);
    EXPECT_EQ(modeOfCategory(categoryKeyed(categories_, L"Volume")), 1)
        << "a category without a mode of its own reopens as currency";
    UnitTable shoes = loadUnits(kFolder, categoryKeyed(categories_, L"Childrens Shoes"));
    ASSERT_GT(shoes.chart.size(), 2u);
    EXPECT_EQ(shoes.chart[0][0], L"UK") << "the heading row";
    EXPECT_TRUE(shoes.units.empty());
    UnitTable weight = loadUnits(kFolder, categoryKeyed(categories_, L"Weight"));
    ASSERT_NE(weight.find(L"ug"), nullptr);
    EXPECT_EQ(weight.find(L"ug")->symbol, L"\u00B5g") << "entities decoded";
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedFactorsTest,
                         ::testing::Values("conv.0409.mui.txt", "conv.0407.mui.txt"));

TEST(TemperatureTest, KnownPointsOnEveryScale) {
    std::vector<ListRow> rows = temperatureRows({L"F", L"C", L"K", L"R"});
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1].symbol, L"\u00B0C");
    auto values = [&](double amount, std::size_t row) {
        EXPECT_TRUE(convertTemperature(rows, amount, row, {}));
        return std::vector<std::wstring>{rows[0].value, rows[1].value, rows[2].value,
                                         rows[3].value};
    };
    using V = std::vector<std::wstring>;
    EXPECT_EQ(values(100, 1), (V{L"212.00", L"100.00", L"373.15", L"671.67"}));
    EXPECT_EQ(values(0, 1), (V{L"32.00", L"0.00", L"273.15", L"491.67"}));
    EXPECT_EQ(values(37, 1), (V{L"98.60", L"37.00", L"310.15", L"558.27"}));
    EXPECT_EQ(values(-40, 1), (V{L"-40.00", L"-40.00", L"233.15", L"419.67"}));
    EXPECT_EQ(values(-40, 0), (V{L"-40.00", L"-40.00", L"233.15", L"419.67"}));
    EXPECT_EQ(values(0, 2), (V{L"-459.67", L"-273.15", L"0.00", L"0.00"}));
    EXPECT_EQ(values(671.67, 3), (V{L"212.00", L"100.00", L"373.15", L"671.67"}));
    EXPECT_EQ(values(451, 0)[1], L"232.78");
    EXPECT_EQ(values(32, 0)[1], L"0.00") << "never \"-0.00\"";
}

class UnconvertibleUnitsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::test::useTestDevice();
        writeDeviceFile(L"rates.dat",
                        "USD~$~US Dollar~1.0\n"
                        "EUR~&#8364;~Euro~0.8\n"
                        "ZER~Z~Zero~0\n"
                        "NEG~N~Negative~-2\n"
                        "TXT~T~Text~abc\n"
                        "INF~I~Infinite~1e999\n"
                        "NOF~F~No factor\n"
                        "\"GBP\"~\"&#163;\"~\"Pound\"~\"0.75\"\n");
        table_ = loadRates(kFolder);
    }
    UnitTable table_;
};

TEST_F(UnconvertibleUnitsTest, RatesConvertThroughTheBaseAmount) {
    std::vector<ListRow> rows = linearRows(table_, {L"EUR", L"USD", L"GBP"});
    ASSERT_TRUE(convertLinear(table_, rows, 100, 0, {}));
    EXPECT_EQ(rows[1].value, L"125.000");
    EXPECT_EQ(rows[2].value, L"93.750");
    EXPECT_EQ(rows[2].symbol, L"\u00A3") << "quotes removed, entity decoded";
    EXPECT_EQ(rows[0].symbol, L"\u20AC");
}

TEST_F(UnconvertibleUnitsTest, BadFactorsAndUnknownKeysShowCannotFindRate) {
    std::vector<ListRow> rows =
        linearRows(table_, {L"USD", L"ZER", L"NEG", L"TXT", L"INF", L"NOF", L"XXX", L""});
    ASSERT_TRUE(convertLinear(table_, rows, 1, 0, {}));
    EXPECT_EQ(rows[0].value, L"1.000");
    for (std::size_t i = 1; i < rows.size(); ++i) {
        SCOPED_TRACE(platform::toUtf8(rows[i].key));
        EXPECT_EQ(rows[i].name, kCannotFindRate);
        EXPECT_EQ(rows[i].value, kNotAvailable);
        EXPECT_EQ(rows[i].symbol, L"0");
        EXPECT_FALSE(rows[i].convertible);
    }
}

TEST_F(UnconvertibleUnitsTest, AnAmountInAnUnconvertibleRowGivesZeroNeverInfinity) {
    std::vector<ListRow> rows = linearRows(table_, {L"ZER", L"USD", L"EUR"});
    ASSERT_TRUE(convertLinear(table_, rows, 50, 0, {}));
    EXPECT_EQ(rows[0].value, kNotAvailable);
    EXPECT_EQ(rows[1].value, L"0.000");
    EXPECT_EQ(rows[2].value, L"0.000");
}

TEST_F(UnconvertibleUnitsTest, AnAmountThatIsNoNumberChangesNothing) {
    std::vector<ListRow> rows = linearRows(table_, {L"USD", L"EUR"});
    ASSERT_TRUE(convertLinear(table_, rows, 10, 0, {}));
    EXPECT_FALSE(convertLinear(table_, rows, std::nan(""), 0, {}));
    EXPECT_FALSE(convertLinear(table_, rows, INFINITY, 0, {}));
    EXPECT_FALSE(convertLinear(table_, rows, 1, 7, {}));
    EXPECT_EQ(rows[1].value, L"8.000");
    EXPECT_FALSE(parseAmount(L"-").has_value());
    EXPECT_FALSE(parseAmount(L".").has_value());
    EXPECT_FALSE(parseAmount(L"1.2.3").has_value());
    EXPECT_FALSE(parseAmount(L"0x10").has_value());
    EXPECT_FALSE(parseAmount(L"nan").has_value());
    EXPECT_FALSE(parseAmount(L"1e999").has_value());
    EXPECT_EQ(parseAmount(L"-5"), -5.0);
    EXPECT_EQ(parseAmount(L" 2.5 "), 2.5);
}

TEST_F(UnconvertibleUnitsTest, AValueTooLargeToWriteIsNotAvailable) {
    writeDeviceFile(L"rates.dat", "BIG~B~Big~1e300\nSML~S~Small~1e-300\n");
    UnitTable table = loadRates(kFolder);
    std::vector<ListRow> rows = linearRows(table, {L"SML", L"BIG"});
    ASSERT_TRUE(convertLinear(table, rows, 1e10, 0, {}));
    EXPECT_EQ(rows[1].value, kNotAvailable);
    EXPECT_EQ(rows[0].value, L"10000000000.000");
}

TEST(ChosenUnitsTest, SplitJoinAndDefaults) {
    EXPECT_EQ(splitChosen(L"USD~EUR~GBP"), (std::vector<std::wstring>{L"USD", L"EUR", L"GBP"}));
    EXPECT_EQ(splitChosen(L""), (std::vector<std::wstring>{L""}))
        << "nothing chosen still shows one row";
    EXPECT_EQ(joinChosen({L"a", L"b"}), L"a~b");
    Category rates{L"Currency", L"rates.dat", CategoryType::Rates, L"Currency"};
    EXPECT_EQ(defaultChosen(rates, {}), L"USD~EUR~GBP");
    EXPECT_EQ(chosenSettingName(rates), L"conv_Currency");
    UnitTable table;
    table.units = {{L"km", L"km", L"", 1}, {L"mi", L"mi", L"", 1}, {L"m", L"m", L"", 1}};
    Category length{L"Length", L"f", CategoryType::Linear, L"Length"};
    EXPECT_EQ(defaultChosen(length, table), L"km~mi");
}

TEST(CategoriesTest, AMissingFileLeavesCurrencyAndTemperature) {
    platform::test::useTestDevice();
    auto categories = loadCategories(L"\\nowhere\\", L"0409", L"Currency", L"Temperature");
    ASSERT_EQ(categories.size(), 2u);
    EXPECT_EQ(categoryOfMode(categories, 4), 0u) << "a missing key opens the first";
    EXPECT_EQ(categoryOfMode(categories, 2), 1u);
    EXPECT_EQ(categoryOfMode(categories, 99), 0u);
    EXPECT_TRUE(loadUnits(L"\\nowhere\\", categories[0]).units.empty());
}

TEST(CategoriesTest, SectionsEndAtAnEmptyFirstFieldAndMatchKeysIgnoringCase) {
    platform::test::useTestDevice();
    writeDeviceFile(L"conv.test.mui.txt",
                    "Len~Length~*2*~\n"
                    "a~Speed~A~1\n"
                    "b~b~B~2\n"
                    "~~~\n"
                    "c~c~C~3\n"
                    "Fast~speed~*2*~extra~fields\n"
                    "k~k~K~1\n"
                    "Broken~NoType~\n");
    auto categories = loadCategories(kFolder, L"test", L"C", L"T");
    ASSERT_EQ(categories.size(), 4u);
    EXPECT_EQ(categories[3].name, L"Fast");
    EXPECT_EQ(categoryOfMode(categories, 3), 3u);
    EXPECT_EQ(categoryOfMode(categories, 4), 2u);
    UnitTable length = loadUnits(kFolder, categories[2]);
    ASSERT_EQ(length.units.size(), 2u);
    EXPECT_EQ(length.units[1].factor, 2);
    UnitTable speed = loadUnits(kFolder, categories[3]);
    ASSERT_EQ(speed.units.size(), 2u) << "a unit whose symbol is a key starts no section";
    EXPECT_EQ(speed.units[0].key, L"k");
    EXPECT_EQ(speed.units[1].factor, 0) << "a line without a factor is a unit without one";
}

}  // namespace
}  // namespace conversions
