// The settings file "vornroamer.ini": parsing, lookups, the default content, saving with
// its line ends, and the reports for bad lines and a file that cannot be created.

#include <gtest/gtest.h>

#include <string>

#include "core/settings_file.h"
#include "platform/api/device.h"
#include "tests/core/support/core_test_support.h"

using namespace core;
using core::test::readDeviceFile;
using core::test::writeDeviceFile;

namespace {

const std::string kMark = "\xEF\xBB\xBF";

class SettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::useDevice();
        platform::deleteFile(L"\\App\\vornroamer.ini");
        platform::createFolder(L"\\App");
        settingsFile().clear();
    }
};

TEST_F(SettingsFileTest, CreatedWithDefaultContentWhenMissing) {
    test::BoxCollector boxes;
    EXPECT_TRUE(ensureIniFile(L"\\App\\"));
    std::string bytes = readDeviceFile(L"\\App\\vornroamer.ini");
    EXPECT_EQ(bytes.substr(0, 3), kMark);
    EXPECT_EQ(bytes.substr(3, 30), "; vorn roamer settings file\r\n;");
    EXPECT_EQ(bytes.substr(bytes.size() - 6), "\r\n;eof");
    EXPECT_EQ(settingsFile().entries().size(), 16u);
    EXPECT_EQ(iniText(L"theme", L"x"), L"default");
    EXPECT_EQ(iniNumber(L"time", 12), 24);
    EXPECT_EQ(iniNumber(L"weathermode", 1), 1);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(SettingsFileTest, SaveWritesLfBetweenEntriesAndNoneAtTheEnd) {
    ensureIniFile(L"\\App");
    setIniNumber(L"countermode", 2);
    setIniNumber(L"time", 12);
    ASSERT_TRUE(saveIniFile());
    std::string bytes = readDeviceFile(L"\\App\\vornroamer.ini");
    EXPECT_EQ(bytes.find('\r'), std::string::npos);
    EXPECT_NE(bytes.find("\ntime=12\n"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 19), "\n;eof\ncountermode=2");
    // Loading it again gives the same list.
    ASSERT_TRUE(loadIniFile(L"\\App\\", true));
    EXPECT_EQ(iniNumber(L"countermode", 0), 2);
    EXPECT_EQ(settingsFile().entries().size(), 17u);
    EXPECT_EQ(settingsFile().entries().back().name, L"countermode");
}

TEST_F(SettingsFileTest, LookupRules) {
    test::BoxCollector boxes;
    writeDeviceFile(L"\\App\\vornroamer.ini",
                    kMark +
                        ";theme=comment\ntheme=first\ntheme=second\nTime=5\nempty=\n"
                        "url=a=b\nmapmode=3x\n");
    ASSERT_TRUE(loadIniFile(L"\\App\\", true));
    EXPECT_EQ(iniText(L"theme", L"d"), L"first");
    EXPECT_EQ(iniText(L"time", L"d"), L"d");  // names match case-sensitively
    EXPECT_EQ(iniText(L"empty", L"d"), L"d");
    EXPECT_EQ(iniNumber(L"empty", 4), 4);
    EXPECT_EQ(iniText(L"url", L""), L"a=b");
    EXPECT_EQ(iniNumber(L"mapmode", 1), 3);
    EXPECT_EQ(iniText(L";theme", L"d"), L"d");
    // The final line feed of the file stays on the last line and is removed like the rest,
    // so no stray empty line is reported.
    EXPECT_TRUE(boxes.boxes().empty());
    setIniNumber(L"theme", 9);
    EXPECT_EQ(settingsFile().entries()[1].value, L"9");
    EXPECT_EQ(settingsFile().entries()[2].value, L"second");
}

TEST_F(SettingsFileTest, ADamagedFileIsReportedOnceAndKeptBesideTheFirstSave) {
    test::BoxCollector boxes;
    std::string damaged = kMark + "a=1\r\nbroken line\r\nb=2\r\n\x01\x02junk\r\nmore junk";
    writeDeviceFile(L"\\App\\vornroamer.ini", damaged);
    ASSERT_TRUE(loadIniFile(L"\\App\\", true));
    EXPECT_TRUE(boxes.boxes().empty()) << "nothing is shown while the file loads";
    EXPECT_EQ(settingsFile().damagedLines(), 3);
    EXPECT_EQ(settingsFile().firstDamagedLine(), 2);
    EXPECT_EQ(settingsFile().entries().size(), 2u);
    EXPECT_EQ(iniNumber(L"b", 0), 2);

    EXPECT_TRUE(reportDamagedIniFile(L"Vorn Roamer"));
    EXPECT_FALSE(reportDamagedIniFile(L"Vorn Roamer"));
    ASSERT_TRUE(loadIniFile(L"\\App\\", true));
    EXPECT_FALSE(reportDamagedIniFile(L"Vorn Roamer")) << "once per run";
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_NE(boxes.boxes()[0].text.find(L"vornroamer.ini"), std::wstring::npos);
    EXPECT_NE(boxes.boxes()[0].text.find(L"3 lines"), std::wstring::npos);
    EXPECT_EQ(boxes.boxes()[0].caption, L"Vorn Roamer");
    EXPECT_EQ(boxes.boxes()[0].flags, 0x30u);

    ASSERT_TRUE(saveIniFile());
    EXPECT_EQ(readDeviceFile(L"\\App\\vornroamer.ini"), kMark + "a=1\nb=2");
    EXPECT_EQ(readDeviceFile(L"\\App\\vornroamer.ini.bak"), damaged);
    // The copy is of what the user had; later saves leave it alone.
    setIniNumber(L"a", 5);
    ASSERT_TRUE(saveIniFile());
    EXPECT_EQ(readDeviceFile(L"\\App\\vornroamer.ini.bak"), damaged);
}

TEST_F(SettingsFileTest, ASoundFileLeavesNoBackup) {
    platform::deleteFile(L"\\App\\vornroamer.ini.bak");
    writeDeviceFile(L"\\App\\vornroamer.ini", kMark + "a=1");
    ASSERT_TRUE(loadIniFile(L"\\App\\", true));
    EXPECT_EQ(settingsFile().damagedLines(), 0);
    EXPECT_FALSE(reportDamagedIniFile(L"Vorn Roamer"));
    ASSERT_TRUE(saveIniFile());
    EXPECT_FALSE(platform::fileExists(L"\\App\\vornroamer.ini.bak"));
}

TEST_F(SettingsFileTest, LoadAppendsUnlessReloading) {
    writeDeviceFile(L"\\App\\vornroamer.ini", kMark + "a=1");
    loadIniFile(L"\\App\\", true);
    loadIniFile(L"\\App\\", false);
    EXPECT_EQ(settingsFile().entries().size(), 2u);
    loadIniFile(L"\\App\\", true);
    EXPECT_EQ(settingsFile().entries().size(), 1u);
    EXPECT_FALSE(loadIniFile(L"\\Nowhere\\", true));
    EXPECT_TRUE(settingsFile().entries().empty());
}

TEST_F(SettingsFileTest, UncreatableFileIsReportedOnceAndReadsGiveDefaults) {
    test::BoxCollector boxes;
    EXPECT_FALSE(ensureIniFile(L"\\Missing Folder\\"));
    EXPECT_FALSE(ensureIniFile(L"\\Missing Folder\\"));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, L"Problems creating initial settings file !");
    EXPECT_EQ(boxes.boxes()[0].caption, L"Vorn Roamer");
    EXPECT_EQ(iniText(L"theme", L"default"), L"default");
    EXPECT_EQ(iniNumber(L"homemode", 1), 1);
}

TEST_F(SettingsFileTest, LongLinesAreCutAt254Characters) {
    writeDeviceFile(L"\\App\\vornroamer.ini", kMark + "k=" + std::string(400, 'v') + "\nz=1");
    ASSERT_TRUE(loadIniFile(L"\\App\\", true));
    EXPECT_EQ(iniText(L"k", L"").size(), 252u);
    EXPECT_EQ(iniNumber(L"z", 0), 1);
}

}  // namespace
