// The daylight map: the terminator table, the projection, the night picture, the composed
// picture's halves and twilight band, the markers and the pulse frames.

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/api/draw.h"
#include "tests/worldtime/support/world_test_support.h"
#include "worldtime/daylight_map.h"
#include "worldtime/terminator.h"

using namespace worldtime;
using worldtime::test::at;
using worldtime::test::kMainPath;

namespace {

constexpr int kDay = 200;
constexpr int kNight = 200 * 20479 / 32767;  // 124

std::shared_ptr<platform::Bitmap> plainDay(int width, int height) {
    auto day = std::make_shared<platform::Bitmap>(width, height);
    day->fill(platform::rgb(kDay, kDay, kDay));
    return day;
}

int grey(const platform::Bitmap& b, int x, int y) {
    return platform::redOf(b.pixel(x, y));
}

// Pixels of a row that are brighter than halfway between night and day.
int litPixels(const platform::Bitmap& b, int y) {
    int count = 0;
    for (int x = 0; x < b.width(); ++x) count += grey(b, x, y) >= (kDay + kNight) / 2;
    return count;
}

}  // namespace

TEST(Terminator, EquinoxRunsFromPoleToPole) {
    auto table = terminatorTable(0.0, 480, 240);
    ASSERT_EQ(table.size(), 240u);
    // Every row is half lit, the polar rows included: nothing was filled.
    for (int row = 0; row < 240; ++row) EXPECT_NEAR(table[row], 120, 1) << row;
}

TEST(Terminator, SolsticesLightOnePoleAndDarkenTheOther) {
    auto june = terminatorTable(23.44, 480, 240);
    EXPECT_EQ(june[0], 240);
    EXPECT_EQ(june[10], 240);  // 82.5 degrees north: inside the polar circle
    EXPECT_EQ(june[239], -1);
    EXPECT_EQ(june[229], -1);
    EXPECT_GT(june[60], 120);   // 45 north: days longer than nights
    EXPECT_LT(june[180], 120);  // 45 south: shorter
    auto december = terminatorTable(-23.44, 480, 240);
    EXPECT_EQ(december[239], 240);
    EXPECT_EQ(december[0], -1);
    // Mirror images, but for a few pixels of rounding where the boundary runs steeply.
    for (int row = 40; row < 200; ++row) EXPECT_NEAR(december[row], june[239 - row], 3) << row;
    EXPECT_TRUE(terminatorTable(10, 0, 10).empty());
}

TEST(Terminator, Projection) {
    EXPECT_EQ(projectCity(0, 0, 480, 240), (platform::Point{240, 120}));
    EXPECT_EQ(projectCity(51.5085, -0.1257, 960, 480), (platform::Point{479, 102}));
    EXPECT_EQ(projectCity(90, -180, 480, 240), (platform::Point{0, 0}));
    EXPECT_EQ(projectCity(-90, 180, 480, 240), (platform::Point{479, 239}));
    EXPECT_EQ(projectCity(1e308, -1e308, 480, 240), (platform::Point{0, 0}));
}

TEST(DaylightPicture, NightImageAndScaling) {
    platform::Bitmap day(3, 1);
    day.setPixel(0, 0, platform::rgb(255, 100, 0));
    day.setPixel(1, 0, platform::rgb(1, 2, 3));
    auto night = deriveNightImage(day);
    EXPECT_EQ(night->pixel(0, 0), platform::rgb(159, 62, 0));
    EXPECT_EQ(night->pixel(1, 0), platform::rgb(0, 1, 1));
    platform::Bitmap big(4, 2);
    big.setPixel(0, 0, platform::rgb(100, 0, 0));
    big.setPixel(1, 0, platform::rgb(200, 0, 0));
    big.setPixel(0, 1, platform::rgb(0, 0, 0));
    big.setPixel(1, 1, platform::rgb(100, 0, 40));
    auto small = scaledBitmap(big, 2, 1);
    EXPECT_EQ(small->pixel(0, 0), platform::rgb(100, 0, 10));
    EXPECT_EQ(small->pixel(1, 0), platform::rgb(0, 0, 0));
}

TEST(DaylightPicture, NightSideLiesOppositeTheSun) {
    DaylightMap map;
    map.setDayImage(plainDay(480, 240));
    ASSERT_TRUE(map.update(at("2025-03-20T12:00")));
    const platform::Bitmap& picture = *map.picture();
    // Noon in Greenwich: the sun stands near longitude 0 (column 240).
    EXPECT_NEAR(map.column(), 240, 3);
    EXPECT_EQ(grey(picture, 240, 120), kDay);
    EXPECT_EQ(grey(picture, 0, 120), kNight);
    EXPECT_EQ(grey(picture, 479, 120), kNight);
    // Six hours later the sun has moved a quarter of the way round, to the west.
    ASSERT_TRUE(map.update(at("2025-03-20T18:00")));
    EXPECT_NEAR(map.column(), 120, 3);
    EXPECT_EQ(grey(picture, 120, 120), kDay);
    EXPECT_EQ(grey(picture, 360, 120), kNight);
    // In June the north pole is lit whatever the hour, the south pole dark.
    ASSERT_TRUE(map.update(at("2025-06-21T00:00")));
    for (int x = 0; x < 480; x += 7) {
        EXPECT_EQ(grey(picture, x, 0), kDay) << x;
        EXPECT_EQ(grey(picture, x, 239), kNight) << x;
    }
}

TEST(DaylightPicture, PictureAgreesWithTheTerminatorTable) {
    DaylightMap map;
    map.setDayImage(plainDay(480, 240));
    for (const char* when : {"2025-03-20T12:00", "2025-06-21T03:00", "2025-11-05T20:00"}) {
        map.update(at(when));
        // Up to 60 degrees; towards the polar circles the traced boundary's hundred steps
        // are too coarse for a pixel's agreement.
        for (int y = 40; y < 200; ++y) {
            int half = map.terminator()[y];
            int expected = half < 0 ? 0 : 2 * half;
            EXPECT_NEAR(litPixels(*map.picture(), y), expected, 4) << when << " row " << y;
        }
    }
}

TEST(DaylightPicture, TwilightIsSmoothInSixteenSteps) {
    DaylightMap map;
    map.setDayImage(plainDay(960, 480));
    map.update(at("2025-09-22T12:00"));
    const platform::Bitmap& picture = *map.picture();
    int column = map.column();
    for (int y : {100, 240, 380}) {
        int previous = grey(picture, column, y);
        int levels = 0;
        for (int step = 1; step < 480; ++step) {
            int value = grey(picture, (column + step) % 960, y);
            EXPECT_LE(value, previous) << "row " << y << " step " << step;
            EXPECT_LE(previous - value, (kDay - kNight) / kTwilightLevels + 1);
            levels += value != previous;
            previous = value;
        }
        EXPECT_EQ(previous, kNight);
        EXPECT_GE(levels, 10);
    }
}

TEST(DaylightPicture, RepaintsOnlyWhenTheSunMovedAColumn) {
    DaylightMap map;
    EXPECT_FALSE(map.update(at("2025-03-20T12:00")));  // no picture loaded
    map.setDayImage(plainDay(480, 240));
    EXPECT_TRUE(map.update(at("2025-03-20T12:00")));
    EXPECT_FALSE(map.update(at("2025-03-20T12:00:20")));
    EXPECT_TRUE(map.update(at("2025-03-20T12:10")));
}

TEST(DaylightPicture, LoadsTheInstalledMapAndMarksCities) {
    worldtime::test::installData(
        {"graphics2/daymap.jpg", "graphics2/citylocation.tga", "graphics2/map_citypos.tga"});
    DaylightMap map;
    ASSERT_TRUE(map.load(kMainPath, 480, 240, 1.0));
    EXPECT_EQ(map.width(), 480);
    EXPECT_EQ(map.height(), 240);
    map.update(at("2025-06-21T12:00"));
    std::vector<platform::Colour> before;
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 480; ++x) before.push_back(map.picture()->pixel(x, y));
    }
    MapCity london{51.5085, -0.1257};
    map.drawMarkers(std::span(&london, 1));
    platform::Point at = map.project(london);
    int changed = 0;
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 480; ++x) {
            if (before[y * 480 + x] == map.picture()->pixel(x, y))
                continue;
            ++changed;
            EXPECT_LE(std::abs(x - at.x), 3);
            EXPECT_LE(std::abs(y - at.y), 3);
        }
    }
    EXPECT_GT(changed, 4);
    DaylightMap missing;
    EXPECT_FALSE(missing.load(L"\\nowhere\\", 480, 240, 1.0));
}

TEST(DaylightPicture, PulseFramesDifferOnlyAroundTheRing) {
    worldtime::test::installData({"graphics2/citylocation.tga", "graphics2/map_citypos.tga"});
    DaylightMap map;
    map.setDayImage(plainDay(480, 240));
    ASSERT_TRUE(map.loadMarkers(kMainPath, 2.0));
    map.update(at("2025-06-21T12:00"));
    platform::Point city = map.project({0, 0});
    PulsePatch small = map.pulseFrame(city, 2);
    PulsePatch large = map.pulseFrame(city, 10);
    PulsePatch faded = map.pulseFrame(city, kPulseFrames);
    ASSERT_EQ(small.rect, platform::rectOfSize(240 - 45, 120 - 45, 90, 90));
    ASSERT_EQ(large.rect, small.rect);
    int differing = 0;
    for (int y = 0; y < 90; ++y) {
        for (int x = 0; x < 90; ++x) {
            platform::Colour map_ = map.picture()->pixel(small.rect.left + x, small.rect.top + y);
            EXPECT_EQ(faded.pixels->pixel(x, y), map_);  // the last frame is transparent
            differing += small.pixels->pixel(x, y) != large.pixels->pixel(x, y);
        }
    }
    EXPECT_GT(differing, 20);
    // Cut at the map's corner.
    PulsePatch corner = map.pulseFrame({2, 3}, 5);
    EXPECT_EQ(corner.rect, (platform::Rect{0, 0, 47, 48}));
    EXPECT_EQ(map.pulseRect({2, 3}), corner.rect);
    EXPECT_EQ(map.pulseRect(city), small.rect);
    EXPECT_EQ(DaylightMap::nextPulseFrame(1), 2);
    EXPECT_EQ(DaylightMap::nextPulseFrame(kPulseFrames), 1);
    EXPECT_EQ(DaylightMap::nextPulseFrame(0), 1);
}
