// Building screens from layout tables, and the focus: Up, Down and Tab move it over the
// focusable, visible, enabled controls of the current page; a tap moves it to the control
// under the stylus.

#include <gtest/gtest.h>

#include "tests/ui/support/ui_test_support.h"
#include "ui/edit_field.h"
#include "ui/label.h"
#include "ui/layout.h"
#include "ui/text_button.h"

using namespace ui;
using platform::vk::Down;
using platform::vk::Tab;
using platform::vk::Up;

namespace {

const LayoutRecord kScreen[] = {
    {1, layoutType::Label, 5, 5, 100, 16, 1, 0, platform::dt::Left, 99},
    {2, layoutType::TextButton, 5, 25, 100, 20, 1, 0, 0, 99},
    {3, layoutType::TextButton, 5, 50, 100, 20, 0, 0, 0, 99},  // hidden
    {4, layoutType::TextButton, 5, 75, 100, 20, 1, 0, 0, 99},  // disabled below
    {5, layoutType::TextButton, 5, 100, 100, 20, 1, 0, 0, 1},  // page 1 only
    {6, 230, 5, 125, 100, 20, 1, 0, 0, 99},                    // no maker: skipped
    {7, layoutType::EditField, 5, 150, 100, 20, 1, 0, 0, 99},
    {8, layoutType::TextButton, 5, 175, 100, 20, 1, 0, 0, 2},  // page 2 only
};

class LayoutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        first = buildLayout(module, kScreen);
        module.findControl(4)->isEnabled = false;
        host.attach(module);
    }
    int focusedId() const { return module.focusedControl() ? module.focusedControl()->id : 0; }

    test::TestHost host;
    test::RecordingModule module{host};
    Control* first = nullptr;
};

TEST_F(LayoutTest, RecordsBecomeControlsWithTheirIdsPagesAndVisibility) {
    EXPECT_EQ(module.controls().size(), 7u) << "the record without a maker is skipped";
    EXPECT_EQ(module.findControl(6), nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->id, 2) << "labels never take the focus";
    EXPECT_FALSE(module.findControl(3)->isVisible);
    EXPECT_TRUE(module.findControl(2)->isVisible);
    EXPECT_EQ(module.findControl(5)->page, 1);
    EXPECT_EQ(module.findControl(7)->kind, controlKind::EditField);
    EXPECT_EQ(module.findControl(2)->rect, platform::rectOfSize(5, 25, 100, 20))
        << "scale 1.0 on this screen";
}

TEST_F(LayoutTest, FocusSkipsHiddenDisabledAndOtherPages) {
    EXPECT_EQ(focusedId(), 2);
    host.pressKey(Down);
    EXPECT_EQ(focusedId(), 7) << "3 hidden, 4 disabled, 5 on page 1";
    host.pressKey(Up);
    EXPECT_EQ(focusedId(), 2);
    host.pressKey(Tab);
    EXPECT_EQ(focusedId(), 7) << "Tab counts as Down";
    host.pressKey(Down);
    EXPECT_EQ(focusedId(), 7) << "nothing after the last one";

    module.setPage(1);
    EXPECT_EQ(focusedId(), 7) << "a control on every page keeps the focus";
    host.pressKey(Up);
    EXPECT_EQ(focusedId(), 5);
    host.pressKey(Up);
    EXPECT_EQ(focusedId(), 2);
}

TEST_F(LayoutTest, TheFocusMovesIntoAndOutOfTheNativeField) {
    auto* edit = module.findControl<EditField>(7);
    host.pressKey(Down);
    ASSERT_EQ(focusedId(), 7);
    EXPECT_EQ(platform::focusWindow(), edit->nativeWindow()) << "keys now reach the field";
    host.typeText(L"Oslo");
    EXPECT_EQ(edit->text(), L"Oslo");
    // Up leaves a single-line field for the module, which moves the focus on.
    host.pressKey(Up);
    EXPECT_EQ(focusedId(), 2);
    EXPECT_EQ(platform::focusWindow(), host.mainWindow());
    host.typeText(L"x");
    EXPECT_EQ(edit->text(), L"Oslo");
}

TEST_F(LayoutTest, ATapFocusesTheControlUnderTheStylus) {
    host.tap({10, 80});  // the disabled button
    EXPECT_EQ(focusedId(), 2);
    host.tap({10, 55});  // the hidden one
    EXPECT_EQ(focusedId(), 2);
    auto* edit = module.findControl(7);
    host.tap({10, 10});  // the label
    EXPECT_EQ(focusedId(), 2);
    // A tap on the native field reaches its window, which hands the focus to the module.
    platform::sendMessage(edit->nativeWindow(), platform::wm::LButtonDown, 1,
                          platform::makeLParam(3, 3));
    platform::sendMessage(edit->nativeWindow(), platform::wm::LButtonUp, 0,
                          platform::makeLParam(3, 3));
    EXPECT_EQ(focusedId(), 7);
}

TEST_F(LayoutTest, PagesShowAndHideNativeWindows) {
    auto* edit = module.findControl(7);
    EXPECT_TRUE(platform::isWindowVisible(edit->nativeWindow()));
    edit->page = 1;
    module.setPage(2);
    EXPECT_FALSE(platform::isWindowVisible(edit->nativeWindow()));
    module.setPage(1);
    EXPECT_TRUE(platform::isWindowVisible(edit->nativeWindow()));
    module.coverNativeControls(true);
    EXPECT_FALSE(platform::isWindowVisible(edit->nativeWindow()));
    module.coverNativeControls(false);
    module.show(false, false);
    EXPECT_FALSE(platform::isWindowVisible(edit->nativeWindow()));
    module.show(true, false);
    EXPECT_TRUE(platform::isWindowVisible(edit->nativeWindow()))
        << "hiding the module keeps the controls' own visibility";
    EXPECT_TRUE(edit->isVisible);
}

TEST_F(LayoutTest, FindControlFollowsControlsAddedLater) {
    auto& extra = module.addControl(std::make_unique<Label>(0, 0));
    extra.id = 2;
    EXPECT_EQ(module.findControl(2)->kind, controlKind::Plain);
    EXPECT_NE(module.findControl(2), &extra) << "the first control with an id wins";
    extra.id = 40;
    EXPECT_EQ(module.findControl(40), &extra);
    module.rebuildIdIndex();
    EXPECT_EQ(module.findControl(40), &extra);
}

TEST_F(LayoutTest, ControlsLookedUpByIdComeBackTypedAndChecked) {
    EXPECT_EQ(module.findControl<EditField>(7), module.findControl(7));
    EXPECT_EQ(module.findControl<TextButton>(6), nullptr) << "no control has the id";
    EXPECT_EQ(module.findControl<Control>(1), module.findControl(1));
    // Asking for another type than the control has is a fault in the screen, stopped where it
    // is made rather than left to a wrong cast.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(module.findControl<EditField>(2),
                 "layout_focus_test.cpp:[0-9]+: control 2 is a ui::TextButton, not the "
                 "ui::EditField asked for");
}

}  // namespace
