// The user agreement's text as the wizard shows it: every line ends with CR LF whatever ended
// it in the file, the text is bounded, and the file name comes from the language list.

#include <gtest/gtest.h>

#include <string>

#include "core/language.h"
#include "platform/api/device.h"
#include "setup/agreement.h"
#include "tests/platform/support/test_device.h"

namespace setup {
namespace {

class AgreementTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::test::useTestDevice("240x320");
        platform::createFolder(L"\\app\\lang");
    }
    std::wstring write(std::string_view bytes) {
        std::wstring path = L"\\app\\lang\\eula.test.txt";
        EXPECT_TRUE(platform::writeFileAtomic(
            path, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}));
        return path;
    }
};

TEST_F(AgreementTest, EveryLineEndsWithCrLfTheLastOneToo) {
    EXPECT_EQ(agreementText(write("Terms\nof use\n\nlast line")),
              L"Terms\r\nof use\r\n\r\nlast line\r\n");
    EXPECT_EQ(agreementText(write("one\ntwo\n")), L"one\r\ntwo\r\n");
    EXPECT_EQ(agreementText(write("\xEF\xBB\xBF"
                                  "crlf\r\nlines\r\n")),
              L"crlf\r\nlines\r\n")
        << "CR LF in the file is not doubled";
    EXPECT_EQ(agreementText(write("Stra\xC3\x9F"
                                  "e")),
              L"Stra\u00DFe\r\n");
}

TEST_F(AgreementTest, AMissingOrEmptyFileGivesNoText) {
    EXPECT_EQ(agreementText(L"\\app\\lang\\missing.txt"), L"");
    EXPECT_EQ(agreementText(L""), L"");
    EXPECT_EQ(agreementText(write("")), L"");
}

TEST_F(AgreementTest, LinesAndTheWholeTextAreBounded) {
    std::string longLine(kAgreementLineLimit + 500, 'x');
    std::wstring shown = agreementText(write(longLine + "\nnext"));
    EXPECT_EQ(shown, std::wstring(kAgreementLineLimit, L'x') + L"\r\nnext\r\n");

    std::string many;
    for (int i = 0; i < 20000; ++i) many += "0123456789\n";
    shown = agreementText(write(many));
    EXPECT_EQ(shown.size(), kAgreementTextLimit);
    EXPECT_EQ(shown.substr(0, 24), L"0123456789\r\n0123456789\r\n");
}

TEST_F(AgreementTest, TheFileIsTheCurrentLanguagesAndStaysInTheLanguageFolder) {
    auto list = [](std::string_view lines) {
        platform::writeFileAtomic(
            L"\\app\\lang\\lang.dat",
            {reinterpret_cast<const std::uint8_t*>(lines.data()), lines.size()});
        ASSERT_TRUE(core::buildLanguageList(L"\\app\\", 1, 9));
    };
    list(
        "English~lang.0409.mui.txt~1~en-US~eula.0409.txt~0409~0~0~english\n"
        "Deutsch~lang.0407.mui.txt~0~de-DE~eula.0407.txt~0407~0~0~german\n");
    EXPECT_EQ(agreementPath(L"\\app\\"), L"\\app\\lang\\eula.0409.txt");
    core::languageList().setCurrentRow(2);
    EXPECT_EQ(agreementPath(L"\\app\\"), L"\\app\\lang\\eula.0407.txt");

    for (std::string_view bad : {"..\\..\\secret.txt", "../secret.txt", "", "..", "c:x"}) {
        list("English~lang.0409.mui.txt~1~en-US~" + std::string(bad) + "~0409~0~0~english\n");
        EXPECT_EQ(agreementPath(L"\\app\\"), L"") << bad;
    }
}

}  // namespace
}  // namespace setup
