// The set-up wizard inside the program's own application on a headless window: which step it
// opens on, declining and accepting the agreement, the city search and adding, the look, the
// finish with its questions, the soft keys of every step, its timers and a rotation.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <deque>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/application.h"
#include "core/comms.h"
#include "core/comms_request.h"
#include "core/format.h"
#include "core/language.h"
#include "core/message_box.h"
#include "core/settings.h"
#include "platform/api/control.h"
#include "platform/api/controls.h"
#include "platform/api/device.h"
#include "platform/api/profile.h"
#include "platform/api/registry.h"
#include "platform/api/shell_install.h"
#include "setup/agreement.h"
#include "setup/screens/screens.h"
#include "setup/screens/setup_wizard.h"
#include "setup/screens/wizard_layouts.h"
#include "setup/screens/wizard_pictures.h"
#include "tests/platform/support/message_pump.h"
#include "tests/platform/support/test_device.h"
#include "tests/screens/support/screen_device.h"
#include "ui/edit_field.h"
#include "ui/label.h"
#include "ui/option_list.h"
#include "worldtime/screens/city_lists.h"
#include "worldtime/screens/screens.h"

using namespace platform;
using namespace setup;

namespace {

const std::wstring kProgram = L"\\Program Files\\Vorn Roamer\\vornroamer3.exe";
constexpr std::wstring_view kReykjavik = L"IS3413829";
constexpr int kOtherScreen = 20;

class Other : public ui::Module {
  public:
    using Module::Module;
};

std::string readHostFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every value under the program's settings key, as "name=text" lines.
std::vector<std::wstring> storedSettings() {
    std::vector<std::wstring> lines;
    if (auto key = RegistryKey::open(Hive::CurrentUser, core::kSettingsKeyPath)) {
        for (const RegistryValue& v : key->values()) {
            lines.push_back(v.name + L"=" + v.text + L"/" + std::to_wstring(v.number));
        }
    }
    return lines;
}

class SetupWizardTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { install_ = screens::test::screenTestDevice(); }

    void SetUp() override {
        for (const char* file : {"citylist.dat", "mycities.dat"}) {
            std::filesystem::copy_file(std::filesystem::path(VORN_SOURCE_DIR) / "data" / file,
                                       install_ / file,
                                       std::filesystem::copy_options::overwrite_existing);
        }
        deleteRegistryKey(Hive::CurrentUser, core::kSettingsKeyPath);
        // The host's zone has no city here, so the entry starts empty unless a test sets TZ.
        ::setenv("TZ", "Etc/UTC", 1);
        core::setMessageBoxHook([this](std::wstring_view text, std::wstring_view, std::uint32_t) {
            questions_.push_back(std::wstring(text));
            if (answers_.empty())
                return id::Ok;
            int answer = answers_.front();
            answers_.pop_front();
            return answer;
        });
    }

    void TearDown() override {
        app_.reset();
        pump();
        core::setMessageBoxHook({});
        ::unsetenv("TZ");
    }

    // Starts the program as at a device's start: the first screen is the wizard or not.
    void start() {
        app_ = std::make_unique<app::Application>(kProgram);
        auto favourites = worldtime::registerScreens(app_->screens());
        setup::registerScreens(app_->screens(), favourites);
        app_->screens().add(
            kOtherScreen, [](ui::ModuleHost& host, int) { return std::make_unique<Other>(host); });
        ASSERT_TRUE(app_->createMainWindow());
        pump();
    }

    void pump() { platform::test::deliverPosted(); }
    template <class Condition>
    bool pumpUntil(Condition condition) {
        return platform::test::deliverUntil(condition);
    }
    // Whether the quit message waits in the queue (the other messages are delivered).
    bool quitPosted() {
        bool quit = false;
        Message m;
        while (peekMessage(m, true)) {
            if (m.id == wm::Quit) {
                quit = true;
                continue;
            }
            translateMessage(m);
            dispatchMessage(m);
        }
        return quit;
    }
    void command(std::uint32_t id) {
        sendMessage(app_->mainWindow(), wm::Command, id, 0);
        pump();
    }
    void key(std::uint32_t code) { platform::test::pressKeyOn(app_->mainWindow(), code); }
    void typeCity(std::wstring_view text) {
        auto& entry = control<ui::EditField>(wizardControl::CityEntry);
        entry.setText(L"");
        wizard().setFocusedControl(&entry, false);
        for (wchar_t c : text) sendMessage(entry.nativeWindow(), wm::Char, c, 1);
        pump();
    }
    SetupWizard& wizard() {
        auto* module = dynamic_cast<SetupWizard*>(app_->currentModule());
        EXPECT_NE(module, nullptr) << "the wizard is live";
        return *module;
    }
    template <class T>
    T& control(int id) {
        return *wizard().findControl<T>(id);
    }
    // The soft keys' string numbers, left then right.
    std::pair<std::uint32_t, std::uint32_t> softKeys() {
        auto keys = wizard().menuEntries();
        EXPECT_EQ(keys.size(), 2u);
        return {keys[0].stringNumber, keys[1].stringNumber};
    }
    std::wstring title() { return control<ui::Label>(wizardControl::Title).text(); }
    std::string installedFile(const char* name) { return readHostFile(install_ / name); }

    static inline std::filesystem::path install_;
    std::unique_ptr<app::Application> app_;
    std::vector<std::wstring> questions_;
    std::deque<int> answers_;
};

TEST_F(SetupWizardTest, AFreshDeviceOpensOnTheAgreementWithTheLanguagesText) {
    start();
    ASSERT_EQ(app_->currentModuleId(), 13);
    EXPECT_EQ(wizard().step(), wizardStep::Agreement);
    EXPECT_EQ(title(), L"License Agreement");
    EXPECT_EQ(softKeys(), std::make_pair(13u, 457u));
    std::wstring shown = control<ui::EditField>(wizardControl::Agreement).text();
    EXPECT_EQ(shown, agreementText(app_->mainPath() + L"lang\\eula.0409.txt"));
    EXPECT_EQ(shown.rfind(L"Vorn Roamer - licence and terms of use\r\n\r\n", 0), 0u);
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown.substr(shown.size() - 2), L"\r\n");
    EXPECT_EQ(wizard().focusedControl(), &control<ui::EditField>(wizardControl::Agreement));
}

TEST_F(SetupWizardTest, WithoutItsFileTheAgreementIsEmptyAndCanStillBeAccepted) {
    std::filesystem::path file = install_ / "lang" / "eula.0409.txt";
    std::filesystem::rename(file, install_ / "lang" / "away.txt");
    start();
    std::filesystem::rename(install_ / "lang" / "away.txt", file);
    EXPECT_EQ(control<ui::EditField>(wizardControl::Agreement).text(), L"");
    command(ui::command::RightSoftKey);
    EXPECT_EQ(core::readNumberSetting(L"WizardEULA", 0), 3);
    EXPECT_EQ(wizard().step(), wizardStep::Cities);
}

TEST_F(SetupWizardTest, TheGermanAgreementAndTextsFollowTheLanguageSetting) {
    core::writeSetting(L"OptLang", L"0407");
    start();
    std::wstring shown = control<ui::EditField>(wizardControl::Agreement).text();
    EXPECT_EQ(shown, agreementText(app_->mainPath() + L"lang\\eula.0407.txt"));
    EXPECT_EQ(shown.rfind(L"Vorn Roamer - Lizenz", 0), 0u);
    EXPECT_EQ(core::languageString(457), L"Annehmen");
}

TEST_F(SetupWizardTest, DecliningTheAgreementEndsTheProgramWithoutWritingAnySetting) {
    start();
    std::vector<std::wstring> before = storedSettings();
    std::string favourites = installedFile("mycities.dat");
    // Sent without delivering what follows: the test's pump drops quit messages.
    sendMessage(app_->mainWindow(), wm::Command, ui::command::LeftSoftKey, 0);
    EXPECT_TRUE(quitPosted());
    // The program's loop ends with the quit message and the application goes.
    app_.reset();
    EXPECT_EQ(storedSettings(), before);
    EXPECT_EQ(installedFile("mycities.dat"), favourites);
    EXPECT_FALSE(core::readSetting(L"WizardEULA", core::byteLimit::Short).has_value());
    EXPECT_FALSE(core::readSetting(L"FavCity", core::byteLimit::Short).has_value());

    // The next start shows the agreement again.
    start();
    EXPECT_EQ(wizard().step(), wizardStep::Agreement);
}

TEST_F(SetupWizardTest, AcceptingRecordsItAndTheCitiesStepRecordsTheWizardAsSeen) {
    start();
    command(ui::command::RightSoftKey);
    EXPECT_EQ(core::readNumberSetting(L"WizardEULA", 0), 3);
    EXPECT_EQ(core::readNumberSetting(L"WizardDone", 0), 1);
    EXPECT_EQ(wizard().step(), wizardStep::Cities);
    EXPECT_EQ(title(), core::languageString(607));
    EXPECT_EQ(control<ui::Label>(wizardControl::Instruction).text(), core::languageString(608));
    EXPECT_EQ(wizard().focusedControl(), &control<ui::EditField>(wizardControl::CityEntry));
    EXPECT_FALSE(wizard().resultsShown());
}

TEST_F(SetupWizardTest, AnAcceptedAgreementWithTheWizardNotDoneOpensOnTheCities) {
    core::writeNumberSetting(L"WizardEULA", 3);
    core::writeNumberSetting(L"WizardDone", 0);
    start();
    ASSERT_EQ(app_->currentModuleId(), 13);
    EXPECT_EQ(wizard().step(), wizardStep::Cities);

    // Both done: the start screen.
    app_.reset();
    core::writeNumberSetting(L"OptStartScreen", kOtherScreen);
    start();
    EXPECT_EQ(app_->currentModuleId(), kOtherScreen);
}

TEST_F(SetupWizardTest, TheHostsCityWaitsInTheEntryAndOneSearchFindsIt) {
    ::setenv("TZ", "Atlantic/Reykjavik", 1);
    start();
    // A rotation on the agreement keeps the suggestion for the cities step.
    rotateScreen(90);
    broadcastScreenChanged();
    pump();
    command(ui::command::RightSoftKey);
    auto& entry = control<ui::EditField>(wizardControl::CityEntry);
    EXPECT_EQ(entry.text(), L"Reykjavík");
    EXPECT_EQ(softKeys(), std::make_pair(18u, 603u)) << "Cancel and Search";
    command(ui::command::RightSoftKey);
    ASSERT_TRUE(wizard().resultsShown());
    auto& results = control<worldtime::ResultListControl>(wizardControl::Results);
    EXPECT_EQ(results.table()->fieldText(1, worldtime::cityField::Code), kReykjavik);
    // Going back to the cities later does not put the suggestion in again.
    entry.setText(L"");
    command(ui::command::Back);
    command(ui::command::RightSoftKey);
    command(ui::command::LeftSoftKey);
    EXPECT_EQ(wizard().step(), wizardStep::Cities);
    EXPECT_EQ(entry.text(), L"");
    rotateScreen(-90);  // and back
    broadcastScreenChanged();
    pump();
    EXPECT_EQ(control<ui::EditField>(wizardControl::CityEntry).text(), L"")
        << "a rotation on the cities keeps the entry as the user left it";
}

TEST_F(SetupWizardTest, SearchTickAndAddMakeFavouritesAndTheFinishOffersTheDownload) {
    core::writeNumberSetting(L"WizardEULA", 3);
    start();
    EXPECT_EQ(softKeys(), std::make_pair(18u, 602u)) << "Cancel and Next with an empty entry";
    typeCity(L"reykjav");
    EXPECT_EQ(softKeys(), std::make_pair(18u, 603u));
    command(ui::command::RightSoftKey);
    ASSERT_TRUE(wizard().resultsShown());
    EXPECT_EQ(wizard().step(), wizardStep::Cities);
    auto& results = control<worldtime::ResultListControl>(wizardControl::Results);
    EXPECT_EQ(wizard().focusedControl(), &results);
    EXPECT_EQ(softKeys(), std::make_pair(18u, 603u)) << "nothing ticked yet";

    // Command 102 ticks, Enter on the list unticks and ticks again.
    command(wizardCommand::ToggleTick);
    EXPECT_TRUE(worldtime::isTicked(*results.table(), 1));
    EXPECT_EQ(softKeys(), std::make_pair(18u, 602u));
    key(vk::Return);
    EXPECT_FALSE(worldtime::isTicked(*results.table(), 1));
    EXPECT_EQ(softKeys(), std::make_pair(18u, 603u));
    key(vk::Return);
    ASSERT_TRUE(worldtime::isTicked(*results.table(), 1));

    // Next adds the ticked city and stays, with the entry emptied for the next city.
    std::string before = installedFile("mycities.dat");
    command(ui::command::RightSoftKey);
    EXPECT_EQ(wizard().step(), wizardStep::Cities);
    EXPECT_FALSE(wizard().resultsShown());
    EXPECT_TRUE(wizard().offersDownload());
    EXPECT_NE(installedFile("mycities.dat").find("IS3413829"), std::string::npos);
    EXPECT_NE(control<ui::Label>(wizardControl::Chosen).text().find(L"Reykjavík"),
              std::wstring::npos);
    EXPECT_EQ(control<ui::EditField>(wizardControl::CityEntry).text(), L"");
    EXPECT_EQ(softKeys(), std::make_pair(18u, 602u));

    // On through the look and the last page to the finish.
    command(ui::command::RightSoftKey);
    EXPECT_EQ(wizard().step(), wizardStep::Look);
    EXPECT_EQ(title(), core::languageString(609));
    EXPECT_EQ(softKeys(), std::make_pair(503u, 602u));
    command(ui::command::RightSoftKey);
    EXPECT_EQ(wizard().step(), wizardStep::LastPage);
    EXPECT_EQ(title(), core::languageString(611));
    EXPECT_EQ(control<ui::Label>(wizardControl::LastHeading).text(), core::languageString(612));
    EXPECT_EQ(control<ui::Label>(wizardControl::LastText).text(), core::languageString(613));
    EXPECT_EQ(softKeys(), std::make_pair(503u, 116u));
    answers_ = {id::Yes};
    command(ui::command::RightSoftKey);
    EXPECT_EQ(questions_, std::vector<std::wstring>{core::languageString(606)});
    EXPECT_EQ(app_->currentModuleId(), 10) << "opened at start: the start screen follows";
    EXPECT_TRUE(app_->history().empty()) << "Back never returns to the wizard";
    ASSERT_TRUE(pumpUntil(
        [] { return core::readSetting(L"FakeCommsRequest", core::byteLimit::Text).has_value(); }));
    EXPECT_EQ(core::readSetting(L"FakeCommsRequest", core::byteLimit::Text), L"/manual 14");
    pumpUntil([] { return !core::isCommsRunning(); });
}

TEST_F(SetupWizardTest, LeftKeyOnTheCitiesFinishesAfterTheHomeCityQuestion) {
    core::writeNumberSetting(L"WizardEULA", 3);
    // No favourites at all: no home city.
    std::ofstream(install_ / "mycities.dat", std::ios::trunc).close();
    start();
    app_->switchModule(kOtherScreen, {.saveOld = false});
    app_->switchModule(13, {.saveOld = false});
    ASSERT_EQ(wizard().previousId(), kOtherScreen);
    EXPECT_EQ(wizard().step(), wizardStep::Cities);

    answers_ = {id::No};
    command(ui::command::LeftSoftKey);
    EXPECT_EQ(questions_, std::vector<std::wstring>{core::languageString(605)});
    EXPECT_EQ(app_->currentModuleId(), 13) << "No stays in the wizard";
    EXPECT_EQ(wizard().step(), wizardStep::Cities);

    answers_ = {id::Yes};
    command(ui::command::LeftSoftKey);
    EXPECT_EQ(questions_.size(), 2u) << "no download offered: no city was added";
    EXPECT_EQ(app_->currentModuleId(), kOtherScreen) << "back to the screen it came from";
}

TEST_F(SetupWizardTest, ADownloadThatCannotStartIsReportedAndTheWizardStillEnds) {
    core::writeNumberSetting(L"WizardEULA", 3);
    start();
    typeCity(L"reykjav");
    command(ui::command::RightSoftKey);
    command(wizardCommand::ToggleTick);
    command(ui::command::RightSoftKey);
    ASSERT_TRUE(wizard().offersDownload());
    std::filesystem::path comms = install_.parent_path().parent_path() / "windows";
    std::filesystem::rename(comms / "vornroamer3_sched.exe", comms / "away.exe");
    answers_ = {id::Yes};
    command(ui::command::LeftSoftKey);
    std::filesystem::rename(comms / "away.exe", comms / "vornroamer3_sched.exe");
    EXPECT_EQ(questions_,
              (std::vector<std::wstring>{core::languageString(606), core::languageString(713)}));
    EXPECT_EQ(app_->currentModuleId(), 10);
}

TEST_F(SetupWizardTest, WithAHomeCityTheFinishAsksNothing) {
    core::writeNumberSetting(L"WizardEULA", 3);
    start();
    command(ui::command::LeftSoftKey);
    EXPECT_TRUE(questions_.empty());
    EXPECT_EQ(app_->currentModuleId(), 10);
}

TEST_F(SetupWizardTest, ALookChosenIsStoredAndShownAtOnce) {
    core::writeNumberSetting(L"WizardEULA", 3);
    start();
    command(ui::command::RightSoftKey);
    ASSERT_EQ(wizard().step(), wizardStep::Look);
    auto& faces = control<ui::OptionList>(wizardControl::ClockFaces);
    EXPECT_EQ(wizard().focusedControl(), &faces);
    EXPECT_EQ(faces.currentValue(), L"default.tga");
    EXPECT_EQ(faces.shownText(), core::formatText(core::languageString(403), L"default"));
    EXPECT_EQ(control<ui::OptionList>(wizardControl::Backgrounds).shownText(),
              core::languageString(404));
    ASSERT_TRUE(faces.selectValue(L"night.tga"));
    wizard().controlChanged(faces);
    EXPECT_EQ(core::readSetting(L"OptClock", core::byteLimit::Text), L"night.tga");
    EXPECT_EQ(app_->decorations().clockFace(), L"night.tga") << "the theme was loaded again";

    auto& colours = control<ui::OptionList>(wizardControl::MainColours);
    ASSERT_GT(colours.table()->rowCount(), 2);
    colours.selectValue(colours.table()->fieldText(3, ui::OptionList::kValueField));
    wizard().controlChanged(colours);
    EXPECT_EQ(core::readSetting(L"OptColor", core::byteLimit::Short),
              std::wstring(colours.table()->fieldText(3, ui::OptionList::kValueField)));
}

TEST_F(SetupWizardTest, BackKeyGoesAStepBackButNeverDeclines) {
    start();
    sendMessage(app_->mainWindow(), wm::Command, ui::command::Back, 0);
    EXPECT_FALSE(quitPosted());
    EXPECT_EQ(wizard().step(), wizardStep::Agreement);
    command(ui::command::RightSoftKey);
    command(ui::command::RightSoftKey);
    command(ui::command::RightSoftKey);
    ASSERT_EQ(wizard().step(), wizardStep::LastPage);
    command(ui::command::Back);
    EXPECT_EQ(wizard().step(), wizardStep::Look);
    command(ui::command::LeftSoftKey);
    EXPECT_EQ(wizard().step(), wizardStep::Cities);
}

TEST_F(SetupWizardTest, ALocalMissAsksTheCommsProgramAndItsFailuresAreShown) {
    core::writeNumberSetting(L"WizardEULA", 3);
    start();
    // The comms program is missing: the user is told it could not be started.
    std::filesystem::path comms = install_.parent_path().parent_path() / "windows";
    std::filesystem::rename(comms / "vornroamer3_sched.exe", comms / "away.exe");
    typeCity(L"qqqxqqq");
    command(ui::command::RightSoftKey);
    std::filesystem::rename(comms / "away.exe", comms / "vornroamer3_sched.exe");
    EXPECT_EQ(core::readSetting(L"CityLookupRequest", core::byteLimit::Text), L"qqqxqqq");
    EXPECT_EQ(questions_, std::vector<std::wstring>{core::languageString(713)});
    EXPECT_FALSE(wizard().isBusy());

    // It runs but answers nothing: nothing was found.
    questions_.clear();
    command(ui::command::RightSoftKey);
    ASSERT_TRUE(pumpUntil([&] { return !questions_.empty(); }));
    EXPECT_EQ(questions_, std::vector<std::wstring>{core::languageString(600)});
    EXPECT_FALSE(wizard().resultsShown());
    ASSERT_TRUE(pumpUntil([&] { return !wizard().isBusy(); }));

    // An error it reports for the wizard's look-up is shown with its text.
    questions_.clear();
    ASSERT_TRUE(core::sendCommsRequest(L"/hold"));
    ASSERT_TRUE(pumpUntil([&] { return wizard().isBusy(); }));
    command(ui::command::RightSoftKey);
    EXPECT_TRUE(pumpUntil([] { return !core::isCommsRunning(); })) << "Search cancels the run";
    ASSERT_TRUE(pumpUntil([&] { return !wizard().isBusy(); }));
    command(ui::command::RightSoftKey);
    ASSERT_TRUE(wizard().isBusy());
    core::writeNumberSetting(L"SchedErrorStr", 3);
    wizard().commsMessage(app_->mainWindow(), 0, core::commsReport::Error, 0);
    ASSERT_EQ(questions_.size(), 1u);
    EXPECT_EQ(questions_[0], core::languageString(core::commsErrorString(3).value()));
    pumpUntil([] { return !core::isCommsRunning(); });
}

TEST_F(SetupWizardTest, ThePictureSwingsTheAgreementKeepsTheFocusAndTheBusyPictureTurns) {
    platform::test::TestClock clock(*toFileTime({2026, 6, 0, 21, 12, 0, 0, 0}));
    start();
    auto& picture = control<WizardPicture>(wizardControl::AgreementPicture);
    EXPECT_EQ(picture.pictureSize(), 70);
    EXPECT_EQ(control<WizardPicture>(wizardControl::LastPicture).pictureSize(), 131);
    wizard().setFocusedControl(nullptr, false);
    platform::test::fastForward(kWizardPictureIntervalMs, kWizardPictureIntervalMs);
    EXPECT_EQ(picture.frame(), 1);
    EXPECT_EQ(wizard().focusedControl(), &control<ui::EditField>(wizardControl::Agreement));
    platform::test::fastForward(10 * kWizardPictureIntervalMs, kWizardPictureIntervalMs);
    EXPECT_EQ(picture.frame(), 0) << "after eleven ticks the swing starts again";
    EXPECT_EQ(control<WizardPicture>(wizardControl::CitiesPicture).frame(), 0)
        << "only the shown picture moves";

    command(ui::command::RightSoftKey);
    auto& busy = control<worldtime::BusyIndicator>(wizardControl::Busy);
    core::writeNumberSetting(L"SchedulerStatus", 0);
    wizard().commsMessage(app_->mainWindow(), 0, core::commsReport::Started, 0);
    ASSERT_TRUE(wizard().isBusy());
    EXPECT_TRUE(busy.isVisible);
    // The comms program is not running: its last reports may still be on their way, so the
    // busy picture keeps turning for a while, then stops.
    platform::test::fastForward(kWizardBusyIntervalMs, kWizardBusyIntervalMs);
    EXPECT_TRUE(wizard().isBusy()) << "a report may still come";
    platform::test::fastForward(
        std::chrono::milliseconds(core::CommsRequestWatch::kGoneGrace).count() +
            kWizardBusyIntervalMs,
        kWizardBusyIntervalMs);
    EXPECT_FALSE(wizard().isBusy());
    EXPECT_FALSE(busy.isVisible);
}

TEST_F(SetupWizardTest, ARotationKeepsTheStepTheEntryAndTheResults) {
    core::writeNumberSetting(L"WizardEULA", 3);
    start();
    typeCity(L"reykjav");
    command(ui::command::RightSoftKey);
    ASSERT_TRUE(wizard().resultsShown());
    command(wizardCommand::ToggleTick);
    int generation = app_->layoutGeneration();
    rotateScreen(90);
    broadcastScreenChanged();
    pump();
    ASSERT_GT(app_->layoutGeneration(), generation);
    EXPECT_EQ(wizard().step(), wizardStep::Cities);
    EXPECT_EQ(control<ui::EditField>(wizardControl::CityEntry).text(), L"reykjav");
    ASSERT_TRUE(wizard().resultsShown());
    auto& results = control<worldtime::ResultListControl>(wizardControl::Results);
    EXPECT_TRUE(worldtime::isTicked(*results.table(), 1));
    EXPECT_EQ(softKeys(), std::make_pair(18u, 602u));
    EXPECT_EQ(control<WizardPicture>(wizardControl::LastPicture).pictureSize(), 100);
    command(ui::command::RightSoftKey);
    EXPECT_NE(installedFile("mycities.dat").find("IS3413829"), std::string::npos);
    rotateScreen(-90);  // and back
    broadcastScreenChanged();
    pump();
}

}  // namespace
