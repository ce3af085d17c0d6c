#include "travel/flight_request.h"

#include <cstdio>

#include "core/comms.h"
#include "core/settings_key.h"
#include "travel/settings_keys.h"
#include "worldtime/date_helpers.h"

namespace travel {

namespace {

std::wstring windowText(const platform::SystemTime& day, int hour, int minute) {
    wchar_t text[32];
    std::swprintf(text, 32, L"%04d-%02d-%02dT%02d:%02d", day.year, day.month, day.day, hour,
                  minute);
    return text;
}

bool isAsciiLetterOrDigit(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

}  // namespace

FlightWindow flightWindow(const platform::SystemTime& localNow, int dayChoice) {
    int days = dayChoice == flightDay::Yesterday ? -1 : dayChoice == flightDay::Tomorrow ? 1 : 0;
    platform::SystemTime day = localNow;
    day.hour = 12;  // away from either end of the day, whatever the clock said
    day.minute = day.second = day.milliseconds = 0;
    if (auto moved = worldtime::shiftDateTime(day, 0, 0, days, 0, 0, false))
        day = *moved;
    return FlightWindow{windowText(day, 0, 0), windowText(day, 23, 59)};
}

bool isValidFlightNumber(std::wstring_view number) {
    if (number.empty() || number.size() > kMaxFlightNumberLength)
        return false;
    for (wchar_t c : number) {
        if (!isAsciiLetterOrDigit(c))
            return false;
    }
    return true;
}

std::wstring chosenFlightNumber(std::wstring_view typed, std::wstring_view saved) {
    if (!typed.empty() && !saved.empty() && typed != saved)
        return std::wstring(typed);
    return std::wstring(saved.empty() ? typed : saved);
}

std::wstring flightRequestText(std::wstring_view airlineCode, std::wstring_view number,
                               const FlightWindow& window) {
    std::wstring text(airlineCode);
    text += L'~';
    text += number;
    text += L'~';
    text += window.from;
    text += L'~';
    text += window.to;
    return text;
}

FlightRequestResult sendFlightRequest(std::wstring_view airlineCode, std::wstring_view number,
                                      const FlightWindow& window) {
    if (core::isCommsRunning()) {
        core::cancelComms();
        return FlightRequestResult::CancelledComms;
    }
    // The code names the answer file as much as the number does.
    if (!isValidFlightNumber(airlineCode) || airlineCode.size() > 3)
        return FlightRequestResult::UnknownAirline;
    if (!isValidFlightNumber(number))
        return FlightRequestResult::InvalidNumber;
    core::settings::write(keys::FltHstRequest, flightRequestText(airlineCode, number, window));
    return core::sendCommsRequest(L"/flighthistory") ? FlightRequestResult::Sent
                                                     : FlightRequestResult::NotStarted;
}

}  // namespace travel
