// Layouts on a VGA screen: every rectangle of the table at twice its size, native windows
// placed there too.

#include <gtest/gtest.h>

#include "gfx/display_metrics.h"
#include "tests/ui/support/ui_test_support.h"
#include "ui/layout.h"

using namespace ui;

namespace {

TEST(LayoutScale, RectanglesAreScaledByTwoOnVga) {
    test::TestHost host("480x640");
    ASSERT_EQ(gfx::displayMetrics().scaleX, 2.0);
    test::RecordingModule module{host};
    const LayoutRecord records[] = {
        {1, layoutType::Bar, 10, 20, 100, 12, 1, 30, 0, 99},
        {2, layoutType::DateTimePicker, 7, 33, 90, 21, 1, 1, 0, 99},
        {3, layoutType::Label, 0, 0, 240, 18, 0, 0, 0, 99},
    };
    buildLayout(module, records);
    EXPECT_EQ(module.findControl(1)->rect, platform::rectOfSize(20, 40, 200, 24));
    Control* picker = module.findControl(2);
    EXPECT_EQ(picker->rect, platform::rectOfSize(14, 66, 180, 42));
    platform::Rect child = platform::windowRect(picker->nativeWindow());
    platform::Rect main = platform::windowRect(host.mainWindow());
    EXPECT_EQ(child.left - main.left, 14);
    EXPECT_EQ(child.top - main.top, 66);
    EXPECT_EQ(child.width(), 180);
    EXPECT_EQ(module.findControl(3)->rect.width(), 480);
}

}  // namespace
