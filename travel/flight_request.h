#pragma once
// A flight status query for the comms program: which airline and flight, and the day as a
// window from 00:00 to 23:59 local time. The query goes into FltHstRequest as
// airline code "~" flight number "~" from "~" to, and the program is started with
// "/flighthistory"; it answers with the name of the flight file in FltHstResult.

#include <string>
#include <string_view>

#include "platform/api/clock.h"

namespace travel {

// The day choices of the query form.
namespace flightDay {
constexpr int Yesterday = 1, Today = 2, Tomorrow = 3;
}

// The longest flight number a query takes.
constexpr std::size_t kMaxFlightNumberLength = 80;

struct FlightWindow {
    std::wstring from;  // "2027-03-01T00:00"
    std::wstring to;    // "2027-03-01T23:59"
};

// The window of the day choice around the local date (a choice outside 1..3 is today).
FlightWindow flightWindow(const platform::SystemTime& localNow, int dayChoice);

// The flight number the comms program names its answer file with: letters and digits only,
// 1 to 80 of them. Anything else could make that name a path.
bool isValidFlightNumber(std::wstring_view number);

// A saved flight's number, unless the user typed another one.
std::wstring chosenFlightNumber(std::wstring_view typed, std::wstring_view saved);

// The FltHstRequest text.
std::wstring flightRequestText(std::wstring_view airlineCode, std::wstring_view number,
                               const FlightWindow& window);

enum class FlightRequestResult {
    Sent,            // the query is stored and the comms program started
    CancelledComms,  // the comms program was running: it was asked to stop instead
    UnknownAirline,  // no airline has this code
    InvalidNumber,   // the flight number is empty or not letters and digits
    NotStarted,      // the comms program could not be started
};

// Stores the query and starts the comms program; while the program runs it is only asked to
// stop, as the screen's query button does.
FlightRequestResult sendFlightRequest(std::wstring_view airlineCode, std::wstring_view number,
                                      const FlightWindow& window);

}  // namespace travel
