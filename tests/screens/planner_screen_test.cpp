// The meeting planner (module 22) in the program's own application: it opens on today with
// the present hour chosen, steps days, scrolls smoothly to the chosen hour, and books a
// meeting into the device's calendar. Each screen shape is also saved as a picture in the
// build folder (planner-screens/) for a person to look at.

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <filesystem>

#include "core/settings.h"
#include "gfx/display_metrics.h"
#include "platform/api/calendar.h"
#include "platform/api/clock.h"
#include "platform/api/control.h"
#include "platform/api/draw.h"
#include "platform/api/process.h"
#include "platform/api/profile.h"
#include "tests/screens/support/world_time_fixture.h"
#include "ui/date_time_picker.h"
#include "ui/edit_field.h"
#include "ui/text_button.h"
#include "worldtime/screens/planner_screen.h"
#include "worldtime/screens/planner_view.h"

using namespace platform;
using namespace worldtime;
using worldtime::test::utcAt;

namespace {

constexpr int kPlanner = 22;
constexpr int kTokyo = 3;

class PlannerScreens : public worldtime::test::WorldTimeScreenTest {
  protected:
    void SetUp() override {
        WorldTimeScreenTest::SetUp();
        ASSERT_TRUE(setDeviceTimeZone("Europe/London"));
        core::writeNumberSetting(L"OptTimeFormat", 3);
        for (auto& a : appointmentsBetween({2000, 1, 0, 1}, {2100, 1, 0, 1}))
            removeAppointment(a.id);
    }
    void TearDown() override {
        WorldTimeScreenTest::TearDown();
        core::writeNumberSetting(L"OptTimeFormat", 1);
    }
    PlannerScreen& planner() { return *static_cast<PlannerScreen*>(app_->currentModule()); }
    PlannerView& grid() { return *planner().view(); }
    std::wstring buttonText(int id) { return planner().findControl<ui::TextButton>(id)->text(); }
    Rect buttonRect(int id) { return planner().findControl(id)->rect; }
    void scrollUntilStill() {
        for (int i = 0; i < 100 && grid().scroll().moving(); ++i)
            planner().timer(kPlannerScrollTimer);
    }
    // What the calendar program, started with the command line, says it shows.
    std::string calendarLines(const std::wstring& commandLine) {
        const auto root = platform::test::useTestDevice();
        const auto link = root / "windows" / "poutlook.exe";
        std::filesystem::create_directories(link.parent_path());
        if (!std::filesystem::exists(link))
            std::filesystem::create_symlink(platform::test::builtProgram("poutlook"), link);
        ::setenv("VORN_DISPLAY", "headless", 1);
        auto pid = startProgram(L"\\windows\\poutlook.exe", commandLine);
        if (!pid)
            return "<not started>";
        std::string shown = "<no answer>";
        for (int i = 0; i < 300; ++i) {
            auto reply = sendControl(*pid, "app shown", 1000);
            if (reply && reply->ok) {
                shown = reply->text;
                break;
            }
            ::usleep(20000);
        }
        sendControl(*pid, "key back", 1000);
        ::kill(*pid, SIGTERM);
        waitForProcess(*pid, 10000);
        return shown;
    }
    // The module painted over white into a picture of the window's size.
    void savePicture(const std::string& name) {
        Rect client = clientRect(app_->mainWindow());
        auto bitmap = std::make_shared<Bitmap>(client.width(), client.height());
        DeviceContext dc;
        dc.selectBitmap(bitmap);
        dc.fillRect(client, rgb(255, 255, 255));
        planner().paint(dc, client);
        const auto folder = std::filesystem::path(VORN_BINARY_DIR) / "planner-screens";
        std::filesystem::create_directories(folder);
        EXPECT_TRUE(savePng(*bitmap, folder / (name + ".png")));
    }
};

}  // namespace

TEST_F(PlannerScreens, OpensOnTodayAtThePresentHourAndStepsDays) {
    // 21 June 2026 12:00 UTC is 13:00 summer time in London.
    open(kPlanner);
    EXPECT_EQ(planner().date().day, 21);
    EXPECT_EQ(grid().grid().presentRow, 14);
    EXPECT_EQ(grid().selectedRow(), 14);
    EXPECT_EQ(grid().cellText(0, 14), L"Sun 13:00");
    EXPECT_EQ(grid().cellText(kTokyo, 14), L"Sun 21:00");
    EXPECT_EQ(grid().cellText(0, 1), L"Midnight");
    EXPECT_EQ(grid().cellText(0, 13), L"Noon");
    EXPECT_EQ(buttonText(plannerId::PreviousDay), L"\u25C0 Sat, Jun 20");
    EXPECT_EQ(buttonText(plannerId::NextDay), L"Mon, Jun 22 \u25B6");

    // The selected row is in view from the start, below the heading row.
    const Rect r = grid().rect;
    const int top = r.top + grid().rowHeight() * 14 - grid().scroll().offset();
    EXPECT_GE(top, r.top + grid().rowHeight());
    EXPECT_LE(top + grid().rowHeight(), r.bottom);

    tap({buttonRect(plannerId::NextDay).left + 4, buttonRect(plannerId::NextDay).top + 4});
    EXPECT_EQ(planner().date().day, 22);
    EXPECT_EQ(grid().grid().presentRow, 0);
    EXPECT_EQ(grid().selectedRow(), 14);  // the hour stays chosen
    EXPECT_EQ(grid().cellText(0, 14), L"Mon 13:00");
    planner().stepDay(-2);
    EXPECT_EQ(planner().date().day, 20);
    // The date chooser follows the day buttons, and a day chosen in it is shown.
    auto* picker = planner().findControl<ui::DateTimePicker>(plannerId::DatePicker);
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(buttonText(plannerId::PreviousDay), L"\u25C0 Fri, Jun 19");
    EXPECT_EQ(picker->time().day, 20);
    ASSERT_TRUE(picker->setTime({2027, 3, 0, 28, 0, 0, 0, 0}));
    planner().controlChanged(*picker);
    EXPECT_EQ(planner().date().year, 2027);
    EXPECT_EQ(planner().date().day, 28);
    EXPECT_EQ(grid().cellText(0, 2), L"Sun 02:00");  // the clocks went forward that night
    EXPECT_EQ(buttonText(plannerId::PreviousDay), L"\u25C0 Sat, Mar 27");
}

TEST_F(PlannerScreens, RowsScrollSmoothlyToTheChosenHour) {
    open(kPlanner);
    for (int i = 0; i < 30; ++i) key(vk::Down);
    EXPECT_EQ(grid().selectedRow(), 24);  // held to the last row
    const int target = grid().scroll().target();
    EXPECT_EQ(target, grid().offsetShowing(24));
    ASSERT_TRUE(grid().scroll().moving());
    // Each tick closes a third of the distance, so the offset arrives in steps.
    const int before = grid().scroll().offset();
    planner().timer(kPlannerScrollTimer);
    const int moved = grid().scroll().offset() - before;
    EXPECT_NEAR(moved, (target - before) / 3, 1);
    scrollUntilStill();
    EXPECT_EQ(grid().scroll().offset(), target);

    for (int i = 0; i < 30; ++i) key(vk::Up);
    EXPECT_EQ(grid().selectedRow(), 1);
    scrollUntilStill();
    EXPECT_EQ(grid().scroll().offset(), 0);

    SmoothScroll s;
    s.jump(0);
    s.setTarget(2);
    EXPECT_FALSE(s.step());  // a third of 2 is below a pixel: it lands
    EXPECT_EQ(s.offset(), 2);
}

TEST_F(PlannerScreens, BooksAMeetingInLondonWithTokyoBesideIt) {
    setClockOverride(utcAt(2027, 3, 20, 9, 0));
    open(kPlanner);
    planner().setDate({2027, 3, 0, 28});  // the day London moves to summer time
    // 15:00 in London that day is 23:00 in Tokyo.
    // The hour from 01:00 to 02:00 does not happen, so 15:00 is the fifteenth row.
    grid().select(15, false);
    EXPECT_EQ(grid().cellText(0, 15), L"Sun 15:00");
    EXPECT_EQ(grid().cellText(kTokyo, 15), L"Sun 23:00");

    key(vk::Return);
    ASSERT_TRUE(planner().isBooking());
    auto* subject = planner().findControl<ui::EditField>(plannerId::Subject);
    ASSERT_NE(subject, nullptr);
    EXPECT_TRUE(subject->isVisible);
    subject->setText(L"Quarterly review with Tokyo");
    send(wm::Command, ui::command::LeftSoftKey);
    EXPECT_FALSE(planner().isBooking());

    auto booked = appointmentsBetween({2027, 3, 0, 28}, {2027, 3, 0, 29});
    ASSERT_EQ(booked.size(), 1u);
    EXPECT_EQ(booked[0].subject, L"Quarterly review with Tokyo");
    EXPECT_EQ(booked[0].start.hour, 15);
    EXPECT_EQ(booked[0].end.hour, 16);
    EXPECT_EQ(booked[0].start.minute, 0);

    // The calendar program, started on that day as the planner starts it, lists the meeting.
    EXPECT_EQ(calendarLines(L"calendar -va -d 20270328"),
              "15:00-16:00  Quarterly review with Tokyo\n");
    EXPECT_EQ(calendarLines(L"calendar -va -d 20270329"), "No appointments\n");

    // Cancelling books nothing.
    key(vk::Return);
    ASSERT_TRUE(planner().isBooking());
    send(wm::Command, ui::command::RightSoftKey);
    EXPECT_FALSE(planner().isBooking());
    EXPECT_EQ(appointmentsBetween({2027, 3, 0, 28}, {2027, 3, 0, 29}).size(), 1u);
    EXPECT_EQ(meetingStartText(0, 3), L"Midnight");
    EXPECT_EQ(meetingStartText(12, 3), L"Noon");
    EXPECT_EQ(meetingStartText(15, 3), L"15:00");
}

TEST_F(PlannerScreens, PicturesOfEveryScreenShape) {
    for (const char* screen : {"240x320", "480x640", "320x240", "240x240"}) {
        SCOPED_TRACE(screen);
        app_.reset();
        pump();
        setScreenProfile(*screenProfileFromName(screen));
        broadcastScreenChanged();
        gfx::computeDisplayMetrics();
        pump();
        open(kPlanner);
        const Rect view = grid().rect;
        const Rect client = clientRect(app_->mainWindow());
        EXPECT_LE(view.right, client.right);
        EXPECT_LE(view.bottom, client.bottom);
        EXPECT_GE(grid().visibleFavourites(), 1);
        // Working hours are green at half strength over white.
        savePicture(std::string("planner-") + screen);
        key(vk::Return);
        savePicture(std::string("planner-booking-") + screen);
        send(wm::Command, ui::command::RightSoftKey);
    }
    app_.reset();
    pump();
    setScreenProfile(*screenProfileFromName("240x320"));
    broadcastScreenChanged();
    gfx::computeDisplayMetrics();
}

TEST_F(PlannerScreens, DayHourAndPageSurviveATurnOfTheScreen) {
    open(kPlanner);
    planner().stepDay(3);
    key(vk::Down);
    key(vk::Down);
    key(vk::Right);  // the next favourites
    ASSERT_EQ(grid().selectedRow(), 16);
    const int first = grid().firstFavourite();
    ASSERT_GT(first, 1);
    rotateScreen(90);
    broadcastScreenChanged();
    pump();
    EXPECT_EQ(planner().date().day, 24);
    EXPECT_EQ(grid().selectedRow(), 16);
    EXPECT_EQ(grid().firstFavourite(), std::min(first, 1 + 5 - grid().visibleFavourites()));
    EXPECT_GT(grid().rect.width(), grid().rect.height());
    rotateScreen(270);
    broadcastScreenChanged();
    pump();
    EXPECT_EQ(grid().selectedRow(), 16);
}
