#pragma once
// Pictures of the main program's screen in screen tests: what the screen shows now, and a copy
// saved for review when an environment variable names a folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/application.h"
#include "platform/api/draw.h"
#include "platform/gui/screen.h"
#include "tests/platform/support/message_pump.h"

namespace screens::test {

// The screen as shown now, the main window repainted whole first.
inline platform::Bitmap screenShot(app::Application& app) {
    app.invalidateAll(true);
    platform::test::deliverPosted();
    platform::gui::presentNow();
    const platform::Bitmap& fb = platform::gui::framebuffer();
    platform::Bitmap copy(fb.width(), fb.height());
    std::copy(fb.bits(), fb.bits() + fb.byteSize(), copy.bits());
    return copy;
}

// With the environment variable folderVariable set to a folder, saves the screen there as
// name + ".png".
inline void saveReviewShot(app::Application& app, const char* folderVariable,
                           const std::string& name) {
    if (const char* folder = std::getenv(folderVariable)) {
        std::filesystem::create_directories(folder);
        EXPECT_TRUE(
            platform::savePng(screenShot(app), std::filesystem::path(folder) / (name + ".png")));
    }
}

}  // namespace screens::test
