// A person plans a meeting at 15:00 in London with a favourite in Tokyo beside it, books it
// from the meeting planner of the running program, and finds it in the calendar program,
// all through `vorndev ctl` on a device whose clocks go forward that very night. Screenshots
// of the planner and its booking panel go to the build folder (planner-screens/).

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

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

namespace {

// The calendar program alone on a device.
class CalendarProgram : public MainProgramSession {
  protected:
    std::string start(const std::string& commandLine) {
        CommandResult run =
            device_.ctl({"run", "--headless", "\\windows\\poutlook.exe", commandLine});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        const std::string pid = run.exitCode == 0 ? std::to_string(std::stoi(run.out)) : "0";
        EXPECT_TRUE(waitUntil([&] { return shown(pid).has_value(); })) << device_.deviceLog();
        return pid;
    }
    std::optional<std::string> shown(const std::string& pid) {
        CommandResult r = device_.ctl({"--pid", pid, "app", "shown"});
        if (r.exitCode != 0)
            return std::nullopt;
        return r.out;
    }
    void to(const std::string& pid, const std::vector<std::string>& request) {
        std::vector<std::string> args{"--pid", pid};
        args.insert(args.end(), request.begin(), request.end());
        CommandResult r = device_.ctl(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
    }
};

}  // namespace

TEST_F(CalendarProgram, NewAppointmentFormSavesValidTimesOnly) {
    const std::string pid = start("calendar -new -d 20270401");
    to(pid, {"type", "Dentist"});
    // The end time, tapped and typed into, no longer reads as a time: nothing is saved.
    to(pid, {"tap", "150", std::to_string(26 + 96)});
    to(pid, {"type", "x"});
    to(pid, {"key", "softleft"});
    EXPECT_TRUE(platform::appointmentsBetween({2027, 4, 0, 1}, {2027, 4, 0, 2}).empty());
    // Back to a real time, the form saves and the day lists it.
    to(pid, {"key", "back"});
    to(pid, {"key", "softleft"});
    EXPECT_TRUE(
        waitUntil([&] { return shown(pid).value_or("").find("Dentist") != std::string::npos; }));
    EXPECT_EQ(shown(pid).value_or(""), "09:00-10:00  Dentist\n");
    auto saved = platform::appointmentsBetween({2027, 4, 0, 1}, {2027, 4, 0, 2});
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].start.hour, 9);

    // A command line that is not the agreed form opens today's list and says so in the log.
    start("calendar -va -d 2027-04-01");
    EXPECT_NE(device_.deviceLog().find("refused command line"), std::string::npos);
}
