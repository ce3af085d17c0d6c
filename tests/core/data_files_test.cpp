// The install folder's real data files read through the shared core: the city list, the zone
// table, the dialling codes, the language list and both language files.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "core/language.h"
#include "core/record_table.h"
#include "core/settings.h"
#include "core/text_case.h"
#include "core/text_file.h"
#include "platform/api/device.h"
#include "platform/api/locale.h"
#include "tests/core/support/core_test_support.h"
#include "tests/platform/support/test_device.h"

using namespace core;

namespace {

const std::wstring kInstall = L"\\Program Files\\Vorn Roamer\\";

class DataFiles : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        auto root = platform::test::useTestDevice();
        // Installed as on the device: the install folder is a link to the data folder.
        std::filesystem::create_directories(root / "Program Files");
        std::filesystem::path link = root / "Program Files" / "Vorn Roamer";
        if (!std::filesystem::is_symlink(link)) {
            std::filesystem::create_directory_symlink(
                std::filesystem::path(VORN_SOURCE_DIR) / "data", link);
        }
    }
    void SetUp() override { test::clearRegistry(); }
};

// Every line of a table file has as many fields as the first.
void expectConsistentFieldCounts(const std::wstring& path, int fields) {
    auto file = openTextFile(path, "r");
    ASSERT_TRUE(file) << platform::toUtf8(path);
    EXPECT_TRUE(file->isUtf8());
    std::wstring line;
    int number = 0;
    while (file->readLine(line, kTableLineLimit)) {
        ++number;
        if (!line.empty() && line.back() == L'\n')
            line.pop_back();
        ASSERT_EQ(std::count(line.begin(), line.end(), L'~') + 1, fields)
            << platform::toUtf8(path) << " line " << number;
    }
    EXPECT_GT(number, 0);
}

TEST_F(DataFiles, CityListLoadsWithTenFieldsAndKnownZones) {
    expectConsistentFieldCounts(kInstall + L"citylist.dat", 10);
    RecordTable cities(10);
    ASSERT_EQ(cities.load(kInstall, L"citylist.dat", L'~', true), 10);
    EXPECT_GT(cities.rowCount(), 20000);
    RecordTable zones(13);
    ASSERT_EQ(zones.load(kInstall, L"dstinfo.dat", L'~', true), 13);
    std::set<int> zoneNumbers;
    for (int r = 1; r <= zones.rowCount(); ++r) zoneNumbers.insert(zones.fieldInt(r, 1));
    std::set<std::wstring> codes;
    for (int r = 1; r <= cities.rowCount(); ++r) {
        ASSERT_TRUE(cities.field(r, 2)) << "row " << r;
        ASSERT_TRUE(zoneNumbers.count(cities.fieldInt(r, 1))) << "row " << r;
        codes.insert(std::wstring(cities.fieldText(r, 7)));
    }
    // City codes are the key the favourites and weather look-ups match on.
    EXPECT_EQ(static_cast<int>(codes.size()), cities.rowCount());
    EXPECT_EQ(cities.find(7, cities.fieldText(cities.rowCount(), 7)), cities.rowCount());
}

TEST_F(DataFiles, CityListSortsByEachKey) {
    RecordTable cities(10);
    cities.load(kInstall, L"citylist.dat", L'~', true);
    const struct {
        int column;
        bool numeric;
    } keys[] = {{2, false}, {3, false}, {1, true}};
    for (auto key : keys) {
        cities.sort(key.column, key.numeric);
        for (int r = 2; r <= cities.rowCount(); ++r) {
            if (key.numeric) {
                ASSERT_LE(cities.fieldInt(r - 1, key.column), cities.fieldInt(r, key.column));
            } else {
                ASSERT_LE(compareCodeUnits(cities.fieldText(r - 1, key.column),
                                           cities.fieldText(r, key.column)),
                          0);
            }
        }
    }
}

TEST_F(DataFiles, OtherTablesHaveConsistentFields) {
    expectConsistentFieldCounts(kInstall + L"dstinfo.dat", 13);
    expectConsistentFieldCounts(kInstall + L"mycities.dat", 10);
    // Country, calling code, international prefix, trunk prefix.
    expectConsistentFieldCounts(kInstall + L"dialcodes.dat", 4);
    expectConsistentFieldCounts(kInstall + L"lang\\lang.dat", 9);
}

TEST_F(DataFiles, LanguageListNamesExistingFiles) {
    ASSERT_TRUE(buildLanguageList(kInstall, 1, 9));
    RecordTable& list = languageList();
    EXPECT_EQ(list.fieldText(0, languageListField::Code), L"0409");
    for (int r = 1; r <= list.rowCount(); ++r) {
        for (int field : {languageListField::FileName, languageListField::AgreementFile}) {
            EXPECT_TRUE(
                platform::fileExists(kInstall + L"lang\\" + std::wstring(list.fieldText(r, field))))
                << "row " << r << " field " << field;
        }
        EXPECT_EQ(list.fieldText(r, languageListField::Code).size(), 4u);
    }
}

TEST_F(DataFiles, BothLanguageFilesServeEveryString) {
    std::vector<int> counts;
    for (platform::LanguageId id : {0x0409u, 0x0407u}) {
        platform::setUserInterfaceLanguage(id);
        ASSERT_TRUE(chooseStartLanguage(kInstall));
        EXPECT_EQ(readSetting(L"OptLang", byteLimit::Short), languageCodeFor(id));
        int count = languageStringCount();
        counts.push_back(count);
        EXPECT_EQ(languageString(1), std::to_wstring(count));
        // The file holds a line for every string it announces.
        auto file =
            openTextFile(kInstall + L"lang\\" + std::wstring(languageList().fieldText(0, 2)), "r");
        ASSERT_TRUE(file);
        int lines = 0;
        while (file->readLine(kShortLineLimit)) ++lines;
        EXPECT_GE(lines, count);
        // The comms error texts.
        for (int n = 682; n <= 687; ++n) EXPECT_FALSE(languageString(n).empty()) << n;
        EXPECT_EQ(languageString(count + 1), L"NotLoaded");
        test::clearRegistry();
    }
    EXPECT_EQ(counts[0], counts[1]);
    platform::setUserInterfaceLanguage(0x0409);
}

}  // namespace
