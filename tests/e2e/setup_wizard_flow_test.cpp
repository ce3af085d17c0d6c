// The set-up wizard on a fresh device, walked as a new user would: once with the keys alone
// and once with the stylus alone, from the user agreement to the first screen with a city
// chosen. The settings and the city files in the install folder tell what happened.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/api/shell.h"
#include "platform/shell/message_box_layout.h"
#include "tests/e2e/support/main_program_session.h"

using namespace e2e;

namespace {

const std::string kReykjavik = "IS3413829";

// Points on a 240x320 screen, doubled on a 480x640 one. The window starts below the
// 26-pixel task bar and the wizard's layout is in 240-pixel coordinates; the soft keys are
// the outer fifths of the menu bar (294 to 320).
constexpr int kTaskBar = 26;
const std::pair<int, int> kLeftSoftKey{40, 307};
const std::pair<int, int> kRightSoftKey{200, 307};
const std::pair<int, int> kCityEntry{60, kTaskBar + 90};
const std::pair<int, int> kFirstResultTick{14, kTaskBar + 106 + 16};

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The first line of a city file without its byte-order mark; empty when there is none.
std::string firstCityLine(const std::filesystem::path& file) {
    std::string text = readFile(file);
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);
    return text.substr(0, text.find_first_of("\r\n"));
}

// String n of the English language file (ASCII for the strings used here).
std::wstring englishString(const std::filesystem::path& install, int n) {
    std::ifstream in(install / "lang" / "lang.0409.mui.txt", std::ios::binary);
    std::string line;
    for (int i = 0; i < n && std::getline(in, line); ++i) {
    }
    while (!line.empty() && line.back() == '\r') line.pop_back();
    return std::wstring(line.begin(), line.end());
}

class SetupWizardFlowTest : public MainProgramSession,
                            public ::testing::WithParamInterface<const char*> {
  protected:
    SetupWizardFlowTest() : MainProgramSession(GetParam()) {}
    void SetUp() override { install_ = device_.root() / "Program Files" / "Vorn Roamer"; }

    // A point of the 240x320 screen on the device's screen.
    std::pair<int, int> at(std::pair<int, int> point) const {
        int scale = std::string(GetParam()) == "480x640" ? 2 : 1;
        return {point.first * scale, point.second * scale};
    }

    bool favourite(const std::string& code) {
        return readFile(install_ / "mycities.dat").find("~" + code + "~") != std::string::npos;
    }
    bool waitForSetting(const std::string& name, const std::string& value) {
        return waitUntil([&] { return registryValue(name) == value; });
    }
    // The centre of a button of the program's Yes/No question.
    std::pair<int, int> questionButton(int stringNumber, int answer) {
        auto layout =
            platform::shell::layOutMessageBox(englishString(install_, stringNumber),
                                              platform::mb::YesNo | platform::mb::IconQuestion);
        for (const auto& b : layout.buttons) {
            if (b.answer == answer)
                return {(b.rect.left + b.rect.right) / 2, (b.rect.top + b.rect.bottom) / 2};
        }
        ADD_FAILURE() << "no button for answer " << answer;
        return {0, 0};
    }

    std::filesystem::path install_;
};

TEST_P(SetupWizardFlowTest, WalkedWithTheKeys) {
    startProgram(13);
    EXPECT_EQ(registryValue("WizardEULA"), "");
    key("softright");
    ASSERT_TRUE(waitForSetting("WizardEULA", "3"));
    EXPECT_EQ(registryValue("WizardDone"), "1");

    // The entry has the focus: type, Enter searches, Enter ticks the first city, the right
    // soft key adds it.
    ask({"type", "Reykjav"});
    key("enter");
    key("enter");
    key("softright");
    ASSERT_TRUE(waitUntil([&] { return favourite(kReykjavik); }));
    EXPECT_EQ(registryValue("OptHomeLayoutReload"), "1");

    // The look: Down moves to the background list, Enter opens it, Down and Enter choose the
    // first picture after "automatic".
    key("softright");
    key("down");
    key("enter");
    key("down");
    key("enter");
    ASSERT_TRUE(waitUntil([&] { return registryValue("OptSkin").ends_with(".jpg"); }));

    // The last page: Enter finishes, and the download question is declined with its key
    // (the program takes input in order, so the key reaches the question).
    key("softright");
    key("enter");
    key("n");
    ASSERT_TRUE(waitForModule(10)) << device_.deviceLog();
    // Back does not lead into the wizard again.
    key("back");
    EXPECT_EQ(module(), 10);
    ask({"stop"});
    EXPECT_EQ(registryValue("WizardEULA"), "3");
    EXPECT_EQ(registryValue("FavCity"), "1") << "London, the shipped home city, stays current";
}

TEST_P(SetupWizardFlowTest, WalkedWithTheStylusTheFirstCityBecomesTheHomeCity) {
    // No favourites yet: the city the user adds becomes the home city.
    std::ofstream(install_ / "mycities.dat", std::ios::trunc).close();
    startProgram(13);
    tap(at(kRightSoftKey));
    ASSERT_TRUE(waitForSetting("WizardEULA", "3"));

    tap(at(kCityEntry));
    ask({"type", "Reykjav"});
    tap(at(kRightSoftKey));
    tap(at(kFirstResultTick));
    tap(at(kRightSoftKey));
    ASSERT_TRUE(waitUntil([&] { return favourite(kReykjavik); }));

    tap(at(kRightSoftKey));
    tap(at(kRightSoftKey));
    tap(at(kRightSoftKey));
    // The download question; No by its button.
    tap(questionButton(606, platform::id::No));
    ASSERT_TRUE(waitForModule(10)) << device_.deviceLog();
    ask({"stop"});
    EXPECT_EQ(registryValue("FavCity"), "1");
    EXPECT_NE(firstCityLine(install_ / "mycities.dat").find("~Reykjavík~Iceland~"),
              std::string::npos);
}

TEST_P(SetupWizardFlowTest, DecliningTheAgreementWithTheLeftSoftKeyEndsTheProgram) {
    startProgram(13);
    std::string before = ask({"reg", "list", "HKCU", kSettingsKey});
    tap(at(kLeftSoftKey));
    ASSERT_TRUE(waitUntil(
        [&] { return device_.ctl({"windows"}).out.find("vornroamer3.exe") == std::string::npos; }));
    EXPECT_EQ(ask({"reg", "list", "HKCU", kSettingsKey}), before);
}

INSTANTIATE_TEST_SUITE_P(BothScales, SetupWizardFlowTest, ::testing::Values("240x320", "480x640"),
                         [](const auto& info) {
                             return std::string(info.param[0] == '2' ? "Small" : "Large");
                         });

}  // namespace
