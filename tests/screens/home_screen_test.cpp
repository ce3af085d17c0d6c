// The home-mode screen (module 10): its modes and their memory, the quick alarm and its
// notification, the calendar program started on a chosen day, the keys of each mode, the
// weather update and the full-screen toggle with its fade.

#include "tests/screens/support/home_fixture.h"

namespace home::test {
namespace {

constexpr int kSetAlarmString = 228, kCancelAlarmString = 226, kTodayString = 230,
              kTomorrowString = 231, kUpdateString = 225, kCancelString = 237,
              kCancelUpdateString = 15;

TEST_F(HomeScreenTest, OpensInTheStoredModeAndStoresEachChoiceAtOnce) {
    // Without "homemode" the screen opens on the clock.
    std::filesystem::remove(install_ / "vornroamer.ini");
    ASSERT_TRUE(core::ensureIniFile(L"\\Program Files\\Vorn Roamer\\"));
    ASSERT_EQ(core::iniNumber(L"homemode", 0), 0);
    open();
    EXPECT_EQ(screen().mode(), homeMode::Clock);
    EXPECT_TRUE(control<ui::DropDown>(homeControl::Cities).isVisible);
    EXPECT_FALSE(calendar().isVisible);

    tapControl(homeControl::WeatherMode);
    EXPECT_EQ(screen().mode(), homeMode::Weather);
    EXPECT_EQ(storedIni(L"homemode", 0), 3);
    EXPECT_TRUE(control<WeatherSummaryPanel>(homeControl::WeatherPanel).isVisible);
    EXPECT_FALSE(control<ui::DropDown>(homeControl::Cities).isVisible);
    // From mode 3 back to mode 1: "homemode" 1 is in the file before anything else happens.
    tapControl(homeControl::TimeMode);
    EXPECT_EQ(storedIni(L"homemode", 0), 1);

    // The keys choose modes too: the focus walks the mode buttons.
    tapControl(homeControl::CalendarMode);
    EXPECT_EQ(screen().mode(), homeMode::Calendar);
    EXPECT_TRUE(calendar().isVisible);
    EXPECT_EQ(focused(), &modeButton(2));
    key(vk::Down);
    EXPECT_EQ(screen().mode(), homeMode::Weather);
    EXPECT_EQ(storedIni(L"homemode", 0), 3);

    // A new start opens where the user left.
    open();
    EXPECT_EQ(screen().mode(), homeMode::Weather);
    EXPECT_EQ(focused(), &modeButton(3));
}

TEST_F(HomeScreenTest, TheCurrentModeButtonIsLitOnlyWhileFocused) {
    setIni(L"homemode", 2);
    open();
    EXPECT_DOUBLE_EQ(modeButton(2).level(), 1.0);
    EXPECT_TRUE(modeButton(2).isCurrent());
    for (int other : {1, 3, 4}) {
        EXPECT_DOUBLE_EQ(modeButton(other).level(), 0.3) << other;
        EXPECT_FALSE(modeButton(other).isCurrent()) << other;
    }
    // The calendar takes the focus: the current button goes dark, the others stay.
    key(vk::Left);
    EXPECT_EQ(focused(), &calendar());
    EXPECT_DOUBLE_EQ(modeButton(2).level(), 0.0);
    EXPECT_DOUBLE_EQ(modeButton(1).level(), 0.3);
}

TEST_F(HomeScreenTest, SettingTheQuickAlarmAtTheSameMinuteArmsItForTomorrow) {
    setIni(L"homemode", 4);
    open();
    // At 07:00:30 the picker shows 07:00, which is not later than now.
    EXPECT_EQ(alarmPanel().picker().hour(), 7);
    EXPECT_EQ(alarmPanel().picker().minute(), 0);
    EXPECT_EQ(caption(homeControl::SetAlarm), core::languageString(kSetAlarmString));
    EXPECT_EQ(text(homeControl::AlarmStatus), L"");
    tapControl(homeControl::SetAlarm);
    ASSERT_TRUE(alarms::quickAlarmSet());
    auto armed = notifications();
    ASSERT_EQ(armed.size(), 1u);
    EXPECT_EQ(armed[0].arguments, L"/QUICK");
    EXPECT_EQ(armed[0].start.day, 9);
    EXPECT_EQ(armed[0].start.hour, 7);
    EXPECT_EQ(armed[0].start.minute, 0);
    EXPECT_EQ(caption(homeControl::SetAlarm), core::languageString(kCancelAlarmString));
    EXPECT_EQ(text(homeControl::AlarmStatus), core::languageString(kTomorrowString));

    // Pressing it again cancels the alarm and clears its notification.
    tapControl(homeControl::SetAlarm);
    EXPECT_FALSE(alarms::quickAlarmSet());
    EXPECT_TRUE(notifications().empty());
    EXPECT_EQ(core::readSetting(L"QuickSetAlarm", 32).value_or(L""), L"0");
    EXPECT_EQ(caption(homeControl::SetAlarm), core::languageString(kSetAlarmString));
    EXPECT_EQ(text(homeControl::AlarmStatus), L"");
    EXPECT_TRUE(messages_.empty());
}

TEST_F(HomeScreenTest, AMinuteLaterTheQuickAlarmRingsTodayAndTheKeysSetIt) {
    setClockOverride(at(2026, 12, 8, 7, 0, 59));
    setIni(L"homemode", 4);
    open();
    // Left on the alarm button goes to the set button; the picker is edited meanwhile.
    key(vk::Left);
    EXPECT_EQ(focused(), &control<ui::TextButton>(homeControl::SetAlarm));
    EXPECT_TRUE(alarmPanel().isEditing());
    // To the last digit, one up: 07:01.
    for (int i = 0; i < 3; ++i) key(vk::Right);
    EXPECT_EQ(alarmPanel().picker().selected(), 3);
    key(vk::Up);
    EXPECT_EQ(alarmPanel().picker().minute(), 1);
    key(vk::Return);
    auto armed = notifications();
    ASSERT_EQ(armed.size(), 1u);
    EXPECT_EQ(armed[0].start.day, 8);
    EXPECT_EQ(armed[0].start.hour, 7);
    EXPECT_EQ(armed[0].start.minute, 1);
    EXPECT_EQ(text(homeControl::AlarmStatus), core::languageString(kTodayString));
    // Right past the last digit hands the focus back to the alarm mode button.
    key(vk::Right);
    EXPECT_EQ(focused(), &modeButton(4));
    EXPECT_FALSE(alarmPanel().isEditing());
    EXPECT_EQ(screen().mode(), homeMode::Alarm);

    // A new start shows the armed time from the notification, not the clock.
    setClockOverride(at(2026, 12, 8, 7, 0, 59));
    open();
    EXPECT_EQ(alarmPanel().picker().minute(), 1);
    EXPECT_EQ(caption(homeControl::SetAlarm), core::languageString(kCancelAlarmString));
}

TEST_F(HomeScreenTest, AQuickAlarmWhoseNotificationWentIsCancelledWhenTheModeIsApplied) {
    setIni(L"homemode", 4);
    open();
    tapControl(homeControl::SetAlarm);
    ASSERT_TRUE(alarms::quickAlarmSet());
    // The alarm program rang it: the notification is gone, QuickSetAlarm still holds it.
    clearUserNotification(alarms::quickAlarmHandle());
    ASSERT_TRUE(alarms::quickAlarmSet());
    tapControl(homeControl::TimeMode);
    tapControl(homeControl::AlarmMode);
    EXPECT_FALSE(alarms::quickAlarmSet());
    EXPECT_EQ(caption(homeControl::SetAlarm), core::languageString(kSetAlarmString));
    EXPECT_EQ(text(homeControl::AlarmStatus), L"");
}

TEST_F(HomeScreenTest, TappingThePanelEditsThePickerAndTheSetAlarmBlinks) {
    platform::test::TestClock clock(at(2026, 12, 8, 7, 0, 30));
    setIni(L"homemode", 4);
    open();
    QuickAlarmPanel& panel = alarmPanel();
    // The up arrow over the first digit: 07 becomes 17.
    tap(centre(panel.arrowRect(0, true)));
    EXPECT_EQ(focused(), &control<ui::TextButton>(homeControl::SetAlarm));
    EXPECT_EQ(panel.picker().hour(), 17);
    tap(centre(panel.arrowRect(0, true)));
    EXPECT_EQ(panel.picker().hour(), 23) << "a 2 in the tens keeps the hour below 24";
    tap(centre(panel.arrowRect(3, false)));
    EXPECT_EQ(panel.picker().minute(), 9);
    tapControl(homeControl::SetAlarm);
    ASSERT_EQ(notifications().size(), 1u);
    EXPECT_EQ(notifications()[0].start.hour, 23);
    EXPECT_EQ(notifications()[0].start.minute, 9);
    EXPECT_EQ(notifications()[0].start.day, 8);

    // While not edited the digits blink between half and full strength, once a second.
    key(vk::Right);
    ASSERT_EQ(focused(), &modeButton(4));
    double first = panel.level();
    platform::test::fastForward(1000, 50);
    double second = panel.level();
    platform::test::fastForward(1000, 50);
    EXPECT_NE(first, second);
    EXPECT_DOUBLE_EQ(panel.level(), first);
    EXPECT_EQ(text(homeControl::NowLine), core::languageString(232) + L"07:00");
}

TEST_F(HomeScreenTest, CalendarDaysOpenTheCalendarProgram) {
    setIni(L"homemode", 2);
    open();
    struct Start {
        std::wstring program, line;
    };
    std::vector<Start> started;
    calendar().startCalendar = [&](std::wstring_view program, std::wstring_view line) {
        started.push_back({std::wstring(program), std::wstring(line)});
        return false;  // a calendar that does not start is not reported
    };
    EXPECT_EQ(calendar().headingText(), L"December 2026");
    EXPECT_EQ(caption(homeControl::PreviousMonth), L"November");
    EXPECT_EQ(caption(homeControl::NextMonth), L"January");
    // A tap on the 15th views it; a second tap on the chosen day opens a new appointment.
    Rect day15 = calendar().cellRect(calendar().grid().cellOfDay(15));
    tap(centre(day15));
    tap(centre(day15));
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[0].program, L"\\windows\\poutlook.exe");
    EXPECT_EQ(started[0].line, L"calendar -va -d 20261215");
    EXPECT_EQ(started[1].line, L"calendar -new -d 20261215");
    // The menu's commands act on the selected day.
    command(homeCommand::ViewDay);
    command(homeCommand::NewAppointment);
    ASSERT_EQ(started.size(), 4u);
    EXPECT_EQ(started[2].line, L"calendar -va -d 20261215");
    EXPECT_EQ(started[3].line, L"calendar -new -d 20261215");
    EXPECT_TRUE(messages_.empty());

    // The month buttons move the calendar, and their captions follow.
    tapControl(homeControl::NextMonth);
    EXPECT_EQ(calendar().headingText(), L"January 2027");
    EXPECT_EQ(caption(homeControl::PreviousMonth), L"December");
    EXPECT_EQ(caption(homeControl::NextMonth), L"February");
    tap(centre(calendar().cellRect(calendar().grid().cellOfDay(3))));
    EXPECT_EQ(started.back().line, L"calendar -va -d 20270103");
}

TEST_F(HomeScreenTest, CalendarKeysWalkTheDaysAndTheMonthButtons) {
    setIni(L"homemode", 2);
    open();
    std::vector<std::wstring> lines;
    calendar().startCalendar = [&](std::wstring_view, std::wstring_view line) {
        lines.emplace_back(line);
        return true;
    };
    ASSERT_EQ(focused(), &modeButton(2));
    key(vk::Left);
    ASSERT_EQ(focused(), &calendar());
    EXPECT_EQ(screen().mode(), homeMode::Calendar);
    // Today (the 8th) is selected; Down moves a week, Enter views the day.
    key(vk::Down);
    key(vk::Return);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], L"calendar -va -d 20261215");
    // Past the month's last week, Down goes on to the previous-month button.
    key(vk::Down);
    key(vk::Down);
    key(vk::Down);
    EXPECT_EQ(focused(), &control<ui::TextButton>(homeControl::PreviousMonth));
    key(vk::Right);
    EXPECT_EQ(focused(), &control<ui::TextButton>(homeControl::NextMonth));
    key(vk::Return);
    EXPECT_EQ(calendar().headingText(), L"January 2027");
    key(vk::Left);
    key(vk::Return);
    EXPECT_EQ(calendar().headingText(), L"December 2026");
    key(vk::Up);
    EXPECT_EQ(focused(), &calendar());
    // Up from the first week leaves the calendar for its mode button.
    key(vk::Up);
    ASSERT_EQ(calendar().grid().cells[static_cast<std::size_t>(calendar().selectedCell())].day, 1);
    EXPECT_EQ(focused(), &calendar());
    key(vk::Up);
    EXPECT_EQ(focused(), &modeButton(2));
    EXPECT_EQ(screen().mode(), homeMode::Calendar);
}

TEST_F(HomeScreenTest, ClockModeKeysAndTheDropDownChooseTheCity) {
    open();
    auto& cities = control<ui::DropDown>(homeControl::Cities);
    ASSERT_GE(cities.table()->rowCount(), 2);
    std::wstring first = cities.shownText();
    std::wstring london = text(homeControl::ClockLine1);
    key(vk::Right);
    EXPECT_NE(cities.shownText(), first);
    EXPECT_EQ(cities.table()->currentRow(), 2);
    key(vk::Left);
    EXPECT_EQ(cities.shownText(), first);
    key(vk::Left);
    EXPECT_EQ(cities.table()->currentRow(), cities.table()->rowCount()) << "wraps round";
    // The clock follows the city's zone.
    EXPECT_FALSE(text(homeControl::ClockLine1).empty());
    EXPECT_FALSE(text(homeControl::ClockLine2).empty());
}

TEST_F(HomeScreenTest, TheWeatherSummaryShowsTheFilesOrSaysThereAreNone) {
    setIni(L"homemode", 3);
    open();
    auto& panel = control<WeatherSummaryPanel>(homeControl::WeatherPanel);
    ASSERT_TRUE(panel.summary().hasCity);
    EXPECT_TRUE(panel.summary().days.empty());
    ASSERT_EQ(panel.summary().noForecast.size(), 2u);
    EXPECT_EQ(panel.summary().noForecast[1], core::languageString(161));
    ASSERT_EQ(panel.summary().currentLines.size(), 3u);
    EXPECT_EQ(panel.summary().currentLines[0], core::languageString(162));

    write(kLondon + ".dat",
          "1~1~21~11~SW~10~1~Clear~120126~M~~~~~\n1~3~22~12~W~20~2~Wet~120226~M~~~~~\n");
    write(kLondon + "_c.dat", "1~1~20~10~NW~15~1016~Bright spells~~x~17~10~Sunny~Last\n");
    // Right steps to the next city and Left back: the panel reads London's files again.
    key(vk::Right);
    key(vk::Left);
    const WeatherSummary& summary = panel.summary();
    EXPECT_EQ(summary.cityName, L"London");
    ASSERT_EQ(summary.days.size(), 2u);
    EXPECT_EQ(summary.days[0].temperature, L"11°C");
    EXPECT_EQ(summary.days[1].temperature, L"12°C");
    ASSERT_EQ(summary.currentLines.size(), 2u);
    EXPECT_EQ(summary.currentLines[0], L"Now 20°C");
    EXPECT_EQ(summary.currentLines[1], L"Bright spells");

    // The arrows of the heading step the city as the keys do.
    int row = control<ui::DropDown>(homeControl::Cities).table()->currentRow();
    tap(centre(panel.rightArrowRect()));
    EXPECT_EQ(control<ui::DropDown>(homeControl::Cities).table()->currentRow(), row + 1);
    tap(centre(panel.leftArrowRect()));
    EXPECT_EQ(control<ui::DropDown>(homeControl::Cities).table()->currentRow(), row);
}

TEST_F(HomeScreenTest, UpdateTwiceSendsTheRequestAndThenCancelsIt) {
    setIni(L"homemode", 3);
    open();
    EXPECT_EQ(caption(homeControl::Update), core::languageString(kUpdateString));
    core::writeNumberSetting(L"FakeCommsDelayMs", 1500);
    command(homeCommand::Update);
    ASSERT_TRUE(pumpUntil([&] { return screen().isBusy() && core::isCommsRunning(); }));
    EXPECT_EQ(core::readSetting(L"FakeCommsRequest", 255).value_or(L""), L"/manual 10");
    EXPECT_TRUE(control<worldtime::BusyIndicator>(homeControl::Busy).isVisible);
    EXPECT_EQ(caption(homeControl::Update), core::languageString(kCancelString));
    auto entries = screen().menuEntries();
    auto update = std::find_if(entries.begin(), entries.end(), [](const ui::MenuEntry& e) {
        return e.commandId == homeCommand::Update;
    });
    ASSERT_NE(update, entries.end());
    EXPECT_EQ(update->stringNumber, static_cast<std::uint32_t>(kCancelUpdateString));
    // The second press closes the comms program's window.
    core::writeSetting(L"FakeCommsRequest", L"");
    command(homeCommand::Update);
    ASSERT_TRUE(pumpUntil([&] { return !core::isCommsRunning() && !screen().isBusy(); }));
    EXPECT_EQ(core::readSetting(L"FakeCommsRequest", 255).value_or(L""), L"")
        << "nothing new was sent";
    EXPECT_FALSE(control<worldtime::BusyIndicator>(homeControl::Busy).isVisible);
    EXPECT_EQ(caption(homeControl::Update), core::languageString(kUpdateString));
    core::writeNumberSetting(L"FakeCommsDelayMs", 0);
}

TEST_F(HomeScreenTest, TappingTheClockTogglesFullScreenAndFadesTheModeButtons) {
    platform::test::TestClock clock(at(2026, 12, 8, 7, 0, 30));
    open();
    auto& cities = control<ui::DropDown>(homeControl::Cities);
    Rect clockRect = control<CityClockControl>(homeControl::Clock).rect;
    Rect before = windowRect(app_->mainWindow());
    tapControl(homeControl::Clock);
    ASSERT_TRUE(app_->isFullScreen());
    EXPECT_TRUE(screen().isFullScreen());
    EXPECT_FALSE(cities.isVisible);
    // The page keeps its place on the screen while the window grows over the task bar.
    Rect after = windowRect(app_->mainWindow());
    Rect moved = control<CityClockControl>(homeControl::Clock).rect;
    EXPECT_LT(after.top, before.top);
    EXPECT_EQ(moved.top - clockRect.top, 26);
    // Ten tenths of a second take every mode button's overlay to nothing.
    platform::test::fastForward(1100, 50);
    for (int mode = 1; mode <= 4; ++mode) EXPECT_DOUBLE_EQ(modeButton(mode).level(), 0.0) << mode;

    tapControl(homeControl::Clock);
    EXPECT_FALSE(app_->isFullScreen());
    EXPECT_TRUE(cities.isVisible);
    EXPECT_EQ(control<CityClockControl>(homeControl::Clock).rect, clockRect);
    EXPECT_DOUBLE_EQ(modeButton(1).level(), 1.0);
    for (int mode = 2; mode <= 4; ++mode) EXPECT_DOUBLE_EQ(modeButton(mode).level(), 0.3) << mode;
}

TEST_F(HomeScreenTest, LeavingTheScreenInFullScreenBringsTheBarsBack) {
    open();
    tapControl(homeControl::Clock);
    ASSERT_TRUE(app_->isFullScreen());
    command(homeCommand::Cities);
    pump();
    EXPECT_EQ(app_->currentModuleId(), ui::moduleId::CityList);
    EXPECT_FALSE(app_->isFullScreen());
}

TEST_F(HomeScreenTest, TheClockKeepsTickingAfterTheMainMenuClosed) {
    platform::test::TestClock clock(at(2026, 12, 8, 7, 0, 30));
    open();
    std::wstring first = text(homeControl::ClockLine1);
    command(ui::command::LeftSoftKey);
    ASSERT_TRUE(app_->isMainMenuOpen());
    app_->showMainMenu(false);
    pump();
    ASSERT_FALSE(app_->isMainMenuOpen());
    platform::test::fastForward(61000, 500);
    EXPECT_NE(text(homeControl::ClockLine1), first) << "the clock stopped";
}

TEST_F(HomeScreenTest, EveryShapeAndATurnKeepTheScreenWhole) {
    write(kLondon + ".dat",
          "1~1~9~3~SW~10~2~Bright~120826~M~~~~~\n"
          "1~3~8~2~W~20~3~Showers~120926~M~~~~~\n"
          "1~61~7~4~W~30~4~Rain~121026~M~~~~~\n"
          "1~2~6~1~N~10~5~Cloudy~121126~M~~~~~\n"
          "1~71~3~-1~N~10~6~Snow~121226~M~~~~~\n");
    write(kLondon + "_c.dat", "1~2~8~3~SW~15~1016~Partly cloudy~~x~6~10~Mild~Last\n");
    for (const char* shape : {"240x320", "480x640", "320x240", "240x240"}) {
        SCOPED_TRACE(shape);
        setScreenProfile(*screenProfileFromName(shape));
        broadcastScreenChanged();
        for (int mode = 1; mode <= 4; ++mode) {
            setIni(L"homemode", mode);
            open();
            Rect client = clientRect(app_->mainWindow());
            std::vector<int> shown;
            for (const auto& c : screen().controls()) {
                if (!c->isVisible)
                    continue;
                EXPECT_FALSE(c->rect.isEmpty()) << c->id;
                EXPECT_GE(c->rect.left, client.left) << c->id;
                EXPECT_GE(c->rect.top, client.top) << c->id;
                EXPECT_LE(c->rect.right, client.right) << c->id;
                EXPECT_LE(c->rect.bottom, client.bottom) << c->id;
                shown.push_back(c->id);
            }
            // The mode buttons never cover the mode's content.
            for (const auto& c : screen().controls()) {
                if (!c->isVisible || c->id == homeControl::Busy ||
                    dynamic_cast<HomeModeButton*>(c.get()))
                    continue;
                for (int b = homeControl::TimeMode; b <= homeControl::AlarmMode; ++b) {
                    EXPECT_TRUE(c->rect.intersect(screen().findControl(b)->rect).isEmpty())
                        << c->id << " and " << b;
                }
            }
            static const char* names[] = {"clock", "calendar", "weather", "alarm"};
            saveShot(std::string(shape) + "-" + names[mode - 1]);
        }
    }
    // A turn builds the screen again in the same mode, with the calendar's month kept.
    setScreenProfile(*screenProfileFromName("240x320"));
    broadcastScreenChanged();
    setIni(L"homemode", 2);
    open();
    tapControl(homeControl::NextMonth);
    int generation = app_->layoutGeneration();
    rotateScreen(90);
    broadcastScreenChanged();
    pump();
    ASSERT_GT(app_->layoutGeneration(), generation);
    EXPECT_EQ(screen().layoutKind(), HomeLayoutKind::Landscape);
    EXPECT_EQ(screen().mode(), homeMode::Calendar);
    EXPECT_EQ(calendar().headingText(), L"January 2027");
    EXPECT_FALSE(control<ui::Label>(homeControl::ClockLine2).isVisible);
    saveShot("240x320-turned-calendar");
    rotateScreen(270);
    broadcastScreenChanged();
    pump();
    EXPECT_EQ(screen().layoutKind(), HomeLayoutKind::Portrait);
}

}  // namespace
}  // namespace home::test
