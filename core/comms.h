#pragma once
// The interface to the comms program, which does all downloading outside the system. The main
// program starts it with a request line, watches whether it runs (the SchedulerStatus setting
// and its window), can cancel it, and receives its reports as the registered message
// "VornRoamerComms".

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/api/window.h"

namespace core {

constexpr std::wstring_view kCommsProgramPath = L"\\windows\\vornroamer3_sched.exe";
// The comms program's window: class and title are the same text.
constexpr std::wstring_view kCommsWindowName = L"Vorn Roamer Comms";
constexpr std::wstring_view kCommsMessageName = L"VornRoamerComms";
// The main program's window, which the comms program reports to: class and title alike.
constexpr std::wstring_view kMainWindowName = L"Vorn Roamer";

// wParam of the comms message.
namespace commsReport {
constexpr platform::WParam Ended = 0;
constexpr platform::WParam Started = 1;
constexpr platform::WParam Done = 2;   // lParam 1 for success
constexpr platform::WParam Error = 3;  // the code is in SchedErrorStr
}  // namespace commsReport

// The number of the comms message in every program of the device.
std::uint32_t commsMessage();

// The SchedulerStatus value, 0 when idle. A status left behind by a comms program that no
// longer has its window is stale: it is written back as 0 and answered as idle.
int commsBusy();
bool isCommsRunning();

// Starts the comms program with the request line; false when it could not be started.
bool sendCommsRequest(std::wstring_view request);

// Asks a running comms program to stop; false when none runs.
bool cancelComms();

// The language string that explains an error code (2..8), if any.
std::optional<int> commsErrorString(int code);

// Shows the error the comms program left in SchedErrorStr, in a box titled "Vorn Roamer
// Updates". A text whose box is still open is not shown a second time.
void showCommsError();

}  // namespace core
