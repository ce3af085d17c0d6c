// Theme colours from the settings, theme paths, the skin (landscape variants, stretching, the
// automatic background), the decoration pictures and the look page's lists.

#include <gtest/gtest.h>

#include <fstream>

#include "core/settings.h"
#include "core/settings_file.h"
#include "core/text_case.h"
#include "gfx/colours.h"
#include "gfx/display_metrics.h"
#include "gfx/image_cache.h"
#include "gfx/resample.h"
#include "gfx/theme.h"
#include "gfx/theme_choices.h"
#include "platform/api/device.h"
#include "tests/gfx/support/gfx_test_support.h"

namespace gfx {
namespace {

// An install folder of the test device: the project's pictures, with a backgrounds folder
// of small solid JPEGs made for the test.
class ThemeTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        test::useInstallFolder();
        mainPath_ = test::scratchFolder("theme");
        const auto host = test::hostOf(mainPath_);
        const std::filesystem::path data = std::filesystem::path(VORN_SOURCE_DIR) / "data";
        for (const char* folder : {"graphics2", "clocks", "themes"}) {
            if (!std::filesystem::exists(host / folder)) {
                std::filesystem::create_directory_symlink(data / folder, host / folder);
            }
        }
        std::filesystem::create_directories(host / "backgrounds");
        for (auto [name, colour] : {std::pair{"b.jpg", "#0000FF"},
                                    {"land_b.jpg", "#FF0000"},
                                    {"c.jpg", "#00FF00"},
                                    {"Land_c.jpg", "#FFFF00"}}) {
            ASSERT_TRUE(test::runConvert("-size 16x12 xc:'" + std::string(colour) + "' '" +
                                         (host / "backgrounds" / name).string() + "'"));
        }
    }

    void SetUp() override {
        for (const wchar_t* name : {L"OptTextColor", L"OptColor", L"OptClock", L"OptSkin"}) {
            core::writeSetting(name, L"automatic");
        }
        setSystemColour(ColourHighlight, 0x00C56A31);
        test::switchScreen("240x320");
        computeDisplayMetrics();
    }

    static std::wstring mainPath_;
};

std::wstring ThemeTest::mainPath_;

bool near(platform::Colour a, platform::Colour b) {
    auto close = [](int x, int y) { return std::abs(x - y) <= 3; };
    return close(platform::redOf(a), platform::redOf(b)) &&
           close(platform::greenOf(a), platform::greenOf(b)) &&
           close(platform::blueOf(a), platform::blueOf(b));
}

TEST_F(ThemeTest, AutomaticColoursFollowTheDevice) {
    setSystemColour(ColourHighlight, 0x00101010);
    setSystemColour(ColourActiveCaption, 0x00805020);
    setSystemColour(ColourHighlightText, 0x00F0F0F0);
    Theme theme;
    DecorationPictures decorations(mainPath_);
    loadTheme(theme, decorations, false);
    // A nearly black highlight is lightened by 44.
    EXPECT_EQ(theme.mainColour, 0x003C3C3Cu);
    EXPECT_EQ(theme.mainColourAlt, 0x003C3C3Cu);
    EXPECT_EQ(theme.captionColour, 0x00805020u);
    EXPECT_EQ(theme.textColour, 0x00F0F0F0u);
    EXPECT_EQ(theme.selectedTextColour, 0x00F0F0F0u);

    setSystemColour(ColourHighlight, 0x00101A10);  // green 26: not nearly black
    loadTheme(theme, decorations, false);
    EXPECT_EQ(theme.mainColour, 0x00101A10u);
}

TEST_F(ThemeTest, ChosenColoursClockAndSkinComeFromTheSettings) {
    core::writeSetting(L"OptColor", std::to_wstring(0x00336699));
    core::writeSetting(L"OptTextColor", L"65280");
    core::writeSetting(L"OptClock", L"night.tga");
    core::writeSetting(L"OptSkin", L"b.jpg");
    Theme theme;
    DecorationPictures decorations(mainPath_);
    ThemeUpdate update = loadTheme(theme, decorations, false);
    EXPECT_EQ(theme.mainColour, 0x00336699u);
    EXPECT_EQ(theme.captionColour, 0x00336699u);
    EXPECT_EQ(theme.textColour, 0x0000FF00u);
    EXPECT_EQ(theme.clockFaceName, L"night.tga");
    EXPECT_EQ(decorations.clockFace(), L"night.tga");
    EXPECT_EQ(theme.skinName, L"b.jpg");
    EXPECT_TRUE(update.clockFaceChanged);
    EXPECT_FALSE(update.skinChanged);
    EXPECT_EQ(theme.backgroundImage, nullptr);

    core::writeSetting(L"OptClock", L"automatic");
    EXPECT_TRUE(loadTheme(theme, decorations, false).clockFaceChanged);
    EXPECT_EQ(theme.clockFaceName, L"default.tga");
    EXPECT_FALSE(loadTheme(theme, decorations, true).clockFaceChanged);
    EXPECT_NE(theme.backgroundImage, nullptr);
}

TEST_F(ThemeTest, ThemeAndGraphicsPaths) {
    EXPECT_EQ(themePath(mainPath_, L"calcbutt.tga"), mainPath_ + L"themes\\default\\calcbutt.tga");
    EXPECT_EQ(themePath(L"", L"calcbutt.tga"), L"themes\\default\\calcbutt.tga");
    std::ofstream(test::hostOf(mainPath_) / "vornroamer.ini") << "; look\r\ntheme=blue\r\n";
    ASSERT_TRUE(core::loadIniFile(mainPath_, true));
    EXPECT_EQ(themePath(mainPath_, L"butt_overlay.tga"),
              mainPath_ + L"themes\\blue\\butt_overlay.tga");
    DecorationPictures decorations(mainPath_);
    EXPECT_EQ(decorations.pathOf(DecorationButtonOverlay),
              mainPath_ + L"themes\\blue\\butt_overlay.tga");
    std::filesystem::remove(test::hostOf(mainPath_) / "vornroamer.ini");
    core::loadIniFile(mainPath_, true);

    EXPECT_EQ(graphicsPicture(L"bubble1"), L"graphics\\bubble1.jpg");
    test::switchScreen("480x640");
    computeDisplayMetrics();
    EXPECT_EQ(graphicsPicture(L"bubble1"), L"graphics\\bubble1_vga.jpg");
}

TEST_F(ThemeTest, LandscapeLooksForTheLandVariantFirstThenFallsBack) {
    core::writeSetting(L"OptSkin", L"b.jpg");
    test::switchScreen("320x240");
    computeDisplayMetrics();
    Theme theme;
    DecorationPictures decorations(mainPath_);
    loadTheme(theme, decorations, true);
    ASSERT_NE(theme.backgroundImage, nullptr);
    EXPECT_EQ(theme.backgroundImage->name, L"\\backgrounds\\land_b.jpg");
    ASSERT_NE(theme.backgroundImage->bitmap, nullptr);
    // Stretched from 16 x 12 to the screen.
    EXPECT_EQ(theme.backgroundImage->width, 320);
    EXPECT_EQ(theme.backgroundImage->height, 240);
    EXPECT_TRUE(near(theme.backgroundImage->bitmap->pixel(160, 120), platform::rgb(255, 0, 0)));

    const auto land = test::hostOf(mainPath_ + L"backgrounds\\land_b.jpg");
    const auto kept = land.string() + ".kept";
    std::filesystem::rename(land, kept);
    EXPECT_TRUE(reloadSkin(theme, decorations));
    std::filesystem::rename(kept, land);
    EXPECT_EQ(theme.backgroundImage->name, L"\\backgrounds\\b.jpg");
    EXPECT_TRUE(near(theme.backgroundImage->bitmap->pixel(0, 0), platform::rgb(0, 0, 255)));
    EXPECT_EQ(theme.backgroundImage->width, 320);

    // Portrait takes the plain file.
    test::switchScreen("240x320");
    computeDisplayMetrics();
    reloadSkin(theme, decorations);
    EXPECT_EQ(theme.backgroundImage->name, L"\\backgrounds\\b.jpg");
    EXPECT_EQ(theme.backgroundImage->height, 320);

    // A missing skin leaves a background without a bitmap.
    theme.skinName = L"gone.jpg";
    reloadSkin(theme, decorations);
    ASSERT_NE(theme.backgroundImage, nullptr);
    EXPECT_EQ(theme.backgroundImage->bitmap, nullptr);
}

TEST_F(ThemeTest, AutomaticBackgroundIsTheLightenedMainColourUnderTheShadow) {
    core::writeSetting(L"OptColor", std::to_wstring(platform::rgb(100, 50, 0)));
    const int dibsBefore = liveDibCount();
    const platform::Colour base = platform::rgb(124, 74, 24);
    {
        Theme theme;
        DecorationPictures decorations(mainPath_);
        EXPECT_TRUE(loadTheme(theme, decorations, true).skinChanged);
        ASSERT_NE(theme.backgroundImage, nullptr);
        const platform::Bitmap& dib = *theme.backgroundImage->bitmap;
        ASSERT_EQ(dib.width(), 240);
        ASSERT_EQ(dib.height(), 320);
        EXPECT_EQ(liveDibCount(), dibsBefore + 1);

        // Every pixel is the base colour blended with the shadow picture at opacity 0.2.
        const TargaPixels shadow = decorations.picture(DecorationShadowBack, 240, 320);
        ASSERT_EQ(shadow.width, 240);
        int plain = 0, shaded = 0;
        for (int row = 0; row < 320; row += 7) {
            for (int x = 0; x < 240; x += 5) {
                const std::uint8_t* s = shadow.row(row) + x * 4;
                const std::uint8_t* d = dib.bits() + row * dib.stride() + x * 3;
                const int keep = s[3] == 255 ? 0 : 255 - static_cast<int>(s[3] * 0.2);
                const int channels[3] = {platform::blueOf(base), platform::greenOf(base),
                                         platform::redOf(base)};
                for (int c = 0; c < 3; ++c) {
                    const int want = s[3] == 0
                                         ? channels[c]
                                         : (s[2 - c] * (255 - keep) + channels[c] * keep) >> 8;
                    ASSERT_EQ(d[c], want) << x << "," << row;
                }
                (s[3] == 0 ? plain : shaded)++;
            }
        }
        EXPECT_GT(plain, 0);
        EXPECT_GT(shaded, 0);

        // Switching to a file skin and back never paints over the shared picture.
        theme.skinName = L"c.jpg";
        reloadSkin(theme, decorations);
        Image* file = theme.backgroundImage;
        file->refCount++;  // hold it, as another screen might
        theme.skinName = std::wstring(kAutomatic);
        reloadSkin(theme, decorations);
        EXPECT_NE(theme.backgroundImage, file);
        EXPECT_TRUE(near(file->bitmap->pixel(10, 10), platform::rgb(0, 255, 0)));
        releaseImage(file, true);
    }
    EXPECT_EQ(liveDibCount(), dibsBefore);
}

TEST_F(ThemeTest, DecorationPicturesAreResizedCopies) {
    DecorationPictures decorations(mainPath_);
    const TargaPixels shadow = decorations.picture(DecorationShadow);
    EXPECT_EQ(shadow.width, 128);
    EXPECT_EQ(shadow.height, 128);
    const TargaPixels small = decorations.picture(DecorationShadow, 32, 20);
    EXPECT_EQ(small.width, 32);
    EXPECT_EQ(small.height, 20);
    EXPECT_EQ(decorations.picture(DecorationDigits).width, 480);
    EXPECT_EQ(decorations.picture(DecorationCalcButton).bytesPerPixel, 4);
    EXPECT_EQ(decorations.picture(7).width, 0);

    const int before = decorations.picture(DecorationClockFace).width;
    EXPECT_GT(before, 0);
    decorations.setClockFace(L"missing.tga");
    EXPECT_EQ(decorations.picture(DecorationClockFace).width, 0);
    decorations.setClockFace(L"ocean.tga");
    EXPECT_GT(decorations.picture(DecorationClockFace, 60, 60).width, 0);
    EXPECT_EQ(decorations.pathOf(DecorationClockFace), mainPath_ + L"\\clocks\\ocean.tga");
}

TEST_F(ThemeTest, LookPageListsAndTheirSelection) {
    const ThemeChoiceList backgrounds = backgroundChoices(mainPath_, L"C.JPG");
    ASSERT_EQ(backgrounds.entries.size(), 3u);  // automatic, b.jpg, c.jpg
    EXPECT_TRUE(backgrounds.entries[0].automatic);
    for (const ThemeChoice& choice : backgrounds.entries) {
        EXPECT_FALSE(core::equalsIgnoringCase(choice.value.substr(0, 5), L"land_"))
            << platform::toUtf8(choice.value);
    }
    EXPECT_EQ(backgrounds.entries[backgrounds.selected].value, L"c.jpg");
    EXPECT_EQ(backgroundChoices(mainPath_, L"land_b.jpg").selected, 0);

    const std::wstring install = test::useInstallFolder();
    const ThemeChoiceList real = backgroundChoices(install, L"automatic");
    EXPECT_EQ(real.entries.size(), 5u);  // automatic and the four portrait skins

    const ThemeChoiceList clocks = clockFaceChoices(install, L"NIGHT.tga");
    EXPECT_EQ(clocks.entries[clocks.selected].value, L"night.tga");
    EXPECT_EQ(clocks.entries[clocks.selected].name, L"night");
    const ThemeChoiceList fallback = clockFaceChoices(install, L"none.tga");
    EXPECT_EQ(fallback.entries[fallback.selected].value, L"default.tga");

    const ThemeChoiceList colours = colourChoices(L"8388608");
    ASSERT_EQ(colours.entries.size(), 17u);
    EXPECT_EQ(colours.entries[colours.selected].name, L"Navy");
    EXPECT_EQ(colourChoices(L"12345").selected, 0);
}

}  // namespace
}  // namespace gfx
