#pragma once
// The appointments that mirror a trip's entries in the device calendar, so that the
// calendar's reminders go off for them. Flights, meetings and notes are one appointment from
// start to end; car hire, hotels and journeys are one at the start and one at the end, each
// of no length. Every appointment carries the trip's name as its category and the entry's
// reminder.

#include <vector>

#include "platform/api/calendar.h"
#include "travel/trip_agenda.h"
#include "travel/trip_file.h"

namespace travel {

// The appointments an entry stands for, without their ids: one or two.
std::vector<platform::Appointment> entryAppointments(std::wstring_view tripName,
                                                     const TripEntry& entry,
                                                     const TextSource& texts);

// Creates the entry's appointments, or updates those its fields 6 and 7 name when they still
// exist, and stores the ids in the entry (0 for one the calendar refused). An appointment the
// entry no longer needs is removed.
void mirrorEntry(std::wstring_view tripName, TripEntry& entry, const TextSource& texts);

// Removes the entry's appointments (those already gone are no matter) and clears its ids.
void removeEntryAppointments(TripEntry& entry);
// The same for every entry of the trip.
void removeTripAppointments(Trip& trip);

}  // namespace travel
