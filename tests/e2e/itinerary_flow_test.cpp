// A person plans a trip on the running program: names it, adds a flight and a hotel through
// the entry editor, finds both in the agenda, opens the flight's appointment in the calendar
// program, and hands the trip to another device as an iCalendar file with `vorn trip export`
// and `vorn calendar import`. Screenshots go to the build folder (itinerary-screens/).

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/api/calendar.h"
#include "platform/api/clock.h"
#include "tests/e2e/support/main_program_session.h"

using namespace e2e;

namespace {

class ItineraryFlow : public MainProgramSession {
  protected:
    void SetUp() override {
        ASSERT_TRUE(platform::setDeviceTimeZone("UTC"));
        skipWizard();
        ask({"clock", "--at", "2027-05-01T08:00:00Z"});
        startProgram(10);
        ask({"post", "--class", "Vorn Roamer", "VornRoamerChngModule", "54"});
        ASSERT_TRUE(waitForModule(54)) << device_.deviceLog();
    }
    void menu(int command) {
        ask({"post", "--class", "Vorn Roamer", "WM_COMMAND", std::to_string(command)});
    }
    std::string shown() { return ask({"app", "itinerary"}); }
    bool waitShown(const std::string& part) {
        return waitUntil([&] { return shown().find(part) != std::string::npos; });
    }
    // Taps a field of the editor (layout pixels below the 26-pixel title bar) and types.
    void fill(int x, int y, const std::string& text) {
        tap(x, 26 + y);
        ask({"type", text});
    }
    void keep(const std::string& name) {
        const std::string shot = (device_.root() / (name + ".png")).string();
        ask({"screenshot", shot});
        const auto folder = std::filesystem::path(VORN_BINARY_DIR) / "itinerary-screens";
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(shot, folder / (name + ".png"),
                                   std::filesystem::copy_options::overwrite_existing);
    }
    void keepProgram(const std::string& pid, const std::string& name) {
        const std::string shot = (device_.root() / (name + ".png")).string();
        CommandResult r = device_.ctl({"--pid", pid, "screenshot", shot});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const auto folder = std::filesystem::path(VORN_BINARY_DIR) / "itinerary-screens";
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(shot, folder / (name + ".png"),
                                   std::filesystem::copy_options::overwrite_existing);
    }
    CommandResult vorn(const std::vector<std::string>& args, const std::filesystem::path& root) {
        return runCommand(builtProgram("vorn"), args, {"VORN_DEVICE=" + root.string()});
    }
    static std::vector<platform::Appointment> everything() {
        auto all = platform::appointmentsBetween({1700, 1, 0, 1}, {9000, 1, 0, 1});
        for (auto& a : all) a.id = 0;
        return all;
    }
};

}  // namespace

TEST_F(ItineraryFlow, PlanATripFindItInTheCalendarAndTakeItElsewhere) {
    ASSERT_TRUE(waitShown("trips"));
    keep("e2e-itinerary-trips");
    menu(120);  // New trip
    ASSERT_TRUE(waitShown("new trip"));
    ask({"type", "Lisbon"});
    key("softleft");
    ASSERT_TRUE(waitShown("agenda Lisbon")) << shown();

    menu(120);  // New flight: from now, 08:00, for an hour
    ASSERT_TRUE(waitShown("editor 1 entry 0"));
    fill(160, 106, "VR12");
    fill(160, 130, "LHR");
    tap(196, 26 + 178);  // Next: the flight's own fields
    fill(160, 34, "British Airways");
    fill(160, 82, "LIS");
    keep("e2e-itinerary-editor");
    key("softleft");
    ASSERT_TRUE(waitShown("Flight BAVR12")) << shown();

    menu(122);  // New hotel
    ASSERT_TRUE(waitShown("editor 3 entry 0"));
    fill(160, 106, "Casa Azul");
    fill(160, 130, "Rua Nova 5");
    key("softleft");
    ASSERT_TRUE(waitShown("Check in: Casa Azul, Rua Nova 5")) << shown();
    const std::string agenda = shown();
    EXPECT_NE(agenda.find("08:00 Flight BAVR12 departs LHR"), std::string::npos) << agenda;
    EXPECT_NE(agenda.find("09:00 Flight BAVR12 arrives LIS"), std::string::npos) << agenda;
    EXPECT_NE(agenda.find("09:00 Check out: Casa Azul"), std::string::npos) << agenda;
    keep("e2e-itinerary-agenda");

    // The first event (row 2, under the day's heading) is the flight: show it in the calendar.
    EXPECT_NE(agenda.find("selected 2"), std::string::npos) << agenda;
    menu(108);
    CommandResult window = device_.ctl({"wait-window", "poutlook", "--timeout", "30000"});
    ASSERT_EQ(window.exitCode, 0) << device_.deviceLog();
    std::istringstream fields(window.out);
    std::string handle, pid;
    fields >> handle >> pid;
    std::string page;
    ASSERT_TRUE(waitUntil([&] {
        CommandResult r = device_.ctl({"--pid", pid, "app", "shown"});
        page = r.out;
        return r.exitCode == 0 && !page.empty();
    })) << device_.deviceLog();
    EXPECT_NE(page.find("Flight VR12\n"), std::string::npos) << page;
    EXPECT_NE(page.find("Where: LIS"), std::string::npos) << page;
    EXPECT_NE(page.find("Categories: Lisbon"), std::string::npos) << page;
    EXPECT_NE(page.find("entered from the itinerary"), std::string::npos) << page;
    keepProgram(pid, "e2e-calendar-appointment-240x320");

    // vorn lists the trip and exports its three appointments.
    const std::vector<platform::Appointment> original = everything();
    ASSERT_EQ(original.size(), 3u);
    CommandResult list = vorn({"trip", "list"}, device_.root());
    EXPECT_NE(list.out.find("Lisbon  2027-05-01T08:00 to 2027-05-01T09:00"), std::string::npos)
        << list.out << list.err;
    const std::filesystem::path ics = device_.root().parent_path() / "lisbon-trip.ics";
    CommandResult exported = vorn({"trip", "export", "Lisbon", ics.string()}, device_.root());
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_EQ(exported.out, "3 appointments written to " + ics.string() + "\n");

    // A fresh device takes the file back into the same appointments, once.
    TestDevice fresh;
    ASSERT_TRUE(everything().empty());
    CommandResult imported = vorn({"calendar", "import", ics.string()}, fresh.root());
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(imported.out, "3 appointments imported, 0 already in the calendar\n");
    EXPECT_EQ(everything(), original);
    CommandResult again = vorn({"calendar", "import", ics.string()}, fresh.root());
    EXPECT_EQ(again.out, "0 appointments imported, 3 already in the calendar\n");
    EXPECT_EQ(everything().size(), 3u);
    std::filesystem::remove(ics);
}

namespace {

// The calendar program on a VGA device, showing one appointment as a reminder opens it.
class CalendarAppointmentPage : public MainProgramSession {
  protected:
    CalendarAppointmentPage() : MainProgramSession("480x640") {}
};

}  // namespace

TEST_F(CalendarAppointmentPage, ShowsEverythingTheAppointmentHolds) {
    platform::Appointment a;
    a.subject = L"Hotel check-in: Casa Azul";
    a.start = a.end = {2027, 5, 6, 1, 15, 0, 0, 0};
    a.location = L"Rua Nova 5, Lisbon";
    a.note = L"Check in at Casa Azul. The booking number is 4711; the room faces the river.";
    a.categories = L"Lisbon";
    a.reminderSet = true;
    a.reminderMinutes = 30;
    const platform::AppointmentId id = platform::addAppointment(a);
    ASSERT_NE(id, 0u);
    CommandResult run = device_.ctl(
        {"run", "--headless", "\\windows\\poutlook.exe", "calendar -show " + std::to_string(id)});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string pid = std::to_string(std::stoi(run.out));
    std::string page;
    ASSERT_TRUE(waitUntil([&] {
        CommandResult r = device_.ctl({"--pid", pid, "app", "shown"});
        page = r.out;
        return r.exitCode == 0 && !page.empty();
    })) << device_.deviceLog();
    EXPECT_NE(page.find("Hotel check-in: Casa Azul\n"), std::string::npos) << page;
    EXPECT_NE(page.find("Where: Rua Nova 5, Lisbon\n"), std::string::npos) << page;
    EXPECT_NE(page.find("Categories: Lisbon\n"), std::string::npos) << page;
    EXPECT_NE(page.find("Reminder: 30 minutes before\n"), std::string::npos) << page;
    EXPECT_NE(page.find("the room faces the river."), std::string::npos) << page;
    const std::string shot = (device_.root() / "page.png").string();
    ASSERT_EQ(device_.ctl({"--pid", pid, "screenshot", shot}).exitCode, 0);
    const auto folder = std::filesystem::path(VORN_BINARY_DIR) / "itinerary-screens";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(shot, folder / "e2e-calendar-appointment-480x640.png",
                               std::filesystem::copy_options::overwrite_existing);
}
