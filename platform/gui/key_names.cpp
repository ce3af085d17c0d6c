#include "platform/gui/key_names.h"

#include <cctype>
#include <charconv>
#include <string>

#include "platform/api/window.h"

namespace platform::gui {

std::optional<std::uint32_t> virtualKeyFromName(std::string_view name) {
    std::string n(name);
    for (auto& c : n) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    static constexpr struct {
        std::string_view name;
        std::uint32_t key;
    } kNames[] = {
        {"softleft", vk::F1},    {"soft1", vk::F1},      {"f1", vk::F1},
        {"softright", vk::F2},   {"soft2", vk::F2},      {"f2", vk::F2},
        {"back", vk::Escape},    {"escape", vk::Escape}, {"esc", vk::Escape},
        {"up", vk::Up},          {"down", vk::Down},     {"left", vk::Left},
        {"right", vk::Right},    {"enter", vk::Return},  {"return", vk::Return},
        {"action", vk::Return},  {"tab", vk::Tab},       {"space", vk::Space},
        {"backspace", vk::Back}, {"delete", vk::Delete}, {"home", vk::Home},
        {"end", vk::End},        {"pageup", vk::PageUp}, {"pagedown", vk::PageDown},
        {"shift", vk::Shift},    {"ctrl", vk::Control},  {"control", vk::Control},
    };
    for (const auto& k : kNames) {
        if (k.name == n)
            return k.key;
    }
    if (n.size() == 1 && std::isalpha(static_cast<unsigned char>(n[0]))) {
        return static_cast<std::uint32_t>(std::toupper(static_cast<unsigned char>(n[0])));
    }
    if (n.size() == 1 && std::isdigit(static_cast<unsigned char>(n[0]))) {
        return static_cast<std::uint32_t>(n[0]);
    }
    std::uint32_t code = 0;
    auto [p, ec] = std::from_chars(n.data(), n.data() + n.size(), code);
    if (ec == std::errc() && p == n.data() + n.size() && code > 0 && code < 256)
        return code;
    return std::nullopt;
}

std::optional<wchar_t> characterOfKey(std::string_view name) {
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
        return static_cast<wchar_t>(name[0]);
    }
    if (name == "space")
        return L' ';
    return std::nullopt;
}

}  // namespace platform::gui
