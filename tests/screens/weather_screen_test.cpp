// The weather screen inside the program's own application on a headless window, over weather
// files the tests write into the download folder: the lists of modes 1 to 3 with their
// summary line and panel, station stepping, the unit and label toggles, deleting old data,
// the maps and their loops, the user map's editor, and files a broken comms program left.

#include <gtest/gtest.h>

#include "tests/screens/support/weather_fixture.h"

using namespace platform;
using namespace weather;
using namespace weather::test;

namespace {

TEST_F(WeatherScreenTest, TheDailyListShowsEachDayWithItsSummaryAndTheStation) {
    write(kCode + ".dat", kDaily);
    write(kCode + "_c.dat", kCurrent);
    open(kWeatherModule);
    EXPECT_EQ(screen().mode(), 1);
    ASSERT_EQ(list().rowCount(), 3);
    // Mode 1 shows the low with degree and unit, and the date as the label.
    EXPECT_EQ(temperature(1), L"11°C");
    EXPECT_EQ(temperature(3), L"13°C");
    EXPECT_NE(label(1), label(2));
    EXPECT_EQ(list().currentRow(), 1);
    EXPECT_NE(summary().find(L"Clear day one"), std::wstring::npos) << summary();
    // Choosing another row changes the summary to that row alone.
    screen().setFocusedControl(&list(), false);
    key(vk::Down);
    EXPECT_EQ(list().currentRow(), 2);
    EXPECT_NE(summary().find(L"Showers day two"), std::wstring::npos) << summary();
    EXPECT_EQ(summary().find(L"Clear day one"), std::wstring::npos) << summary();
    // The panel shows station 1.
    EXPECT_NE(panelText().find(L"Station one text"), std::wstring::npos) << panelText();
    EXPECT_NE(panelText().find(L"20°C"), std::wstring::npos) << panelText();
    EXPECT_EQ(control<ui::Label>(weatherControl::Heading).text(), L"London, United Kingdom");
}

TEST_F(WeatherScreenTest, TheTwoDayButtonStoresModeTwoAndShowsPeriods) {
    write(kCode + ".dat", kDaily);
    write(kCode + "_d.dat", kPeriods);
    open(kWeatherModule);
    ASSERT_EQ(screen().mode(), 1);
    tap(weatherControl::TwoDay);
    EXPECT_EQ(screen().mode(), 2);
    EXPECT_EQ(core::iniNumber(L"weathermode", 0), 2);
    ASSERT_EQ(list().rowCount(), 2);
    EXPECT_EQ(label(1), core::languageString(593));  // Morning
    EXPECT_EQ(label(2), core::languageString(594));  // Afternoon
    EXPECT_EQ(temperature(2), L"17°C") << "mode 2 shows the first temperature";
    EXPECT_TRUE(control<ModeButton>(weatherControl::TwoDay).isChosen());
    EXPECT_FALSE(control<ModeButton>(weatherControl::SevenDay).isChosen());
    // Back to the seven days by keys: up from the two-day button focuses the seven-day one.
    key(vk::Up);
    EXPECT_EQ(screen().mode(), 1);
    EXPECT_EQ(core::iniNumber(L"weathermode", 0), 1);
    EXPECT_EQ(temperature(1), L"11°C");
}

TEST_F(WeatherScreenTest, TheStationArrowsWrapBothWaysAndAreStored) {
    write(kCode + ".dat", kDaily);
    write(kCode + "_c.dat", kCurrent);
    open(kWeatherModule);
    // The current button hands the focus to the panel.
    tap(weatherControl::Current);
    ASSERT_EQ(screen().focusedControl(), screen().findControl(weatherControl::Panel));
    EXPECT_EQ(screen().mode(), 1) << "the current button chooses no mode";
    key(vk::Left);
    EXPECT_EQ(screen().currentData()->currentRow(), 3) << "left on row 1 goes to the last";
    EXPECT_EQ(core::readNumberSetting(L"CITYSTATION_GB2643743", 0), 3);
    EXPECT_NE(panelText().find(L"Station three text"), std::wstring::npos) << panelText();
    key(vk::Right);
    EXPECT_EQ(screen().currentData()->currentRow(), 1) << "right on the last goes to row 1";
    EXPECT_EQ(core::readNumberSetting(L"CITYSTATION_GB2643743", 0), 1);
    key(vk::Return);
    EXPECT_EQ(screen().currentData()->currentRow(), 2);
    // A new screen opens on the stored station.
    open(kWeatherModule);
    EXPECT_EQ(screen().currentData()->currentRow(), 2);
    EXPECT_NE(panelText().find(L"Station two text"), std::wstring::npos) << panelText();
}

TEST_F(WeatherScreenTest, UnitTogglesConvertStoreAndAskTheHomeScreenToReload) {
    write(kCode + ".dat", kDaily);
    write(kCode + "_c.dat", kCurrent);
    open(kWeatherModule);
    command(weatherCommand::TemperatureUnit);
    EXPECT_EQ(core::readNumberSetting(L"OptTempFormat", 0), 2);
    EXPECT_EQ(core::readNumberSetting(L"OptHomeLayoutReload", 0), 1);
    EXPECT_EQ(temperature(1), L"52°F");                                       // 11 °C
    EXPECT_NE(panelText().find(L"68°F"), std::wstring::npos) << panelText();  // 20 °C
    command(weatherCommand::TemperatureUnit);
    EXPECT_EQ(core::readNumberSetting(L"OptTempFormat", 0), 1);
    EXPECT_EQ(temperature(1), L"11°C");

    core::writeNumberSetting(L"OptHomeLayoutReload", 0);
    std::wstring kilometres = summary();
    EXPECT_NE(kilometres.find(L"10 " + core::languageString(595)), std::wstring::npos)
        << kilometres;
    command(weatherCommand::WindUnit);
    EXPECT_EQ(core::readNumberSetting(L"OptWindFormat", 0), 1);
    EXPECT_EQ(core::readNumberSetting(L"OptHomeLayoutReload", 0), 1);
    EXPECT_NE(summary().find(L"6 " + core::languageString(596)), std::wstring::npos) << summary();

    // Day labels: names instead of dates, stored as 1.
    std::wstring date = label(1);
    command(weatherCommand::DayLabels);
    EXPECT_EQ(core::readNumberSetting(L"OptWeatherDays", -1), 1);
    EXPECT_EQ(label(1), L"Sun");
    EXPECT_NE(label(1), date);
}

TEST_F(WeatherScreenTest, DeletingOldDataAsksTwiceAndDeletesOnlyWhatWasAgreed) {
    auto writeAll = [] {
        write(kCode + ".dat", kDaily);
        write(kCode + "_c.dat", kCurrent);
        write("BritishIsles_sat0.dat", "x");
        write("BritishIsles_rad3.dat", "x");
        write("Japan_sat0.dat", "x");
    };
    writeAll();
    open(kWeatherModule);
    ASSERT_EQ(list().rowCount(), 3);
    // No and No: nothing goes, but the screen still reads the files again.
    answers_ = {id::No, id::No};
    write(kCode + ".dat",
          "1~1~30~25~SW~10~1~Changed~120126~M~~~~~\n"
          "1~1~31~26~SW~10~2~Changed~120226~M~~~~~\n");
    command(weatherCommand::Delete);
    ASSERT_EQ(questions_.size(), 2u);
    EXPECT_EQ(questions_[0], core::languageString(579));
    EXPECT_EQ(questions_[1], core::languageString(580));
    EXPECT_TRUE(std::filesystem::exists(downloads() / (kCode + ".dat")));
    EXPECT_TRUE(std::filesystem::exists(downloads() / "BritishIsles_sat0.dat"));
    EXPECT_EQ(temperature(1), L"25°C") << "reloaded";
    EXPECT_EQ(core::readNumberSetting(L"OptHomeLayoutReload", 0), 1);

    // Yes, then No: the city's files go, the frames stay.
    writeAll();
    answers_ = {id::Yes, id::No};
    command(weatherCommand::Delete);
    EXPECT_FALSE(std::filesystem::exists(downloads() / (kCode + ".dat")));
    EXPECT_FALSE(std::filesystem::exists(downloads() / (kCode + "_c.dat")));
    EXPECT_TRUE(std::filesystem::exists(downloads() / "BritishIsles_sat0.dat"));
    EXPECT_EQ(list().rowCount(), 0);
    EXPECT_EQ(list().emptyText(), core::languageString(582));
    EXPECT_EQ(panel(), std::vector<std::wstring>{core::languageString(587)});

    // No, then Yes: the region's frames go, and only that region's.
    writeAll();
    answers_ = {id::No, id::Yes};
    command(weatherCommand::Delete);
    EXPECT_TRUE(std::filesystem::exists(downloads() / (kCode + ".dat")));
    EXPECT_FALSE(std::filesystem::exists(downloads() / "BritishIsles_sat0.dat"));
    EXPECT_FALSE(std::filesystem::exists(downloads() / "BritishIsles_rad3.dat"));
    EXPECT_TRUE(std::filesystem::exists(downloads() / "Japan_sat0.dat"));
}

TEST_F(WeatherScreenTest, DamagedFilesShowPlaceholdersAndNeverAnotherRowsValue) {
    // Row 1 has words for numbers, row 2 too few fields, row 3 extra fields, row 4 is sound.
    write(kCode + ".dat",
          "1~abc~twenty~eleven~SW~fast~1~Words for numbers~120126~M~~~~~\n"
          "1~1~22\n"
          "1~3~23~13~N~30~3~Extra fields~120326~M~~~~~~more~and~more~still~more\n"
          "1~1~24~14~N~30~4~Sound row~120426~M~~~~~\n");
    write(kCode + "_c.dat", "1~1~warm~~NW~~~~~~~~~\n");
    open(kWeatherModule);
    ASSERT_EQ(list().rowCount(), 4);
    EXPECT_EQ(temperature(1), L"N/A");
    EXPECT_EQ(list().rows().row(1)->iconPath.find(L"9999.tga") != std::wstring::npos, true);
    EXPECT_EQ(temperature(2), L"N/A") << "a missing low is no value of another row";
    EXPECT_EQ(temperature(3), L"13°C");
    EXPECT_EQ(temperature(4), L"14°C");
    for (const std::wstring& text : {summary(), panelText()}) {
        EXPECT_EQ(text.find(L"14"), std::wstring::npos) << text;
        EXPECT_EQ(text.find(L"24"), std::wstring::npos) << text;
    }
    EXPECT_NE(panelText().find(L"N/A"), std::wstring::npos) << panelText();

    // A file of one line is no data; an empty and an oversized file too.
    write(kCode + ".dat", "1~1~21~11~SW~10~1~Only row~120126~M~~~~~\n");
    screen().reload();
    EXPECT_EQ(list().rowCount(), 0);
    EXPECT_EQ(summary(), L"");
    write(kCode + ".dat", "");
    screen().reload();
    EXPECT_EQ(list().rowCount(), 0);
    write(kCode + ".dat", std::string(2 << 20, '~'));
    screen().reload();
    EXPECT_EQ(list().rowCount(), 0);
}

TEST_F(WeatherScreenTest, TheOutlookListsEightGroupsWithBandsAndTheHeading) {
    std::string outlook = "1~Week ahead~";
    for (int k = 1; k <= 8; ++k) {
        outlook += std::string("~") + "MAEN"[(k - 1) % 4] + "~" + std::to_string(1 + k / 4) + "~" +
                   std::to_string(k % 7) + "~" + (k == 2 ? "*" : "Group " + std::to_string(k));
    }
    outlook += "~Footer text\n";
    write(kCode + "_a.dat", outlook);
    open(kOutlookModule);
    EXPECT_EQ(screen().mode(), 3);
    ASSERT_EQ(list().rowCount(), 8);
    EXPECT_EQ(temperature(1), L"0-15");  // band 1
    EXPECT_EQ(temperature(6), L"N/A");   // band 6 is no band
    EXPECT_EQ(temperature(7), L"OK");    // band 0
    EXPECT_EQ(label(1), core::languageString(593));
    EXPECT_NE(list().rows().row(1)->iconPath.find(L"a2.tga"), std::wstring::npos);
    EXPECT_FALSE(control<ModeButton>(weatherControl::SevenDay).isVisible);
    std::vector<std::wstring> lines = panel();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], core::formatText(core::languageString(585), std::wstring(L"Week ahead")));
    EXPECT_EQ(lines[1], L"Footer text");
    screen().setFocusedControl(&list(), false);
    key(vk::Down);
    EXPECT_NE(summary().find(core::languageString(567)), std::wstring::npos) << summary();
}

TEST_F(WeatherScreenTest, SatelliteFramesLoopOnTheTimerAndStepByKeys) {
    for (int frame : {0, 3, 7}) copyPicture("BritishIsles_sat" + std::to_string(frame) + ".dat");
    setIni(L"mapmode", mapMode::Satellite);
    setIni(L"map_animspeed", 200);
    open(kMapsModule);
    EXPECT_EQ(screen().mode(), 4);
    ASSERT_TRUE(screen().isLooping());
    ASSERT_NE(screen().mapData(), nullptr);
    EXPECT_EQ(screen().mapData()->frameIndex(), 7) << "the loop starts at the newest frame";
    ASSERT_TRUE(map().picture());
    EXPECT_EQ(map().text(), core::languageString(177));
    std::vector<int> seen;
    for (int i = 0; i < 4; ++i) {
        platform::test::fastForward(200, 200);
        seen.push_back(screen().mapData()->frameIndex());
    }
    EXPECT_EQ(seen, (std::vector<int>{3, 0, 7, 3}));
    // Keys step by hand, both ways.
    screen().setFocusedControl(&control<ModeButton>(weatherControl::Satellite), false);
    key(vk::Right);
    EXPECT_EQ(screen().mapData()->frameIndex(), 7) << "right steps forward";
    key(vk::Right);
    EXPECT_EQ(screen().mapData()->frameIndex(), 0) << "and wraps";
    key(vk::Left);
    EXPECT_EQ(screen().mapData()->frameIndex(), 7) << "left steps back, wrapping";
    EXPECT_EQ(screen().mapMode(), mapMode::Satellite) << "the keys chose no other map";
    // The left soft key opens the main menu and rests the loop.
    command(ui::command::LeftSoftKey);
    EXPECT_TRUE(app_->isMainMenuOpen());
    EXPECT_FALSE(screen().isLooping());
    key(vk::Escape);
    app_->showMainMenu(false);
    pump();
    screen().setFocusedControl(&control<ModeButton>(weatherControl::Radar), false);
    // Focusing the radar button chooses the radar, whose loop runs without frames.
    EXPECT_EQ(screen().mapMode(), mapMode::Radar);
    EXPECT_TRUE(screen().isLooping());
    EXPECT_EQ(map().text(), core::languageString(170));
    // Switching to the forecast map stops the loop.
    tap(weatherControl::ForecastMap);
    EXPECT_EQ(screen().mapMode(), mapMode::Forecast);
    EXPECT_EQ(core::iniNumber(L"mapmode", 0), mapMode::Forecast);
    EXPECT_FALSE(screen().isLooping());
    EXPECT_FALSE(map().picture());
    EXPECT_EQ(map().text(), core::languageString(167));
}

TEST_F(WeatherScreenTest, AFrameThatDoesNotDecodeShowsTheTextAndTheLoopGoesOn) {
    copyPicture("BritishIsles_rad2.dat");
    write("BritishIsles_rad5.dat", "not a picture at all");
    setIni(L"mapmode", mapMode::Radar);
    setIni(L"map_animspeed", 0);  // a damaged period is kept sane
    open(kMapsModule);
    ASSERT_TRUE(screen().isLooping());
    EXPECT_EQ(screen().mapData()->frameIndex(), 5);
    EXPECT_FALSE(map().picture());
    EXPECT_EQ(map().text(), core::languageString(170)) << "BritishIsles has radar";
    platform::test::fastForward(20, 20);
    EXPECT_EQ(screen().mapData()->frameIndex(), 2);
    EXPECT_TRUE(map().picture());
    platform::test::fastForward(20, 20);
    EXPECT_EQ(screen().mapData()->frameIndex(), 5);
}

TEST_F(WeatherScreenTest, RadarRegionsAreComparedWithoutCase) {
    setIni(L"mapmode", mapMode::Radar);
    open(kMapsModule);
    EXPECT_EQ(map().text(), core::languageString(170));
    // Tokyo's region "Japan" is one; New York's "NorthAmerica" is not.
    core::writeNumberSetting(L"FavCity", 2);
    open(kMapsModule);
    EXPECT_EQ(map().text(), core::languageString(169));
}

TEST_F(WeatherScreenTest, TheUserMapSourceIsEditedAndStoredUpToItsLimit) {
    setIni(L"mapmode", mapMode::User);
    open(kMapsModule);
    EXPECT_EQ(map().text(), core::languageString(171));
    command(weatherCommand::EditUserMap);
    ASSERT_TRUE(screen().isEditing());
    EXPECT_FALSE(map().isVisible && map().isLive(screen().currentPage));
    auto& source = control<ui::EditField>(weatherControl::EditSource);
    source.setText(std::wstring(600, L'u'));
    command(ui::command::LeftSoftKey);
    EXPECT_FALSE(screen().isEditing());
    std::wstring stored = readUserMapSource(L"GB2643743");
    EXPECT_EQ(stored.size(), 511u);
    EXPECT_NE(map().text().find(core::languageString(172)), std::wstring::npos) << map().text();
    // Cancel leaves the stored source alone.
    command(weatherCommand::EditUserMap);
    EXPECT_EQ(source.text().size(), 511u);
    source.setText(L"http://example.invalid/other.jpg");
    command(ui::command::RightSoftKey);
    EXPECT_FALSE(screen().isEditing());
    EXPECT_EQ(readUserMapSource(L"GB2643743").size(), 511u);
}

TEST_F(WeatherScreenTest, AnUpdateShowsTheBusyAnimationAndReloadsTheNewFiles) {
    write(kCode + ".dat", kDaily);
    open(kWeatherModule);
    EXPECT_EQ(temperature(1), L"11°C");
    core::writeNumberSetting(L"FakeCommsDelayMs", 300);
    command(weatherCommand::Update);
    ASSERT_TRUE(pumpUntil([&] { return screen().isBusy(); })) << "the busy animation runs";
    EXPECT_TRUE(control<worldtime::BusyIndicator>(weatherControl::Busy).isVisible);
    ASSERT_TRUE(pumpUntil([&] { return !screen().isBusy() && !core::isCommsRunning(); }));
    core::writeNumberSetting(L"FakeCommsDelayMs", 0);
    EXPECT_EQ(core::readSetting(L"FakeCommsRequest", 255).value_or(L""), L"/manual 14");
    EXPECT_EQ(temperature(1), L"11°C");  // the fake writes 10 + day as the low
    EXPECT_NE(summary().find(L"Fresh forecast day 1"), std::wstring::npos) << summary();
    EXPECT_NE(panelText().find(L"Fresh conditions"), std::wstring::npos) << panelText();

    // One city, in the outlook: its own mask.
    open(kOutlookModule);
    command(weatherCommand::UpdateCity);
    ASSERT_TRUE(pumpUntil([&] {
        return core::readSetting(L"FakeCommsRequest", 255).value_or(L"") ==
                   L"/manual $$cityGB2643743$$16" &&
               !screen().isBusy() && list().rowCount() == 8;
    })) << core::readSetting(L"FakeCommsRequest", 255).value_or(L"")
        << " " << list().rowCount() << " " << questions_.size();
}

TEST_F(WeatherScreenTest, UpdateWhileTheCommsProgramRunsCancelsIt) {
    open(kWeatherModule);
    ASSERT_TRUE(core::sendCommsRequest(L"/hold"));
    ASSERT_TRUE(pumpUntil([&] { return screen().isBusy(); }));
    core::writeSetting(L"FakeCommsRequest", L"");
    command(weatherCommand::Update);
    ASSERT_TRUE(pumpUntil([&] { return !core::isCommsRunning() && !screen().isBusy(); }));
    EXPECT_EQ(core::readSetting(L"FakeCommsRequest", 255).value_or(L""), L"")
        << "nothing new was sent";
}

TEST_F(WeatherScreenTest, EveryShapeAndATurnKeepTheScreenWhole) {
    write(kCode + ".dat", kDaily);
    write(kCode + "_c.dat", kCurrent);
    for (const char* shape : {"240x320", "480x640", "320x240", "240x240"}) {
        SCOPED_TRACE(shape);
        setScreenProfile(*screenProfileFromName(shape));
        broadcastScreenChanged();
        open(kWeatherModule);
        Rect client = clientRect(app_->mainWindow());
        for (int id : {weatherControl::List, weatherControl::Summary, weatherControl::Panel,
                       weatherControl::SevenDay, weatherControl::Current}) {
            Rect r = screen().findControl(id)->rect;
            EXPECT_FALSE(r.isEmpty()) << id;
            EXPECT_GE(r.left, client.left) << id;
            EXPECT_LE(r.right, client.right) << id;
            EXPECT_LE(r.bottom, client.bottom) << id;
            // No two regions overlap.
            for (int other : {weatherControl::List, weatherControl::Summary, weatherControl::Panel,
                              weatherControl::SevenDay}) {
                if (other == id)
                    continue;
                EXPECT_TRUE(r.intersect(screen().findControl(other)->rect).isEmpty())
                    << id << " and " << other;
            }
        }
        ASSERT_EQ(list().rowCount(), 3);
    }
    setScreenProfile(*screenProfileFromName("240x320"));
    broadcastScreenChanged();
}

TEST_F(WeatherScreenTest, ATurnKeepsTheModeAndAnUnfinishedUserMapSource) {
    setIni(L"mapmode", mapMode::User);
    open(kMapsModule);
    command(weatherCommand::EditUserMap);
    control<ui::EditField>(weatherControl::EditSource).setText(L"http://example.invalid/a.jpg");
    int generation = app_->layoutGeneration();
    rotateScreen(90);
    broadcastScreenChanged();
    pump();
    ASSERT_GT(app_->layoutGeneration(), generation) << "the screen was built again";
    EXPECT_EQ(screen().mode(), 4);
    EXPECT_EQ(screen().mapMode(), mapMode::User);
    ASSERT_TRUE(screen().isEditing());
    EXPECT_EQ(control<ui::EditField>(weatherControl::EditSource).text(),
              L"http://example.invalid/a.jpg");
    rotateScreen(270);
    broadcastScreenChanged();
    pump();
    EXPECT_TRUE(screen().isEditing());
    EXPECT_EQ(readUserMapSource(L"GB2643743"), L"") << "nothing stored by turning";
}

}  // namespace
