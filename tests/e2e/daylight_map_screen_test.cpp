// The daylight map as a person sees it, through `vorndev ctl screenshot` on a 240x320 device:
// the night side lies where the sun is not at the device's time, and while the screen stands
// still only the ring around the current city moves.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "tests/e2e/support/main_program_session.h"

using namespace e2e;

namespace {

// The map fills the width below the 26-pixel task bar: 240 x 120 pixels.
constexpr int kTaskBar = 26;
constexpr int kMapWidth = 240;
constexpr int kMapHeight = 120;
// London, the current favourite, at (119, 25) on the map; its ring's patch is 45 pixels square.
constexpr int kRingLeft = 119 - 23, kRingRight = 119 + 23;
constexpr int kRingTop = kTaskBar + 25 - 23, kRingBottom = kTaskBar + 25 + 23;

struct Shot {
    int width = 0;
    int height = 0;
    std::string rgb;  // 3 bytes a pixel, rows from the top

    int brightness(int x, int y) const {
        auto at = static_cast<std::size_t>(y * width + x) * 3;
        return static_cast<unsigned char>(rgb[at]) + static_cast<unsigned char>(rgb[at + 1]) +
               static_cast<unsigned char>(rgb[at + 2]);
    }
    // The mean brightness of a rectangle.
    int meanBrightness(int left, int top, int right, int bottom) const {
        long sum = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) sum += brightness(x, y);
        }
        return static_cast<int>(sum / std::max(1, (right - left) * (bottom - top)));
    }
};

class DaylightMapScreen : public MainProgramSession {
  protected:
    void SetUp() override {
        skipWizard();
        ask({"clock", "--at", "2026-06-21T12:00:00Z"});
        startProgram(10);
        ask({"post", "--class", "Vorn Roamer", "VornRoamerChngModule", "21"});
        ASSERT_TRUE(waitForModule(21)) << device_.deviceLog();
    }
    Shot screenshot() {
        std::string file = (device_.root() / "shot.png").string();
        ask({"screenshot", file});
        Shot shot;
        CommandResult size = runCommand("/usr/bin/identify", {"-format", "%w %h", file});
        if (std::sscanf(size.out.c_str(), "%d %d", &shot.width, &shot.height) != 2)
            return {};
        CommandResult pixels = runCommand("/usr/bin/convert", {file, "-depth", "8", "rgb:-"});
        if (pixels.exitCode == 0 &&
            pixels.out.size() == static_cast<std::size_t>(shot.width * shot.height * 3)) {
            shot.rgb = pixels.out;
        }
        return shot;
    }
};

TEST_F(DaylightMapScreen, TheNightSideIsWhereTheSunIsNot) {
    // Along the equator (a little south of it, clear of markers): the middle of the map
    // (Greenwich) and its two ends (the date line).
    int y = kTaskBar + kMapHeight / 2 + 4;
    auto middle = [&](const Shot& s) { return s.meanBrightness(110, y, 130, y + 4); };
    auto ends = [&](const Shot& s) {
        return (s.meanBrightness(0, y, 10, y + 4) +
                s.meanBrightness(kMapWidth - 10, y, kMapWidth, y + 4)) /
               2;
    };
    Shot noon = screenshot();
    ASSERT_FALSE(noon.rgb.empty());
    ASSERT_EQ(noon.width, kMapWidth);

    // At midnight UTC the sun stands over the date line. The screen notices the new minute.
    ask({"clock", "--at", "2026-06-21T00:00:00Z"});
    Shot midnight;
    ASSERT_TRUE(waitUntil([&] {
        midnight = screenshot();
        return !midnight.rgb.empty() && middle(midnight) < middle(noon);
    })) << "the middle of the map never darkened";
    EXPECT_GT(middle(noon), middle(midnight) * 5 / 4) << "night is clearly darker";
    EXPECT_GT(ends(midnight), ends(noon) * 5 / 4);
}

TEST_F(DaylightMapScreen, OnlyTheRingAroundTheCurrentCityMoves) {
    // Two pictures a moment apart differ, and only inside the ring's patch. A pair that also
    // differs elsewhere can only come from the minute changing between them (the clock in the
    // task bar and the panel's time); that is allowed once or twice.
    int pairsWithOtherChanges = 0;
    bool ringMoved = false;
    for (int attempt = 0; attempt < 20 && !ringMoved; ++attempt) {
        Shot first = screenshot();
        // More than one step of the pulse apart, however busy the machine.
        std::this_thread::sleep_for(std::chrono::milliseconds(120));
        Shot second = screenshot();
        ASSERT_FALSE(first.rgb.empty());
        ASSERT_FALSE(second.rgb.empty());
        bool inside = false, outside = false;
        for (int y = 0; y < first.height; ++y) {
            for (int x = 0; x < first.width; ++x) {
                if (first.brightness(x, y) == second.brightness(x, y))
                    continue;
                bool inRing = x >= kRingLeft && x < kRingRight && y >= kRingTop && y < kRingBottom;
                (inRing ? inside : outside) = true;
            }
        }
        if (outside) {
            ++pairsWithOtherChanges;
            continue;
        }
        ringMoved = inside;
    }
    EXPECT_TRUE(ringMoved);
    EXPECT_LE(pairsWithOtherChanges, 2);
}

}  // namespace
