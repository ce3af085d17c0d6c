// The packing folder: the overviews and their status texts, new lists from templates or
// empty, names that exist already, saving as a template, deleting, and the master list.

#include "tests/packing/packing_test_folder.h"

namespace travel::test {
namespace {

using PackingStore = PackingFolderTest;

const OverviewRow* rowOf(const std::vector<OverviewRow>& rows, std::wstring_view file) {
    for (const OverviewRow& row : rows)
        if (row.fileName == file)
            return &row;
    return nullptr;
}

TEST_F(PackingStore, StatusTellsEmptyAllPackedOrTheCounts) {
    EXPECT_EQ(packingStatusText(0, 0), L"No items");
    EXPECT_EQ(packingStatusText(4, 4), L"Everything packed");
    EXPECT_EQ(packingStatusText(5, 2), L"5 items, 2 packed");
    EXPECT_EQ(packingStatusText(5, 0), L"5 items, 0 packed");
}

TEST_F(PackingStore, OverviewsStartWithTheNewRowAndSkipUnreadableFiles) {
    PackingList({L"All done:list_home.tga", L"Done.lst", {{true, false, L"Keys", L"Home"}}})
        .save(packingFolder(kMainPath));
    PackingList({L"Half:list_city.tga",
                 L"Half.lst",
                 {{true, false, L"Keys", L"Home"}, {false, false, L"Map", L"Travel"}}})
        .save(packingFolder(kMainPath));
    PackingList({L"Nothing yet:list_new.tga", L"Nothing.lst", {}}).save(packingFolder(kMainPath));
    writeFile("Broken.lst", "");
    // A header that lies about its counts.
    writeFile("Liar.lst", "Liar:list_new.tga~40~40~0\n0~0~Hat~Clothes\n");

    auto lists = packingOverview(kMainPath, OverviewKind::Lists);
    ASSERT_EQ(lists.size(), 5u);
    EXPECT_EQ(lists[0].title, L"New List:list_new.tga");
    EXPECT_EQ(lists[0].fileName, L"");
    EXPECT_EQ(lists[0].itemCount, 0);
    EXPECT_EQ(rowOf(lists, L"Broken.lst"), nullptr);
    ASSERT_NE(rowOf(lists, L"Done.lst"), nullptr);
    EXPECT_EQ(rowOf(lists, L"Done.lst")->status, L"Everything packed");
    EXPECT_EQ(rowOf(lists, L"Half.lst")->status, L"2 items, 1 packed");
    EXPECT_EQ(rowOf(lists, L"Half.lst")->title, L"Half:list_city.tga");
    EXPECT_EQ(rowOf(lists, L"Nothing.lst")->status, L"No items");
    EXPECT_EQ(rowOf(lists, L"Liar.lst")->itemCount, 1);
    EXPECT_EQ(rowOf(lists, L"Liar.lst")->tickedCount, 0);

    auto templates = packingOverview(kMainPath, OverviewKind::Templates);
    EXPECT_EQ(templates[0].title, L"New Empty List:list_new.tga");
    ASSERT_NE(rowOf(templates, L"Beach holiday.tmp"), nullptr);
    EXPECT_EQ(rowOf(templates, L"Beach holiday.tmp")->status,
              L"" + std::to_wstring(rowOf(templates, L"Beach holiday.tmp")->itemCount) +
                  L" items, 0 packed");
    EXPECT_EQ(rowOf(templates, L"Half.lst"), nullptr);
}

TEST_F(PackingStore, AnEmptyOrMissingFolderHoldsOnlyTheFirstRow) {
    std::filesystem::remove_all(install_ / "packing");
    EXPECT_EQ(packingOverview(kMainPath, OverviewKind::Lists).size(), 1u);
    EXPECT_EQ(packingOverview(kMainPath, OverviewKind::Templates).size(), 1u);
    std::filesystem::create_directories(install_ / "packing");
    EXPECT_EQ(packingOverview(kMainPath, OverviewKind::Lists).size(), 1u);
}

TEST_F(PackingStore, ANewListTakesTheTemplatesItemsAndTheChosenIcon) {
    auto beach = loadPackingFile(kMainPath, L"Beach holiday.tmp");
    ASSERT_TRUE(beach);
    ASSERT_GT(beach->itemCount(), 10);
    ASSERT_EQ(checkNewListName(kMainPath, L"Crete"), NameCheck::Ok);
    PackingList crete = newPackingList(L"Crete", L"list_beach.tga", &*beach);
    EXPECT_EQ(crete.title(), L"Crete:list_beach.tga");
    EXPECT_EQ(crete.fileName(), L"Crete.lst");
    EXPECT_EQ(crete.items(), beach->items());
    // Nothing is written until the list is saved.
    EXPECT_FALSE(std::filesystem::exists(packingHost("Crete.lst")));
    ASSERT_TRUE(crete.save(packingFolder(kMainPath)));
    EXPECT_EQ(checkNewListName(kMainPath, L"Crete"), NameCheck::Exists);
    EXPECT_EQ(checkNewListName(kMainPath, L"crete"), NameCheck::Exists);
    EXPECT_EQ(checkNewListName(kMainPath, L"..\\Crete"), NameCheck::Invalid);

    PackingList empty = newPackingList(L"Blank", L"", nullptr);
    EXPECT_EQ(empty.itemCount(), 0);
    EXPECT_EQ(empty.icon(), L"list_new.tga");
}

TEST_F(PackingStore, SavingAsATemplateReplacesOneOfThatName) {
    PackingList list(L"Crete:list_beach.tga", L"Crete.lst",
                     {{true, true, L"Snorkel", L"Beach"}, {false, false, L"Hat", L"Clothes"}});
    ASSERT_TRUE(saveAsTemplate(kMainPath, list, L"Islands"));
    EXPECT_EQ(fileText("Islands.tmp"),
              "Islands:list_beach.tga~2~1~0\n1~1~Snorkel~Beach\n0~0~Hat~Clothes");
    list.items().pop_back();
    ASSERT_TRUE(saveAsTemplate(kMainPath, list, L"Islands"));
    EXPECT_EQ(fileText("Islands.tmp"), "Islands:list_beach.tga~1~1~0\n1~1~Snorkel~Beach");
    EXPECT_FALSE(saveAsTemplate(kMainPath, list, L"../escape"));
    EXPECT_FALSE(std::filesystem::exists(install_ / "escape.tmp"));
}

TEST_F(PackingStore, DeletingTakesOnlyListsAndTemplatesOfTheFolder) {
    writeFile("Old.lst", "Old:list_new.tga~0~0~0");
    EXPECT_TRUE(deletePackingFile(kMainPath, L"Old.lst"));
    EXPECT_FALSE(std::filesystem::exists(packingHost("Old.lst")));
    EXPECT_TRUE(deletePackingFile(kMainPath, L"Skiing.tmp"));
    EXPECT_FALSE(deletePackingFile(kMainPath, L"fulllist.dat"));
    EXPECT_FALSE(deletePackingFile(kMainPath, L"..\\lang\\lang.dat"));
    EXPECT_TRUE(std::filesystem::exists(packingHost("fulllist.dat")));
    EXPECT_TRUE(std::filesystem::exists(install_ / "lang" / "lang.dat"));
}

TEST_F(PackingStore, ListIconsAreTheTargaFilesOfTheIconFolder) {
    writeFile("../listicons/.hidden.tga", "x");
    writeFile("../listicons/readme.txt", "x");
    auto icons = listIcons(kMainPath);
    EXPECT_EQ(icons.size(), 8u);
    EXPECT_NE(std::find(icons.begin(), icons.end(), L"list_beach.tga"), icons.end());
    EXPECT_EQ(std::find(icons.begin(), icons.end(), L".hidden.tga"), icons.end());
}

TEST_F(PackingStore, OpeningTheMasterListClearsEveryChoice) {
    writeFile("fulllist.dat", "1~0~Passport~Documents\n0~1~Hat~Clothes\n1~0~Map~Travel\n");
    MasterList master = MasterList::load(kMainPath);
    ASSERT_EQ(master.count(), 3);
    master.clearChoices();
    std::vector<PackingItem> items;
    EXPECT_EQ(master.addChosenTo(items), 0);
    EXPECT_TRUE(items.empty());
}

TEST_F(PackingStore, ChosenEntriesJoinTheListUnticked) {
    writeFile("fulllist.dat", "0~0~Passport~Documents\n0~1~Hat~Clothes\n0~0~Map~Travel\n");
    MasterList master = MasterList::load(kMainPath);
    ASSERT_TRUE(master.toggleChoice(1));
    ASSERT_TRUE(master.toggleChoice(2));
    ASSERT_TRUE(master.toggleChoice(2));
    ASSERT_TRUE(master.toggleChoice(0));
    EXPECT_FALSE(master.toggleChoice(3));
    std::vector<PackingItem> items = {{true, false, L"Socks", L"Clothes"}};
    EXPECT_EQ(master.addChosenTo(items), 2);
    std::vector<PackingItem> expected = {{true, false, L"Socks", L"Clothes"},
                                         {false, false, L"Passport", L"Documents"},
                                         {false, false, L"Hat", L"Clothes"}};
    EXPECT_EQ(items, expected);
}

TEST_F(PackingStore, NewEditedAndDeletedEntriesReachTheFile) {
    writeFile("fulllist.dat", "0~0~Passport~Documents\n0~0~Hat~Clothes\n");
    MasterList master = MasterList::load(kMainPath);
    EXPECT_EQ(master.add(L"  ", L"Clothes"), -1);
    int kite = master.add(L"Kite", L"Beach");
    ASSERT_EQ(kite, 2);
    EXPECT_TRUE(master.entries()[2].ticked);
    EXPECT_TRUE(master.edit(1, L"Sun hat", L"Beach"));
    EXPECT_FALSE(master.edit(7, L"Nothing", L""));
    EXPECT_FALSE(master.edit(0, L"", L"Documents"));
    ASSERT_TRUE(master.remove(0));
    EXPECT_FALSE(master.remove(5));
    ASSERT_TRUE(master.save());
    EXPECT_EQ(fileText("fulllist.dat"), "1~0~Sun hat~Beach\n1~0~Kite~Beach");
    EXPECT_EQ(MasterList::load(kMainPath).count(), 2);
}

TEST_F(PackingStore, AMissingMasterListIsEmptyAndCanBeStarted) {
    std::filesystem::remove(packingHost("fulllist.dat"));
    MasterList master = MasterList::load(kMainPath);
    EXPECT_EQ(master.count(), 0);
    master.add(L"Umbrella", L"Travel");
    ASSERT_TRUE(master.save());
    EXPECT_EQ(fileText("fulllist.dat"), "1~0~Umbrella~Travel");
}

}  // namespace
}  // namespace travel::test
