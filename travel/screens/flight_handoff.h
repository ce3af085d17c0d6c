#pragma once
// What the codes and flight status screens share for the whole run: the airline the codes
// screen hands to the flight status screen, and the live screen in words for drivers of the
// program ("ctl app codes", "ctl app flights").

#include <string>

namespace travel {

struct FlightHandoff {
    // The airline name the flight status screen opens its query with; taken once.
    std::wstring airline;
};

struct TravelReadout {
    std::wstring codes;
    std::wstring flights;
};

}  // namespace travel
