#pragma once
// Gathering what a request needs from the settings and the system's files, on the program's
// window thread before the work starts.

#include <string>

#include "commsprogram/comms_job.h"
#include "commsprogram/http_fetcher.h"

namespace commsprogram {

// Settings of this program beside the system's own.
namespace setting {
// A base address that replaces every service's (tests: a server on 127.0.0.1).
constexpr std::wstring_view BaseUrl = L"CommsBaseUrl";
// A device folder of recorded answers to use instead of the network.
constexpr std::wstring_view ReplayPath = L"CommsReplayPath";
// The user's own key for the flight status service.
constexpr std::wstring_view FlightKey = L"FlightDataKey";
// The time-out of one download in milliseconds (1000..120000; 20000 when absent).
constexpr std::wstring_view TimeoutMs = L"CommsTimeoutMs";
}  // namespace setting

JobInput gatherInput(const Request& request);

// The service addresses: the standard ones, or all at CommsBaseUrl when that is set and
// allowed.
ServiceBases serviceBases();
// The HTTP client's options from the settings.
HttpOptions httpOptions();

}  // namespace commsprogram
