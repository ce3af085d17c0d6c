// The city matcher: how a name, an alternate name or "name, country or region" fits a city,
// which fit wins, and the companion table's alternate names as the matcher reads them.

#include <gtest/gtest.h>

#include "worldtime/cities.h"
#include "worldtime/city_match.h"
#include "worldtime/city_names.h"

using namespace worldtime;

namespace {

// A small city list and its companion table, as the install folder's files hold them.
class CityMatch : public ::testing::Test {
  protected:
    void SetUp() override {
        city(L"Portland", L"United States", L"US5746545", L"Oregon", L"OR", L"Rip City|Stumptown");
        city(L"Portland", L"United States", L"US4975802", L"Maine", L"ME", L"");
        city(L"Portland", L"Australia", L"AU2152667", L"Victoria", L"VIC", L"");
        city(L"Mumbai", L"India", L"IN1275339", L"Maharashtra", L"", L"Bombay|Bombaim");
        city(L"New York City", L"United States", L"US5128581", L"New York", L"NY",
             L"NYC|Big Apple");
        city(L"Newark", L"United States", L"US5101798", L"New Jersey", L"NJ", L"");
        city(L"East New York", L"United States", L"US5115843", L"New York", L"NY", L"");
        city(L"Köln", L"Germany", L"DE2886242", L"North Rhine-Westphalia", L"", L"Cologne");
        city(L"Canton", L"United States", L"US5149222", L"Ohio", L"OH", L"");
        city(L"Canton", L"United States", L"US4186213", L"Georgia", L"GA", L"");
        city(L"Guangzhou", L"China", L"CN1809858", L"Guangdong", L"", L"Canton|Kwangchow");
        city(L"São Paulo", L"Brazil", L"BR3448439", L"São Paulo", L"", L"Sampa");
        known.add(names);
    }

    void city(const wchar_t* name, const wchar_t* country, const wchar_t* code,
              const wchar_t* region, const wchar_t* regionCode, const wchar_t* alternates) {
        int row = list.appendRow();
        list.setField(row, cityField::Name, name);
        list.setField(row, cityField::Country, country);
        list.setField(row, cityField::Code, code);
        int entry = names.appendRow();
        names.setField(entry, cityNameField::Code, code);
        names.setField(entry, cityNameField::Region, region);
        names.setField(entry, cityNameField::RegionCode, regionCode);
        names.setField(entry, cityNameField::Alternates, alternates);
    }

    int rowOf(std::wstring_view code) const { return list.find(cityField::Code, code); }

    CityFit fit(std::wstring_view code, std::wstring_view text, bool withNames = true) const {
        return cityFit(cityKeys(list, rowOf(code), withNames ? &known : nullptr),
                       CityQuery::parse(text));
    }

    // The codes of the cities a text names, as the command line and the screens choose.
    std::vector<std::wstring> answer(std::wstring_view text, std::wstring_view favourite = {}) {
        std::vector<CityCandidate> candidates;
        CityQuery query = CityQuery::parse(text);
        for (int row = 1; row <= list.rowCount(); ++row) {
            bool isFavourite = list.fieldText(row, cityField::Code) == favourite;
            candidates.push_back(
                {&list, row, isFavourite, cityFit(cityKeys(list, row, &known), query)});
        }
        std::vector<std::wstring> codes;
        for (const CityCandidate& city : bestCities(candidates).cities)
            codes.emplace_back(list.fieldText(city.row, cityField::Code));
        return codes;
    }

    core::RecordTable list{cityField::Count};
    core::RecordTable names{cityNameField::Count};
    CityNames known;
};

using Codes = std::vector<std::wstring>;

}  // namespace

TEST(CityQueryText, SplitsAtTheLastCommaAndFoldsBothParts) {
    CityQuery plain = CityQuery::parse(L"  Tokyo \t");
    EXPECT_EQ(plain.name, L"tokyo");
    EXPECT_EQ(plain.qualifier, L"");
    CityQuery qualified = CityQuery::parse(L" São Paulo ,  BRAZIL ");
    EXPECT_EQ(qualified.name, L"sao paulo");
    EXPECT_EQ(qualified.qualifier, L"brazil");
    CityQuery twoCommas = CityQuery::parse(L"a, b, c");
    EXPECT_EQ(twoCommas.name, L"a, b");
    EXPECT_EQ(twoCommas.qualifier, L"c");
    CityQuery trailing = CityQuery::parse(L"Paris,");
    EXPECT_EQ(trailing.name, L"paris");
    EXPECT_EQ(trailing.qualifier, L"");
}

TEST_F(CityMatch, OwnNamesFitBetterThanAlternateNamesAndPrefixes) {
    EXPECT_EQ(fit(L"US5746545", L"portland"), CityFit::Exact);
    EXPECT_EQ(fit(L"US5128581", L"New York"), CityFit::CommonName);
    EXPECT_EQ(fit(L"US5128581", L"nyc"), CityFit::AlternateName);
    EXPECT_EQ(fit(L"US5128581", L"Big"), CityFit::AlternatePrefix);
    EXPECT_EQ(fit(L"US5128581", L"New"), CityFit::WordPrefix);
    EXPECT_EQ(fit(L"IN1275339", L"bomb"), CityFit::Partial) << "an alternate name begun";
    EXPECT_EQ(fit(L"US5101798", L"New York"), CityFit::None) << "Newark";
    EXPECT_EQ(fit(L"US5115843", L"New York"), CityFit::Partial) << "East New York";
    EXPECT_EQ(fit(L"DE2886242", L"koln"), CityFit::Exact);
    EXPECT_EQ(fit(L"DE2886242", L"COLOGNE"), CityFit::AlternateName);
    EXPECT_EQ(fit(L"DE2886242", L"cologne", false), CityFit::None) << "without the names";
    // The country holds a text too, which filters show; a region only after a comma.
    EXPECT_EQ(fit(L"IN1275339", L"indi"), CityFit::Partial);
    EXPECT_EQ(fit(L"IN1275339", L"maharash"), CityFit::None);
    EXPECT_EQ(fit(L"IN1275339", L"mumbai, maharash"), CityFit::Exact);
    EXPECT_LT(CityFit::AlternateName, CityFit::WordPrefix);
    EXPECT_TRUE(namesCity(CityFit::AlternatePrefix));
    EXPECT_FALSE(namesCity(CityFit::Partial));
}

TEST_F(CityMatch, ACommaAsksForTheCountryItsCodeTheRegionOrItsAbbreviation) {
    for (const wchar_t* text : {L"Portland, Oregon", L"portland, OR", L"Portland, ore",
                                L"Portland,United States", L"Portland, US"}) {
        EXPECT_EQ(fit(L"US5746545", text), CityFit::Exact) << text;
    }
    EXPECT_EQ(fit(L"US5746545", L"Portland, Maine"), CityFit::None);
    EXPECT_EQ(fit(L"US5746545", L"Portland, AU"), CityFit::None);
    EXPECT_EQ(fit(L"AU2152667", L"Portland, VIC"), CityFit::Exact);
    EXPECT_EQ(fit(L"US5746545", L"Portland, Oregon", false), CityFit::None)
        << "the region is known from the companion table only";
    EXPECT_EQ(fit(L"US5746545", L"Portland, United States", false), CityFit::Exact);
}

TEST_F(CityMatch, TheBestFitDecidesAndAFavouriteBreaksATie) {
    EXPECT_EQ(answer(L"Portland"), (Codes{L"US5746545", L"US4975802", L"AU2152667"}));
    EXPECT_EQ(answer(L"Portland", L"US4975802"), (Codes{L"US4975802"}));
    EXPECT_EQ(answer(L"Portland, Maine"), (Codes{L"US4975802"}));
    EXPECT_EQ(answer(L"portland, me"), (Codes{L"US4975802"}));
    EXPECT_EQ(answer(L"Portland, United States"), (Codes{L"US5746545", L"US4975802"}));
    EXPECT_EQ(answer(L"Bombay"), (Codes{L"IN1275339"}));
    EXPECT_EQ(answer(L"NYC"), (Codes{L"US5128581"}));
    EXPECT_EQ(answer(L"new york"), (Codes{L"US5128581"}));
    EXPECT_EQ(answer(L"Sampa"), (Codes{L"BR3448439"}));
    // Cities called so are offered with the city also known by the name; a comma or a
    // favourite chooses.
    EXPECT_EQ(answer(L"Canton"), (Codes{L"US5149222", L"US4186213", L"CN1809858"}));
    EXPECT_EQ(answer(L"Canton", L"CN1809858"), (Codes{L"CN1809858"}));
    EXPECT_EQ(answer(L"Canton, Ohio"), (Codes{L"US5149222"}));
    EXPECT_EQ(answer(L"Canton, China"), (Codes{L"CN1809858"}));
    EXPECT_EQ(answer(L"Canton, Guangdong"), (Codes{L"CN1809858"}));
    // Texts that only hold part of a name name no city.
    EXPECT_TRUE(answer(L"bomb").empty());
    EXPECT_TRUE(answer(L"xyzzy").empty());
}

TEST_F(CityMatch, EachCityIsAnsweredOnceWhateverItsCopies) {
    // The favourites' copy of a city comes first and stands for it.
    core::RecordTable favourites{cityField::Count};
    int row = favourites.appendRow();
    favourites.setField(row, cityField::Name, L"Portland");
    favourites.setField(row, cityField::Country, L"United States");
    favourites.setField(row, cityField::Code, L"us5746545");
    CityQuery query = CityQuery::parse(L"Portland, Oregon");
    std::vector<CityCandidate> candidates{
        {&favourites, 1, true, cityFit(cityKeys(favourites, 1, &known), query)}};
    for (int r = 1; r <= list.rowCount(); ++r)
        candidates.push_back({&list, r, false, cityFit(cityKeys(list, r, &known), query)});
    CityAnswer answer = bestCities(candidates);
    ASSERT_TRUE(answer.found());
    EXPECT_EQ(answer.cities.front().table, &favourites);
}

TEST_F(CityMatch, SearchesShowTheBestFitsFirstAndFavouritesFirstAmongThem) {
    CityQuery query = CityQuery::parse(L"new");
    std::vector<CityCandidate> candidates;
    for (int row = 1; row <= list.rowCount(); ++row) {
        bool favourite = list.fieldText(row, cityField::Code) == L"US5101798";
        candidates.push_back({&list, row, favourite, cityFit(cityKeys(list, row, &known), query)});
    }
    orderBySearchFit(candidates);
    std::vector<std::wstring> names;
    for (const CityCandidate& city : candidates)
        names.emplace_back(list.fieldText(city.row, cityField::Name));
    // New York City by a whole word; Newark (a favourite) and East New York hold the text.
    EXPECT_EQ(names, (std::vector<std::wstring>{L"New York City", L"Newark", L"East New York"}));
}

TEST(CityNameTable, AlternateNamesAreSplitTrimmedAndBounded) {
    EXPECT_EQ(alternateKeys(L"Bombay| Bombaim |NYC||  |Köln"),
              (std::vector<std::wstring>{L"bombay", L"bombaim", L"nyc", L"koln"}));
    EXPECT_TRUE(alternateKeys(L"").empty());
    EXPECT_TRUE(alternateKeys(L"|||").empty());
    std::wstring huge(100000, L'a');
    EXPECT_TRUE(alternateKeys(huge).empty()) << "longer than any name";
    std::wstring many;
    for (int i = 0; i < 5000; ++i) many += L"ab|";
    EXPECT_LE(alternateKeys(many).size(), 500u);

    core::RecordTable table{cityNameField::Count};
    for (const wchar_t* code : {L"US1", L"us1", L""}) {
        int row = table.appendRow();
        table.setField(row, cityNameField::Code, code);
        table.setField(row, cityNameField::Region, code[0] == L'U' ? L"First" : L"Second");
    }
    CityNames names;
    names.add(table);
    EXPECT_EQ(names.size(), 1u) << "a code once, whatever its case; rows without a code skipped";
    ASSERT_NE(names.find(L"Us1"), nullptr);
    EXPECT_EQ(names.find(L"Us1")->region, L"First");
    EXPECT_EQ(names.find(L"US2"), nullptr);
}
