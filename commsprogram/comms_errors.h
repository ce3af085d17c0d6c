#pragma once
// What went wrong with a request, as the code the comms program leaves in SchedErrorStr for
// the main program to show, and a detail for the device log.

#include <string>

namespace commsprogram {

namespace errorCode {
constexpr int None = 0;
constexpr int Cancelled = 2;     // the request was closed before it ended
constexpr int NoNetwork = 3;     // no connection could be made at all
constexpr int ServerFailed = 4;  // the server did not answer in time or answered with an error
constexpr int Incomplete = 5;    // the answer was cut short or was larger than allowed
constexpr int Unreadable = 6;    // the answer did not hold what it should (or named no city)
constexpr int SaveFailed = 7;    // the files could not be written
constexpr int NoFlightKey = 8;   // flight status needs the user's own key
}  // namespace errorCode

struct Failure {
    int code = errorCode::None;
    std::string detail;

    explicit operator bool() const { return code != errorCode::None; }
};

inline Failure fail(int code, std::string detail) {
    return Failure{code, std::move(detail)};
}

}  // namespace commsprogram
