// Packing list and template files: what loading keeps of damaged files, the header that
// saving writes, the names a new list may take, and the category groups the screens show.

#include "travel/packing_list.h"
#include "tests/packing/packing_test_folder.h"
#include "travel/packing_groups.h"

namespace travel::test {
namespace {

using PackingListFile = PackingFolderTest;

TEST_F(PackingListFile, SavingWritesTheCountsOfTheMomentInTheHeader) {
    PackingList list(L"Weekend:list_city.tga", L"Weekend.lst",
                     {{true, false, L"Passport", L"Documents"},
                      {false, true, L"Socks", L"Clothes"},
                      {false, false, L"Charger", L"Electronics"}});
    ASSERT_TRUE(list.save(packingFolder(kMainPath)));
    EXPECT_EQ(fileText("Weekend.lst"),
              "Weekend:list_city.tga~3~1~0\n"
              "1~0~Passport~Documents\n"
              "0~1~Socks~Clothes\n"
              "0~0~Charger~Electronics");
    auto again = PackingList::load(packingFolder(kMainPath), L"Weekend.lst");
    ASSERT_TRUE(again);
    EXPECT_EQ(again->title(), L"Weekend:list_city.tga");
    EXPECT_EQ(again->items(), list.items());
    EXPECT_EQ(again->tickedCount(), 1);
    EXPECT_EQ(again->flaggedCount(), 1);
    // Nothing but the list itself is left in the folder (no temporary file of the save).
    for (const auto& entry : std::filesystem::directory_iterator(install_ / "packing"))
        EXPECT_EQ(entry.path().filename().string().find(".tmp~"), std::string::npos);
}

TEST_F(PackingListFile, ADamagedFileLoadsWhatItCan) {
    writeFile("Odd.lst",
              "\"Odd trip\":list_ski.tga~banana\n"
              "1~1~Boots~Winter\n"
              "\n"
              "yes~~Gloves\n"
              "1\n"
              "0~0~  ~Empty text\n"
              "0~1~\"Hat\"~Winter~extra~fields\n");
    auto list = PackingList::load(packingFolder(kMainPath), L"Odd.lst");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->displayName(), L"Odd trip");
    EXPECT_EQ(list->icon(), L"list_ski.tga");
    std::vector<PackingItem> expected = {{true, true, L"Boots", L"Winter"},
                                         {false, false, L"Gloves", L""},
                                         {false, true, L"Hat", L"Winter"}};
    EXPECT_EQ(list->items(), expected);
}

TEST_F(PackingListFile, AHeaderWithoutTitleTakesTheFileName) {
    writeFile("Bare.lst", "~2~2~0\n0~0~Map~Travel\n");
    auto list = PackingList::load(packingFolder(kMainPath), L"Bare.lst");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->displayName(), L"Bare");
    EXPECT_EQ(list->itemCount(), 1);
}

TEST_F(PackingListFile, AnEmptyOrMissingFileIsNoList) {
    writeFile("Empty.lst", "");
    EXPECT_FALSE(PackingList::load(packingFolder(kMainPath), L"Empty.lst"));
    EXPECT_FALSE(PackingList::load(packingFolder(kMainPath), L"Nothing.lst"));
    // A header alone is a list without items.
    writeFile("Header.lst", "Header only:list_new.tga~0~0~0");
    auto list = PackingList::load(packingFolder(kMainPath), L"Header.lst");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->itemCount(), 0);
}

TEST_F(PackingListFile, TypedTextCannotBreakTheLineOrTheFields) {
    PackingList list(L"Typed:list_new.tga", L"Typed.lst",
                     {{false, false, L"Shoes~size 42\r\nblack \"new\"", L"Clo~thes\t"}});
    ASSERT_TRUE(list.save(packingFolder(kMainPath)));
    auto again = PackingList::load(packingFolder(kMainPath), L"Typed.lst");
    ASSERT_TRUE(again);
    ASSERT_EQ(again->itemCount(), 1);
    EXPECT_EQ(again->items()[0].text, L"Shoes-size 42black new");
    EXPECT_EQ(again->items()[0].category, L"Clo-thes");
}

TEST(PackingNames, OnlyPlainNamesBecomeFiles) {
    EXPECT_TRUE(isValidListName(L"Summer 2027"));
    EXPECT_TRUE(isValidListName(L"Ferien in Österreich"));
    for (std::wstring_view bad :
         {L"", L"   ", L"..", L".hidden", L"a\\b", L"a/b", L"..\\..\\windows\\x", L"a:b", L"a*b",
          L"what?", L"a|b", L"tab\tname", L"new\nline", L"a~b", L" padded "}) {
        EXPECT_FALSE(isValidListName(bad)) << platform::toUtf8(bad);
    }
    EXPECT_FALSE(isValidListName(std::wstring(kMaxNameLength + 1, L'x')));
    EXPECT_TRUE(isValidListName(std::wstring(kMaxNameLength, L'x')));
}

TEST(PackingTitles, SplitAtTheFirstColon) {
    EXPECT_EQ(titleDisplayName(L"Beach holiday:list_beach.tga"), L"Beach holiday");
    EXPECT_EQ(titleIcon(L"Beach holiday:list_beach.tga"), L"list_beach.tga");
    EXPECT_EQ(titleDisplayName(L"No icon"), L"No icon");
    EXPECT_EQ(titleIcon(L"No icon"), L"");
    EXPECT_EQ(makeTitle(L"Trip", L"list_new.tga"), L"Trip:list_new.tga");
}

TEST(PackingGroups, ItemsGoUnderTheirCategoryInOrderOfFirstAppearance) {
    std::vector<PackingItem> items = {{false, false, L"Passport", L"Documents"},
                                      {false, false, L"Socks", L"Clothes"},
                                      {false, false, L"Tickets", L"Documents"},
                                      {false, false, L"Mystery", L""}};
    auto rows = groupByCategory(items, L"Other");
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_TRUE(rows[0].heading);
    EXPECT_EQ(rows[0].text, L"Documents (2)");
    EXPECT_EQ(rows[1].item, 0);
    EXPECT_EQ(rows[2].item, 2);
    EXPECT_EQ(rows[3].text, L"Clothes (1)");
    EXPECT_EQ(rows[4].item, 1);
    EXPECT_EQ(rows[5].text, L"Other (1)");
    EXPECT_EQ(rows[6].text, L"Mystery");
    EXPECT_TRUE(groupByCategory({}, L"Other").empty());
}

}  // namespace
}  // namespace travel::test
