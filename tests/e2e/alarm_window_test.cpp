// The alarm window as a person sees it on each screen shape, through `vorndev ctl
// screenshot`: the bell, the panel and the buttons where the layout puts them, the menu bar's
// two soft keys; and the sound preview, which rings without a visible window and answers the
// "VornEmbedded" message. VORN_ALARM_SHOTS=FOLDER keeps the screenshots for looking at.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <thread>

#include "alarms/settings_keys.h"
#include "core/settings_key.h"
#include "platform/api/notifications.h"
#include "platform/api/sound.h"
#include "platform/api/window.h"
#include "tests/e2e/support/e2e_device.h"

using namespace e2e;

namespace {

constexpr wchar_t kChime[] = L"\\Program Files\\Vorn Roamer\\sounds\\Chime.wav";

struct Shot {
    int width = 0;
    int height = 0;
    std::string rgb;
    // Red, green and blue of a pixel.
    int channel(int x, int y, int c) const {
        return static_cast<unsigned char>(rgb[static_cast<std::size_t>((y * width + x) * 3 + c)]);
    }
    bool isWhite(int x, int y) const {
        return channel(x, y, 0) == 255 && channel(x, y, 1) == 255 && channel(x, y, 2) == 255;
    }
    // Pixels of the bell's orange (red high, blue low) in a rectangle.
    int orangePixels(int left, int top, int right, int bottom) const {
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                count += channel(x, y, 0) > 200 && channel(x, y, 2) < 120 ? 1 : 0;
        return count;
    }
};

Shot screenshot(TestDevice& device, const std::string& name) {
    const std::string file = (device.root() / (name + ".png")).string();
    auto taken = device.ctl({"screenshot", file, "--window", "VORNALARMS"});
    EXPECT_EQ(taken.exitCode, 0) << taken.err;
    if (const char* keep = std::getenv("VORN_ALARM_SHOTS")) {
        std::filesystem::create_directories(keep);
        device.ctl({"screenshot", (std::filesystem::path(keep) / (name + ".png")).string()});
    }
    Shot shot;
    CommandResult size = runCommand("/usr/bin/identify", {"-format", "%w %h", file});
    if (std::sscanf(size.out.c_str(), "%d %d", &shot.width, &shot.height) != 2)
        return {};
    CommandResult pixels = runCommand("/usr/bin/convert", {file, "-depth", "8", "rgb:-"});
    if (pixels.exitCode == 0 &&
        pixels.out.size() == static_cast<std::size_t>(shot.width * shot.height * 3))
        shot.rgb = pixels.out;
    return shot;
}

struct Screen {
    const char* size;
    int width, height;  // of the window: the screen less the task bar and the menu bar
    int bellX, bellY, bellSide;
    int dismissX, snoozeX, buttonsY;  // middles of the buttons
};

void PrintTo(const Screen& s, std::ostream* out) {
    *out << s.size;
}

class AlarmWindowLook : public ::testing::TestWithParam<Screen> {};

TEST_P(AlarmWindowLook, ShowsTheBellPanelAndButtons) {
    const Screen& s = GetParam();
    TestDevice device(s.size);
    auto run = device.ctl({"run", "--headless", "\\windows\\vornalarms.exe", "/QUICK"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto wait = device.ctl({"wait-window", "VORNALARMS", "--timeout", "30000"});
    ASSERT_EQ(wait.exitCode, 0) << device.deviceLog();
    const Shot shot = screenshot(device, std::string("alarm-") + s.size);
    ASSERT_EQ(shot.width, s.width);
    ASSERT_EQ(shot.height, s.height);
    ASSERT_FALSE(shot.rgb.empty());
    // The bell fills a good part of its square; little of its orange lies elsewhere.
    const int bell =
        shot.orangePixels(s.bellX, s.bellY, s.bellX + s.bellSide, s.bellY + s.bellSide);
    EXPECT_GT(bell, s.bellSide * s.bellSide / 8);
    EXPECT_LT(shot.orangePixels(0, 0, s.width, s.height) - bell, bell / 10);
    // Outside the panel the window is white; the buttons are not.
    EXPECT_TRUE(shot.isWhite(1, 1));
    EXPECT_FALSE(shot.isWhite(s.dismissX, s.buttonsY));
    EXPECT_FALSE(shot.isWhite(s.snoozeX, s.buttonsY));

    // The bell swings: within a second a later picture of its square differs.
    const auto bellOf = [&](const Shot& shot) {
        std::string pixels;
        for (int y = s.bellY; y < s.bellY + s.bellSide; ++y)
            pixels += shot.rgb.substr(static_cast<std::size_t>((y * shot.width + s.bellX) * 3),
                                      static_cast<std::size_t>(s.bellSide * 3));
        return pixels;
    };
    const std::string first = bellOf(shot);
    EXPECT_TRUE(waitUntil(
        [&] {
            const Shot later = screenshot(device, std::string("alarm-later-") + s.size);
            return later.rgb.size() == shot.rgb.size() && bellOf(later) != first;
        },
        std::chrono::seconds(3)));

    // The left soft key dismisses.
    auto dismiss = device.ctl({"key", "softleft", "--window", "VORNALARMS"});
    ASSERT_EQ(dismiss.exitCode, 0) << dismiss.err;
    EXPECT_TRUE(waitUntil([] { return platform::findWindow(L"VORNALARMS", L"") == 0; }));
}

// Window sizes: 26-pixel bars at scale 1, 52 at scale 2.
INSTANTIATE_TEST_SUITE_P(Screens, AlarmWindowLook,
                         ::testing::Values(Screen{"240x320", 240, 268, 76, 66, 83, 64, 172, 219},
                                           Screen{"480x640", 480, 536, 152, 132, 166, 128, 344,
                                                  438},
                                           Screen{"320x240", 320, 188, 56, 9, 83, 99, 212, 162},
                                           Screen{"240x240", 240, 188, 26, 9, 83, 69, 172, 162}),
                         [](const auto& info) {
                             std::string name = info.param.size;
                             name[name.find('x')] = '_';
                             return "screen_" + name;
                         });

std::size_t playsOf(std::wstring_view file) {
    std::size_t n = 0;
    for (const auto& p : platform::playLog()) n += p.file == file ? 1 : 0;
    return n;
}

TEST(AlarmPreview, RingsWithoutAWindowAndAnswersTheEmbeddedMessage) {
    TestDevice device;
    core::settings::write(alarms::keys::AlarmSound, kChime);
    core::settings::write(alarms::keys::AlarmVol, 5);
    platform::clearPlayLog();
    auto run = device.ctl({"run", "--headless", "\\windows\\vornalarms.exe", "/PLAYSOUND"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_TRUE(waitUntil([] { return playsOf(kChime) >= 1; })) << device.deviceLog();
    EXPECT_EQ(platform::playLog().front().volume, platform::bothChannels(45056));
    platform::WindowHandle w = platform::findWindow(L"VORNALARMS", L"");
    ASSERT_NE(w, 0u);
    EXPECT_FALSE(platform::isWindowVisible(w));

    // wParam 0 stops the sound; the program stays.
    auto stop = device.ctl({"post", "--class", "VORNALARMS", "VornEmbedded", "0"});
    ASSERT_EQ(stop.exitCode, 0) << stop.err;
    ASSERT_TRUE(
        waitUntil([] { return platform::playLog().back().stopped; }, std::chrono::seconds(5)));
    const auto plays = playsOf(kChime);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(playsOf(kChime), plays);

    // wParam 1 plays the preview sound again.
    auto again = device.ctl({"post", "--class", "VORNALARMS", "VornEmbedded", "1"});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    ASSERT_TRUE(waitUntil([&] { return playsOf(kChime) > plays; }, std::chrono::seconds(5)));
    platform::postMessage(w, platform::wm::Close);
    EXPECT_TRUE(waitUntil([] { return platform::findWindow(L"VORNALARMS", L"") == 0; }));
}

}  // namespace
