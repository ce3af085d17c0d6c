// The conversion screen inside the program's own application on a headless window: the stored
// category, the chosen units and their chooser, the keypad's entry, the currency heading, and
// the rates update through a stand-in comms program.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/application.h"
#include "conversions/screens/conversion_list.h"
#include "conversions/screens/conversion_screen.h"
#include "conversions/screens/keypad.h"
#include "conversions/screens/screens.h"
#include "core/comms.h"
#include "core/language.h"
#include "core/message_box.h"
#include "core/settings.h"
#include "platform/api/controls.h"
#include "platform/api/device.h"
#include "platform/api/shell_install.h"
#include "tests/platform/support/message_pump.h"
#include "tests/platform/support/test_device.h"
#include "tests/screens/support/screen_device.h"

using namespace platform;
using namespace conversions;

namespace {

constexpr int kLength = 64, kCurrency = 61;
const std::wstring kProgram = L"\\Program Files\\Vorn Roamer\\vornroamer3.exe";

class ConversionScreenTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { install_ = screens::test::screenTestDevice(); }

    void SetUp() override {
        std::filesystem::copy_file(
            std::filesystem::path(VORN_SOURCE_DIR) / "data" / "conversions" / "rates.dat",
            install_ / "conversions" / "rates.dat",
            std::filesystem::copy_options::overwrite_existing);
        core::writeNumberSetting(L"SchedulerStatus", 0);
        messages_.clear();
        core::setMessageBoxHook([this](std::wstring_view text, std::wstring_view, std::uint32_t) {
            messages_.push_back(std::wstring(text));
            return id::Ok;
        });
        app_ = std::make_unique<app::Application>(kProgram);
        core::buildLanguageList(app_->mainPath(), 1, 9);
        core::openLanguage(app_->mainPath(), true, true);
        registerScreens(app_->screens());
        ASSERT_TRUE(app_->createMainWindow());
    }

    void TearDown() override {
        // A stand-in comms program still running would outlive the test's device.
        EXPECT_TRUE(pumpUntil([] {
            return !core::isCommsRunning() &&
                   !findWindow(core::kCommsWindowName, core::kCommsWindowName);
        }));
        app_.reset();
        pump();
        core::setMessageBoxHook({});
    }

    void open(int id, int mode) {
        core::writeNumberSetting(L"ConversionMode", mode);
        app_->switchModule(id, {.saveOld = true});
        pump();
        ASSERT_EQ(app_->currentModuleId(), id);
    }
    void pump() { platform::test::deliverPosted(); }
    template <class Condition>
    bool pumpUntil(Condition condition) {
        return platform::test::deliverUntil(condition);
    }
    ConversionScreen& screen() { return *static_cast<ConversionScreen*>(app_->currentModule()); }
    std::vector<ListRow>& values() { return screen().list().rows().values(); }

    static inline std::filesystem::path install_;
    std::unique_ptr<app::Application> app_;
    std::vector<std::wstring> messages_;
};

TEST_F(ConversionScreenTest, TheStoredModeOpensItsCategoryAndTheChooserSavesTheUnits) {
    core::writeSetting(L"conv_Length", L"km~gone~mi");
    open(kLength, 4);
    EXPECT_EQ(screen().category().key, L"Length");
    ASSERT_EQ(values().size(), 3u);
    EXPECT_EQ(values()[1].name, kCannotFindRate) << "a unit no longer in the file";
    EXPECT_EQ(values()[2].value, L"0.621") << "the others convert";

    screen().openChooser();
    ASSERT_TRUE(screen().choosing());
    EXPECT_EQ(screen().headingText(), core::languageString(138));
    auto& chooser = screen().list().rows().chooser();
    for (ChooserRow& row : chooser) row.ticked = row.key == L"m" || row.key == L"ft";
    screen().command(conversionCommand::CancelChooser, 0);
    EXPECT_EQ(core::readSetting(L"conv_Length", core::byteLimit::Long), L"km~gone~mi")
        << "cancel keeps the choice";
    screen().openChooser();
    for (ChooserRow& row : screen().list().rows().chooser())
        row.ticked = row.key == L"ft" || row.key == L"m";
    screen().command(ui::command::LeftSoftKey, 0);
    EXPECT_FALSE(screen().choosing());
    EXPECT_EQ(core::readSetting(L"conv_Length", core::byteLimit::Long), L"m~ft")
        << "in the file's order";
    ASSERT_EQ(values().size(), 2u);
    EXPECT_EQ(values()[1].value, L"3.281");
}

TEST_F(ConversionScreenTest, TheKeypadConvertsNumbersAndLeavesTheValuesForAnythingElse) {
    core::writeSetting(L"conv_Length", L"km~mi");
    open(kLength, 4);
    ASSERT_TRUE(screen().openKeypad());
    Keypad& keypad = screen().keypad();
    EXPECT_EQ(keypad.entry().shown(), L"1.000");
    for (KeypadKey key : {KeypadKey::Digit5, KeypadKey::Sign, KeypadKey::Backspace})
        keypad.press(key);
    keypad.press(KeypadKey::Done);  // "-" is no number
    EXPECT_FALSE(screen().keypadOpen());
    EXPECT_EQ(values()[1].value, L"0.621");
    ASSERT_TRUE(screen().openKeypad());
    for (KeypadKey key : {KeypadKey::Digit1, KeypadKey::Digit0, KeypadKey::Digit0})
        keypad.press(key);
    keypad.press(KeypadKey::Done);
    EXPECT_EQ(values()[1].value, L"62.137");
    // A category of one unit opens no keypad.
    core::writeSetting(L"conv_Length", L"km");
    screen().selectCategory(screen().categoryIndex());
    EXPECT_FALSE(screen().openKeypad());
}

TEST_F(ConversionScreenTest, TheCurrencyHeadingSaysTheSourceAndAgeAndTheUpdateReloadsRates) {
    core::writeSetting(L"conv_Currency", L"EUR~USD");
    open(kCurrency, 1);
    EXPECT_EQ(screen().headingText().rfind(L"Rates of ", 0), 0u)
        << platform::toUtf8(screen().headingText());
    EXPECT_NE(screen().ageText().find(L"Approximate seed rates"), std::wstring::npos);
    EXPECT_NE(screen().ageText().find(core::languageString(135)), std::wstring::npos)
        << "the seed rates are long past a week old";
    screen().convert(100, 1);
    EXPECT_EQ(values()[1].value, L"116.279");

    // The comms program leaves new rates, dated today, and reports success.
    platform::SystemTime today = deviceUtcTime();
    char date[40];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", today.year, today.month, today.day);
    std::ofstream(install_ / "conversions" / "rates.dat", std::ios::binary)
        << "USD~$~US Dollar~1\nEUR~&#8364;~Euro~0.8\n#rates~Test bank~~" << date;
    screen().command(conversionCommand::UpdateRates, 0);
    ASSERT_TRUE(pumpUntil([&] { return values()[1].value == L"1.250"; }));
    EXPECT_EQ(core::readSetting(L"FakeCommsRequest", core::byteLimit::Text), L"/currency");
    ASSERT_TRUE(pumpUntil([&] { return !core::isCommsRunning(); }));
    pump();
    EXPECT_EQ(screen().ageText(), L"Test bank, 0 days old");
    EXPECT_TRUE(messages_.empty());
}

TEST_F(ConversionScreenTest, AnUpdateThatCannotStartSaysSo) {
    open(kCurrency, 1);
    std::filesystem::path comms =
        install_.parent_path().parent_path() / "windows" / "vornroamer3_sched.exe";
    std::filesystem::path aside = comms.string() + ".aside";
    std::filesystem::rename(comms, aside);
    screen().command(conversionCommand::UpdateRates, 0);
    std::filesystem::rename(aside, comms);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], core::languageString(713));
    EXPECT_EQ(screen().headingText().rfind(L"Rates of ", 0), 0u) << "not busy";
}

TEST_F(ConversionScreenTest, TheCommsProgramsErrorIsShownAndTheRatesStay) {
    core::writeSetting(L"conv_Currency", L"EUR~USD");
    open(kCurrency, 1);
    core::writeSetting(L"SchedErrorStr", L"3");
    screen().command(conversionCommand::UpdateRates, 0);
    screen().commsMessage(app_->mainWindow(), 0, core::commsReport::Error, 0);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_FALSE(messages_[0].empty());
    EXPECT_EQ(values()[1].value, L"1.163") << "the rates as they were";
    ASSERT_TRUE(pumpUntil([&] { return !core::isCommsRunning(); }));
}

}  // namespace
