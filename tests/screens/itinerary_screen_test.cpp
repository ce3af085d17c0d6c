// The itinerary screen inside the program's own application: a trip named and opened, entries
// added, changed and deleted through the editor with their calendar appointments, the
// questions every menu action asks, and the pages drawn at each screen profile (saved for
// review with VORN_ITINERARY_SCREENSHOTS=FOLDER).

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "core/language.h"
#include "core/message_box.h"
#include "platform/api/calendar.h"
#include "platform/api/clock.h"
#include "platform/api/control.h"
#include "platform/api/device.h"
#include "platform/api/profile.h"
#include "platform/api/shell.h"
#include "platform/gui/screen.h"
#include "tests/platform/support/message_pump.h"
#include "tests/screens/support/screen_device.h"
#include "tests/screens/support/screen_shot.h"
#include "travel/screens/itinerary_lists.h"
#include "travel/screens/itinerary_screen.h"
#include "travel/screens/screens.h"
#include "travel/trip_file.h"
#include "ui/date_time_picker.h"
#include "ui/edit_field.h"
#include "ui/module_ids.h"
#include "worldtime/screens/screens.h"

using namespace platform;
using namespace travel;

namespace {

const std::wstring kFolder = L"\\Program Files\\Vorn Roamer\\itinerary\\";

SystemTime localAt(int year, int month, int day, int hour, int minute) {
    return {static_cast<std::uint16_t>(year),
            static_cast<std::uint16_t>(month),
            static_cast<std::uint16_t>(dayOfWeekOf(year, month, day)),
            static_cast<std::uint16_t>(day),
            static_cast<std::uint16_t>(hour),
            static_cast<std::uint16_t>(minute),
            0,
            0};
}

class ItineraryScreenTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { screens::test::screenTestDevice(); }

    void SetUp() override {
        for (const auto& f : listFolder(kFolder)) deleteFile(kFolder + f.name);
        for (const auto& a :
             appointmentsBetween(localAt(1700, 1, 1, 0, 0), localAt(9000, 1, 1, 0, 0)))
            removeAppointment(a.id);
        ASSERT_TRUE(setDeviceTimeZone("UTC"));
        // Tuesday 8 December 2026, 10:30.
        setClockOverride(*toFileTime(localAt(2026, 12, 8, 10, 30)));
        setClockOffsetSeconds(0);
        core::setMessageBoxHook([this](std::wstring_view text, std::wstring_view, std::uint32_t) {
            messages_.push_back(std::wstring(text));
            return answer_;
        });
        app_ = std::make_unique<app::Application>(L"\\Program Files\\Vorn Roamer\\vornroamer3.exe");
        core::buildLanguageList(app_->mainPath(), 1, 9);
        core::openLanguage(app_->mainPath(), true, true);
        auto favourites = worldtime::registerScreens(app_->screens());
        travel::registerScreens(app_->screens(), favourites);
        ASSERT_TRUE(app_->createMainWindow());
        open();
    }

    void TearDown() override {
        app_.reset();
        pump();
        core::setMessageBoxHook({});
        setClockOverride(std::nullopt);
    }

    void open() {
        app_->switchModule(ui::moduleId::Itinerary, {.saveOld = true});
        pump();
        ASSERT_EQ(app_->currentModuleId(), ui::moduleId::Itinerary);
    }
    ItineraryScreen& screen() {
        auto* s = dynamic_cast<ItineraryScreen*>(app_->currentModule());
        EXPECT_NE(s, nullptr);
        return *s;
    }
    void pump() { platform::test::deliverPosted(); }
    void command(std::uint32_t id) {
        sendMessage(app_->mainWindow(), wm::Command, id, 0);
        pump();
    }
    template <class T>
    T* control(int id) {
        return screen().findControl<T>(id);
    }
    void type(int id, std::wstring_view text) { control<ui::EditField>(id)->setText(text); }
    void setTimes(const SystemTime& start, const SystemTime& end) {
        control<ui::DateTimePicker>(12)->setTime(start);
        control<ui::DateTimePicker>(13)->setTime(start);
        control<ui::DateTimePicker>(15)->setTime(end);
        control<ui::DateTimePicker>(16)->setTime(end);
    }
    // Names and opens a trip through the new-trip form.
    void newTrip(std::wstring_view name) {
        command(itineraryCommand::NewTrip);
        ASSERT_EQ(screen().view(), ItineraryState::View::NewTrip);
        type(51, name);
        command(ui::command::LeftSoftKey);
    }
    void addFlight() {
        command(120);
        ASSERT_EQ(screen().view(), ItineraryState::View::Editor);
        type(21, L"123");
        type(23, L"LHR");
        type(25, L"British Airways");
        type(27, L"T5");
        type(29, L"LIS");
        type(31, L"T1");
        setTimes(localAt(2026, 12, 9, 7, 10), localAt(2026, 12, 9, 9, 45));
        command(ui::command::LeftSoftKey);
    }
    void addHotel() {
        command(122);
        ASSERT_EQ(screen().view(), ItineraryState::View::Editor);
        type(21, L"Casa Azul");
        type(23, L"Rua Nova 5");
        setTimes(localAt(2026, 12, 9, 15, 0), localAt(2026, 12, 12, 11, 0));
        command(ui::command::LeftSoftKey);
    }
    std::vector<std::wstring> agendaLines() {
        std::vector<std::wstring> lines;
        for (const AgendaRow& r : screen().agenda().rows())
            lines.push_back(r.isHeading() ? L"== " + r.text : r.time + L" " + r.text);
        return lines;
    }
    int selectAgendaRow(std::wstring_view prefix) {
        const auto& rows = screen().agenda().rows();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if ((rows[i].time + L" " + rows[i].text).starts_with(prefix)) {
                screen().agenda().selectRow(static_cast<int>(i) + 1, true);
                return static_cast<int>(i) + 1;
            }
        }
        ADD_FAILURE() << "no agenda row " << toUtf8(prefix);
        return 0;
    }
    std::vector<Appointment> allAppointments() {
        return appointmentsBetween(localAt(1700, 1, 1, 0, 0), localAt(9000, 1, 1, 0, 0));
    }
    // The screen as shown now.
    Bitmap shot() { return screens::test::screenShot(*app_); }
    // With VORN_ITINERARY_SCREENSHOTS set to a folder, saves the screen there for review.
    void saveShot(const std::string& name) {
        screens::test::saveReviewShot(*app_, "VORN_ITINERARY_SCREENSHOTS", name);
    }

    std::unique_ptr<app::Application> app_;
    std::vector<std::wstring> messages_;
    int answer_ = id::Yes;
};

}  // namespace

TEST_F(ItineraryScreenTest, ATripIsNamedOpenedAndRefusedTwice) {
    ASSERT_EQ(screen().tripList().rowCount(), 1);
    EXPECT_EQ(screen().tripList().rows().row(1).title, L"New Trip");
    newTrip(L"Lisbon");
    EXPECT_EQ(screen().view(), ItineraryState::View::Agenda);
    EXPECT_TRUE(tripExists(kFolder, L"Lisbon"));
    EXPECT_TRUE(screen().agenda().rows().empty());

    // Back to the list, where the trip now has its row, and the same name again is refused.
    command(ui::command::Back);
    ASSERT_EQ(screen().view(), ItineraryState::View::Trips);
    ASSERT_EQ(screen().tripList().rowCount(), 2);
    EXPECT_EQ(screen().tripList().rows().row(2).title, L"Lisbon");
    EXPECT_EQ(screen().tripList().rows().row(2).dates, L"??");
    newTrip(L"Lisbon");
    EXPECT_EQ(screen().view(), ItineraryState::View::NewTrip);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], core::languageString(352));
    // A name that cannot be a file name is refused too.
    type(51, L"../escape");
    command(ui::command::LeftSoftKey);
    EXPECT_EQ(screen().view(), ItineraryState::View::NewTrip);
    EXPECT_EQ(messages_.size(), 2u);
}

TEST_F(ItineraryScreenTest, EntriesAreAddedEditedAndDeletedWithTheirAppointments) {
    newTrip(L"Lisbon");
    addFlight();
    ASSERT_EQ(screen().view(), ItineraryState::View::Agenda);
    addHotel();
    const std::vector<std::wstring> expected{
        L"== Tomorrow, " + formatDate(localAt(2026, 12, 9, 0, 0), longDatePicture()).value_or(L""),
        L"07:10 Flight BA123 departs LHR T5",
        L"09:45 Flight BA123 arrives LIS T1",
        L"15:00 Check in: Casa Azul, Rua Nova 5",
        L"== " + formatDate(localAt(2026, 12, 12, 0, 0), longDatePicture()).value_or(L""),
        L"11:00 Check out: Casa Azul, Rua Nova 5",
    };
    EXPECT_EQ(agendaLines(), expected);
    EXPECT_EQ(allAppointments().size(), 3u);
    auto trip = loadTrip(kFolder, L"Lisbon");
    ASSERT_TRUE(trip);
    ASSERT_EQ(trip->entries.size(), 2u);
    const AppointmentId flightId = trip->entries[0].startAppointment;
    ASSERT_NE(flightId, 0u);
    EXPECT_EQ(appointment(flightId)->subject, L"Flight 123");
    EXPECT_EQ(appointment(flightId)->categories, L"Lisbon");

    // Editing keeps the appointment and moves it.
    selectAgendaRow(L"07:10");
    command(itineraryCommand::Edit);
    ASSERT_EQ(screen().view(), ItineraryState::View::Editor);
    EXPECT_EQ(control<ui::EditField>(21)->text(), L"123");
    setTimes(localAt(2026, 12, 9, 8, 0), localAt(2026, 12, 9, 10, 30));
    command(ui::command::LeftSoftKey);
    ASSERT_EQ(screen().view(), ItineraryState::View::Agenda);
    EXPECT_EQ(appointment(flightId)->start, localAt(2026, 12, 9, 8, 0));
    EXPECT_EQ(allAppointments().size(), 3u);

    // An end before the start is refused with a message and the editor stays.
    selectAgendaRow(L"08:00");
    command(itineraryCommand::Edit);
    setTimes(localAt(2026, 12, 9, 8, 0), localAt(2026, 12, 9, 7, 0));
    messages_.clear();
    command(ui::command::LeftSoftKey);
    EXPECT_EQ(screen().view(), ItineraryState::View::Editor);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], core::languageString(860));
    command(ui::command::RightSoftKey);
    EXPECT_EQ(screen().view(), ItineraryState::View::Agenda);

    // Deleting asks, and takes the hotel's two appointments.
    selectAgendaRow(L"15:00");
    answer_ = id::No;
    command(itineraryCommand::DeleteEntry);
    EXPECT_EQ(allAppointments().size(), 3u);
    answer_ = id::Yes;
    messages_.clear();
    command(itineraryCommand::DeleteEntry);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], core::languageString(354));
    EXPECT_EQ(allAppointments().size(), 1u);
    EXPECT_EQ(loadTrip(kFolder, L"Lisbon")->entries.size(), 1u);

    // A day heading has no appointment to show.
    screen().agenda().selectRow(1, true);
    messages_.clear();
    command(itineraryCommand::ShowInCalendar);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], core::languageString(353));
}

TEST_F(ItineraryScreenTest, DeletingATripAsksTwiceAndSucceedsWhenItsAppointmentsAreGone) {
    newTrip(L"Rome");
    addHotel();
    ASSERT_EQ(allAppointments().size(), 2u);
    // The appointments were deleted in the calendar meanwhile.
    for (const auto& a : allAppointments()) removeAppointment(a.id);
    command(ui::command::Back);
    screen().tripList().selectRow(2, true);
    messages_.clear();
    command(itineraryCommand::DeleteTrip);
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_EQ(messages_[0], L"Delete the trip Rome?");
    EXPECT_EQ(messages_[1], core::languageString(284));
    EXPECT_FALSE(tripExists(kFolder, L"Rome"));
    EXPECT_EQ(screen().tripList().rowCount(), 1);
}

TEST_F(ItineraryScreenTest, PagesAtEveryProfile) {
    newTrip(L"Lisbon");
    addFlight();
    addHotel();
    command(ui::command::Back);
    for (const char* shape : {"240x320", "320x240", "480x640", "240x240"}) {
        SCOPED_TRACE(shape);
        setScreenProfile(*screenProfileFromName(shape));
        broadcastScreenChanged();
        pump();
        const std::string stem = std::string("itinerary-") + shape;
        ASSERT_EQ(screen().view(), ItineraryState::View::Trips);
        ASSERT_EQ(screen().tripList().rowCount(), 2);
        // Every control of the page lies inside the window.
        const Rect client = clientRect(app_->mainWindow());
        for (const auto& c : screen().controls()) {
            if (!c->isLive(screen().currentPage))
                continue;
            EXPECT_GE(c->rect.left, 0);
            EXPECT_LE(c->rect.right, client.right) << c->id;
            EXPECT_LE(c->rect.bottom, client.bottom) << c->id;
        }
        saveShot(stem + "-trips");
        screen().tripList().selectRow(2, false);
        command(itineraryCommand::OpenTrip);
        ASSERT_EQ(screen().view(), ItineraryState::View::Agenda);
        saveShot(stem + "-agenda");
        selectAgendaRow(L"07:10");
        command(itineraryCommand::Edit);
        ASSERT_EQ(screen().view(), ItineraryState::View::Editor);
        for (const auto& c : screen().controls()) {
            if (!c->isLive(screen().currentPage))
                continue;
            EXPECT_LE(c->rect.right, client.right) << c->id;
            EXPECT_LE(c->rect.bottom, client.bottom) << c->id;
        }
        saveShot(stem + "-editor");
        command(ui::command::RightSoftKey);
        command(ui::command::Back);
    }
    setScreenProfile(*screenProfileFromName("240x320"));
    broadcastScreenChanged();
}
