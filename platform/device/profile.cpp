#include "platform/api/profile.h"

#include <charconv>

#include "platform/api/device.h"
#include "platform/device/state_store.h"

namespace platform {
namespace {

state::Store& store() {
    auto& s = state::Store::instance();
    s.ensureSchema("profile",
                   "CREATE TABLE IF NOT EXISTS profile ("
                   " key TEXT PRIMARY KEY, value TEXT NOT NULL)");
    return s;
}

std::optional<std::string> readRaw(std::string_view key) {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    auto st = s.prepare("SELECT value FROM profile WHERE key = ?");
    st.bind(1, key);
    if (!st.step())
        return std::nullopt;
    return st.utf8(0);
}

void writeRaw(std::string_view key, std::string_view value) {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    s.transaction([&] {
        auto st = s.prepare(
            "INSERT INTO profile(key, value) VALUES(?, ?) "
            "ON CONFLICT(key) DO UPDATE SET value = excluded.value");
        st.bind(1, key).bind(2, value).run();
    });
}

std::int64_t parseNumber(const std::string& text, std::int64_t fallback) {
    std::int64_t v = 0;
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    return (ec == std::errc() && p == text.data() + text.size()) ? v : fallback;
}

}  // namespace

std::optional<ScreenProfile> screenProfileFromName(std::string_view name, int dpi) {
    static constexpr struct {
        std::string_view name;
        int width, height, dpi;
    } kProfiles[] = {
        {"240x320", 240, 320, 96},  {"480x640", 480, 640, 192}, {"320x240", 320, 240, 96},
        {"640x480", 640, 480, 192}, {"240x240", 240, 240, 96},  {"480x480", 480, 480, 192},
    };
    if (dpi != 0 && (dpi < kMinDpi || dpi > kMaxDpi))
        return std::nullopt;
    for (const auto& p : kProfiles) {
        if (p.name == name) {
            return ScreenProfile{p.width, p.height, dpi > 0 ? dpi : p.dpi, 0};
        }
    }
    return std::nullopt;
}

ScreenProfile screenProfile() {
    ScreenProfile p;
    p.width = static_cast<int>(profileNumber("screen.width", 240));
    p.height = static_cast<int>(profileNumber("screen.height", 320));
    p.dpi = static_cast<int>(profileNumber("screen.dpi", 96));
    p.rotation = static_cast<int>(profileNumber("screen.rotation", 0));
    // A damaged store does not make the screen unboundedly large.
    if (p.width <= 0 || p.width > kMaxScreenSide || p.height <= 0 || p.height > kMaxScreenSide) {
        p.width = 240;
        p.height = 320;
    }
    if (p.dpi < kMinDpi || p.dpi > kMaxDpi)
        p.dpi = 96;
    return p;
}

void setScreenProfile(const ScreenProfile& p) {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    s.transaction([&] {
        setProfileNumber("screen.width", p.width);
        setProfileNumber("screen.height", p.height);
        setProfileNumber("screen.dpi", p.dpi);
        setProfileNumber("screen.rotation", ((p.rotation % 360) + 360) % 360);
        setProfileNumber("screen.generation", screenGeneration() + 1);
    });
}

ScreenProfile rotateScreen(int degrees) {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    ScreenProfile p;
    s.transaction([&] {
        p = screenProfile();
        int steps = ((degrees / 90) % 4 + 4) % 4;
        if (steps % 2 == 1)
            std::swap(p.width, p.height);
        p.rotation = (p.rotation + steps * 90) % 360;
        setScreenProfile(p);
    });
    return p;
}

std::wstring profileText(std::string_view key, std::wstring_view fallback) {
    auto v = readRaw(key);
    return v ? fromUtf8(*v) : std::wstring(fallback);
}

std::int64_t profileNumber(std::string_view key, std::int64_t fallback) {
    auto v = readRaw(key);
    return v ? parseNumber(*v, fallback) : fallback;
}

void setProfileText(std::string_view key, std::wstring_view value) {
    writeRaw(key, toUtf8(value));
}

void setProfileNumber(std::string_view key, std::int64_t value) {
    writeRaw(key, std::to_string(value));
}

std::int64_t screenGeneration() {
    return profileNumber("screen.generation", 0);
}

}  // namespace platform
