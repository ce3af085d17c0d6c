#pragma once
// The text of control requests that `vorndev ctl` and tests send a program ("tap 10 20",
// "key softleft up", "type Zürich", "screenshot FILE [WINDOW]", ...), read into typed fields
// before the program acts on it. The text comes from another process: every number is
// checked against its range and a request that does not fit its verb is refused with the
// verb's usage.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace platform::gui {

struct ParsedControlRequest {
    std::string verb;
    int x = 0;
    int y = 0;
    int holdMs = 1000;         // hold
    std::string name;          // key: the key's name; app: the application's verb
    std::string phase;         // key: "", "down" or "up"
    std::string text;          // type: the text; app: the rest of the line; screenshot: file
    std::uint32_t window = 0;  // screenshot
};

// Refused requests give the reason, which is answered as it stands.
struct ControlRequestError {
    std::string reason;
};

// The longest hold a request may ask for.
constexpr int kMaxHoldMs = 60000;

std::variant<ParsedControlRequest, ControlRequestError> parseControlRequest(std::string_view text);

}  // namespace platform::gui
