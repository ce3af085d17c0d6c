// The month calendar widget in a test host: the grid of a month with its empty cells, the day
// names in order, the selected day tinted and the days with appointments framed, and the
// calendar program's command line for a chosen day. The widget is also saved as a picture in
// the build folder (planner-screens/) for a person to look at.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/api/calendar.h"
#include "platform/api/draw.h"
#include "tests/screens/support/world_time_fixture.h"
#include "worldtime/month_calendar.h"
#include "worldtime/screens/month_calendar_view.h"

using namespace platform;
using namespace worldtime;

namespace {

struct Started {
    std::wstring program;
    std::wstring commandLine;
};

class MonthCalendar : public worldtime::test::WorldTimeScreenTest {
  protected:
    void SetUp() override {
        WorldTimeScreenTest::SetUp();
        for (auto& a : appointmentsBetween({2000, 1, 0, 1}, {2100, 1, 0, 1}))
            removeAppointment(a.id);
        // The program's language file and theme come with the program.
        open(20);
        view.place({0, 0, 240, 200}, nullptr);
        view.show(true, false);
        view.startCalendar = [this](std::wstring_view program, std::wstring_view line) {
            started.push_back({std::wstring(program), std::wstring(line)});
            return true;
        };
    }
    std::shared_ptr<Bitmap> paint() {
        auto bitmap = std::make_shared<Bitmap>(240, 200);
        DeviceContext dc;
        dc.selectBitmap(bitmap);
        dc.fillRect({0, 0, 240, 200}, rgb(255, 255, 255));
        view.paint(dc, {0, 0, 240, 200});
        return bitmap;
    }
    void tapView(const Rect& r) {
        const Point p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        view.pointer(wm::LButtonDown, 1, p);
        view.pointer(wm::LButtonUp, 0, p);
    }

    MonthCalendarView view;
    std::vector<Started> started;
};

Appointment meeting(int day) {
    Appointment a;
    a.subject = L"Review";
    a.start = {2027, 3, 0, static_cast<std::uint16_t>(day), 15, 0, 0, 0};
    a.end = {2027, 3, 0, static_cast<std::uint16_t>(day), 16, 0, 0, 0};
    return a;
}

}  // namespace

TEST(MonthGrid, SixWeeksFromSundayWithEmptyCells) {
    // March 2027 begins on a Monday and has 31 days.
    MonthGrid march = monthGrid(2027, 3, false);
    EXPECT_EQ(march.cells[0].day, -1);
    EXPECT_EQ(march.cells[1].day, 1);
    EXPECT_EQ(march.cells[31].day, 31);
    EXPECT_EQ(march.cells[32].day, -1);
    EXPECT_EQ(march.cells[41].day, -1);
    EXPECT_EQ(march.cellOfDay(8), 8);
    EXPECT_EQ(march.cellOfDay(32), -1);
    EXPECT_EQ(march.cellOfDay(-1), -1);
    // A 31-day month that begins on a Saturday needs the sixth week.
    MonthGrid may = monthGrid(2027, 5, false);
    EXPECT_EQ(may.cells[6].day, 1);
    EXPECT_EQ(may.cells[36].day, 31);
    // February of a leap year.
    EXPECT_EQ(monthGrid(2028, 2, false).cellOfDay(29), 2 + 28);
    EXPECT_EQ(monthGrid(2027, 2, false).cellOfDay(29), -1);
    for (const MonthCell& c : monthGrid(2027, 13, false).cells) EXPECT_EQ(c.day, -1);
    EXPECT_EQ(kMonthDayNameStrings, (std::array<int, 7>{627, 621, 622, 623, 624, 625, 626}));
}

TEST_F(MonthCalendar, MarksSelectionAndStartsTheCalendarProgram) {
    ASSERT_NE(addAppointment(meeting(8)), 0u);
    ASSERT_NE(addAppointment(meeting(31)), 0u);
    view.showMonth(2027, 3, 20);
    EXPECT_EQ(view.headingText(), L"March 2027");
    EXPECT_TRUE(view.grid().cells[8].appointment);
    EXPECT_TRUE(view.grid().cells[31].appointment);
    EXPECT_FALSE(view.grid().cells[9].appointment);
    EXPECT_EQ(view.selectedCell(), 20);

    const auto shot = paint();
    const Bitmap& picture = *shot;
    const Colour highlight = view.theme().mainColour;
    // The framed day has the highlight on its edge, a plain day white there.
    const Rect marked = view.cellRect(8);
    EXPECT_EQ(picture.pixel(marked.left, (marked.top + marked.bottom) / 2), highlight);
    const Rect plain = view.cellRect(9);
    EXPECT_EQ(picture.pixel(plain.left + 1, plain.top + 1), rgb(255, 255, 255));
    // The selected day is tinted: neither white nor the full colour.
    const Rect chosen = view.cellRect(20);
    const Colour tint = picture.pixel(chosen.left + 1, chosen.top + 1);
    EXPECT_NE(tint, rgb(255, 255, 255));
    EXPECT_NE(tint, highlight);

    // A tap views the day; the same day tapped again asks for a new appointment.
    tapView(view.cellRect(8));
    tapView(view.cellRect(8));
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[0].program, L"\\windows\\poutlook.exe");
    EXPECT_EQ(started[0].commandLine, L"calendar -va -d 20270308");
    EXPECT_EQ(started[1].commandLine, L"calendar -new -d 20270308");
    EXPECT_EQ(view.selectedCell(), 8);
    // An empty cell starts nothing and keeps the selection.
    tapView(view.cellRect(0));
    tapView(view.cellRect(40));
    EXPECT_EQ(started.size(), 2u);
    EXPECT_EQ(view.selectedCell(), 8);

    // Keys move within the month and Enter views the day.
    view.key(wm::KeyDown, vk::Down, 0);
    view.key(wm::KeyDown, vk::Return, 0);
    ASSERT_EQ(started.size(), 3u);
    EXPECT_EQ(started[2].commandLine, L"calendar -va -d 20270315");
    for (int i = 0; i < 3; ++i) view.key(wm::KeyDown, vk::Down, 0);
    EXPECT_EQ(view.grid().cells[static_cast<std::size_t>(view.selectedCell())].day, 29);
    // Past the month's end: the selection stays and the key is left to the screen.
    EXPECT_FALSE(view.key(wm::KeyDown, vk::Down, 0));
    EXPECT_EQ(view.grid().cells[static_cast<std::size_t>(view.selectedCell())].day, 29);
    EXPECT_TRUE(view.key(wm::KeyDown, vk::Up, 0));
    EXPECT_EQ(view.grid().cells[static_cast<std::size_t>(view.selectedCell())].day, 22);

    const auto folder = std::filesystem::path(VORN_BINARY_DIR) / "planner-screens";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(savePng(*paint(), folder / "month-calendar.png"));
}
