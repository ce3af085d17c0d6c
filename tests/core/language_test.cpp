// Language list and language files: choosing the language, loading strings, the comma
// fields, and the reports for missing files.

#include <gtest/gtest.h>

#include <string>

#include "core/language.h"
#include "core/settings.h"
#include "platform/api/device.h"
#include "platform/api/locale.h"
#include "tests/core/support/core_test_support.h"

using namespace core;
using core::test::writeDeviceFile;

namespace {

const std::string kMark = "\xEF\xBB\xBF";
const std::wstring kInstall = L"\\Lang Test\\";

class Language : public ::testing::Test {
  protected:
    void SetUp() override {
        test::clearRegistry();
        platform::setUserInterfaceLanguage(0x0409);
        test::takeQuitMessage();
        closeLanguage();
        writeDeviceFile(L"\\Lang Test\\lang\\lang.dat",
                        kMark +
                            "Deutsch~lang.0407.mui.txt~0~de~eula.0407.txt~0407~0~0~german\n"
                            "English~lang.0409.mui.txt~1~en~eula.0409.txt~0409~0~0~english\n"
                            "Espa\xC3\xB1ol~lang.0c0a.mui.txt~0~es~eula.0c0a.txt~0C0A~0~0~spanish");
        writeDeviceFile(L"\\Lang Test\\lang\\lang.0409.mui.txt",
                        kMark + "6\r\nHello\r\nLine\\rbreak\r\nx,A,B\r\nx,A,\r\nx,,B\r\nunused");
        writeDeviceFile(L"\\Lang Test\\lang\\lang.0407.mui.txt", kMark + "2\nHallo");
        writeDeviceFile(L"\\Lang Test\\lang\\lang.0c0a.mui.txt", kMark + "2\nHola");
    }
};

TEST_F(Language, CodesForLanguageIds) {
    EXPECT_EQ(languageCodeFor(0x0409), L"0409");
    EXPECT_EQ(languageCodeFor(2057), L"0409");
    EXPECT_EQ(languageCodeFor(0x0C0A), L"0C0A");
    EXPECT_EQ(languageCodeFor(0x10407), L"10407");
    platform::setUserInterfaceLanguage(0x0407);
    EXPECT_EQ(languageCodeFor(0), L"0407");
}

TEST_F(Language, ListMarksTheDefaultLine) {
    ASSERT_TRUE(buildLanguageList(kInstall, 1, 9));
    EXPECT_EQ(languageList().rowCount(), 3);
    EXPECT_EQ(languageList().currentRow(), 2);
    ASSERT_TRUE(buildLanguageList(kInstall, 7, 9));
    EXPECT_EQ(languageList().currentRow(), 1);
    EXPECT_FALSE(buildLanguageList(kInstall, 1, 0));
    EXPECT_TRUE(languageList().empty());
}

TEST_F(Language, DeviceLanguageChoice) {
    buildLanguageList(kInstall, 1, 9);
    platform::setUserInterfaceLanguage(0x0809);  // English - United Kingdom
    selectDeviceLanguage();
    EXPECT_EQ(languageList().currentRow(), 2);
    platform::setUserInterfaceLanguage(0x0C0A);
    selectDeviceLanguage();
    EXPECT_EQ(languageList().currentRow(), 3);
    platform::setUserInterfaceLanguage(0x0411);  // no Japanese file: English
    selectDeviceLanguage();
    EXPECT_EQ(languageList().currentRow(), 2);
}

TEST_F(Language, StringsAreLinesByNumber) {
    buildLanguageList(kInstall, 1, 9);
    EXPECT_EQ(languageString(1), L"NotLoaded");
    ASSERT_TRUE(openLanguage(kInstall, true, false));
    EXPECT_EQ(languageStringCount(), 6);
    EXPECT_EQ(languageString(1), L"6");
    EXPECT_EQ(languageString(2), L"Hello");
    EXPECT_EQ(languageString(3), L"Line\rbreak");
    EXPECT_EQ(languageString(6), L"x,,B");
    EXPECT_EQ(languageString(7), L"NotLoaded");
    EXPECT_EQ(languageString(0), L"NotLoaded");
    EXPECT_EQ(languageString(-1), L"NotLoaded");
    std::size_t length = 0;
    EXPECT_EQ(languageStringCopy(2, &length), L"Hello");
    EXPECT_EQ(length, 5u);
    EXPECT_EQ(languageStringCopy(99, &length), L"NotLoaded");
    EXPECT_EQ(length, 9u);
}

TEST_F(Language, CountAndFileLengthDisagree) {
    buildLanguageList(kInstall, 1, 9);
    // Count 3 with five lines: string 4 is not served.
    writeDeviceFile(L"\\Lang Test\\lang\\lang.0409.mui.txt", kMark + "3\na\nb\nc\nd");
    ASSERT_TRUE(openLanguage(kInstall, true, false));
    EXPECT_EQ(languageString(3), L"b");
    EXPECT_EQ(languageString(4), L"NotLoaded");
    // A count beyond the file's lines: the missing strings are empty, and a huge count
    // costs no memory.
    writeDeviceFile(L"\\Lang Test\\lang\\lang.0409.mui.txt", kMark + "2000000000\na");
    ASSERT_TRUE(openLanguage(kInstall, true, false));
    EXPECT_EQ(languageString(2), L"a");
    EXPECT_EQ(languageString(1999999999), L"");
    EXPECT_EQ(languageString(2000000001), L"NotLoaded");
    // Count 0 loads nothing.
    writeDeviceFile(L"\\Lang Test\\lang\\lang.0409.mui.txt", kMark + "0\na");
    EXPECT_TRUE(openLanguage(kInstall, true, false));
    EXPECT_EQ(languageString(1), L"NotLoaded");
}

TEST_F(Language, CarriageReturnEscapes) {
    buildLanguageList(kInstall, 1, 9);
    writeDeviceFile(L"\\Lang Test\\lang\\lang.0409.mui.txt",
                    kMark + "5\na\\rb\n\\r\\r\nc\\\\rd\nline\\n\\");
    ASSERT_TRUE(openLanguage(kInstall, true, false));
    EXPECT_EQ(languageString(2), L"a\rb");
    EXPECT_EQ(languageString(3), L"\r\r");
    EXPECT_EQ(languageString(4), L"c\\\rd");
    EXPECT_EQ(languageString(5), L"line\\n\\");
}

TEST_F(Language, CommaFields) {
    buildLanguageList(kInstall, 1, 9);
    openLanguage(kInstall, true, false);
    EXPECT_EQ(languageField(4, 0), L"A");
    EXPECT_EQ(languageField(4, 1), L"B");
    EXPECT_EQ(languageField(4, 2), L"NotLoaded");
    EXPECT_EQ(languageField(4, -1), L"NotLoaded");
    EXPECT_EQ(languageField(5, 1), L"NotLoaded");  // empty at the end
    EXPECT_EQ(languageField(6, 0), L"");           // empty between commas
    EXPECT_EQ(languageField(6, 1), L"B");
    EXPECT_EQ(languageField(2, 0), L"NotLoaded");
    EXPECT_EQ(languageField(99, 0), L"NotLoaded");
}

TEST_F(Language, StartChoiceUsesAndWritesTheStoredLanguage) {
    writeSetting(L"OptLang", L"0407");
    ASSERT_TRUE(chooseStartLanguage(kInstall));
    EXPECT_EQ(languageString(2), L"Hallo");
    EXPECT_EQ(readSetting(L"OptLangDownload", byteLimit::Text), L"german");

    // No stored choice: the device language, written back.
    test::clearRegistry();
    platform::setUserInterfaceLanguage(0x0C0A);
    ASSERT_TRUE(chooseStartLanguage(kInstall));
    EXPECT_EQ(languageString(2), L"Hola");
    EXPECT_EQ(readSetting(L"OptLang", byteLimit::Short), L"0C0A");
    EXPECT_EQ(readSetting(L"OptLangDownload", byteLimit::Text), L"spanish");
}

TEST_F(Language, UnknownOrOverlongStoredLanguageFallsBack) {
    // An unknown code leaves no current row; the file of row 1 is opened.
    writeSetting(L"OptLang", L"0411");
    ASSERT_TRUE(chooseStartLanguage(kInstall));
    EXPECT_EQ(languageString(2), L"Hallo");
    EXPECT_EQ(readSetting(L"OptLang", byteLimit::Short), L"0407");
    // 40 characters do not fit the 80-byte read: the device language is used.
    writeSetting(L"OptLang", std::wstring(40, L'0'));
    ASSERT_TRUE(chooseStartLanguage(kInstall));
    EXPECT_EQ(languageString(2), L"Hello");
}

TEST_F(Language, MissingListQuits) {
    test::BoxCollector boxes;
    EXPECT_FALSE(chooseStartLanguage(L"\\Nowhere\\"));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, L"No Language Dat File");
    EXPECT_EQ(boxes.boxes()[0].caption, L"Language");
    EXPECT_TRUE(test::takeQuitMessage());
    writeDeviceFile(L"\\Empty\\lang\\lang.dat", kMark);
    EXPECT_FALSE(buildLanguageList(L"\\Empty\\", 1, 9));
    EXPECT_EQ(boxes.boxes().size(), 2u);
    EXPECT_TRUE(test::takeQuitMessage());
}

TEST_F(Language, MissingLanguageFile) {
    test::BoxCollector boxes;
    writeDeviceFile(L"\\Lang Test\\lang\\lang.dat", "X~missing.txt~1~~~0409~~~x\nY~~0");
    buildLanguageList(kInstall, 1, 9);
    EXPECT_FALSE(openLanguage(kInstall, true, false));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, L"No Language File");
    EXPECT_TRUE(test::takeQuitMessage());
    EXPECT_EQ(languageString(1), L"NotLoaded");
    // Quiet: no box, but the program still quits.
    EXPECT_FALSE(openLanguage(kInstall, true, true));
    EXPECT_EQ(boxes.boxes().size(), 1u);
    EXPECT_TRUE(test::takeQuitMessage());
    // The English file beside the program keeps it running.
    writeDeviceFile(L"\\Lang Test\\lang.0409.mui.txt", kMark + "1");
    EXPECT_FALSE(openLanguage(kInstall, true, false));
    EXPECT_EQ(boxes.boxes().size(), 1u);
    EXPECT_FALSE(test::takeQuitMessage());
    platform::deleteFile(L"\\Lang Test\\lang.0409.mui.txt");
    // A line without a file name opens nothing and says nothing.
    languageList().setCurrentRow(2);
    EXPECT_FALSE(openLanguage(kInstall, true, false));
    EXPECT_EQ(boxes.boxes().size(), 1u);
}

}  // namespace
