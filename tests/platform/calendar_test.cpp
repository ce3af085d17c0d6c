// The device calendar: appointments stored, read, changed, removed and found by time range,
// and the bounds on what an appointment may carry.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/api/calendar.h"
#include "platform/api/clock.h"
#include "platform/api/notifications.h"
#include "tests/platform/support/test_device.h"

using namespace platform;

namespace {

SystemTime at(int year, int month, int day, int hour, int minute = 0) {
    SystemTime t;
    t.year = static_cast<std::uint16_t>(year);
    t.month = static_cast<std::uint16_t>(month);
    t.day = static_cast<std::uint16_t>(day);
    t.hour = static_cast<std::uint16_t>(hour);
    t.minute = static_cast<std::uint16_t>(minute);
    t.dayOfWeek = static_cast<std::uint16_t>(dayOfWeekOf(year, month, day));
    return t;
}

Appointment meeting(std::wstring subject, SystemTime start, SystemTime end) {
    Appointment a;
    a.subject = std::move(subject);
    a.start = start;
    a.end = end;
    return a;
}

class Calendar : public ::testing::Test {
  protected:
    void SetUp() override {
        test::useTestDevice();
        for (auto& a : appointmentsBetween(at(1601, 1, 1, 0), at(9999, 1, 1, 0)))
            removeAppointment(a.id);
    }
};

TEST_F(Calendar, AppointmentsAreAddedReadUpdatedAndRemoved) {
    Appointment a = meeting(L"Budget \u00e9t\u00e9", at(2027, 3, 1, 15), at(2027, 3, 1, 16));
    a.location = L"Room 4";
    a.note = L"Bring the figures";
    AppointmentId id = addAppointment(a);
    ASSERT_NE(id, 0u);
    a.id = id;
    EXPECT_EQ(appointment(id), a);

    AppointmentId other = addAppointment(meeting(L"Lunch", at(2027, 3, 2, 12), at(2027, 3, 2, 13)));
    ASSERT_NE(other, 0u);
    EXPECT_NE(other, id);

    a.subject = L"Budget, moved";
    a.start = at(2027, 3, 1, 17);
    a.end = at(2027, 3, 1, 18, 30);
    a.allDay = true;
    EXPECT_TRUE(updateAppointment(a));
    EXPECT_EQ(appointment(id), a);

    EXPECT_TRUE(removeAppointment(id));
    EXPECT_FALSE(removeAppointment(id));
    EXPECT_FALSE(appointment(id));
    EXPECT_FALSE(updateAppointment(a));  // it is gone
    EXPECT_FALSE(removeAppointment(0));
    EXPECT_FALSE(appointment(0));
    // A removed id is not given to the next appointment.
    AppointmentId next = addAppointment(meeting(L"Again", at(2027, 3, 3, 9), at(2027, 3, 3, 10)));
    EXPECT_GT(next, other);
}

TEST_F(Calendar, RangesFindOverlappingAppointmentsInStartOrder) {
    AppointmentId late = addAppointment(meeting(L"late", at(2027, 3, 1, 22), at(2027, 3, 2, 1)));
    AppointmentId early = addAppointment(meeting(L"early", at(2027, 3, 1, 8), at(2027, 3, 1, 9)));
    AppointmentId before =
        addAppointment(meeting(L"before", at(2027, 2, 28, 8), at(2027, 3, 1, 0)));
    AppointmentId point = addAppointment(meeting(L"point", at(2027, 3, 2, 0), at(2027, 3, 2, 0)));
    ASSERT_TRUE(late && early && before && point);

    auto day = appointmentsBetween(at(2027, 3, 1, 0), at(2027, 3, 2, 0));
    ASSERT_EQ(day.size(), 2u);  // "before" ends as the day begins; "point" is the next day
    EXPECT_EQ(day[0].id, early);
    EXPECT_EQ(day[1].id, late);

    auto next = appointmentsBetween(at(2027, 3, 2, 0), at(2027, 3, 3, 0));
    ASSERT_EQ(next.size(), 2u);  // "late" runs past midnight
    EXPECT_EQ(next[0].id, late);
    EXPECT_EQ(next[1].id, point);

    EXPECT_TRUE(hasAppointmentOn(2027, 3, 1));
    EXPECT_TRUE(hasAppointmentOn(2027, 2, 28));
    EXPECT_FALSE(hasAppointmentOn(2027, 3, 3));
    EXPECT_FALSE(hasAppointmentOn(2027, 2, 30));
    EXPECT_FALSE(hasAppointmentOn(2027, 13, 1));
    EXPECT_TRUE(appointmentsBetween(at(2027, 3, 2, 0), at(2027, 3, 1, 0)).empty());
}

TEST_F(Calendar, DamagedAppointmentsAreRefused) {
    Appointment good = meeting(L"ok", at(2027, 3, 1, 15), at(2027, 3, 1, 16));
    ASSERT_TRUE(isAcceptableAppointment(good));
    auto refused = [&](auto change) {
        Appointment a = good;
        change(a);
        return addAppointment(a) == 0;
    };
    EXPECT_TRUE(refused([](Appointment& a) { a.subject.assign(256, L'x'); }));
    EXPECT_FALSE(refused([](Appointment& a) { a.subject.assign(255, L'x'); }));
    EXPECT_TRUE(refused([](Appointment& a) { a.subject = std::wstring(L"a\0b", 3); }));
    EXPECT_TRUE(refused([](Appointment& a) { a.location.assign(256, L'x'); }));
    EXPECT_TRUE(refused([](Appointment& a) { a.note.assign(kMaxAppointmentNote + 1, L'x'); }));
    EXPECT_TRUE(refused([](Appointment& a) { a.end = at(2027, 3, 1, 14); }));
    EXPECT_TRUE(refused([](Appointment& a) { a.start.month = 13; }));
    EXPECT_TRUE(refused([](Appointment& a) { a.end.day = 32; }));

    AppointmentId id = addAppointment(good);
    ASSERT_NE(id, 0u);
    Appointment bad = good;
    bad.id = id;
    bad.subject.assign(300, L'y');
    EXPECT_FALSE(updateAppointment(bad));
    EXPECT_EQ(appointment(id)->subject, L"ok");  // left as it was
}

}  // namespace

namespace {

// The reminder notifications the calendar armed, by handle.
std::vector<NotificationRecord> armedReminders() {
    std::vector<NotificationRecord> found;
    for (NotificationHandle h : userNotificationHandles()) {
        auto record = userNotification(h);
        if (record && record->application == kCalendarProgram)
            found.push_back(*record);
    }
    return found;
}

}  // namespace

TEST_F(Calendar, CategoriesBodyAndReminderAreKept) {
    Appointment a = meeting(L"Flight VR12", at(2030, 5, 1, 9), at(2030, 5, 1, 11, 30));
    a.note = L"Flight VR12, entered from the itinerary.";
    a.categories = L"Lisbon, Work";
    a.reminderSet = true;
    a.reminderMinutes = 45;
    a.id = addAppointment(a);
    ASSERT_NE(a.id, 0u);
    EXPECT_EQ(appointment(a.id), a);
    auto found = appointmentsBetween(at(2030, 5, 1, 0), at(2030, 5, 2, 0));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0], a);

    Appointment tooLong = a;
    tooLong.categories.assign(kMaxAppointmentCategories + 1, L'c');
    EXPECT_EQ(addAppointment(tooLong), 0u);
    Appointment negative = a;
    negative.reminderMinutes = -5;
    EXPECT_EQ(addAppointment(negative), 0u);
}

TEST_F(Calendar, ReminderIsArmedMovedAndClearedWithItsAppointment) {
    for (NotificationHandle h : userNotificationHandles()) clearUserNotification(h);
    Appointment a = meeting(L"Check in", at(2030, 6, 3, 14), at(2030, 6, 3, 14));
    a.reminderSet = true;
    a.reminderMinutes = 30;
    a.id = addAppointment(a);
    ASSERT_NE(a.id, 0u);
    NotificationHandle first = reminderNotification(a.id);
    ASSERT_NE(first, 0u);
    auto armed = armedReminders();
    ASSERT_EQ(armed.size(), 1u);
    EXPECT_EQ(armed[0].start, at(2030, 6, 3, 13, 30));
    EXPECT_EQ(armed[0].arguments, L"calendar -show " + std::to_wstring(a.id));

    // Moving the appointment moves its reminder; there is still only one.
    a.start = a.end = at(2030, 6, 4, 8);
    a.reminderMinutes = 60;
    ASSERT_TRUE(updateAppointment(a));
    armed = armedReminders();
    ASSERT_EQ(armed.size(), 1u);
    EXPECT_EQ(armed[0].start, at(2030, 6, 4, 7));

    // Turning the reminder off clears it; turning it on again arms a new one.
    a.reminderSet = false;
    ASSERT_TRUE(updateAppointment(a));
    EXPECT_TRUE(armedReminders().empty());
    EXPECT_EQ(reminderNotification(a.id), 0u);
    a.reminderSet = true;
    ASSERT_TRUE(updateAppointment(a));
    EXPECT_EQ(armedReminders().size(), 1u);

    // Deleting the appointment takes its reminder with it.
    ASSERT_TRUE(removeAppointment(a.id));
    EXPECT_TRUE(armedReminders().empty());
    EXPECT_EQ(reminderNotification(a.id), 0u);
}

TEST_F(Calendar, ReminderThatIsAlreadyDueIsNotArmed) {
    for (NotificationHandle h : userNotificationHandles()) clearUserNotification(h);
    Appointment past = meeting(L"Gone", at(2001, 1, 1, 9), at(2001, 1, 1, 10));
    past.reminderSet = true;
    past.reminderMinutes = 15;
    past.id = addAppointment(past);
    ASSERT_NE(past.id, 0u);
    EXPECT_EQ(reminderNotification(past.id), 0u);
    EXPECT_TRUE(armedReminders().empty());
    // The reminder itself is still part of the appointment.
    EXPECT_TRUE(appointment(past.id)->reminderSet);
}
