// A ten-second countdown driven through `vorndev ctl`: the d-pad starts counter 1, the alarm
// sound shows in the play log with the backlight held, and a tap on the screen ends both.

#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/support/main_program_session.h"

using namespace e2e;

namespace {

constexpr int kCountdown = 43;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class CounterFlowTest : public MainProgramSession {
  protected:
    void SetUp() override {
        skipWizard();
        ask({"reg", "set", "HKCU", kSettingsKey, "OptStartScreen", "--string",
             std::to_string(kCountdown)});
        startProgram(kCountdown);
    }
};

TEST_F(CounterFlowTest, ATenSecondCountdownRingsUntilTheScreenIsTapped) {
    EXPECT_FALSE(contains(ask({"sound"}), "Alarm1.wav"));
    key("left");
    // Nothing rings before the ten seconds are up.
    EXPECT_FALSE(
        waitUntil([&] { return contains(ask({"sound"}), "Alarm1.wav"); }, std::chrono::seconds(8)));
    EXPECT_TRUE(contains(ask({"power"}), "backlight=free"));
    ASSERT_TRUE(
        waitUntil([&] { return contains(ask({"sound"}), "Alarm1.wav"); }, std::chrono::seconds(20)))
        << ask({"sound"});
    EXPECT_TRUE(contains(ask({"power"}), "backlight=held"));

    tap(120, 200);
    EXPECT_TRUE(waitUntil([&] { return contains(ask({"power"}), "backlight=free"); }))
        << ask({"power"});
    EXPECT_EQ(module(), kCountdown);
}

}  // namespace
