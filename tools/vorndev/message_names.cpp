#include "tools/vorndev/message_names.h"

#include <cctype>
#include <string>

#include "platform/api/device.h"
#include "platform/api/window.h"
#include "tools/vorndev/command_line.h"

namespace vorndev {
namespace {

namespace wm = platform::wm;

constexpr struct {
    std::string_view name;
    std::uint32_t number;
} kNames[] = {
    {"WM_NULL", wm::Null},
    {"WM_CREATE", wm::Create},
    {"WM_DESTROY", wm::Destroy},
    {"WM_MOVE", wm::Move},
    {"WM_SIZE", wm::Size},
    {"WM_ACTIVATE", wm::Activate},
    {"WM_SETFOCUS", wm::SetFocus},
    {"WM_KILLFOCUS", wm::KillFocus},
    {"WM_SETTEXT", wm::SetText},
    {"WM_PAINT", wm::Paint},
    {"WM_CLOSE", wm::Close},
    {"WM_QUIT", wm::Quit},
    {"WM_SETTINGCHANGE", wm::SettingChange},
    {"WM_WININICHANGE", wm::SettingChange},
    {"WM_KEYDOWN", wm::KeyDown},
    {"WM_KEYUP", wm::KeyUp},
    {"WM_CHAR", wm::Char},
    {"WM_COMMAND", wm::Command},
    {"WM_TIMER", wm::Timer},
    {"WM_HOTKEY", wm::HotKey},
    {"WM_USER", wm::User},
};

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::uint32_t namedMessage(std::string_view text) {
    std::string name = upper(text);
    std::int64_t offset = 0;
    if (auto plus = name.find('+'); plus != std::string::npos) {
        offset = parseNumber(name.substr(plus + 1), "the offset after +", 0, 0xFFFF);
        name.resize(plus);
    }
    for (const auto& n : kNames) {
        if (n.name == name)
            return n.number + static_cast<std::uint32_t>(offset);
    }
    throw UsageError("unknown message " + std::string(text));
}

}  // namespace

std::uint32_t messageNumber(std::string_view text) {
    if (text.empty())
        throw UsageError("MESSAGE must not be empty");
    if (std::isdigit(static_cast<unsigned char>(text[0]))) {
        return static_cast<std::uint32_t>(parseNumber(text, "MESSAGE", 0, 0xFFFFFFFFLL));
    }
    if (upper(text.substr(0, 3)) == "WM_")
        return namedMessage(text);
    return platform::registerWindowMessage(platform::fromUtf8(text));
}

}  // namespace vorndev
