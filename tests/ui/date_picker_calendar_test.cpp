// The date picker's drop-down month calendar: the page of days for months of every length and
// starting weekday, stepping across months and years, where the pop-up goes on the screens of
// the device profiles, and the picker driven by stylus and keys (through the window messages
// and through the device's input) with the notifications its parent gets.

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/api/locale.h"
#include "platform/api/shell.h"
#include "platform/controls/date_time_calendar.h"
#include "platform/controls/month_calendar.h"
#include "platform/gui/screen.h"
#include "tests/ui/support/ui_test_support.h"
#include "ui/date_time_picker.h"

using namespace ui;
using namespace platform;
using platform::controls::CalendarDate;

namespace {

using Kind = gui::InputEvent::Kind;

SystemTime at(int year, int month, int day, int hour, int minute) {
    SystemTime t;
    t.year = static_cast<std::uint16_t>(year);
    t.month = static_cast<std::uint16_t>(month);
    t.day = static_cast<std::uint16_t>(day);
    t.hour = static_cast<std::uint16_t>(hour);
    t.minute = static_cast<std::uint16_t>(minute);
    t.dayOfWeek = static_cast<std::uint16_t>(dayOfWeekOf(year, month, day));
    return t;
}

Point centreOf(const Rect& r) {
    return {r.left + r.width() / 2, r.top + r.height() / 2};
}

// ---- The page of days -------------------------------------------------------------------

struct MonthCase {
    int year, month;
    int leading;         // cells before the 1st (its weekday, Sunday = 0)
    int lastDay;         // 28 .. 31
    CalendarDate first;  // what cell 0 shows
    CalendarDate last;   // what cell 41 shows
};

TEST(MonthCalendarPage, MonthsOfEveryLengthStartingOnDifferentWeekdays) {
    const MonthCase cases[] = {
        {2015, 2, 0, 28, {2015, 2, 1}, {2015, 3, 14}},    // Sunday, 28 days
        {2024, 2, 4, 29, {2024, 1, 28}, {2024, 3, 9}},    // Thursday, leap February
        {2023, 4, 6, 30, {2023, 3, 26}, {2023, 5, 6}},    // Saturday, 30 days: six rows
        {2022, 1, 6, 31, {2021, 12, 26}, {2022, 2, 5}},   // Saturday, 31 days, year before
        {2024, 12, 0, 31, {2024, 12, 1}, {2025, 1, 11}},  // Sunday, into the next year
        {2021, 3, 1, 31, {2021, 2, 28}, {2021, 4, 10}},   // Monday after a short February
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month));
        EXPECT_EQ(controls::leadingDays(c.year, c.month), c.leading);
        EXPECT_EQ(controls::dateOfCell(c.year, c.month, 0), c.first);
        EXPECT_EQ(controls::dateOfCell(c.year, c.month, 41), c.last);
        EXPECT_EQ(controls::dateOfCell(c.year, c.month, c.leading),
                  (CalendarDate{c.year, c.month, 1}));
        int lastCell = controls::cellOfDay(c.year, c.month, c.lastDay);
        EXPECT_EQ(lastCell, c.leading + c.lastDay - 1);
        EXPECT_EQ(controls::dateOfCell(c.year, c.month, lastCell),
                  (CalendarDate{c.year, c.month, c.lastDay}));
        CalendarDate after = controls::dateOfCell(c.year, c.month, lastCell + 1);
        EXPECT_EQ(after.day, 1);
        EXPECT_NE(after.month, c.month);
    }
}

TEST(MonthCalendarPage, EveryPageIsFortyTwoConsecutiveDaysInWeekdayColumns) {
    for (int year : {1601, 1900, 1999, 2000, 2024, 2100, 9999}) {
        for (int month = 1; month <= 12; ++month) {
            SCOPED_TRACE(std::to_string(year) + "-" + std::to_string(month));
            int lead = controls::leadingDays(year, month);
            ASSERT_TRUE(lead >= 0 && lead < 7);
            ASSERT_LE(lead + daysInMonth(year, month), controls::kCalendarCells);
            int first = 0;
            while (!controls::cellHasDate(year, month, first)) ++first;
            // Only the pages at the ends of the calendar have empty cells.
            EXPECT_EQ(first, year == 1601 && month == 1 ? lead : 0);
            CalendarDate previous = controls::dateOfCell(year, month, first);
            for (int cell = first + 1; cell < controls::kCalendarCells; ++cell) {
                if (!controls::cellHasDate(year, month, cell)) {
                    EXPECT_EQ(previous, (CalendarDate{9999, 12, 31}));
                    break;
                }
                CalendarDate d = controls::dateOfCell(year, month, cell);
                ASSERT_EQ(controls::addDays(previous, 1), d);
                if (d.month == month) {
                    ASSERT_EQ(dayOfWeekOf(d.year, d.month, d.day), cell % 7);
                }
                previous = d;
            }
        }
    }
}

TEST(MonthCalendarPage, DaysAndMonthsStepAcrossMonthsAndYearsAndStopAtTheEnds) {
    using controls::addDays;
    using controls::addMonths;
    EXPECT_EQ(addDays({2023, 12, 31}, 1), (CalendarDate{2024, 1, 1}));
    EXPECT_EQ(addDays({2024, 1, 1}, -1), (CalendarDate{2023, 12, 31}));
    EXPECT_EQ(addDays({2024, 3, 1}, -1), (CalendarDate{2024, 2, 29}));
    EXPECT_EQ(addDays({2023, 3, 1}, -1), (CalendarDate{2023, 2, 28}));
    EXPECT_EQ(addDays({2024, 12, 28}, 7), (CalendarDate{2025, 1, 4}));
    EXPECT_EQ(addDays({2000, 1, 1}, 366), (CalendarDate{2001, 1, 1}));
    EXPECT_EQ(addDays({9999, 12, 30}, 7), (CalendarDate{9999, 12, 31}));
    EXPECT_EQ(addDays({1601, 1, 3}, -7), (CalendarDate{1601, 1, 1}));
    EXPECT_EQ(addMonths({2024, 1, 31}, 1), (CalendarDate{2024, 2, 29}));
    EXPECT_EQ(addMonths({2023, 3, 31}, -1), (CalendarDate{2023, 2, 28}));
    EXPECT_EQ(addMonths({2023, 12, 15}, 1), (CalendarDate{2024, 1, 15}));
    EXPECT_EQ(addMonths({2024, 1, 15}, -1), (CalendarDate{2023, 12, 15}));
    EXPECT_EQ(addMonths({9999, 12, 1}, 1), (CalendarDate{9999, 12, 1}));
}

TEST(MonthCalendarPage, WeekdayInitialsFollowTheDeviceLanguage) {
    auto initials = controls::weekdayInitials();
    for (int d = 0; d < 7; ++d) {
        const auto& name = abbreviatedDayName(d);
        ASSERT_FALSE(name.empty());
        EXPECT_EQ(initials[static_cast<std::size_t>(d)], name.substr(0, 1));
    }
}

// ---- Placement --------------------------------------------------------------------------

struct ScreenCase {
    int width, height, textHeight, dayWidth;
};

TEST(MonthCalendarPlacement, BelowThePickerAboveWhenNoRoomAndAlwaysOnTheScreen) {
    const ScreenCase screens[] = {
        {240, 320, 13, 14}, {480, 640, 26, 28}, {320, 240, 13, 14}, {240, 240, 13, 14}};
    for (const auto& s : screens) {
        SCOPED_TRACE(std::to_string(s.width) + "x" + std::to_string(s.height));
        Rect screen{0, 0, s.width, s.height};
        int unit = s.width > 320 ? 2 : 1;
        Rect area{0, 26 * unit, s.width, s.height - 26 * unit};
        // Pickers at the top, the middle and the bottom of the area, left and right.
        for (int top : {area.top + 2, s.height / 2 - 10 * unit, area.bottom - 22 * unit}) {
            for (bool right : {false, true}) {
                Rect picker{right ? s.width - 120 * unit : 4 * unit, top,
                            right ? s.width - 4 * unit : 120 * unit, top + 20 * unit};
                auto l = controls::placeCalendar(picker, area, s.textHeight, s.dayWidth, right);
                EXPECT_EQ(l.frame.intersect(area), l.frame) << "inside the area";
                EXPECT_EQ(l.frame.intersect(screen), l.frame);
                // The parts are inside the frame and the grid holds the 6 x 7 cells.
                EXPECT_EQ(l.grid.intersect(l.frame), l.grid);
                EXPECT_EQ(l.weekdays.bottom <= l.grid.top, true);
                EXPECT_EQ(l.heading.bottom <= l.weekdays.top, true);
                EXPECT_EQ(l.grid.width(), 7 * l.cellWidth);
                EXPECT_EQ(l.grid.height(), 6 * l.cellHeight);
                EXPECT_GE(l.cellHeight, s.textHeight) << "a day's number fits its cell";
                EXPECT_GT(l.cellWidth, s.dayWidth);
                if (picker.bottom + l.frame.height() <= area.bottom) {
                    EXPECT_EQ(l.frame.top, picker.bottom) << "below when it fits";
                } else if (picker.top - l.frame.height() >= area.top) {
                    EXPECT_EQ(l.frame.bottom, picker.top) << "above when only that fits";
                }
                if (right) {
                    EXPECT_EQ(l.frame.right, picker.right);
                } else {
                    EXPECT_EQ(l.frame.left, picker.left);
                }
            }
        }
    }
}

TEST(MonthCalendarPlacement, ScalesWithTheFontAndHitsCells) {
    Rect area{0, 52, 480, 588};
    auto small = controls::placeCalendar({8, 100, 240, 140}, area, 13, 14, false);
    auto large = controls::placeCalendar({8, 100, 240, 140}, area, 26, 28, false);
    EXPECT_GE(large.cellHeight, 2 * small.cellHeight - 2);
    EXPECT_GE(large.cellWidth, 2 * small.cellWidth - 2);
    EXPECT_GE(large.border, 2);
    for (int cell : {0, 6, 7, 23, 41}) {
        EXPECT_EQ(large.cellAt(centreOf(large.cellRect(cell))), cell);
    }
    EXPECT_EQ(large.cellAt({large.grid.left - 1, large.grid.top}), -1);
    EXPECT_EQ(large.cellAt({large.grid.left, large.grid.bottom}), -1);
    // Wider than a narrow area: the cells shrink to fit.
    auto narrow = controls::placeCalendar({0, 40, 100, 60}, {0, 0, 150, 400}, 26, 28, false);
    EXPECT_LE(narrow.frame.width(), 150);
}

// ---- The picker ---------------------------------------------------------------------------

// What the parent window was told, in order.
std::vector<std::uint32_t> g_codes;
SystemTime g_lastChange;
WindowProc g_hostProc;

class CalendarTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_codes.clear();
        g_hostProc = setWindowProc(
            host.mainWindow(),
            [](WindowHandle w, std::uint32_t m, WParam wp, LParam lp) -> LResult {
                if (m == wm::Notify) {
                    const auto* header = reinterpret_cast<const NotifyHeader*>(lp);
                    g_codes.push_back(header->code);
                    if (header->code == DtnDateTimeChange)
                        g_lastChange = reinterpret_cast<const DateTimeChange*>(lp)->time;
                }
                return callWindowProc(g_hostProc, w, m, wp, lp);
            });
    }
    void TearDown() override {
        controls::closeCalendar();
        setWindowProc(host.mainWindow(), g_hostProc);
    }

    DateTimePicker& make(int kind, const SystemTime& value) {
        auto& picker = static_cast<DateTimePicker&>(
            module.addControl(std::make_unique<DateTimePicker>(host, kind)));
        picker.place({10, 10, 200, 34}, nullptr);
        picker.show(true, false);
        host.attach(module);
        module.setFocusedControl(&picker, false);
        picker.setTime(value);
        host.pump();
        return picker;
    }
    // Taps the drop-down button as the stylus would reach the picker.
    void tapButton(DateTimePicker& picker) {
        Rect client = clientRect(picker.nativeWindow());
        Point p{client.right - 3, client.height() / 2};
        sendMessage(picker.nativeWindow(), wm::LButtonDown, 1, makeLParam(p.x, p.y));
        sendMessage(picker.nativeWindow(), wm::LButtonUp, 0, makeLParam(p.x, p.y));
        host.pump();
    }
    // Input from the device: it reaches the open calendar before any window.
    void deviceTap(Point screen) {
        gui::injectInput({Kind::PointerDown, screen});
        gui::injectInput({Kind::PointerUp, screen});
        host.pump();
    }
    void deviceKey(std::uint32_t key) {
        gui::injectInput({Kind::KeyDown, {}, key, 0});
        gui::injectInput({Kind::KeyUp, {}, key, 0});
        host.pump();
    }
    int count(std::uint32_t code) const {
        return static_cast<int>(std::count(g_codes.begin(), g_codes.end(), code));
    }
    const controls::CalendarLayout& layout() const {
        const auto* l = controls::openCalendarLayout();
        EXPECT_NE(l, nullptr);
        static controls::CalendarLayout none;
        return l ? *l : none;
    }

    test::TestHost host;
    test::RecordingModule module{host};
};

TEST_F(CalendarTest, TheButtonOpensTheCalendarUnderThePickerAndADayTapPicksIt) {
    DateTimePicker& picker = make(pickerKind::Date, at(2024, 3, 10, 14, 45));
    tapButton(picker);
    ASSERT_TRUE(picker.calendarOpen());
    EXPECT_EQ(g_codes, (std::vector<std::uint32_t>{DtnDropDown}));
    EXPECT_EQ(static_cast<std::int32_t>(DtnDropDown), -754);
    Rect pickerOnScreen = windowRect(picker.nativeWindow());
    EXPECT_EQ(layout().frame.top, pickerOnScreen.bottom);
    EXPECT_EQ(controls::calendarCursor(), (CalendarDate{2024, 3, 10}));

    // 1 March 2024 was a Friday: the 21st is in the fourth row, sixth column.
    int cell = controls::cellOfDay(2024, 3, 21);
    EXPECT_EQ(cell, 3 * 7 + 4);
    deviceTap(centreOf(layout().cellRect(cell)));
    EXPECT_FALSE(picker.calendarOpen());
    EXPECT_EQ(picker.time().day, 21);
    EXPECT_EQ(picker.time().month, 3);
    EXPECT_EQ(picker.time().dayOfWeek, 4) << "a Thursday";
    EXPECT_EQ(picker.time().hour, 14) << "the time of day stays";
    EXPECT_EQ(picker.time().minute, 45);
    EXPECT_EQ(g_codes, (std::vector<std::uint32_t>{DtnDropDown, DtnDateTimeChange, DtnCloseUp}));
    EXPECT_EQ(g_lastChange.day, 21);
    EXPECT_EQ(picker.changeCount(), 1);
    EXPECT_EQ(module.changed.size(), 1u);
}

TEST_F(CalendarTest, ArrowsChangeTheMonthAndGreyDaysOfTheNextMonthCanBePicked) {
    DateTimePicker& picker = make(pickerKind::Date, at(2023, 12, 31, 8, 0));
    tapButton(picker);
    deviceTap(centreOf(layout().next));
    EXPECT_EQ(controls::calendarCursor(), (CalendarDate{2024, 1, 31}));
    deviceTap(centreOf(layout().previous));
    deviceTap(centreOf(layout().previous));
    EXPECT_EQ(controls::calendarCursor(), (CalendarDate{2023, 11, 30})) << "30 days in November";
    EXPECT_TRUE(picker.calendarOpen());
    EXPECT_EQ(count(DtnDateTimeChange), 0) << "turning pages changes nothing yet";
    // The last cell of November 2023's page is 9 December.
    deviceTap(centreOf(layout().cellRect(41)));
    EXPECT_EQ(picker.time().year, 2023);
    EXPECT_EQ(picker.time().month, 12);
    EXPECT_EQ(picker.time().day, 9);
    EXPECT_EQ(count(DtnDateTimeChange), 1);
    EXPECT_EQ(count(DtnCloseUp), 1);
}

TEST_F(CalendarTest, KeysMoveAcrossTheYearAndEnterPicks) {
    DateTimePicker& picker = make(pickerKind::Date, at(2024, 1, 1, 10, 30));
    // Enter on the picker opens it (the toolkit lets the date kind keep Enter).
    host.pressKey(vk::Return);
    ASSERT_TRUE(picker.calendarOpen());
    EXPECT_TRUE(std::find(module.keys.begin(), module.keys.end(), vk::Return) == module.keys.end());
    host.pressKey(vk::Left);
    EXPECT_EQ(controls::calendarCursor(), (CalendarDate{2023, 12, 31}));
    host.pressKey(vk::Up);
    EXPECT_EQ(controls::calendarCursor(), (CalendarDate{2023, 12, 24}));
    host.pressKey(vk::Down);
    host.pressKey(vk::Down);
    EXPECT_EQ(controls::calendarCursor(), (CalendarDate{2024, 1, 7}));
    host.pressKey(vk::Left);
    host.pressKey(vk::Left);
    host.pressKey(vk::Left);
    host.pressKey(vk::Left);
    host.pressKey(vk::Left);
    host.pressKey(vk::Left);
    host.pressKey(vk::Left);
    host.pressKey(vk::Return);
    EXPECT_FALSE(picker.calendarOpen());
    EXPECT_EQ(picker.time().year, 2023);
    EXPECT_EQ(picker.time().month, 12);
    EXPECT_EQ(picker.time().day, 31);
    EXPECT_EQ(picker.time().hour, 10);
    EXPECT_EQ(picker.time().minute, 30);
    EXPECT_EQ(g_codes, (std::vector<std::uint32_t>{DtnDropDown, DtnDateTimeChange, DtnCloseUp}));
    EXPECT_TRUE(module.keys.empty())
        << "no key leaked to the screen: " << (module.keys.empty() ? 0 : module.keys.front());
    // Up and Down still step the chosen field once the calendar is closed.
    host.pressKey(vk::Up);
    EXPECT_EQ(count(DtnDateTimeChange), 2);
    EXPECT_FALSE(picker.calendarOpen());
}

TEST_F(CalendarTest, TheDevicesKeysReachTheCalendarBeforeAnyWindow) {
    DateTimePicker& picker = make(pickerKind::Date, at(2024, 2, 26, 9, 0));
    deviceKey(vk::Return);
    ASSERT_TRUE(picker.calendarOpen());
    deviceKey(vk::Down);  // 4 March, across the end of a leap February
    deviceKey(vk::Return);
    EXPECT_FALSE(picker.calendarOpen());
    EXPECT_EQ(picker.time().month, 3);
    EXPECT_EQ(picker.time().day, 4);
    EXPECT_EQ(count(DtnDateTimeChange), 1);
    EXPECT_EQ(count(DtnCloseUp), 1);
}

TEST_F(CalendarTest, BackAndATapOutsideCloseWithoutAChange) {
    DateTimePicker& picker = make(pickerKind::Date, at(2024, 5, 15, 12, 0));
    host.pressKey(vk::Return);
    host.pressKey(vk::Right);
    host.pressKey(vk::Right);
    host.pressKey(vk::Escape);
    EXPECT_FALSE(picker.calendarOpen());
    EXPECT_EQ(picker.time().day, 15);
    EXPECT_EQ(g_codes, (std::vector<std::uint32_t>{DtnDropDown, DtnCloseUp}));
    EXPECT_TRUE(module.keys.empty()) << "Back closed the calendar, not the screen";

    g_codes.clear();
    deviceKey(vk::Return);
    deviceKey(vk::Right);
    Rect frame = layout().frame;
    deviceTap({frame.right + 2 < screenSize().width ? frame.right + 2 : frame.left - 2,
               frame.bottom + 5});
    EXPECT_FALSE(picker.calendarOpen());
    EXPECT_EQ(picker.time().day, 15);
    deviceKey(vk::Return);
    deviceKey(vk::Escape);
    EXPECT_EQ(picker.time().day, 15);
    EXPECT_EQ(g_codes,
              (std::vector<std::uint32_t>{DtnDropDown, DtnCloseUp, DtnDropDown, DtnCloseUp}));

    // Picking the day already chosen closes without a change.
    g_codes.clear();
    host.pressKey(vk::Return);
    host.pressKey(vk::Return);
    EXPECT_EQ(g_codes, (std::vector<std::uint32_t>{DtnDropDown, DtnCloseUp}));
    EXPECT_EQ(picker.changeCount(), 0);
}

TEST_F(CalendarTest, LosingTheFocusClosesItAndTheTimeKindHasNoCalendar) {
    DateTimePicker& picker = make(pickerKind::Date, at(2024, 5, 15, 12, 0));
    tapButton(picker);
    ASSERT_TRUE(picker.calendarOpen());
    setFocus(host.mainWindow());
    EXPECT_FALSE(picker.calendarOpen());
    EXPECT_EQ(count(DtnCloseUp), 1);

    DateTimePicker& clock = make(pickerKind::Time, at(2024, 5, 15, 12, 0));
    host.pressKey(vk::Return);
    EXPECT_FALSE(clock.calendarOpen());
    EXPECT_EQ(module.keys, (std::vector<std::uint32_t>{vk::Return})) << "Enter is the screen's";
    tapButton(clock);
    EXPECT_FALSE(clock.calendarOpen());
    EXPECT_EQ(clock.time().hour, 11) << "the lower half of the up-down button";
    EXPECT_EQ(count(DtnDropDown), 1);
}

TEST_F(CalendarTest, TheCalendarIsDrawnOverTheWindowsWithTheDayHighlightedAndTodayFramed) {
    SystemTime now = deviceLocalTime();
    // A value in the same month as today but on another day, so both marks show.
    int day = now.day == 1 ? 2 : 1;
    DateTimePicker& picker = make(pickerKind::Date, at(now.year, now.month, day, 7, 0));
    tapButton(picker);
    ASSERT_TRUE(picker.calendarOpen());
    invalidateRect(host.mainWindow(), nullptr, true);  // windows repainting beneath
    host.pump();
    gui::presentNow();
    const Bitmap& screen = gui::framebuffer();
    const auto& l = layout();
    Rect selected = l.cellRect(controls::cellOfDay(now.year, now.month, day));
    Rect today = l.cellRect(controls::cellOfDay(now.year, now.month, now.day));
    Colour blue = rgb(51, 102, 204);
    EXPECT_GT(test::countNear(screen, selected, blue), selected.width() * selected.height() / 2);
    EXPECT_GT(test::countNear(screen, today, rgb(204, 32, 32)), today.width()) << "today's frame";
    EXPECT_GT(test::countNear(screen, l.heading, blue), l.heading.width() * l.heading.height() / 2);
    // The day numbers are drawn: dark pixels in the grid.
    EXPECT_GT(test::countNear(screen, l.grid, rgb(0, 0, 0), 80), 40);
    // The weekday row shows the language's initials.
    EXPECT_GT(test::countNear(screen, l.weekdays, blue, 80), 7);
    host.pressKey(vk::Escape);
    host.pump();
    gui::presentNow();
    EXPECT_LT(test::countNear(gui::framebuffer(), selected, blue), selected.width())
        << "gone once closed";
}

}  // namespace
