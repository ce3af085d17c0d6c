#pragma once
// The request line the main program starts the comms program with, and the option this
// program takes beside it for running from recorded answers.

#include <optional>
#include <string>
#include <string_view>

namespace commsprogram {

// Schedule, Docking and Retry are the unattended updates: started by a timed notification
// ("/schedule"), by the cradle (no request at all, or the serial-connection event's
// "AppRunAtRs232Detect"), or by the retry after one of them failed ("/retry"). They fetch what
// the scheduled-update filter chooses.
enum class RequestKind { Weather, CityLookup, Currency, FlightHistory, Schedule, Docking, Retry };

constexpr bool isUnattended(RequestKind kind) {
    return kind == RequestKind::Schedule || kind == RequestKind::Docking ||
           kind == RequestKind::Retry;
}

// The bits of a weather mask (the same as the scheduled-update filter).
namespace maskBit {
constexpr int Currency = 0x1;
constexpr int Daily = 0x2;
constexpr int Periods = 0x4;
constexpr int Current = 0x8;
constexpr int Outlook = 0x10;
constexpr int ForecastMap = 0x100;
constexpr int Satellite = 0x200;
constexpr int Radar = 0x400;
constexpr int UserMap = 0x800;
constexpr int All = 0xF1F;
}  // namespace maskBit

struct Request {
    RequestKind kind = RequestKind::Weather;
    int mask = 0;         // weather requests: what to fetch
    std::wstring city;    // "/manual $$city CODE$$ MASK": the one city; empty for every favourite
    std::wstring replay;  // "--replay DIR": answer from the recordings in DIR
};

// Nothing for a line that is no request: an unknown verb, a mask that is not a number, a city
// code that cannot name a file.
std::optional<Request> parseRequest(std::wstring_view line);

}  // namespace commsprogram
