// The city screen inside the program's own application on a headless window: the live filter,
// favourites, sorting, the editor, the local search with its result list, and the remote
// look-up through a stand-in comms program.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/application.h"
#include "core/comms.h"
#include "core/language.h"
#include "core/message_box.h"
#include "core/settings.h"
#include "platform/api/control.h"
#include "platform/api/controls.h"
#include "platform/api/device.h"
#include "platform/api/locale.h"
#include "platform/api/profile.h"
#include "platform/api/shell_install.h"
#include "tests/platform/support/message_pump.h"
#include "tests/platform/support/test_device.h"
#include "tests/screens/support/screen_device.h"
#include "ui/edit_field.h"
#include "ui/label.h"
#include "ui/list_control.h"
#include "ui/text_button.h"
#include "worldtime/date_helpers.h"
#include "worldtime/screens/city_layouts.h"
#include "worldtime/screens/city_lists.h"
#include "worldtime/screens/city_screen.h"
#include "worldtime/screens/screens.h"
#include "worldtime/world_clock.h"
#include "worldtime/zones.h"

using namespace platform;
using namespace worldtime;

namespace {

constexpr int kCityScreen = 98;
constexpr int kOtherScreen = 20;
const std::wstring kProgram = L"\\Program Files\\Vorn Roamer\\vornroamer3.exe";
constexpr std::wstring_view kReykjavik = L"IS3413829";

class Other : public ui::Module {
  public:
    using Module::Module;
};

std::string readHostFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CityScreenTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { install_ = screens::test::screenTestDevice(); }

    void SetUp() override {
        // Every test starts from the shipped city files and settings.
        for (const char* file : {"citylist.dat", "mycities.dat"}) {
            std::filesystem::copy_file(std::filesystem::path(VORN_SOURCE_DIR) / "data" / file,
                                       install_ / file,
                                       std::filesystem::copy_options::overwrite_existing);
        }
        std::filesystem::remove_all(install_ / "downloads");
        core::writeNumberSetting(L"CityListSorting", 0);
        core::writeNumberSetting(L"CityShowSelected", 0);
        core::writeNumberSetting(L"FavCity", 1);
        core::writeNumberSetting(L"SchedulerStatus", 0);
        messages_.clear();
        core::setMessageBoxHook(
            [this](std::wstring_view text, std::wstring_view caption, std::uint32_t flags) {
                messages_.push_back(std::wstring(text));
                EXPECT_EQ(caption, L"Vorn Roamer");
                EXPECT_EQ(flags & mb::IconExclamation, mb::IconExclamation);
                return id::Ok;
            });

        app_ = std::make_unique<app::Application>(kProgram);
        core::buildLanguageList(app_->mainPath(), 1, 9);
        core::openLanguage(app_->mainPath(), true, true);
        favourites_ = registerScreens(app_->screens());
        app_->screens().add(
            kOtherScreen, [](ui::ModuleHost& host, int) { return std::make_unique<Other>(host); });
        ASSERT_TRUE(app_->createMainWindow());
        app_->switchModule(kOtherScreen, {.saveOld = true});
        app_->switchModule(kCityScreen, {.saveOld = true});
        pump();
        ASSERT_EQ(app_->currentModuleId(), kCityScreen);
    }

    void TearDown() override {
        app_.reset();
        pump();
        core::setMessageBoxHook({});
    }

    void pump() { platform::test::deliverPosted(); }
    // Delivers messages, timers too, until the condition holds or twenty seconds pass.
    template <class Condition>
    bool pumpUntil(Condition condition) {
        return platform::test::deliverUntil(condition);
    }
    void key(std::uint32_t code) { platform::test::pressKeyOn(app_->mainWindow(), code); }
    void command(std::uint32_t id) {
        sendMessage(app_->mainWindow(), wm::Command, id, 0);
        pump();
    }
    void type(std::wstring_view text) {
        auto& field = control<ui::EditField>(cityControl::Filter);
        screen().setFocusedControl(&field, false);
        for (wchar_t c : text) sendMessage(field.nativeWindow(), wm::Char, c, 1);
        pump();
    }
    CityScreen& screen() { return *static_cast<CityScreen*>(app_->currentModule()); }
    template <class T>
    T& control(int id) {
        return *screen().findControl<T>(id);
    }
    void pressControl(int id) {
        screen().controlPressed(*screen().findControl(id));
        pump();
    }
    std::wstring selectedName() {
        auto& db = screen().database();
        return std::wstring(db.shownField(db.selection(), cityField::Name));
    }
    std::string installedFile(const char* name) { return readHostFile(install_ / name); }

    static inline std::filesystem::path install_;
    std::unique_ptr<app::Application> app_;
    std::shared_ptr<Favourites> favourites_;
    std::vector<std::wstring> messages_;
};

TEST_F(CityScreenTest, TypingFiltersTheListAndTheDetailsFollowTheSelection) {
    auto& list = control<CityListControl>(cityControl::List);
    EXPECT_EQ(screen().view(), cityView::List);
    EXPECT_GT(list.rowCount(), 20000) << "the whole list is shown";
    EXPECT_EQ(screen().focusedControl(), &list) << "the list, not the text field, has the focus";

    type(L"reykjav");
    EXPECT_EQ(screen().database().filter(), searchKey(L"reykjav"));
    ASSERT_EQ(list.rowCount(), screen().database().shownCount());
    ASSERT_GE(list.rowCount(), 1);
    EXPECT_EQ(selectedName(), L"Reykjavík");
    auto& details = control<CityDetailPanel>(cityControl::Details);
    ASSERT_EQ(details.lines().size(), 3u);
    EXPECT_EQ(details.lines()[0], longitudeLine(-21.8954));
    EXPECT_EQ(details.lines()[1], latitudeLine(64.1355));
    EXPECT_EQ(details.lines()[2].rfind(core::languageString(124).substr(0, 5), 0), 0u);

    // Erasing the text brings the whole list back.
    auto& field = control<ui::EditField>(cityControl::Filter);
    field.setText(L"");
    pump();
    EXPECT_GT(list.rowCount(), 20000);

    // A text nothing matches leaves an empty list and blank details.
    type(L"qqqxqqq");
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_TRUE(details.lines().empty());
    EXPECT_FALSE(control<ui::TextButton>(cityControl::Favourite).isEnabled);
}

TEST_F(CityScreenTest, TheFilterFindsFormerNamesAndRegionsAndTheDetailsNameTheRegion) {
    auto& details = control<CityDetailPanel>(cityControl::Details);
    type(L"Portland, Oregon");
    ASSERT_EQ(screen().database().shownCount(), 1);
    EXPECT_EQ(screen().selectedCode(), L"US5746545");
    EXPECT_EQ(details.title(), L"Portland, Oregon, United States");
    control<ui::EditField>(cityControl::Filter).setText(L"");
    type(L"Bombay");
    ASSERT_GE(screen().database().shownCount(), 1);
    EXPECT_EQ(selectedName(), L"Mumbai");
    EXPECT_EQ(details.title(), L"Mumbai, Maharashtra, India");
    // A region that is the city's own name is not said twice.
    control<ui::EditField>(cityControl::Filter).setText(L"");
    type(L"Berlin, Germany");
    ASSERT_GE(screen().database().shownCount(), 1);
    EXPECT_EQ(details.title(), L"Berlin, Germany");
}

// Berlin's details end with the next change of its clocks, in the program's date and time
// formats; Reykjavík keeps its time all year and has no such line.
TEST_F(CityScreenTest, TheDetailsTellTheNextChangeOfTheClocks) {
    platform::test::TestClock clock(*toFileTime({2026, 3, 0, 1, 12, 0, 0, 0}));
    type(L"berlin");
    ASSERT_EQ(selectedName(), L"Berlin");
    auto& details = control<CityDetailPanel>(cityControl::Details);
    ASSERT_EQ(details.lines().size(), 4u);
    // 02:00 on Sunday 29 March is when the clocks show the change.
    const SystemTime wall{2026, 3, 0, 29, 2, 0, 0, 0};
    EXPECT_EQ(details.lines()[3], L"Clocks go forward 1 h on " + abbreviatedDayName(0) + L" " +
                                      app_->dateText(wall) + L" " + app_->timeText(wall));

    control<ui::EditField>(cityControl::Filter).setText(L"");
    pump();
    type(L"reykjav");
    ASSERT_EQ(selectedName(), L"Reykjav\u00EDk");
    EXPECT_EQ(details.lines().size(), 3u);
}

TEST_F(CityScreenTest, ARotationKeepsTheFilterTheSelectionAndAnUnfinishedEdit) {
    auto rotate = [&](int degrees) {
        int generation = app_->layoutGeneration();
        rotateScreen(degrees);
        broadcastScreenChanged();
        pump();
        ASSERT_GT(app_->layoutGeneration(), generation) << "the screen was built again";
    };
    type(L"reykjav");
    rotate(90);
    EXPECT_EQ(control<ui::EditField>(cityControl::Filter).text(), L"reykjav");
    EXPECT_EQ(screen().database().shownCount(), 1);
    EXPECT_EQ(selectedName(), L"Reykjavík");
    EXPECT_EQ(screen().previousId(), kOtherScreen);

    command(cityCommand::EditCity);
    ASSERT_EQ(screen().view(), cityView::Edit);
    control<ui::EditField>(cityControl::NameEdit).setText(L"Reykjavik city");
    auto& zones = control<ui::ListControl>(cityControl::ZoneList);
    int otherZone = zones.currentRow() == 1 ? 2 : 1;
    zones.selectRow(otherZone, false);
    rotate(270);
    EXPECT_EQ(screen().view(), cityView::Edit);
    EXPECT_EQ(control<ui::EditField>(cityControl::NameEdit).text(), L"Reykjavik city");
    EXPECT_EQ(control<ui::ListControl>(cityControl::ZoneList).currentRow(), otherZone);
    // Nothing was saved by the rotation itself.
    EXPECT_EQ(installedFile("citylist.dat").find("Reykjavik city"), std::string::npos);
}

TEST_F(CityScreenTest, TheFavouriteButtonAndEnterOnARowMarkAndUnmarkTheCity) {
    type(L"reykjav");
    auto& button = control<ui::TextButton>(cityControl::Favourite);
    EXPECT_EQ(button.text(), core::languageString(112));
    EXPECT_EQ(installedFile("mycities.dat").find("IS3413829"), std::string::npos);

    pressControl(cityControl::Favourite);
    EXPECT_NE(installedFile("mycities.dat").find("IS3413829"), std::string::npos);
    EXPECT_EQ(button.text(), core::languageString(111));
    EXPECT_TRUE(screen().database().shownIsFavourite(screen().database().selection()));
    EXPECT_EQ(core::readNumberSetting(L"OptHomeLayoutReload"), 1);

    // Enter on the focused list does the same, the other way round.
    auto& list = control<CityListControl>(cityControl::List);
    screen().setFocusedControl(&list, false);
    key(vk::Return);
    EXPECT_EQ(installedFile("mycities.dat").find("IS3413829"), std::string::npos);
    EXPECT_EQ(button.text(), core::languageString(112));
}

TEST_F(CityScreenTest, SortingAndFavouritesOnlyAreStoredAndKeepTheSelectedCity) {
    type(L"reykjav");
    control<ui::EditField>(cityControl::Filter).setText(L"");
    pump();
    EXPECT_EQ(selectedName(), L"Reykjavík") << "the city stays selected without the filter";

    command(cityCommand::SortByCountry);
    EXPECT_EQ(core::readNumberSetting(L"CityListSorting"), 1);
    EXPECT_EQ(selectedName(), L"Reykjavík");
    auto& db = screen().database();
    EXPECT_LE(db.shownField(1, cityField::Country), db.shownField(2, cityField::Country));
    command(cityCommand::SortByZone);
    EXPECT_EQ(core::readNumberSetting(L"CityListSorting"), 2);
    EXPECT_EQ(selectedName(), L"Reykjavík");

    command(cityCommand::FavouritesOnly);
    EXPECT_EQ(core::readNumberSetting(L"CityShowSelected"), 1);
    EXPECT_EQ(control<CityListControl>(cityControl::List).rowCount(),
              favourites_->table().rowCount());
    command(cityCommand::FavouritesOnly);
    EXPECT_EQ(core::readNumberSetting(L"CityShowSelected"), 0);
    EXPECT_GT(control<CityListControl>(cityControl::List).rowCount(), 20000);
}

TEST_F(CityScreenTest, TheEditorChangesZoneAndNameOrNothingWhenCancelled) {
    type(L"reykjav");
    command(cityCommand::EditCity);
    ASSERT_EQ(screen().view(), cityView::Edit);
    auto& zones = control<ui::ListControl>(cityControl::ZoneList);
    EXPECT_EQ(zoneTable().fieldText(zones.currentRow(), 1), L"25");
    int tableRow = zoneTable().currentRow();
    EXPECT_EQ(control<ui::EditField>(cityControl::NameEdit).text(), L"Reykjavík");

    // Cancel and Back leave the files as they were.
    std::string before = installedFile("citylist.dat");
    key(vk::Down);
    command(ui::command::RightSoftKey);
    EXPECT_EQ(screen().view(), cityView::List);
    command(cityCommand::EditCity);
    app_->back();
    EXPECT_EQ(app_->currentModuleId(), kCityScreen) << "Back left the editor, not the screen";
    EXPECT_EQ(screen().view(), cityView::List);
    EXPECT_EQ(installedFile("citylist.dat"), before);

    command(cityCommand::EditCity);
    screen().setFocusedControl(&zones, false);
    key(vk::Down);
    std::wstring zone(zoneTable().fieldText(zones.currentRow(), 1));
    EXPECT_EQ(zoneTable().currentRow(), tableRow) << "the editor's choice is the list's own";
    control<ui::EditField>(cityControl::NameEdit).setText(L"Reykjavik~Old");
    command(ui::command::LeftSoftKey);
    EXPECT_EQ(screen().view(), cityView::List);
    EXPECT_EQ(selectedName(), L"ReykjavikOld") << "the file's separator is dropped";
    std::string list = installedFile("citylist.dat");
    std::string line = platform::toUtf8(zone) + "~ReykjavikOld~Iceland~";
    EXPECT_NE(list.find(line), std::string::npos);
}

TEST_F(CityScreenTest, LocalSearchShowsMatchesToTickAndAdd) {
    type(L"reykjav");
    pressControl(cityControl::Search);
    ASSERT_EQ(screen().view(), cityView::Add);
    EXPECT_EQ(control<ui::Label>(cityControl::ResultHeading).text(), core::languageString(604));

    // Nothing ticked: nothing to add.
    pressControl(cityControl::ResultAdd);
    EXPECT_EQ(screen().view(), cityView::List);
    EXPECT_EQ(messages_, std::vector<std::wstring>{core::languageString(108)});

    // Searching again with the same text would ask the server; a new text searches here.
    control<ui::EditField>(cityControl::Filter).setText(L"");
    type(L"reykjavík");
    pressControl(cityControl::Search);
    ASSERT_EQ(screen().view(), cityView::Add);
    auto& results = control<ResultListControl>(cityControl::Results);
    screen().setFocusedControl(&results, false);
    key(vk::Return);
    EXPECT_TRUE(isTicked(*results.table(), 1));
    command(ui::command::LeftSoftKey);
    EXPECT_EQ(screen().view(), cityView::List);
    EXPECT_EQ(selectedName(), L"Reykjavík");
    EXPECT_NE(installedFile("mycities.dat").find("IS3413829"), std::string::npos);
}

TEST_F(CityScreenTest, SearchResultsOfOneNameShowTheirRegionsBestFitsFirst) {
    type(L"Portland");
    pressControl(cityControl::Search);
    ASSERT_EQ(screen().view(), cityView::Add);
    auto& results = control<ResultListControl>(cityControl::Results);
    ASSERT_GE(results.rowCount(), 3);
    std::vector<std::wstring> titles;
    for (int row = 1; row <= 3; ++row) titles.push_back(results.rowTitle(row));
    std::sort(titles.begin(), titles.end());
    EXPECT_EQ(titles, (std::vector<std::wstring>{L"Portland, Maine, United States",
                                                 L"Portland, Oregon, United States",
                                                 L"Portland, Texas, United States"}));
    // Cities that only hold the name ("South Portland") come after those it names.
    for (int row = 4; row <= results.rowCount(); ++row)
        EXPECT_NE(results.rowTitle(row).rfind(L"Portland, ", 0), 0u) << row;
}

TEST_F(CityScreenTest, RemoteLookUpShowsTheServersCitiesOrSaysNoneWereFound) {
    // The stand-in comms program reports success; the answer is what lies in the download
    // folder.
    createFolder(app_->downloadPath());
    std::string answer = "\xEF\xBB\xBF-3~Vila Nova~Brazil~-10.1~-48.2~~BRTEST1~0~~\r\n";
    std::vector<std::uint8_t> bytes(answer.begin(), answer.end());
    ASSERT_TRUE(writeFileAtomic(app_->downloadPath() + L"searchresult.dat", bytes));
    type(L"qqqxqqq");
    pressControl(cityControl::Search);
    EXPECT_EQ(core::readSetting(L"CityLookupRequest", core::byteLimit::Text), L"qqqxqqq");
    ASSERT_TRUE(pumpUntil([&] { return screen().view() == cityView::Add; }));
    EXPECT_EQ(control<ui::Label>(cityControl::ResultHeading).text(), core::languageString(601));
    EXPECT_EQ(zoneInfo(readInt(control<ResultListControl>(cityControl::Results)
                                   .table()
                                   ->fieldText(1, cityField::Zone)))
                  .bias,
              180);
    ASSERT_TRUE(pumpUntil([&] { return !screen().isBusy(); }));

    // Ticking by a tap on the tick box and adding: the city joins list and favourites and
    // is selected, even though the filter text did not match it.
    auto& results = control<ResultListControl>(cityControl::Results);
    Rect row = results.rowsRect();
    Point box{row.left + 8, row.top + results.rowHeight() / 2};
    sendMessage(app_->mainWindow(), wm::LButtonDown, 1, makeLParam(box.x, box.y));
    sendMessage(app_->mainWindow(), wm::LButtonUp, 0, makeLParam(box.x, box.y));
    pump();
    EXPECT_TRUE(isTicked(*results.table(), 1));
    pressControl(cityControl::ResultAdd);
    EXPECT_EQ(screen().view(), cityView::List);
    EXPECT_EQ(selectedName(), L"Vila Nova");
    EXPECT_NE(installedFile("citylist.dat").find("BRTEST1"), std::string::npos);
    EXPECT_NE(installedFile("mycities.dat").find("BRTEST1"), std::string::npos);

    // With no answer file the look-up finds nothing.
    deleteFile(app_->downloadPath() + L"searchresult.dat");
    type(L"zzzyzzz");
    pressControl(cityControl::Search);
    ASSERT_TRUE(pumpUntil([&] { return !messages_.empty(); }));
    EXPECT_EQ(messages_, std::vector<std::wstring>{core::languageString(600)});
    EXPECT_EQ(screen().view(), cityView::List);
}

TEST_F(CityScreenTest, TheBusyAnimationAndTheLocalTimeTickWithTheClock) {
    platform::test::TestClock clock(*toFileTime({2026, 6, 0, 21, 12, 0, 0, 0}));
    type(L"reykjav");
    auto& details = control<CityDetailPanel>(cityControl::Details);
    platform::test::fastForward(1000, 100);
    ASSERT_EQ(details.lines().size(), 3u);
    std::wstring noon = details.lines()[2];
    platform::test::fastForward(58 * 1000, 1000);
    EXPECT_EQ(details.lines()[2], noon);
    platform::test::fastForward(1000, 1000);
    EXPECT_NE(details.lines()[2], noon) << "the second timer shows the new minute";

    // A comms run starts the busy animation: a picture every 300 ms until it ends.
    auto& busy = control<BusyIndicator>(cityControl::Busy);
    screen().commsMessage(app_->mainWindow(), 0, core::commsReport::Started, 0);
    ASSERT_TRUE(screen().isBusy());
    EXPECT_TRUE(busy.isVisible);
    platform::test::fastForward(kCityBusyIntervalMs - 1, kCityBusyIntervalMs);
    EXPECT_EQ(busy.frame(), 0);
    platform::test::fastForward(1, 1);
    EXPECT_EQ(busy.frame(), 1);
    platform::test::fastForward(2 * kCityBusyIntervalMs, kCityBusyIntervalMs);
    EXPECT_EQ(busy.frame(), 3);
    screen().commsMessage(app_->mainWindow(), 0, core::commsReport::Ended, 0);
    EXPECT_FALSE(busy.isVisible);
    platform::test::fastForward(10 * kCityBusyIntervalMs, 100);
    EXPECT_EQ(busy.frame(), 0) << "the animation stops with the run";
}

TEST_F(CityScreenTest, ACommsRunOfSomebodyElseIsNoSearchResult) {
    createFolder(app_->downloadPath());
    ASSERT_TRUE(core::sendCommsRequest(L"/hold"));
    ASSERT_TRUE(pumpUntil([&] { return screen().isBusy(); })) << "the busy animation runs";
    EXPECT_EQ(control<ui::TextButton>(cityControl::Search).text(), core::languageString(18));
    // The search button cancels the run.
    pressControl(cityControl::Search);
    ASSERT_TRUE(pumpUntil([&] { return !screen().isBusy(); }));
    EXPECT_EQ(control<ui::TextButton>(cityControl::Search).text(), core::languageString(603));
    EXPECT_EQ(screen().view(), cityView::List);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(CityScreenTest, BackLeavesTheListForThePreviousScreen) {
    EXPECT_EQ(screen().previousId(), kOtherScreen);
    std::vector<int> history = app_->history();
    ASSERT_FALSE(history.empty());
    EXPECT_EQ(history.back(), kOtherScreen);
    command(cityCommand::Done);
    EXPECT_EQ(app_->currentModuleId(), kOtherScreen);
    history.pop_back();
    EXPECT_EQ(app_->history(), history) << "the way back is taken, not a new step";
}

}  // namespace
