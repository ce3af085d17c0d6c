// A program's Yes/No message box answered from outside with `vorndev ctl`: by tapping its
// buttons and by the device's keys.

#include <gtest/gtest.h>

#include "platform/api/registry.h"
#include "platform/api/shell.h"
#include "platform/gui/window_system.h"
#include "platform/shell/message_box_layout.h"
#include "tests/e2e/programs/test_program.h"
#include "tests/e2e/support/e2e_device.h"

using namespace e2e;

namespace {

class MessageBoxTest : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        device_.emplace(GetParam());
        // This process lays boxes out on its own screen, which follows the new device's.
        platform::gui::applyScreenProfile();
    }

    // Opens the box in the test program, runs the ctl commands that answer it and returns
    // the answer the program got.
    std::optional<std::uint32_t> answer(const std::vector<std::vector<std::string>>& commands) {
        if (!pid_)
            pid_ = device_->startTestProgram("Asker", "Asker");
        auto report = platform::RegistryKey::create(platform::Hive::CurrentUser,
                                                    L"Software\\VornTests\\Asker");
        report->deleteValue(L"MessageBoxAnswer");
        CommandResult post = device_->ctl({"post", "--class", "Asker", "WM_USER+4"});
        EXPECT_EQ(post.exitCode, 0) << post.err;
        for (auto command : commands) {
            command.push_back("--window");
            command.push_back("Asker:Asker");
            CommandResult r = device_->ctl(command);
            EXPECT_EQ(r.exitCode, 0) << command[0] << ": " << r.err;
        }
        waitUntil([&] { return report->queryDword(L"MessageBoxAnswer").has_value(); });
        return report->queryDword(L"MessageBoxAnswer");
    }

    // The centre of the box's button for an answer, where the program draws it.
    std::vector<std::string> tapOn(int answer) {
        auto layout = platform::shell::layOutMessageBox(
            testprog::kMessageBoxText, platform::mb::YesNo | platform::mb::IconQuestion);
        for (const auto& b : layout.buttons) {
            if (b.answer != answer)
                continue;
            return {"tap", std::to_string((b.rect.left + b.rect.right) / 2),
                    std::to_string((b.rect.top + b.rect.bottom) / 2)};
        }
        ADD_FAILURE() << "no button for answer " << answer;
        return {"tap", "0", "0"};
    }

    std::optional<TestDevice> device_;
    int pid_ = 0;
};

TEST_P(MessageBoxTest, AnsweredByTap) {
    EXPECT_EQ(answer({tapOn(platform::id::Yes)}), std::uint32_t(platform::id::Yes));
    EXPECT_EQ(answer({tapOn(platform::id::No)}), std::uint32_t(platform::id::No));
    // A press that slides off its button before the release answers nothing.
    auto yes = tapOn(platform::id::Yes);
    auto no = tapOn(platform::id::No);
    EXPECT_EQ(
        answer(
            {{"down", yes[1], yes[2]}, {"move", no[1], no[2]}, {"up", no[1], no[2]}, {"key", "n"}}),
        std::uint32_t(platform::id::No));
}

TEST_P(MessageBoxTest, AnsweredByKey) {
    // Enter answers the focused button, Yes at first; the arrows move the focus.
    EXPECT_EQ(answer({{"key", "enter"}}), std::uint32_t(platform::id::Yes));
    EXPECT_EQ(answer({{"key", "right"}, {"key", "enter"}}), std::uint32_t(platform::id::No));
    // Back declines; the first letters answer directly.
    EXPECT_EQ(answer({{"key", "back"}}), std::uint32_t(platform::id::No));
    EXPECT_EQ(answer({{"key", "y"}}), std::uint32_t(platform::id::Yes));
    EXPECT_EQ(answer({{"key", "n"}}), std::uint32_t(platform::id::No));
}

INSTANTIATE_TEST_SUITE_P(BothScales, MessageBoxTest, ::testing::Values("240x320", "480x640"),
                         [](const auto& info) {
                             return std::string(info.param[0] == '2' ? "Small" : "Large");
                         });

}  // namespace
