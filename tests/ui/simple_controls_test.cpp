// Labels, buttons, bars, toggles, panels and the speech bubble: what they show and what
// pressing them tells the owner.

#include <gtest/gtest.h>

#include "gfx/theme.h"
#include "tests/ui/support/ui_test_support.h"
#include "ui/bar.h"
#include "ui/label.h"
#include "ui/picture_button.h"
#include "ui/picture_panel.h"
#include "ui/speech_bubble.h"
#include "ui/text_button.h"
#include "ui/toggle.h"

using namespace ui;
using platform::Rect;

namespace {

class ControlsTest : public ::testing::Test {
  protected:
    template <class T>
    T& add(std::unique_ptr<T> made, Rect where) {
        T& c = static_cast<T&>(module.addControl(std::move(made)));
        c.place(where, nullptr);
        c.show(true, false);
        return c;
    }

    test::TestHost host;
    test::RecordingModule module{host};
};

TEST_F(ControlsTest, ALabelRepaintsOnlyForANewText) {
    Label& label = add(std::make_unique<Label>(0, platform::dt::Left), {0, 0, 100, 20});
    host.attach(module);
    EXPECT_FALSE(label.canTakeFocus());
    label.setText(L"Cairo");
    int before = host.invalidations;
    label.setText(L"Cairo");
    EXPECT_EQ(host.invalidations, before);
    label.setText(L"Lima");
    EXPECT_EQ(host.invalidations, before + 1);
    label.setColour(0x0000FF);
    auto pixels = host.render();
    EXPECT_GT(test::countNear(*pixels, label.rect, 0x0000FF, 60), 5);
}

TEST_F(ControlsTest, AButtonPressesOnlyWhenTheStylusIsLiftedOnIt) {
    TextButton& button = add(std::make_unique<TextButton>(0), {10, 10, 90, 30});
    host.attach(module);
    host.down({20, 20});
    EXPECT_TRUE(button.isPressed());
    host.move({150, 150});
    EXPECT_FALSE(button.isPressed());
    host.up({150, 150});
    EXPECT_TRUE(module.pressed.empty());
    host.tap({20, 20});
    EXPECT_EQ(module.pressed.size(), 1u);
    module.setFocusedControl(&button, false);
    host.pressKey(platform::vk::Return);
    EXPECT_EQ(module.pressed.size(), 2u);
}

TEST_F(ControlsTest, PictureButtonsShowTheirPressedFrame) {
    PictureButton& button = add(std::make_unique<PictureButton>(), {0, 0, 48, 24});
    button.setPicture(host.mainPath(), gfx::graphicsPicture(L"toggle"));
    ASSERT_TRUE(button.hasPicture());
    host.attach(module);
    auto normal = host.render();
    host.down({10, 10});
    auto pressed = host.render();
    host.up({10, 10});
    // The second frame of this picture is the green one.
    EXPECT_GT(test::countNear(*pressed, button.rect, platform::rgb(60, 160, 80), 50),
              test::countNear(*normal, button.rect, platform::rgb(60, 160, 80), 50) + 50);
    // A button whose picture is missing still shows and presses.
    button.setPicture(host.mainPath(), L"graphics\\missing.jpg");
    EXPECT_FALSE(button.hasPicture());
    host.tap({10, 10});
    EXPECT_EQ(module.pressed.size(), 2u);
}

TEST_F(ControlsTest, BarsFillInProportionAndClamp) {
    Bar& bar = add(std::make_unique<Bar>(), {0, 0, 102, 10});
    EXPECT_EQ(bar.value(), 50);
    EXPECT_EQ(bar.filledWidth(), 50);
    bar.setValue(130);
    EXPECT_EQ(bar.value(), 100);
    EXPECT_EQ(bar.filledWidth(), 100);
    bar.setValue(-5);
    EXPECT_EQ(bar.filledWidth(), 0);
    bar.setMaximum(4);
    bar.setValue(1);
    EXPECT_EQ(bar.filledWidth(), 25);
}

TEST_F(ControlsTest, TogglesFlipAndTellTheOwner) {
    Toggle& toggle = add(std::make_unique<Toggle>(host, false), {0, 0, 48, 24});
    host.attach(module);
    host.tap({10, 10});
    EXPECT_TRUE(toggle.isOn());
    module.setFocusedControl(&toggle, false);
    host.pressKey(platform::vk::Return);
    EXPECT_FALSE(toggle.isOn());
    EXPECT_EQ(module.changed.size(), 2u);
    toggle.setOn(true);
    EXPECT_EQ(module.changed.size(), 2u) << "setting the state is not a change by the user";
}

TEST_F(ControlsTest, PanelsFillWithTheirColourWithoutAPicture) {
    PicturePanel& panel = add(std::make_unique<PicturePanel>(0x00FF00), {5, 5, 25, 25});
    host.attach(module);
    auto pixels = host.render();
    EXPECT_EQ(test::countNear(*pixels, panel.rect, 0x00FF00, 0), 400);
    panel.setPicture(host.mainPath(), L"graphics\\nothing.jpg");
    EXPECT_FALSE(panel.hasPicture());
}

TEST_F(ControlsTest, TheSpeechBubbleWavesAfterItIsPlaced) {
    SpeechBubble& bubble = add(std::make_unique<SpeechBubble>(host, 0), {0, 0, 200, 80});
    host.attach(module);
    EXPECT_FALSE(bubble.isAnimating());
    bubble.placed();
    EXPECT_TRUE(bubble.isAnimating());
    std::vector<int> frames;
    for (int i = 0; i < SpeechBubble::kAnimationSteps + 2; ++i) {
        module.timer(SpeechBubble::kAnimationTimer);
        frames.push_back(bubble.figureFrame());
    }
    EXPECT_EQ(frames, (std::vector<int>{1, 0, 1, 0, 1, 0, 0, 0}));
    EXPECT_FALSE(bubble.isAnimating());
    EXPECT_FALSE(bubble.timer(4001)) << "other timers are not the bubble's";
}

}  // namespace
