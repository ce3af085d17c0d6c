// Trip files: what is written is read back, the header follows the entries, damaged files
// load what they can and are kept aside before they are rewritten, and names stay file names.

#include <gtest/gtest.h>

#include <string>

#include "platform/api/device.h"
#include "tests/platform/support/test_device.h"
#include "tests/travel/support/english_texts.h"
#include "travel/trip_file.h"
#include "travel/trip_time.h"

using namespace travel;
using travel::test::at;

namespace {

const std::wstring kFolder = L"\\Program Files\\Vorn Roamer\\itinerary\\";

std::string fileText(const std::wstring& name) {
    auto bytes = platform::readFile(kFolder + name);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<missing>");
}

void writeFile(const std::wstring& name, const std::string& text) {
    platform::createFolder(kFolder);
    ASSERT_TRUE(platform::writeFileAtomic(
        kFolder + name,
        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())));
}

TripEntry flight() {
    TripEntry e;
    e.kind = EntryKind::Flight;
    e.start = at(2030, 5, 1, 9, 5);
    e.end = at(2030, 5, 1, 11, 40);
    e.reminder = 30;
    e.startAppointment = 12;
    e.setText(5, L"123");
    e.setText(8, L"LHR");
    e.setText(9, L"Vorn Air");
    e.setText(10, L"T5");
    e.setText(11, L"LIS");
    e.setText(12, L"T1");
    e.setText(13, L"Seat 3A, caf\u00e9 voucher");
    return e;
}

TripEntry hotel() {
    TripEntry e;
    e.kind = EntryKind::Hotel;
    e.start = at(2030, 5, 1, 15);
    e.end = at(2030, 5, 4, 11);
    e.setText(5, L"Casa Azul");
    e.setText(8, L"Rua Nova 5");
    return e;
}

class TripFile : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::test::useTestDevice();
        for (const auto& f : platform::listFolder(kFolder)) platform::deleteFile(kFolder + f.name);
    }
};

}  // namespace

TEST_F(TripFile, TimesAreDayMonthYearHourMinute) {
    EXPECT_EQ(formatTripTime(at(2030, 5, 1, 9, 5)), L"01:05:2030:09:05");
    EXPECT_EQ(parseTripTime(L"01:05:2030:09:05"), at(2030, 5, 1, 9, 5));
    EXPECT_EQ(parseTripTime(L"29:02:2028:23:59"), at(2028, 2, 29, 23, 59));
    for (const wchar_t* bad :
         {L"??", L"", L"29:02:2027:10:00", L"01:13:2030:09:05", L"01:05:2030:24:00",
          L"01:05:2030:09:60", L"01:05:2030:09", L"01:05:2030:09:05:00", L"-1:05:2030:09:05",
          L"01:05:1500:09:05", L"0a:05:2030:09:05", L"01::2030:09:05"}) {
        EXPECT_FALSE(parseTripTime(bad)) << bad;
    }
}

TEST_F(TripFile, SavedTripReadsBackWithItsHeader) {
    Trip trip;
    trip.name = L"Lisbon";
    trip.entries = {hotel(), flight()};
    ASSERT_TRUE(saveTrip(kFolder, trip));

    const std::string text = fileText(L"Lisbon.trp");
    // The header is the title and the first and last event of the entries, whatever their
    // order in the file.
    EXPECT_NE(text.find("Lisbon:list_travel.tga~01:05:2030:09:05~04:05:2030:11:00\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("1~01:05:2030:09:05~01:05:2030:11:40~30~123~12~0~LHR~Vorn Air~T5~LIS~T1~"),
              std::string::npos)
        << text;

    auto loaded = loadTrip(kFolder, L"Lisbon");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->icon, L"list_travel.tga");
    ASSERT_EQ(loaded->entries.size(), 2u);
    EXPECT_EQ(loaded->entries[0], trip.entries[0]);
    EXPECT_EQ(loaded->entries[1], trip.entries[1]);
    EXPECT_FALSE(loaded->damaged());

    auto list = listTrips(kFolder);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].name, L"Lisbon");
    EXPECT_EQ(list[0].title, L"Lisbon:list_travel.tga");
    EXPECT_EQ(list[0].first, at(2030, 5, 1, 9, 5));
    EXPECT_EQ(list[0].last, at(2030, 5, 4, 11));
}

TEST_F(TripFile, TripWithoutEntriesHasNoTimes) {
    Trip trip;
    trip.name = L"Someday";
    trip.icon = L"list_family.tga";
    ASSERT_TRUE(saveTrip(kFolder, trip));
    EXPECT_EQ(fileText(L"Someday.trp").substr(3), "Someday:list_family.tga~??~??");
    auto list = listTrips(kFolder);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_FALSE(list[0].first);
    EXPECT_FALSE(list[0].last);
    auto loaded = loadTrip(kFolder, L"Someday");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->icon, L"list_family.tga");
    EXPECT_TRUE(loaded->entries.empty());
}

TEST_F(TripFile, DamagedFileLoadsWhatItCanAndIsKeptBeforeRewriting) {
    const std::string original =
        "Rome:list_travel.tga~??~??\n"
        "6~02:03:2030:10:00~02:03:2030:11:00~15~Museum~0~0~Via Roma\n"  // whole
        "7~02:03:2030:10:00~02:03:2030:11:00~0~Unknown kind\n"          // dropped
        "3~31:02:2030:10:00~02:03:2030:11:00~0~Bad start\n"             // dropped
        "4~02:03:2030:12:00~garbage~20~Train\n"  // end and reminder put right
        "5~02:03:2030:18:00\n"                   // short: fields read empty
        "\n"
        "x~y~z";
    writeFile(L"Rome.trp", original);
    auto trip = loadTrip(kFolder, L"Rome");
    ASSERT_TRUE(trip);
    ASSERT_EQ(trip->entries.size(), 3u);
    EXPECT_EQ(trip->entries[0].text(5), L"Museum");
    EXPECT_EQ(trip->entries[0].text(8), L"Via Roma");
    EXPECT_EQ(trip->entries[0].reminder, 15);
    EXPECT_EQ(trip->entries[1].kind, EntryKind::Journey);
    EXPECT_EQ(trip->entries[1].end, trip->entries[1].start);
    EXPECT_EQ(trip->entries[1].reminder, 0);
    EXPECT_EQ(trip->entries[2].kind, EntryKind::Meeting);
    EXPECT_EQ(trip->entries[2].text(5), L"");
    EXPECT_EQ(trip->droppedLines, 4);
    EXPECT_EQ(trip->repairedEntries, 2);

    // Saving keeps the original beside the new file.
    ASSERT_TRUE(saveTrip(kFolder, *trip));
    EXPECT_EQ(fileText(L"Rome.trp.bak"), original);
    auto again = loadTrip(kFolder, L"Rome");
    ASSERT_TRUE(again);
    EXPECT_EQ(again->entries.size(), 3u);
    EXPECT_FALSE(again->damaged());
}

TEST_F(TripFile, TextsThatWouldBreakTheLineAreMadeSafe) {
    Trip trip;
    trip.name = L"Oslo";
    TripEntry note;
    note.start = note.end = at(2030, 1, 2, 8);
    note.setText(5, L"a~b \"quoted\"\nsecond line");
    trip.entries.push_back(note);
    ASSERT_TRUE(saveTrip(kFolder, trip));
    auto loaded = loadTrip(kFolder, L"Oslo");
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->entries.size(), 1u);
    EXPECT_EQ(loaded->entries[0].text(5), L"a-b 'quoted' second line");
    EXPECT_EQ(loaded->entries[0].text(8), L"");
}

TEST_F(TripFile, NamesAreFileNamesInsideTheFolder) {
    for (const wchar_t* good : {L"Lisbon", L"Summer 2030", L"Caf\u00e9 tour", L"a.b"})
        EXPECT_TRUE(isAcceptableTripName(good)) << good;
    for (const wchar_t* bad : {L"", L".hidden", L"..\\escape", L"a/b", L"a:b", L"a~b", L"a?",
                               L" lead", L"trail ", L"dot.", L"a\u0001b"})
        EXPECT_FALSE(isAcceptableTripName(bad)) << bad;
    EXPECT_FALSE(isAcceptableTripName(std::wstring(kMaxTripName + 1, L'a')));
    Trip trip;
    trip.name = L"..\\..\\windows\\x";
    EXPECT_FALSE(saveTrip(kFolder, trip));
    EXPECT_FALSE(loadTrip(kFolder, L"..\\x"));
    EXPECT_FALSE(loadTrip(kFolder, L"Missing"));
}

TEST_F(TripFile, EntryEndingBeforeItsStartIsRefused) {
    TripEntry e = hotel();
    EXPECT_EQ(entryProblem(e), 0);
    e.end = at(2030, 5, 1, 14, 59);
    EXPECT_EQ(entryProblem(e), 860);
    EXPECT_EQ(travel::test::englishTexts()(860), L"The end of this entry is before its start.");
    e.end = e.start;
    EXPECT_EQ(entryProblem(e), 0);
}

TEST_F(TripFile, DeletingRemovesOnlyThatTrip) {
    Trip a, b;
    a.name = L"A";
    b.name = L"B";
    ASSERT_TRUE(saveTrip(kFolder, a));
    ASSERT_TRUE(saveTrip(kFolder, b));
    EXPECT_TRUE(deleteTripFile(kFolder, L"A"));
    EXPECT_FALSE(deleteTripFile(kFolder, L"A"));
    EXPECT_FALSE(tripExists(kFolder, L"A"));
    EXPECT_TRUE(tripExists(kFolder, L"B"));
}
