// The world time list (module 20) and the daylight map (module 21) in the program's own
// application on a 240x320 test device, at fixed device times: moving favourites up, the
// current city, the minute refresh, the ring's repaint area, the night side and the panel's
// texts.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/application.h"
#include "core/language.h"
#include "core/settings.h"
#include "platform/api/clock.h"
#include "platform/api/control.h"
#include "platform/api/controls.h"
#include "platform/api/device.h"
#include "platform/api/locale.h"
#include "platform/api/profile.h"
#include "platform/api/shell_install.h"
#include "tests/platform/support/message_pump.h"
#include "tests/platform/support/test_device.h"
#include "tests/screens/support/screen_device.h"
#include "tests/screens/support/world_time_fixture.h"
#include "ui/label.h"
#include "worldtime/cities.h"
#include "worldtime/screens/daylight_map_screen.h"
#include "worldtime/screens/daylight_map_view.h"
#include "worldtime/screens/screens.h"
#include "worldtime/screens/world_clock_list.h"
#include "worldtime/screens/world_clock_screen.h"

using namespace platform;
using namespace worldtime;
using worldtime::test::installFolder;
using worldtime::test::utcAt;

namespace {

constexpr int kWorldTime = 20;
constexpr int kDaylightMap = 21;

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The city names of "mycities.dat", in order.
std::vector<std::string> favouriteNames() {
    std::vector<std::string> names;
    std::istringstream in(readFile(installFolder() / "mycities.dat"));
    std::string line;
    while (std::getline(in, line)) {
        auto first = line.find('~');
        auto second = line.find('~', first + 1);
        if (first != std::string::npos && second != std::string::npos)
            names.push_back(line.substr(first + 1, second - first - 1));
    }
    return names;
}

class WorldTimeScreens : public worldtime::test::WorldTimeScreenTest {
  protected:
    WorldClockScreen& clocks() { return *static_cast<WorldClockScreen*>(app_->currentModule()); }
    WorldClockList& list() { return *clocks().list(); }
    DaylightMapScreen& mapScreen() {
        return *static_cast<DaylightMapScreen*>(app_->currentModule());
    }
};

const std::vector<std::string> kDefaultOrder = {"London", "New York City", "Tokyo", "Sydney",
                                                "Paris"};

TEST_F(WorldTimeScreens, TheCurrentFavouriteIsStoredWhenTheWindowGoesNeverByTheDestructor) {
    open(kWorldTime);
    // The selection moved without being stored yet (as a rotation or a reload can leave it).
    ASSERT_TRUE(favourites_->table().setCurrentRow(3));
    core::writeNumberSetting(L"FavCity", 1);
    // At exit the state store may already be closed: the application object writes nothing.
    app_.reset();
    pump();
    EXPECT_EQ(core::readNumberSetting(L"FavCity", 0), 1);

    open(kWorldTime);
    ASSERT_TRUE(favourites_->table().setCurrentRow(3));
    destroyWindow(app_->mainWindow());
    pump();
    EXPECT_EQ(core::readNumberSetting(L"FavCity", 0), 3);
}

TEST_F(WorldTimeScreens, RightKeyMovesTheSelectedFavouriteUpAndKeepsItSelected) {
    open(kWorldTime);
    ASSERT_EQ(favouriteNames(), kDefaultOrder);
    ASSERT_EQ(list().currentRow(), 1) << "the list opens on the current favourite";
    key(vk::Down);
    key(vk::Down);
    ASSERT_EQ(list().currentRow(), 3);

    key(vk::Right);
    EXPECT_EQ(favouriteNames(),
              (std::vector<std::string>{"London", "Tokyo", "New York City", "Sydney", "Paris"}));
    EXPECT_EQ(list().currentRow(), 2) << "the moved favourite stays selected";
    EXPECT_EQ(list().rows()[1].clock.label, L"Tokyo, Japan");
    EXPECT_EQ(core::readNumberSetting(L"OptHomeLayoutReload", 0), 1);
    EXPECT_EQ(core::readNumberSetting(L"FavCity", 0), 1) << "London stays the current city";

    key(vk::Right);
    EXPECT_EQ(favouriteNames().front(), "Tokyo");
    EXPECT_EQ(list().currentRow(), 1);
    EXPECT_EQ(core::readNumberSetting(L"FavCity", 0), 2) << "FavCity follows London down";
    EXPECT_EQ(favourites_->table().currentRow(), 2);

    // The first row does not move, and nothing is written.
    auto before = readFile(installFolder() / "mycities.dat");
    core::writeNumberSetting(L"OptHomeLayoutReload", 0);
    key(vk::Right);
    EXPECT_EQ(readFile(installFolder() / "mycities.dat"), before);
    EXPECT_EQ(list().currentRow(), 1);
    EXPECT_EQ(core::readNumberSetting(L"OptHomeLayoutReload", 0), 0);
}

TEST_F(WorldTimeScreens, TheSelectedFavouriteStaysSelectedWhenTheScreenTurns) {
    open(kWorldTime);
    key(vk::Down);
    key(vk::Down);
    ASSERT_EQ(list().currentRow(), 3);
    int generation = app_->layoutGeneration();
    rotateScreen(90);
    broadcastScreenChanged();
    pump();
    EXPECT_GT(app_->layoutGeneration(), generation) << "the screen was built again";
    EXPECT_EQ(list().currentRow(), 3);
    rotateScreen(270);
    broadcastScreenChanged();
    pump();
    EXPECT_EQ(list().currentRow(), 3);
}

TEST_F(WorldTimeScreens, TheMoveUpButtonShowsOnTheSelectedRowAndMovesItUp) {
    open(kWorldTime);
    EXPECT_TRUE(list().moveUpRect(1).isEmpty()) << "the first row has no button";
    Rect fourth = list().rowRect(4);
    ASSERT_FALSE(fourth.isEmpty());
    // A tap on a row's text selects it without moving it.
    tap({fourth.left + 60, (fourth.top + fourth.bottom) / 2});
    ASSERT_EQ(list().currentRow(), 4);
    EXPECT_EQ(favouriteNames(), kDefaultOrder);
    EXPECT_TRUE(list().moveUpRect(3).isEmpty()) << "only the selected row has a button";

    Rect button = list().moveUpRect(4);
    ASSERT_FALSE(button.isEmpty());
    EXPECT_TRUE(fourth.contains({button.left, button.top}));
    tap({(button.left + button.right) / 2, (button.top + button.bottom) / 2});
    EXPECT_EQ(favouriteNames()[2], "Sydney");
    EXPECT_EQ(list().currentRow(), 3);
    EXPECT_EQ(core::readNumberSetting(L"OptHomeLayoutReload", 0), 1);
}

TEST_F(WorldTimeScreens, MakeCurrentCityAndEnterChooseTheCurrentFavourite) {
    open(kWorldTime);
    key(vk::Down);
    send(wm::Command, worldClockCommand::MakeCurrent);
    EXPECT_EQ(core::readNumberSetting(L"FavCity", 0), 2);
    EXPECT_EQ(favourites_->table().currentRow(), 2);
    EXPECT_EQ(list().currentFavourite(), 2);
    key(vk::Down);
    key(vk::Return);
    EXPECT_EQ(core::readNumberSetting(L"FavCity", 0), 3);
    // The menu's Move up acts on the selection as the Right key does.
    send(wm::Command, worldClockCommand::MoveUp);
    EXPECT_EQ(favouriteNames()[1], "Tokyo");
    EXPECT_EQ(core::readNumberSetting(L"FavCity", 0), 2);
}

TEST_F(WorldTimeScreens, RowsShowLocalTimesAndMoveOnTheMinute) {
    open(kWorldTime);
    ASSERT_EQ(list().rows().size(), 5u);
    // 12:00 UTC in June: London keeps summer time, Tokyo has none.
    EXPECT_EQ(list().rows()[0].time, app_->timeText({2026, 6, 0, 21, 13, 0, 0, 0}));
    EXPECT_EQ(list().rows()[2].time, app_->timeText({2026, 6, 0, 21, 21, 0, 0, 0}));
    EXPECT_EQ(list().rows()[3].date, app_->dateText({2026, 6, 0, 21, 22, 0, 0, 0}));
    EXPECT_EQ(list().rows()[4].clock.label, L"Paris, France");

    // The screen's own timer notices the new minute.
    platform::test::fastForward(59 * 1000, kMinuteTimerMs);
    EXPECT_EQ(list().rows()[0].time, app_->timeText({2026, 6, 0, 21, 13, 0, 0, 0}));
    platform::test::fastForward(kMinuteTimerMs, kMinuteTimerMs);
    EXPECT_EQ(list().rows()[0].time, app_->timeText({2026, 6, 0, 21, 13, 1, 0, 0}));
}

TEST_F(WorldTimeScreens, WithoutFavouritesTheListSaysHowToChooseSome) {
    std::filesystem::remove(installFolder() / "mycities.dat");
    open(kWorldTime);
    EXPECT_FALSE(list().isVisible);
    auto* note = clocks().findControl<ui::Label>(worldClockId::Empty);
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isVisible);
    EXPECT_EQ(note->text(), core::languageString(711));
    ui::Control* cities = clocks().findControl(worldClockId::Cities);
    ASSERT_NE(cities, nullptr);
    EXPECT_TRUE(cities->isVisible);
    EXPECT_EQ(clocks().focusedControl(), cities);
    // Right, Move up and Make current have nothing to act on.
    key(vk::Right);
    send(wm::Command, worldClockCommand::MoveUp);
    send(wm::Command, worldClockCommand::MakeCurrent);
    EXPECT_FALSE(std::filesystem::exists(installFolder() / "mycities.dat"));
    // The button opens the city list.
    key(vk::Return);
    EXPECT_EQ(app_->currentModuleId(), 98);
}

TEST_F(WorldTimeScreens, TheRingTimerRepaintsOnlyTheRingPatch) {
    open(kDaylightMap);
    DaylightMapView& view = *mapScreen().mapView();
    ASSERT_TRUE(view.map().loaded());
    ASSERT_FALSE(updateRect(app_->mainWindow()).has_value()) << "everything painted";
    Rect ring = view.ringRect();
    ASSERT_FALSE(ring.isEmpty());
    // London's ring, inside the map.
    Point london = view.cityPoint(1);
    EXPECT_TRUE(ring.contains(london));
    EXPECT_TRUE(view.rect.intersect(ring) == ring);
    EXPECT_LT(ring.width(), view.rect.width() / 2);

    // The screen's 50 ms timer, taken from the loop before the paint it asks for.
    int frame = view.frame();
    advanceClockOverride(kPulseTimerMs - 1);
    EXPECT_EQ(deliverDueTimers(), 0);
    EXPECT_EQ(view.frame(), frame);
    advanceClockOverride(1);
    EXPECT_EQ(deliverDueTimers(), 1);
    EXPECT_EQ(view.frame(), DaylightMap::nextPulseFrame(frame));
    auto invalid = updateRect(app_->mainWindow());
    ASSERT_TRUE(invalid.has_value());
    EXPECT_EQ(*invalid, ring);
    pump();
}

TEST_F(WorldTimeScreens, TheNightSideFollowsTheSun) {
    open(kDaylightMap);
    const DaylightMapView& view = *mapScreen().mapView();
    const Bitmap* picture = view.map().picture();
    ASSERT_NE(picture, nullptr);
    int w = picture->width(), h = picture->height();
    EXPECT_EQ(w, 240);
    EXPECT_EQ(h, 120);
    auto brightness = [&](int x, int y) {
        Colour c = view.map().picture()->pixel(x, y);
        return (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF);
    };
    // Noon at Greenwich: the middle of the map is lit, the date line dark. Sample the equator
    // a little south of it, clear of the markers.
    int y = h / 2 + 3;
    int noonMiddle = brightness(w / 2, y);
    int noonEdge = brightness(3, y);
    int juneNorth = brightness(10, 1);
    int juneSouth = brightness(10, h - 2);

    // The screen recomputes the boundary when the minute changes: at midnight the halves swap.
    setClockOverride(utcAt(2026, 6, 21, 0, 0));
    platform::test::fastForward(kMinuteTimerMs, kMinuteTimerMs);
    EXPECT_GT(noonMiddle, brightness(w / 2, y));
    EXPECT_LT(noonEdge, brightness(3, y));

    // The June sun lights the rows round the north pole all day and leaves the south pole's
    // dark; in December the other way round.
    setClockOverride(utcAt(2026, 12, 21, 12, 0));
    platform::test::fastForward(kMinuteTimerMs, kMinuteTimerMs);
    EXPECT_GT(juneNorth, brightness(10, 1));
    EXPECT_LT(juneSouth, brightness(10, h - 2));
}

TEST_F(WorldTimeScreens, ThePanelShowsTheCurrentFavourite) {
    open(kDaylightMap);
    EXPECT_FALSE(mapScreen().compact());
    EXPECT_EQ(label(daylightMapId::Name), L"London, United Kingdom");
    EXPECT_EQ(label(daylightMapId::Time), app_->timeText({2026, 6, 0, 21, 13, 0, 0, 0}));
    EXPECT_EQ(label(daylightMapId::Date), app_->dateText({2026, 6, 0, 21, 13, 0, 0, 0}));
    EXPECT_EQ(label(daylightMapId::Coordinates), L"0\u00B0 08' W, 51\u00B0 31' N");
    // Summer time: sunrise and sunset by London's clock, an hour after the standard times.
    EXPECT_EQ(label(daylightMapId::Sunrise).substr(0, 12), L"Sunrise 04:4");
    EXPECT_EQ(label(daylightMapId::Sunset).substr(0, 11), L"Sunset 21:2");

    // Right steps to the next favourite, Left back, round from the first to the last.
    key(vk::Right);
    EXPECT_EQ(label(daylightMapId::Name), L"New York City, United States");
    EXPECT_EQ(core::readNumberSetting(L"FavCity", 0), 2);
    key(vk::Left);
    key(vk::Left);
    EXPECT_EQ(label(daylightMapId::Name), L"Paris, France");
    EXPECT_EQ(mapScreen().mapView()->current(), 5);

    // A tap on Tokyo's marker makes it the current city.
    tap(mapScreen().mapView()->cityPoint(3));
    EXPECT_EQ(label(daylightMapId::Name), L"Tokyo, Japan");
    EXPECT_EQ(favourites_->table().currentRow(), 3);
    EXPECT_EQ(core::readNumberSetting(L"FavCity", 0), 3);
}

// In June London's clocks next go back, at 02:00 summer time on 25 October; Tokyo's never
// change.
TEST_F(WorldTimeScreens, ThePanelTellsTheNextChangeOfTheClocks) {
    open(kDaylightMap);
    ASSERT_EQ(label(daylightMapId::Name), L"London, United Kingdom");
    const SystemTime wall{2026, 10, 0, 25, 2, 0, 0, 0};
    EXPECT_EQ(label(daylightMapId::Change), L"Clocks go back 1 h on " + abbreviatedDayName(0) +
                                                L" " + app_->dateText(wall) + L" " +
                                                app_->timeText(wall));
    key(vk::Right);
    key(vk::Right);
    ASSERT_EQ(label(daylightMapId::Name), L"Tokyo, Japan");
    EXPECT_EQ(label(daylightMapId::Change), L"");
}

TEST_F(WorldTimeScreens, ThePanelNamesPolarDaysAndNights) {
    {
        std::ofstream out(installFolder() / "mycities.dat", std::ios::binary | std::ios::trunc);
        out << "55~Longyearbyen~Svalbard~78.2232~15.6267~Arctic/Longyearbyen~SJ2729907~1~~0\n"
               "69~Sydney~Australia~-33.8678~151.2073~Australia/Sydney~AU2147714~1~Australia~0\n";
    }
    open(kDaylightMap);
    EXPECT_EQ(label(daylightMapId::Sunrise), core::languageString(697));
    EXPECT_EQ(label(daylightMapId::Sunset), core::languageString(697));
    app_.reset();
    pump();
    setClockOverride(utcAt(2026, 12, 21, 12, 0));
    open(kDaylightMap);
    EXPECT_EQ(label(daylightMapId::Sunrise), core::languageString(698));
    // Sydney has ordinary days either way.
    key(vk::Right);
    EXPECT_EQ(label(daylightMapId::Sunrise).rfind(L"Sunrise ", 0), 0u);
}

TEST_F(WorldTimeScreens, WithoutFavouritesTheMapHasNoRingAndThePanelSaysSo) {
    std::filesystem::remove(installFolder() / "mycities.dat");
    open(kDaylightMap);
    EXPECT_TRUE(mapScreen().mapView()->ringRect().isEmpty());
    ui::Control* note = mapScreen().findControl(daylightMapId::Empty);
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isVisible);
    EXPECT_EQ(label(daylightMapId::Name), L"");
    sendMessage(app_->mainWindow(), wm::Timer, kPulseTimer, 0);
    EXPECT_FALSE(updateRect(app_->mainWindow()).has_value());
    key(vk::Right);
    EXPECT_EQ(app_->currentModuleId(), kDaylightMap);
}

}  // namespace

TEST_F(WorldTimeScreens, RowsShowTodaysWeatherIconOfEachFavourite) {
    const std::filesystem::path downloads = installFolder() / "downloads";
    std::filesystem::create_directories(downloads);
    // London has a forecast with today (21 June, UTC) in its second row; Tokyo's file has one
    // row only, which is no forecast; Paris's rows are all past; the others have no file.
    std::ofstream(downloads / "GB2643743.dat") << "1~3~20~12~W~10~7~Cloudy~062026\n"
                                                  "1~95~24~15~S~20~1~Storms~062126\n"
                                                  "1~71~1~0~N~5~2~Snow~062226\n";
    std::ofstream(downloads / "JP1850147.dat") << "1~0~30~22~E~10~1~Sun~062126\n";
    std::ofstream(downloads / "FR2988507.dat") << "1~0~30~22~E~10~1~Sun~061926\n"
                                                  "1~61~30~22~E~10~1~Rain~062026\n";
    open(kWorldTime);
    ASSERT_EQ(list().rows().size(), 5u);
    EXPECT_EQ(list().rows()[0].weatherIcon, 95);
    EXPECT_EQ(list().rows()[1].weatherIcon, 9999);
    EXPECT_EQ(list().rows()[2].weatherIcon, 9999);
    EXPECT_EQ(list().rows()[4].weatherIcon, 9999);
    // Every row shows a picture, the no-report one where there is no forecast for today.
    for (const ClockListRow& row : list().rows()) {
        EXPECT_EQ(row.weather.width, list().weatherIconSize());
        EXPECT_EQ(row.weather.height, list().weatherIconSize());
    }
    EXPECT_NE(list().rows()[0].weather.pixels, list().rows()[1].weather.pixels);

    // The picture sits left of the selected row's move-up button and clear of the clock.
    list().selectRow(2, false);
    const Rect weather = list().weatherRect(2);
    const Rect button = list().moveUpRect(2);
    ASSERT_GT(weather.width(), 0);
    ASSERT_GT(button.width(), 0);
    EXPECT_LE(weather.right, button.left);
    EXPECT_GT(weather.left, list().rowRect(2).left + list().clockSize());

    // The next day's icon comes with the next refresh.
    platform::setClockOverride(utcAt(2026, 6, 22, 0, 30));
    clocks().refresh();
    EXPECT_EQ(list().rows()[0].weatherIcon, 71);
    std::filesystem::remove_all(downloads);
}
