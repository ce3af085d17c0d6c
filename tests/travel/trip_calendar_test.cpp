// Mirroring trip entries into the device calendar: the appointments of each kind, updating
// them in place, creating them again when the calendar lost them, and removing them.

#include <gtest/gtest.h>

#include <string>

#include "platform/api/calendar.h"
#include "tests/platform/support/test_device.h"
#include "tests/travel/support/english_texts.h"
#include "travel/trip_calendar.h"

using namespace travel;
using travel::test::at;

namespace {

std::vector<platform::Appointment> everything() {
    return platform::appointmentsBetween(at(1700, 1, 1), at(9000, 1, 1));
}

class Mirroring : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::test::useTestDevice();
        for (const auto& a : everything()) platform::removeAppointment(a.id);
    }
    TextSource texts = travel::test::englishTexts();
};

TripEntry flight() {
    TripEntry e;
    e.kind = EntryKind::Flight;
    e.start = at(2030, 5, 1, 9);
    e.end = at(2030, 5, 1, 11, 30);
    e.reminder = 60;
    e.setText(5, L"VR123");
    e.setText(8, L"LHR");
    e.setText(11, L"LIS");
    return e;
}

TripEntry hotel() {
    TripEntry e;
    e.kind = EntryKind::Hotel;
    e.start = at(2030, 5, 1, 15);
    e.end = at(2030, 5, 4, 11);
    e.setText(5, L"Casa Azul");
    e.setText(8, L"Rua Nova 5");
    return e;
}

}  // namespace

TEST_F(Mirroring, EachKindMakesItsAppointments) {
    TripEntry f = flight();
    mirrorEntry(L"Lisbon", f, texts);
    ASSERT_NE(f.startAppointment, 0u);
    EXPECT_EQ(f.endAppointment, 0u);
    auto a = platform::appointment(f.startAppointment);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->subject, L"Flight VR123");
    EXPECT_EQ(a->location, L"LIS");
    EXPECT_EQ(a->note, L"Flight VR123, entered from the itinerary.");
    EXPECT_EQ(a->categories, L"Lisbon");
    EXPECT_EQ(a->start, f.start);
    EXPECT_EQ(a->end, f.end);
    EXPECT_TRUE(a->reminderSet);
    EXPECT_EQ(a->reminderMinutes, 60);

    TripEntry h = hotel();
    mirrorEntry(L"Lisbon", h, texts);
    ASSERT_NE(h.startAppointment, 0u);
    ASSERT_NE(h.endAppointment, 0u);
    auto in = platform::appointment(h.startAppointment);
    auto out = platform::appointment(h.endAppointment);
    ASSERT_TRUE(in && out);
    EXPECT_EQ(in->subject, L"Hotel check-in: Casa Azul");
    EXPECT_EQ(in->note, L"Check in at Casa Azul.");
    EXPECT_EQ(in->location, L"Rua Nova 5");
    EXPECT_EQ(in->start, h.start);
    EXPECT_EQ(in->end, h.start);
    EXPECT_FALSE(in->reminderSet);
    EXPECT_EQ(out->subject, L"Hotel check-out: Casa Azul");
    EXPECT_EQ(out->start, h.end);
    EXPECT_EQ(out->end, h.end);

    TripEntry note;
    note.start = at(2030, 5, 2, 8);
    note.end = at(2030, 5, 2, 9);
    note.setText(5, L"Call home");
    note.setText(8, L"Hotel");
    mirrorEntry(L"Lisbon", note, texts);
    auto n = platform::appointment(note.startAppointment);
    ASSERT_TRUE(n);
    EXPECT_EQ(n->subject, L"Note: Call home");
    EXPECT_EQ(n->note, L"");

    TripEntry meeting;
    meeting.kind = EntryKind::Meeting;
    meeting.start = at(2030, 5, 3, 10);
    meeting.end = at(2030, 5, 3, 11);
    meeting.setText(5, L"Q3");
    meeting.setText(8, L"HQ");
    mirrorEntry(L"Lisbon", meeting, texts);
    auto m = platform::appointment(meeting.startAppointment);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->subject, L"Meeting: Q3");
    EXPECT_EQ(m->location, L"HQ");
    EXPECT_EQ(everything().size(), 5u);
}

TEST_F(Mirroring, ChangedEntryUpdatesItsAppointmentsInPlace) {
    TripEntry h = hotel();
    mirrorEntry(L"Lisbon", h, texts);
    const auto in = h.startAppointment, out = h.endAppointment;
    h.end = at(2030, 5, 5, 10);
    h.reminder = 15;
    h.setText(5, L"Casa Verde");
    mirrorEntry(L"Lisbon", h, texts);
    EXPECT_EQ(h.startAppointment, in);
    EXPECT_EQ(h.endAppointment, out);
    EXPECT_EQ(everything().size(), 2u);
    auto moved = platform::appointment(out);
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->start, at(2030, 5, 5, 10));
    EXPECT_EQ(moved->subject, L"Hotel check-out: Casa Verde");
    EXPECT_TRUE(moved->reminderSet);
    EXPECT_NE(platform::reminderNotification(out), 0u);
}

TEST_F(Mirroring, AppointmentsDeletedInTheCalendarAreMadeAgain) {
    TripEntry h = hotel();
    mirrorEntry(L"Lisbon", h, texts);
    const auto in = h.startAppointment;
    ASSERT_TRUE(platform::removeAppointment(h.startAppointment));
    ASSERT_TRUE(platform::removeAppointment(h.endAppointment));
    mirrorEntry(L"Lisbon", h, texts);
    EXPECT_NE(h.startAppointment, 0u);
    EXPECT_NE(h.startAppointment, in);
    EXPECT_TRUE(platform::appointment(h.startAppointment));
    EXPECT_TRUE(platform::appointment(h.endAppointment));
    EXPECT_EQ(everything().size(), 2u);
}

TEST_F(Mirroring, AnIdOfAnotherAppointmentIsNeverOverwritten) {
    platform::Appointment dentist;
    dentist.subject = L"Dentist";
    dentist.start = dentist.end = at(2030, 6, 1, 9);
    dentist.id = platform::addAppointment(dentist);
    ASSERT_NE(dentist.id, 0u);
    TripEntry f = flight();
    f.startAppointment = dentist.id;  // written into the file by hand
    mirrorEntry(L"Lisbon", f, texts);
    EXPECT_NE(f.startAppointment, dentist.id);
    EXPECT_EQ(platform::appointment(dentist.id), dentist);
}

TEST_F(Mirroring, RemovingAnEntryOrTripTakesItsAppointments) {
    Trip trip;
    trip.name = L"Lisbon";
    trip.entries = {flight(), hotel()};
    for (auto& e : trip.entries) mirrorEntry(trip.name, e, texts);
    EXPECT_EQ(everything().size(), 3u);
    removeEntryAppointments(trip.entries[0]);
    EXPECT_EQ(trip.entries[0].startAppointment, 0u);
    EXPECT_EQ(everything().size(), 2u);
    EXPECT_EQ(platform::reminderNotification(1), 0u);

    // One of the hotel's appointments was already deleted in the calendar: the rest still go.
    ASSERT_TRUE(platform::removeAppointment(trip.entries[1].endAppointment));
    removeTripAppointments(trip);
    EXPECT_TRUE(everything().empty());
    EXPECT_EQ(trip.entries[1].startAppointment, 0u);
    EXPECT_EQ(trip.entries[1].endAppointment, 0u);
}
