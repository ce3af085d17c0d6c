// The packing set of the user's language: untouched shipped files give way to the other
// language's, while anything the user made or changed stays.

#include "travel/packing_language.h"
#include "tests/packing/packing_test_folder.h"

namespace travel::test {
namespace {

using PackingLanguageSet = PackingFolderTest;

std::vector<std::wstring> titles(OverviewKind kind) {
    std::vector<std::wstring> names;
    for (const OverviewRow& row : packingOverview(kMainPath, kind))
        if (!row.fileName.empty())
            names.push_back(titleDisplayName(row.title));
    return names;
}

TEST_F(PackingLanguageSet, AGermanUserGetsTheGermanSet) {
    ASSERT_TRUE(switchPackingLanguage(kMainPath, L"0409", L"0407"));
    auto templates = titles(OverviewKind::Templates);
    EXPECT_EQ(templates.size(), 6u);
    EXPECT_NE(std::find(templates.begin(), templates.end(), L"Strandurlaub"), templates.end());
    EXPECT_EQ(std::find(templates.begin(), templates.end(), L"Beach holiday"), templates.end());
    MasterList master = MasterList::load(kMainPath);
    ASSERT_GT(master.count(), 100);
    EXPECT_EQ(master.entries()[0].text, L"Reisepass");
    EXPECT_EQ(master.entries()[0].category, L"Dokumente");
    // Back to English gives the English set again.
    ASSERT_TRUE(switchPackingLanguage(kMainPath, L"0407", L"0409"));
    templates = titles(OverviewKind::Templates);
    EXPECT_NE(std::find(templates.begin(), templates.end(), L"Beach holiday"), templates.end());
    EXPECT_EQ(std::find(templates.begin(), templates.end(), L"Strandurlaub"), templates.end());
}

TEST_F(PackingLanguageSet, WhatTheUserMadeOrChangedStays) {
    // A changed template, a changed master list and a list of the user's own.
    auto beach = loadPackingFile(kMainPath, L"Beach holiday.tmp");
    ASSERT_TRUE(beach);
    beach->items().push_back({false, false, L"Kite", L"Beach"});
    ASSERT_TRUE(beach->save(packingFolder(kMainPath)));
    MasterList master = MasterList::load(kMainPath);
    master.add(L"Kite", L"Beach");
    ASSERT_TRUE(master.save());
    PackingList({L"Mine:list_new.tga", L"Mine.lst", {{false, false, L"Hat", L"Clothes"}}})
        .save(packingFolder(kMainPath));

    ASSERT_TRUE(switchPackingLanguage(kMainPath, L"0409", L"0407"));
    auto templates = titles(OverviewKind::Templates);
    EXPECT_NE(std::find(templates.begin(), templates.end(), L"Beach holiday"), templates.end());
    EXPECT_NE(std::find(templates.begin(), templates.end(), L"Strandurlaub"), templates.end());
    EXPECT_EQ(std::find(templates.begin(), templates.end(), L"Skiing"), templates.end());
    EXPECT_EQ(MasterList::load(kMainPath).entries().back().text, L"Kite");
    EXPECT_EQ(titles(OverviewKind::Lists), std::vector<std::wstring>{L"Mine"});
}

TEST_F(PackingLanguageSet, NothingHappensWithoutASetOrForTheSameLanguage) {
    std::string before = readFile("fulllist.dat");
    EXPECT_FALSE(switchPackingLanguage(kMainPath, L"0409", L"0409"));
    EXPECT_FALSE(switchPackingLanguage(kMainPath, L"0409", L"040C"));
    EXPECT_FALSE(switchPackingLanguage(kMainPath, L"0409", L"..\\.."));
    EXPECT_FALSE(switchPackingLanguage(kMainPath, L"", L"0407"));
    EXPECT_EQ(readFile("fulllist.dat"), before);
    EXPECT_EQ(titles(OverviewKind::Templates).size(), 6u);
}

TEST_F(PackingLanguageSet, TheProgramsLanguageIsFollowedOnce) {
    core::RecordTable& languages = core::languageList();
    ASSERT_TRUE(languages.setCurrentRow(languages.find(core::languageListField::Code, L"0407")));
    followPackingLanguage(kMainPath);
    EXPECT_EQ(core::settings::read(keys::PackingLanguage), L"0407");
    EXPECT_EQ(MasterList::load(kMainPath).entries()[0].text, L"Reisepass");
    // A template the user deletes afterwards does not come back at the next visit.
    ASSERT_TRUE(deletePackingFile(kMainPath, L"Skiurlaub.tmp"));
    followPackingLanguage(kMainPath);
    EXPECT_FALSE(std::filesystem::exists(packingHost("Skiurlaub.tmp")));
    core::settings::write(keys::PackingLanguage, L"0409");
}

}  // namespace
}  // namespace travel::test
