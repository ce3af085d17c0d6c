#include "platform/gui/control_request_text.h"

#include <charconv>
#include <limits>
#include <vector>

namespace platform::gui {
namespace {

std::vector<std::string_view> splitWords(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find(' ', at);
        if (end == std::string_view::npos)
            end = text.size();
        if (end > at)
            out.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return out;
}

// The first word of text, and in rest what follows it less the one space after it.
std::string_view firstWord(std::string_view text, std::string_view& rest) {
    std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        rest = {};
        return {};
    }
    std::size_t end = text.find(' ', start);
    if (end == std::string_view::npos) {
        rest = {};
        return text.substr(start);
    }
    rest = text.substr(end + 1);
    return text.substr(start, end - start);
}

template <class T>
bool number(std::string_view text, T low, T high, T& out) {
    T value{};
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return false;
    out = value;
    return true;
}

// Screen coordinates well beyond any screen still name a point off it; larger ones are not
// coordinates.
constexpr int kCoordinateLimit = 32767;

bool point(const std::vector<std::string_view>& w, ParsedControlRequest& r) {
    return w.size() >= 3 && number(w[1], -kCoordinateLimit, kCoordinateLimit, r.x) &&
           number(w[2], -kCoordinateLimit, kCoordinateLimit, r.y);
}

}  // namespace

std::variant<ParsedControlRequest, ControlRequestError> parseControlRequest(std::string_view text) {
    ParsedControlRequest r;
    std::string_view rest;
    r.verb = std::string(firstWord(text, rest));
    auto usage = [&](std::string_view shape) {
        return ControlRequestError{"usage: " + std::string(shape)};
    };
    if (r.verb == "ping" || r.verb == "windows" || r.verb == "screen-changed")
        return r;
    if (r.verb == "type") {
        r.text = std::string(rest);
        return r;
    }
    if (r.verb == "app") {
        std::string_view appRest;
        r.name = std::string(firstWord(rest, appRest));
        r.text = std::string(appRest);
        return r;
    }
    std::vector<std::string_view> w = splitWords(text);
    if (r.verb == "tap" || r.verb == "down" || r.verb == "move" || r.verb == "up") {
        if (w.size() > 3 || !point(w, r))
            return usage(r.verb + " X Y");
        return r;
    }
    if (r.verb == "hold") {
        if (w.size() > 4 || !point(w, r) ||
            (w.size() == 4 && !number(w[3], 0, kMaxHoldMs, r.holdMs))) {
            return usage("hold X Y [MS]");
        }
        return r;
    }
    if (r.verb == "key") {
        if (w.size() < 2 || w.size() > 3)
            return usage("key NAME [down|up]");
        r.name = std::string(w[1]);
        if (w.size() == 3)
            r.phase = std::string(w[2]);
        if (!r.phase.empty() && r.phase != "down" && r.phase != "up") {
            return usage("key NAME [down|up]");
        }
        return r;
    }
    if (r.verb == "screenshot") {
        if (w.size() < 2 || w.size() > 3 ||
            (w.size() == 3 && !number(w[2], std::uint32_t{0},
                                      std::numeric_limits<std::uint32_t>::max(), r.window))) {
            return usage("screenshot FILE [WINDOW]");
        }
        r.text = std::string(w[1]);
        return r;
    }
    return ControlRequestError{"unknown request: " + r.verb};
}

}  // namespace platform::gui
