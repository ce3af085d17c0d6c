// A person plans a meeting at 15:00 in London with a favourite in Tokyo beside it, books it
// from the meeting planner of the running program, and finds it in the calendar program,
// all through `vorndev ctl` on a device whose clocks go forward that very night. Screenshots
// of the planner and its booking panel go to the build folder (planner-screens/).

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/api/calendar.h"
#include "platform/api/clock.h"
#include "tests/e2e/support/main_program_session.h"

using namespace e2e;

namespace {

class MeetingPlannerFlow : public MainProgramSession {
  protected:
    void SetUp() override {
        ASSERT_TRUE(platform::setDeviceTimeZone("Europe/London"));
        skipWizard();
        // 09:00 UTC on the day London moves to summer time: 10:00 on the device.
        ask({"clock", "--at", "2027-03-28T09:00:00Z"});
        ask({"reg", "set", "HKCU", kSettingsKey, "OptTimeFormat", "--string", "3"});
        startProgram(10);
        ask({"post", "--class", "Vorn Roamer", "VornRoamerChngModule", "22"});
        ASSERT_TRUE(waitForModule(22)) << device_.deviceLog();
    }
    void keep(const std::string& name) {
        const std::string shot = (device_.root() / (name + ".png")).string();
        ask({"screenshot", shot});
        const auto folder = std::filesystem::path(VORN_BINARY_DIR) / "planner-screens";
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(shot, folder / (name + ".png"),
                                   std::filesystem::copy_options::overwrite_existing);
    }
};

}  // namespace

TEST_F(MeetingPlannerFlow, BookAtThreeInLondonAndFindItInTheCalendar) {
    // The planner opens on the present hour, 10:00; five rows down is 15:00 (23:00 in Tokyo).
    for (int i = 0; i < 5; ++i) key("down");
    // The rows glide to the chosen hour in a few 100 ms steps.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    keep("e2e-planner");
    key("enter");
    keep("e2e-planner-booking");
    ask({"type", "Budget with Tokyo"});
    key("softleft");

    // The meeting is in the device's calendar from 15:00 to 16:00 local time.
    std::vector<platform::Appointment> booked;
    ASSERT_TRUE(waitUntil([&] {
        booked = platform::appointmentsBetween({2027, 3, 0, 28}, {2027, 3, 0, 29});
        return !booked.empty();
    })) << device_.deviceLog();
    ASSERT_EQ(booked.size(), 1u);
    EXPECT_EQ(booked[0].subject, L"Budget with Tokyo");
    EXPECT_EQ(booked[0].start.hour, 15);
    EXPECT_EQ(booked[0].end.hour, 16);

    // The calendar program, opened on that day as the planner opens it, lists it.
    CommandResult run =
        device_.ctl({"run", "--headless", "\\windows\\poutlook.exe", "calendar -va -d 20270328"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string pid = std::to_string(std::stoi(run.out));
    std::string shown;
    ASSERT_TRUE(waitUntil([&] {
        CommandResult r = device_.ctl({"--pid", pid, "app", "shown"});
        shown = r.out;
        return r.exitCode == 0;
    })) << device_.deviceLog();
    EXPECT_NE(shown.find("15:00-16:00  Budget with Tokyo"), std::string::npos) << shown;
    keep("e2e-calendar-day");
}
