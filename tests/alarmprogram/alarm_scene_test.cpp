// The alarm window's pictures, drawn into memory: each part of the scene changes only its own
// rectangle, and the scene survives missing pictures.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "alarmprogram/alarm_scene.h"
#include "gfx/display_metrics.h"
#include "platform/api/draw.h"
#include "tests/platform/support/test_device.h"

using namespace alarmprogram;
using platform::Bitmap;
using platform::Rect;

namespace {

// The install folder of the test device: the source tree's data, linked in.
std::wstring installFolder() {
    const auto& root = platform::test::useTestDevice("240x320");
    const auto programFiles = root / "Program Files";
    std::filesystem::create_directories(programFiles);
    const auto link = programFiles / "Vorn Roamer";
    if (!std::filesystem::exists(link))
        std::filesystem::create_directory_symlink(std::filesystem::path(VORN_SOURCE_DIR) / "data",
                                                  link);
    gfx::computeDisplayMetrics();
    return L"\\Program Files\\Vorn Roamer\\";
}

// The bounding box of the pixels in which two pictures differ (empty when none).
Rect difference(const Bitmap& a, const Bitmap& b) {
    Rect box;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y))
                box = box.unite({x, y, x + 1, y + 1});
        }
    }
    return box;
}

// A copy of a picture, to compare with what is drawn next.
std::unique_ptr<Bitmap> copyOf(const Bitmap& b) {
    auto copy = std::make_unique<Bitmap>(b.width(), b.height());
    std::copy(b.bits(), b.bits() + b.byteSize(), copy->bits());
    return copy;
}

bool inside(const Rect& inner, const Rect& outer) {
    return !inner.isEmpty() && inner.intersect(outer) == inner;
}

class AlarmSceneTest : public ::testing::Test {
  protected:
    AlarmSceneTest()
        : layout_(alarmLayout(LayoutShape::Portrait, 1.0)),
          scene_(installFolder(), {240, 268}, layout_) {}

    SceneTexts texts(int hour, int minute) { return {L"Dismiss", L"Snooze", L"", hour, minute}; }

    AlarmLayout layout_;
    AlarmScene scene_;
};

TEST_F(AlarmSceneTest, TheBackgroundIsAPanelOnWhite) {
    scene_.drawBackground(texts(7, 0));
    const Bitmap& bg = scene_.background();
    EXPECT_EQ(bg.pixel(2, 2), 0xFFFFFFu);
    EXPECT_EQ(bg.pixel(235, 260), 0xFFFFFFu);
    // The panel is tinted with the highlight colour: neither white nor black inside.
    const platform::Colour inPanel = bg.pixel(layout_.panel.left + 30, layout_.panel.top + 60);
    EXPECT_NE(inPanel, 0xFFFFFFu);
    EXPECT_NE(inPanel, 0u);
}

TEST_F(AlarmSceneTest, TheDigitsShowTheRingingTimeInTheirRectangle) {
    scene_.drawBackground(texts(7, 0));
    const auto seven = copyOf(scene_.background());
    scene_.drawBackground(texts(18, 59));
    const Rect changed = difference(*seven, scene_.background());
    EXPECT_TRUE(inside(changed, layout_.digits.intersect(layout_.panel)))
        << changed.left << "," << changed.top << " " << changed.right << "," << changed.bottom;
    // All four digits changed, so the change spans most of the four glyphs.
    EXPECT_GT(changed.width(), layout_.digits.height() * 2);
}

TEST_F(AlarmSceneTest, TheButtonsCarryTheirLabels) {
    scene_.drawBackground({L"", L"", L"", 7, 0});
    const auto bare = copyOf(scene_.background());
    scene_.drawBackground(texts(7, 0));
    const Rect changed = difference(*bare, scene_.background());
    EXPECT_TRUE(inside(changed, layout_.dismiss.unite(layout_.snooze)));
    EXPECT_TRUE(difference(*bare, scene_.background()).intersects(layout_.dismiss));
    EXPECT_TRUE(difference(*bare, scene_.background()).intersects(layout_.snooze));
}

TEST_F(AlarmSceneTest, EachBellFrameChangesOnlyTheBell) {
    scene_.drawBackground(texts(7, 0));
    const auto first = copyOf(scene_.composeFrame(1, L""));
    // The bell swings: frames 2 and 4 lean to either side, frame 3 hangs straight as 1 does.
    const Rect second = difference(*first, scene_.composeFrame(2, L""));
    const Rect fourth = difference(*first, scene_.composeFrame(4, L""));
    EXPECT_TRUE(inside(second, layout_.bell));
    EXPECT_TRUE(inside(fourth, layout_.bell));
    EXPECT_TRUE(difference(*first, scene_.composeFrame(3, L"")).isEmpty());
    const auto leaning = copyOf(scene_.composeFrame(2, L""));
    EXPECT_FALSE(difference(*leaning, scene_.composeFrame(4, L"")).isEmpty());
    // Out-of-range frames draw a real frame rather than nothing.
    EXPECT_TRUE(difference(*first, scene_.composeFrame(0, L"")).isEmpty());
}

TEST_F(AlarmSceneTest, TheMessageIsWrittenInItsArea) {
    scene_.drawBackground(texts(7, 0));
    const auto none = copyOf(scene_.composeFrame(1, L""));
    const Rect changed = difference(
        *none, scene_.composeFrame(1,
                                   L"A rather long message that needs more than one line to "
                                   L"be read, and more lines still, and then some more"));
    EXPECT_TRUE(inside(changed, messageArea(layout_)));
    EXPECT_GT(changed.height(), 20);  // wrapped onto several lines
}

TEST(AlarmSceneMissingPictures, DrawsWhatItHas) {
    platform::test::useTestDevice("240x320");
    gfx::computeDisplayMetrics();
    const AlarmLayout layout = alarmLayout(LayoutShape::Square, 1.0);
    AlarmScene scene(L"\\nowhere\\", {240, 188}, layout);
    scene.drawBackground({L"Dismiss", L"Snooze", L"", 7, 0});
    const Bitmap& frame = scene.composeFrame(3, L"Still shown");
    EXPECT_EQ(frame.pixel(1, 1), 0xFFFFFFu);
    EXPECT_NE(frame.pixel(layout.panel.left + 5, layout.panel.top + 5), 0xFFFFFFu);
}

}  // namespace
