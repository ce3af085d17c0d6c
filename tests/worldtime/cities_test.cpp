// The city database: favourites and the full list, sorting and filtering, favourite marks,
// edits, local and remote search and adding their results.

#include <gtest/gtest.h>

#include "core/settings.h"
#include "tests/worldtime/support/world_test_support.h"
#include "worldtime/cities.h"
#include "worldtime/zones.h"

using namespace worldtime;
using worldtime::test::kDownloadPath;
using worldtime::test::kMainPath;
using worldtime::test::readDeviceText;
using worldtime::test::writeDeviceText;

namespace {

const std::wstring kFavourites = std::wstring(kMainPath) + L"mycities.dat";
const std::wstring kCityList = std::wstring(kMainPath) + L"citylist.dat";
const std::wstring kResults = std::wstring(kDownloadPath) + L"searchresult.dat";

class Cities : public ::testing::Test {
  protected:
    void SetUp() override {
        worldtime::test::installData({"citylist.dat", "mycities.dat", "dstinfo.dat"});
        ASSERT_TRUE(loadZones(kMainPath));
        db.loadFavourites();
    }

    std::vector<std::wstring> favouriteNames() const {
        std::vector<std::wstring> names;
        for (int row = 1; row <= favourites.rowCount(); ++row) {
            names.emplace_back(favourites.fieldText(row, cityField::Name));
        }
        return names;
    }
    std::wstring currentName() const {
        return std::wstring(favourites.fieldText(favourites.currentRow(), cityField::Name));
    }
    static int layoutReload() { return core::readNumberSetting(L"OptHomeLayoutReload", 0); }

    core::RecordTable favourites{cityField::Count};
    CityDatabase db{std::wstring(kMainPath), std::wstring(kDownloadPath), favourites};
};

using Names = std::vector<std::wstring>;

}  // namespace

TEST(CurrentFavourite, AStoredNumberOutsideTheFavouritesMeansTheFirst) {
    EXPECT_EQ(currentFavouriteRow(3, 5), 3);
    EXPECT_EQ(currentFavouriteRow(5, 5), 5);
    EXPECT_EQ(currentFavouriteRow(6, 5), 1) << "past the end: the first, not the last";
    EXPECT_EQ(currentFavouriteRow(0, 5), 1);
    EXPECT_EQ(currentFavouriteRow(-2, 5), 1);
    EXPECT_EQ(currentFavouriteRow(1, 0), 0) << "no favourites, no current one";
}

TEST_F(Cities, TheProgramAndTheCommandLineReadTheStoredFavouriteAlike) {
    core::writeNumberSetting(L"FavCity", 9);
    db.loadFavourites();
    EXPECT_EQ(favourites.currentRow(), 1);
    EXPECT_EQ(storedFavouriteRow(favourites.rowCount()), favourites.currentRow());
    core::writeNumberSetting(L"FavCity", 3);
    db.loadFavourites();
    EXPECT_EQ(storedFavouriteRow(favourites.rowCount()), 3);
    EXPECT_EQ(favourites.currentRow(), 3);
}

TEST_F(Cities, FavouritesAndTheCurrentOne) {
    EXPECT_EQ(favouriteNames(),
              (Names{L"London", L"New York City", L"Tokyo", L"Sydney", L"Paris"}));
    EXPECT_EQ(favourites.currentRow(), 1);
    core::writeNumberSetting(L"FavCity", 4);
    db.loadFavourites();
    EXPECT_EQ(currentName(), L"Sydney");
    writeDeviceText(kFavourites, "54~London~United Kingdom~51.5~-0.1~x~GB2643743~1~BritishIsles~1");
    core::writeNumberSetting(L"FavCity", 5);
    db.loadFavourites();
    EXPECT_EQ(favourites.currentRow(), 1);
    // A file of fewer fields still gives rows of ten, so that marks and regions can be set.
    EXPECT_EQ(favourites.columnCount(), cityField::Count);
    platform::deleteFile(kFavourites);
    db.loadFavourites();
    EXPECT_EQ(favourites.rowCount(), 0);
    EXPECT_EQ(favourites.currentRow(), 0);
    EXPECT_FALSE(db.mapRegionForCity(L"GB2643743"));
}

TEST_F(Cities, FullListMarksAndSorting) {
    db.loadCityList(citySorting::ByName);
    const core::RecordTable& list = db.fullList();
    ASSERT_GT(list.rowCount(), 20000);
    int london = list.find(cityField::Code, L"GB2643743");
    EXPECT_EQ(list.fieldText(london, cityField::Favourite), L"1");
    EXPECT_EQ(list.fieldText(list.find(cityField::Code, L"IS3413829"), cityField::Favourite), L"0");
    for (int row = 2; row <= list.rowCount(); ++row) {
        ASSERT_LE(list.fieldText(row - 1, cityField::Name), list.fieldText(row, cityField::Name));
    }
    db.setSortMode(citySorting::ByZone);
    EXPECT_EQ(core::readNumberSetting(L"CityListSorting", 0), citySorting::ByZone);
    for (int row = 2; row <= list.rowCount(); ++row) {
        ASSERT_LE(cityZone(list, row - 1), cityZone(list, row));
    }
    core::writeNumberSetting(L"CityListSorting", 7);
    EXPECT_EQ(db.sortMode(), citySorting::ByName);
}

TEST_F(Cities, SortingIsStable) {
    writeDeviceText(kCityList,
                    "55~Paris~France~0~0~~C1~0~~\n47~Paris~United States~0~0~~C2~0~~\n"
                    "55~Berlin~Germany~0~0~~C3~0~~\n44~Paris~Canada~0~0~~C4~0~~");
    db.loadCityList(citySorting::ByCountry);
    db.loadCityList(citySorting::ByName);
    auto codes = [&] {
        Names out;
        for (int row = 1; row <= db.fullList().rowCount(); ++row) {
            out.emplace_back(db.fullList().fieldText(row, cityField::Code));
        }
        return out;
    };
    // Equal names keep the order of the file, however often the list is sorted.
    EXPECT_EQ(codes(), (Names{L"C3", L"C1", L"C2", L"C4"}));
    db.loadCityList(citySorting::ByName);
    EXPECT_EQ(codes(), (Names{L"C3", L"C1", L"C2", L"C4"}));
}

TEST_F(Cities, ShownListFilterAndFavouritesOnly) {
    db.loadCityList(citySorting::ByName);
    int all = db.shownCount();
    EXPECT_EQ(all, db.fullList().rowCount());
    db.setFilter(L"reykjav");
    ASSERT_GE(db.shownCount(), 1);
    EXPECT_EQ(db.shownField(1, cityField::Name), L"Reykjavík");
    // A country matches too, and typing on narrows to what a fresh filter would show.
    db.setFilter(L"icel");
    db.setFilter(L"icela");
    db.setFilter(L"ICELAND");
    int narrowed = db.shownCount();
    EXPECT_GE(narrowed, 10);
    db.setFilter(L"");
    db.setFilter(L"iceland");
    EXPECT_EQ(db.shownCount(), narrowed);
    EXPECT_EQ(db.shownField(1, cityField::Country), L"Iceland");
    // Accents do not matter either way: the plain spelling finds the accented name, and an
    // accented filter finds plain names.
    db.setFilter(L"reykjavik");
    ASSERT_GE(db.shownCount(), 1);
    EXPECT_EQ(db.shownField(1, cityField::Name), L"Reykjavík");
    db.setFilter(L"ICELÁND");
    EXPECT_EQ(db.shownCount(), narrowed);
    db.setFilter(L"xyzzy-no-city");
    EXPECT_EQ(db.shownCount(), 0);
    EXPECT_EQ(db.selection(), 0);
    db.setFilter(L"");
    EXPECT_EQ(db.shownCount(), all);
    db.setSelection(all);
    db.setShowSelected(true);
    EXPECT_EQ(db.shownCount(), 5);
    EXPECT_EQ(db.selection(), 1);
    EXPECT_TRUE(db.shownIsFavourite(3));
    EXPECT_EQ(db.shownField(3, cityField::Name), L"Tokyo");
    // A filter text searches the whole list even while favourites alone are shown.
    db.setFilter(L"tokyo");
    EXPECT_GE(db.shownCount(), 1);
    int tokyo = db.shownRowOf(L"jp1850147");
    ASSERT_GT(tokyo, 0);
    EXPECT_EQ(db.shownField(tokyo, cityField::Name), L"Tokyo");
}

TEST_F(Cities, TypingOnShowsWhatAFreshFilterShows) {
    worldtime::test::installData({"citylist.dat", "mycities.dat", "dstinfo.dat", "citynames.dat"});
    db.loadCityList(citySorting::ByName);
    auto freshCount = [&](std::wstring_view text) {
        core::RecordTable others{cityField::Count};
        CityDatabase fresh{std::wstring(kMainPath), std::wstring(kDownloadPath), others};
        fresh.loadCityList(citySorting::ByName);
        fresh.setFilter(text);
        return fresh.shownCount();
    };
    // Each text typed on from the one before, as a person types; alternate names, commas and
    // a region begun count as they would from scratch.
    for (std::wstring_view word :
         {L"Bombay", L"New York", L"Portland, Ore", L"nyc", L"Paris, fr", L"koln", L"Berlin, de"}) {
        db.setFilter(L"");
        for (std::size_t length = 1; length <= word.size(); ++length) {
            std::wstring_view typed = word.substr(0, length);
            db.setFilter(typed);
            ASSERT_EQ(db.shownCount(), freshCount(typed)) << std::wstring(typed);
        }
    }
    db.setFilter(L"Bomb");
    EXPECT_GT(db.shownRowOf(L"IN1275339"), 0) << "Mumbai, by the start of its former name";
    db.setFilter(L"Portland, Ore");
    EXPECT_EQ(db.shownCount(), 1);
    EXPECT_EQ(db.region(db.shownField(1, cityField::Code)), L"Oregon");
}

TEST_F(Cities, FavouriteMarksKeepOrderAndCurrentCity) {
    db.loadCityList(citySorting::ByName);
    db.setCurrentFavourite(3);  // Tokyo
    core::writeNumberSetting(L"OptHomeLayoutReload", 0);
    ASSERT_TRUE(db.setFavourite(L"IS3413829", true));
    EXPECT_EQ(favouriteNames(),
              (Names{L"London", L"New York City", L"Tokyo", L"Sydney", L"Paris", L"Reykjavík"}));
    EXPECT_EQ(layoutReload(), 1);
    EXPECT_EQ(db.fullList().fieldText(db.fullList().find(cityField::Code, L"IS3413829"),
                                      cityField::Favourite),
              L"1");
    ASSERT_TRUE(db.setFavourite(L"GB2643743", false));
    EXPECT_EQ(favouriteNames(),
              (Names{L"New York City", L"Tokyo", L"Sydney", L"Paris", L"Reykjavík"}));
    EXPECT_EQ(currentName(), L"Tokyo");
    EXPECT_EQ(core::readNumberSetting(L"FavCity", 0), 2);
    EXPECT_NE(readDeviceText(kFavourites).find("Reykjavík"), std::string::npos);
    EXPECT_FALSE(db.setFavourite(L"NO-SUCH-CODE", true));
    // Toggling a shown row flips it.
    db.setFilter(L"reykjavík");
    ASSERT_TRUE(db.shownIsFavourite(1));
    ASSERT_TRUE(db.toggleFavourite(1));
    EXPECT_FALSE(db.shownIsFavourite(1));
    EXPECT_EQ(favourites.find(cityField::Code, L"IS3413829"), 0);
    // Removing every favourite deletes the file.
    for (const wchar_t* code : {L"US5128581", L"JP1850147", L"AU2147714", L"FR2988507"}) {
        ASSERT_TRUE(db.setFavourite(code, false));
    }
    EXPECT_FALSE(worldtime::test::deviceFileExists(kFavourites));
    EXPECT_EQ(favourites.currentRow(), 0);
}

TEST_F(Cities, RebuildKeepsFavouritesTheSourceDoesNotKnow) {
    core::RecordTable source(cityField::Count);
    int row = source.appendRow();
    source.setField(row, cityField::Code, L"JP1850147");
    source.setField(row, cityField::Favourite, L"0");
    row = source.appendRow();
    source.setField(row, cityField::Name, L"Nowhere");
    source.setField(row, cityField::Code, L"XX1");
    source.setField(row, cityField::Favourite, L"1");
    db.rebuildFavourites(source);
    EXPECT_EQ(favouriteNames(),
              (Names{L"London", L"New York City", L"Sydney", L"Paris", L"Nowhere"}));
}

TEST_F(Cities, EditingANameAndZoneInBothFiles) {
    db.loadCityList(citySorting::ByName);
    core::writeNumberSetting(L"OptHomeLayoutReload", 0);
    ASSERT_TRUE(db.editCity(L"gb2643743", 55, L"  Lon~don \"Town\"\n"));
    EXPECT_EQ(favourites.fieldText(1, cityField::Name), L"London Town");
    EXPECT_EQ(favourites.fieldText(1, cityField::Zone), L"55");
    int row = db.fullList().find(cityField::Code, L"GB2643743");
    EXPECT_EQ(db.fullList().fieldText(row, cityField::Name), L"London Town");
    EXPECT_EQ(db.fullList().fieldText(row, cityField::Zone), L"55");
    EXPECT_EQ(readDeviceText(kFavourites).rfind("55~London Town~United Kingdom~", 0), 0u);
    EXPECT_EQ(layoutReload(), 1);
    // A city only in the full list changes there; an empty name keeps the old one.
    ASSERT_TRUE(db.editCity(L"IS3413829", 54, L""));
    row = db.fullList().find(cityField::Code, L"IS3413829");
    EXPECT_EQ(db.fullList().fieldText(row, cityField::Name), L"Reykjavík");
    EXPECT_EQ(cityZone(db.fullList(), row), 54);
    std::string before = readDeviceText(kCityList);
    EXPECT_FALSE(db.editCity(L"NO-SUCH-CODE", 25, L"X"));
    EXPECT_EQ(readDeviceText(kCityList), before);
}

TEST_F(Cities, LocalSearchThenRemote) {
    EXPECT_EQ(db.searchLocal(L""), SearchOutcome::EmptyText);
    EXPECT_EQ(db.searchLocal(L"REYKJAV"), SearchOutcome::Found);
    ASSERT_EQ(db.results().rowCount(), 1);
    EXPECT_EQ(db.results().fieldText(1, cityField::Favourite), L"0");
    EXPECT_EQ(db.searchLocal(L"REYKJAV"), SearchOutcome::NeedsRemote);
    EXPECT_EQ(db.searchLocal(L"Reykjavik"), SearchOutcome::Found);
    ASSERT_EQ(db.results().rowCount(), 1);
    EXPECT_EQ(db.results().fieldText(1, cityField::Name), L"Reykjavík");
    EXPECT_EQ(db.searchLocal(L"qqqqzzzz"), SearchOutcome::NeedsRemote);
    // No comms program is installed here: the request is stored but cannot start.
    EXPECT_EQ(db.requestLookup(L""), LookupOutcome::EmptyText);
    EXPECT_EQ(db.requestLookup(L"Qaanaaq"), LookupOutcome::NotStarted);
    EXPECT_EQ(core::readSetting(L"CityLookupRequest", core::byteLimit::Text), L"Qaanaaq");
}

TEST_F(Cities, SearchResultsTurnHoursIntoZones) {
    EXPECT_FALSE(db.loadSearchResults());
    writeDeviceText(kResults,
                    "\"0\"~Qaanaaq~Greenland~77.48~-69.33~~GL1~0~~\n"
                    "1~Bergen~Norway~60.39~5.32~~NO1~0~~\n"
                    "5.5~Pune~India~18.52~73.85~~IN1~1~~\n"
                    "~Nowhere~Atlantis~0~0~~NA1~0~~\n"
                    "-5~Lost~Nowhere~0~0~~~1~~\n"
                    "-3~Nuuk~Greenland~64.18~-51.72~~GL2");
    ASSERT_TRUE(db.loadSearchResults());
    const core::RecordTable& results = db.results();
    ASSERT_EQ(results.rowCount(), 5);  // the row without a city code is left out
    EXPECT_EQ(results.fieldText(1, cityField::Zone), L"25");
    EXPECT_EQ(results.fieldText(2, cityField::Zone), L"26");
    EXPECT_EQ(results.fieldText(3, cityField::Zone), L"64");
    EXPECT_EQ(results.fieldText(4, cityField::Zone), L"25");
    EXPECT_EQ(results.fieldText(5, cityField::Zone), L"22");
    EXPECT_EQ(results.columnCount(), cityField::Count);
    EXPECT_EQ(results.currentRow(), 1);
}

TEST_F(Cities, AddingResultsToBothFiles) {
    writeDeviceText(kResults,
                    "1~Bergen~Norway~60.39~5.32~~NO1~1~Scandinavia~\n"
                    "0~Reykjavík~Iceland~64.1~-21.9~~IS3413829~1~~\n"
                    "2~Oslo~Norway~59.9~10.7~~NO2~0~~");
    ASSERT_TRUE(db.loadSearchResults());
    core::writeNumberSetting(L"OptHomeLayoutReload", 0);
    ASSERT_TRUE(db.addSearchResults());
    EXPECT_EQ(favouriteNames(), (Names{L"London", L"New York City", L"Tokyo", L"Sydney", L"Paris",
                                       L"Bergen", L"Reykjavík"}));
    EXPECT_EQ(layoutReload(), 1);
    core::RecordTable list(cityField::Count);
    list.load(kMainPath, L"citylist.dat", L'~', true);
    EXPECT_GT(list.find(cityField::Code, L"NO1"), 0);
    EXPECT_EQ(list.find(cityField::Code, L"NO2"), 0);
    EXPECT_EQ(list.fieldText(list.find(cityField::Code, L"IS3413829"), cityField::Favourite), L"1");
    ASSERT_TRUE(db.mapRegionForCity(L"NO1"));
    EXPECT_EQ(*db.mapRegionForCity(L"NO1"), L"Scandinavia");
    EXPECT_FALSE(db.mapRegionForCity(L"no1"));
    EXPECT_EQ(*db.mapRegionForCity(L"GB2643743"), L"BritishIsles");
}

TEST_F(Cities, AddingResultsFromTheAddView) {
    db.loadCityList(citySorting::ByName);
    EXPECT_FALSE(db.addSearchResultsFromView());
    writeDeviceText(kResults,
                    "2~Oslo~Norway~59.9~10.7~~NO2~0~~\n"
                    "0~Reykjavík~Iceland~64.1~-21.9~~IS3413829~1~~\n"
                    "1~Bergen~Norway~60.39~5.32~~NO1~1~~");
    ASSERT_TRUE(db.loadSearchResults());
    auto first = db.addSearchResultsFromView();
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, L"IS3413829");
    // A ticked city already in the list becomes a favourite as well as a new one does.
    EXPECT_GT(favourites.find(cityField::Code, L"IS3413829"), 0);
    EXPECT_GT(favourites.find(cityField::Code, L"NO1"), 0);
    EXPECT_EQ(favourites.fieldText(1, cityField::Name), L"London");
    EXPECT_EQ(db.shownField(db.selection(), cityField::Code), L"IS3413829");
}

// Bytes as they are, without the byte-order mark writeDeviceText adds.
void writeDeviceBytes(std::wstring_view devicePath, const std::string& bytes) {
    ASSERT_TRUE(platform::writeFileAtomic(
        devicePath, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())));
}

TEST_F(Cities, DamagedFavouritesSurviveTheNextSave) {
    const std::string london = "54~London~United Kingdom~51.5~-0.1~x~GB2643743~1~BritishIsles~1";
    const std::string zurich = "56~Z\xC3\xBCrich~Switzerland~47.37~8.55~x~CH2657896~1~~1";
    // A junk first line no longer narrows every other favourite to its one field.
    writeDeviceBytes(kFavourites, "junk\n" + london + "\n" + zurich);
    db.loadFavourites();
    db.loadCityList(citySorting::ByName);
    ASSERT_EQ(favourites.rowCount(), 3);
    ASSERT_TRUE(db.setFavourite(L"IS3413829", true));
    std::string saved = readDeviceText(kFavourites);
    EXPECT_NE(saved.find(london), std::string::npos) << saved;
    // Without the byte-order mark, UTF-8 names stay as they were written.
    EXPECT_NE(saved.find(zurich), std::string::npos) << saved;
    EXPECT_NE(saved.find("~Reykjav\xC3\xADk~Iceland~"), std::string::npos) << saved;

    // A UTF-16 file is read, and kept beside the rewritten one.
    std::string utf16("\xFF\xFE", 2);
    for (char c : london) utf16 += std::string{c, '\0'};
    writeDeviceBytes(kFavourites, utf16);
    platform::deleteFile(kFavourites + L".bak");
    db.loadFavourites();
    ASSERT_EQ(favourites.rowCount(), 1);
    EXPECT_EQ(favourites.fieldText(1, cityField::Name), L"London");
    ASSERT_TRUE(db.setFavourite(L"IS3413829", true));
    EXPECT_EQ(readDeviceText(kFavourites + L".bak"), utf16);
    EXPECT_EQ(readDeviceText(kFavourites).find(london), 0u);
}

TEST_F(Cities, EditingADamagedCityListKeepsTheOriginal) {
    std::string list = readDeviceText(kCityList);
    std::string damaged = list + "\n" + std::string(25000, 'x');
    writeDeviceText(kCityList, damaged);
    platform::deleteFile(kCityList + L".bak");
    db.loadCityList(citySorting::ByName);
    ASSERT_TRUE(db.editCity(L"IS3413829", 54, L""));
    EXPECT_TRUE(readDeviceText(kCityList + L".bak") == damaged);
    // The rewritten list is whole, so the next edit makes no new copy.
    ASSERT_TRUE(db.editCity(L"IS3413829", 55, L""));
    EXPECT_TRUE(readDeviceText(kCityList + L".bak") == damaged);
}
