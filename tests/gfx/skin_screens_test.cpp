// The start-up look on every screen profile: the splash logo resized for the display scale and
// centred on white, then the themed background covering the screen. Each screen is also saved
// as a PNG in the build folder (gfx-screens/) for a person to look at.

#include <gtest/gtest.h>

#include "core/settings.h"
#include "gfx/blend.h"
#include "gfx/display_metrics.h"
#include "gfx/image_cache.h"
#include "gfx/resample.h"
#include "gfx/theme.h"
#include "tests/gfx/support/gfx_test_support.h"

namespace gfx {
namespace {

struct Screen {
    const char* name;
    int width;
    int height;
};

// The smallest rectangle holding every pixel that is not white.
platform::Rect inkedArea(const platform::Bitmap& bitmap) {
    platform::Rect area{bitmap.width(), bitmap.height(), 0, 0};
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            if (bitmap.pixel(x, y) == 0xFFFFFFu)
                continue;
            area = {std::min(area.left, x), std::min(area.top, y), std::max(area.right, x + 1),
                    std::max(area.bottom, y + 1)};
        }
    }
    return area;
}

void savePicture(const platform::Bitmap& bitmap, const std::string& name) {
    const auto folder = std::filesystem::path(VORN_BINARY_DIR) / "gfx-screens";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(platform::savePng(bitmap, folder / (name + ".png")));
}

TEST(StartUpLook, SplashAndBackgroundAtEveryScreen) {
    const std::wstring mainPath = test::useInstallFolder();
    std::unique_ptr<TargaPixels> logo;
    ASSERT_EQ(loadTarga(mainPath + L"\\graphics2\\vornlogo.tga", logo), TargaStatus::Loaded);

    const Screen screens[] = {
        {"240x320", 240, 320}, {"480x640", 480, 640}, {"320x240", 320, 240}, {"240x240", 240, 240}};
    for (const Screen& s : screens) {
        SCOPED_TRACE(s.name);
        test::switchScreen(s.name);
        computeDisplayMetrics();
        const DisplayMetrics& m = displayMetrics();

        // The splash: the logo resized to 147 x 150 at the display scale, centred on white.
        const TargaPixels splash = resampleTarga(*logo, static_cast<int>(147 * m.scaleX),
                                                 static_cast<int>(150 * m.scaleY));
        ASSERT_EQ(splash.width, s.width > 320 ? 294 : 147);
        platform::DeviceContext dc;
        auto screen = std::make_shared<platform::Bitmap>(s.width, s.height);
        screen->fill(0xFFFFFF);
        dc.selectBitmap(screen);
        const int left = (s.width - splash.width) / 2;
        const int top = (s.height - splash.height) / 2;
        drawTarga(dc, splash, left, top);
        const platform::Rect inked = inkedArea(*screen);
        EXPECT_FALSE(inked.isEmpty());
        EXPECT_GE(inked.left, left);
        EXPECT_GE(inked.top, top);
        EXPECT_LE(inked.right, left + splash.width);
        EXPECT_LE(inked.bottom, top + splash.height);
        // Centred within a couple of pixels of the logo's own margins.
        EXPECT_NEAR(inked.left + inked.right, s.width, 4 * m.scaleX);
        savePicture(*screen, std::string("splash-") + s.name);

        // The background: a skin file (the landscape variant in landscape) and the automatic
        // one, each covering the whole screen.
        for (const wchar_t* skin : {L"ocean.jpg", L"automatic"}) {
            core::writeSetting(L"OptSkin", skin);
            Theme theme;
            DecorationPictures decorations(mainPath);
            EXPECT_TRUE(loadTheme(theme, decorations, true).skinChanged);
            ASSERT_NE(theme.backgroundImage, nullptr);
            ASSERT_NE(theme.backgroundImage->bitmap, nullptr);
            EXPECT_EQ(theme.backgroundImage->width, s.width);
            EXPECT_EQ(theme.backgroundImage->height, s.height);
            screen->fill(0xFFFFFF);
            blitImage(*theme.backgroundImage, dc, {0, 0, s.width, s.height});
            EXPECT_EQ(inkedArea(*screen), (platform::Rect{0, 0, s.width, s.height}));
            const bool automatic = std::wstring_view(skin) == kAutomatic;
            if (!automatic) {
                const bool landscape = s.width > s.height;
                EXPECT_EQ(theme.backgroundImage->name, landscape ? L"\\backgrounds\\land_ocean.jpg"
                                                                 : L"\\backgrounds\\ocean.jpg");
            }
            savePicture(*screen, std::string(automatic ? "automatic-" : "skin-") + s.name);
        }
    }
    trimImageCache();
}

}  // namespace
}  // namespace gfx
