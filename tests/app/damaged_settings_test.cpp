// A damaged settings file ("vornroamer.ini") at start-up: the program reports it with one
// message box once its window shows, instead of one box per bad line before there is a
// window, and goes on with what it could read.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "app/application.h"
#include "core/message_box.h"
#include "core/settings_file.h"
#include "platform/api/controls.h"
#include "platform/api/device.h"
#include "platform/api/shell_install.h"
#include "tests/platform/support/message_pump.h"
#include "tests/platform/support/test_device.h"

using namespace platform;

namespace {

struct Box {
    std::wstring text;
    bool windowShown = false;
};

TEST(DamagedSettingsFile, IsReportedOnceAfterTheWindowShowsAndTheProgramGoesOn) {
    const auto& root = test::useTestDevice("240x320");
    auto install = root / "Program Files" / "Vorn Roamer";
    std::filesystem::create_directories(root / "Program Files");
    if (!std::filesystem::exists(install)) {
        std::filesystem::copy(std::filesystem::path(VORN_SOURCE_DIR) / "data", install,
                              std::filesystem::copy_options::recursive);
    }
    installShell();
    registerNativeControls();
    // 4 KB of random bytes: many lines without "=", some with one.
    std::string damaged = "time=12\n";
    std::mt19937 random(11);
    for (int i = 0; i < 4096; ++i) damaged += static_cast<char>(random() % 256);
    {
        std::ofstream out(install / "vornroamer.ini", std::ios::binary | std::ios::trunc);
        out << damaged;
    }

    std::vector<Box> boxes;
    auto previous =
        core::setMessageBoxHook([&boxes](std::wstring_view text, std::wstring_view, std::uint32_t) {
            WindowHandle window = findWindow(app::kMainWindowName, app::kMainWindowName);
            boxes.push_back({std::wstring(text), window != 0 && isWindowVisible(window)});
            return 1;
        });
    auto app = std::make_unique<app::Application>(L"\\Program Files\\Vorn Roamer\\vornroamer3.exe");
    EXPECT_TRUE(boxes.empty()) << "nothing is shown before the window exists";
    ASSERT_TRUE(app->createMainWindow());
    test::deliverPosted();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].windowShown);
    EXPECT_NE(boxes[0].text.find(L"vornroamer.ini"), std::wstring::npos);
    EXPECT_NE(app->currentModule(), nullptr) << "the program goes on";
    EXPECT_EQ(core::iniNumber(L"time", 0), 12) << "what could be read is used";
    app.reset();
    test::deliverPosted();
    core::setMessageBoxHook(previous);
}

}  // namespace
