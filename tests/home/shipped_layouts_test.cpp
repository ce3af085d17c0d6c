// The layouts the install folder ships: each parses, offers a layout made for every screen
// width (240, 480 portrait; 320, 640 landscape), keeps every object inside the item, and
// together they use every object kind. Each is painted with sample data; with
// VORN_HOME_SHOTS=FOLDER the pictures are also saved there as PNG files to look at.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "core/settings.h"
#include "gfx/display_metrics.h"
#include "home/home_data.h"
#include "home/layout_painter.h"
#include "platform/api/device.h"
#include "platform/api/notifications.h"
#include "tests/home/support/home_test_support.h"

using home::test::kDownloads;
using home::test::kMainPath;

namespace {

struct Screen {
    int width;
    double scale;
};
constexpr Screen kScreens[] = {{240, 1.0}, {480, 2.0}, {320, 1.0}, {640, 2.0}};

std::vector<std::string> shippedFiles() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(
             std::filesystem::path(VORN_SOURCE_DIR) / "data/home")) {
        if (entry.path().extension() == ".xml")
            names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

home::LayoutModel shipped(const std::string& name, double scale) {
    std::string text = home::test::readSource("data/home/" + name);
    return home::parseLayout({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()},
                             scale);
}

// The layouts a person can reach on a screen: one per tab, else every layout the left and
// right keys step through.
std::vector<std::size_t> reachable(const home::LayoutModel& model, int width) {
    std::vector<std::size_t> found;
    if (model.hasTabs()) {
        for (int tab = 1; tab <= model.tabCount(); ++tab)
            found.push_back(*model.layoutForTab(tab, width));
        return found;
    }
    std::size_t at = *model.layoutForTab(1, width);
    do {
        found.push_back(at);
        at = *model.nextLayout(at, width);
    } while (at != found.front() && found.size() < model.layouts.size());
    return found;
}

TEST(HomeShippedLayouts, FitEveryScreenAndUseEveryKind) {
    std::vector<std::string> files = shippedFiles();
    ASSERT_GE(files.size(), 3u);
    EXPECT_NE(std::find(files.begin(), files.end(), "today_default.xml"), files.end());
    std::set<std::pair<home::ObjectKind, int>> kinds;
    for (const std::string& name : files) {
        for (const Screen& screen : kScreens) {
            home::LayoutModel model = shipped(name, screen.scale);
            ASSERT_FALSE(model.layouts.empty()) << name;
            for (std::size_t index : reachable(model, screen.width)) {
                const home::Layout& layout = model.layouts[index];
                SCOPED_TRACE(name + " " + std::to_string(screen.width) + " " +
                             platform::toUtf8(layout.name));
                EXPECT_EQ(layout.width, screen.width);
                EXPECT_GT(layout.height, 0);
                EXPECT_FALSE(layout.objects.empty());
                int bottom = layout.height + (model.hasTabs() ? model.tabHeight : 0);
                for (const auto& object : layout.objects) {
                    kinds.insert({object.kind, object.subKind});
                    EXPECT_GE(object.rect.left, 0);
                    EXPECT_LE(object.rect.right, screen.width);
                    EXPECT_GE(object.rect.top, model.hasTabs() ? model.tabHeight : 0);
                    EXPECT_LE(object.rect.bottom, bottom);
                    if (object.kind != home::ObjectKind::Clock) {
                        EXPECT_TRUE(model.font(object.font)) << "font " << object.font;
                    }
                }
            }
        }
    }
    EXPECT_EQ(kinds.size(), 13u);
}

class HomeShippedPaint : public ::testing::Test {
  protected:
    void SetUp() override {
        home::test::prepareDevice();
        platform::setDeviceUtcTime(home::test::utcAt(2027, 3, 10, 9, 41));
        home::test::writeDownload(L"GB2643743.dat",
                                  "1~61~11~4~SW~20~4~Light rain~031027~~~~~~\n"
                                  "1~3~13~6~S~35~5~Cloudy~031127~~~~~~\n"
                                  "1~1~15~7~S~10~6~Sunny intervals~031227~~~~~~\n"
                                  "1~0~17~8~N~10~7~Clear~031327~~~~~~\n"
                                  "1~95~14~9~W~40~1~Thunderstorms~031427~~~~~~\n"
                                  "1~80~12~6~W~30~2~Showers~031527~~~~~~\n"
                                  "1~2~13~5~NW~20~3~Partly cloudy~031627~~~~~~\n"
                                  "1~1~14~5~N~10~4~Mainly clear~031727~~~~~~\n");
        home::test::writeDownload(L"GB2643743_c.dat",
                                  "1~3~9~5~SW~18~1012~Overcast~~0920~7~10~cloudy~Heathrow\n");
        platform::NotificationRecord alarm;
        alarm.application = L"\\windows\\vornalarms.exe";
        alarm.arguments = L"/QUICK";
        alarm.start = *platform::toSystemTime(home::test::utcAt(2027, 3, 10, 12, 30));
        platform::NotificationHandle handle = platform::setUserNotification(0, alarm);
        core::writeSetting(L"QuickSetAlarm", std::to_wstring(handle));
    }
};

TEST_F(HomeShippedPaint, EveryLayoutPaintsAtEveryWidth) {
    const char* shots = std::getenv("VORN_HOME_SHOTS");
    home::HomeData data({std::wstring(kMainPath), std::wstring(kDownloads)});
    data.loadFavourites();
    data.readSettings();
    home::LayoutPainter painter{std::wstring(kMainPath)};
    platform::FileTime now = platform::deviceUtcFileTime();
    for (const std::string& name : shippedFiles()) {
        for (const Screen& screen : kScreens) {
            home::LayoutModel model = shipped(name, screen.scale);
            // Fonts follow the display as on a device of that width (96 pixels per inch).
            gfx::displayMetrics().fontDivisor = screen.scale > 1.0 ? 2 : 1;
            painter.clear();
            int tab = 1;
            for (std::size_t index : reachable(model, screen.width)) {
                const home::Layout& layout = model.layouts[index];
                int height = layout.height + (model.hasTabs() ? model.tabHeight : 0);
                auto bitmap = std::make_shared<platform::Bitmap>(screen.width, height);
                bitmap->fill(0xFFFFFF);
                platform::DeviceContext dc;
                dc.selectBitmap(bitmap);
                home::PaintState state;
                state.currentTab = tab;
                state.focused = tab == 1;
                home::LayoutContent content = data.gather(layout, now, true);
                painter.paint(dc, {0, 0, screen.width, height}, model, index, content, state,
                              home::PaintColours::system(), now);
                // Something is drawn in the right half too: the panel fills the width.
                int drawn = home::test::countOtherPixels(
                    *bitmap, {screen.width / 2, 0, screen.width, height}, 0xFFFFFF);
                EXPECT_GT(drawn, 50) << name << " " << screen.width;
                if (shots) {
                    std::string file = name.substr(0, name.size() - 4) + "_" +
                                       std::to_string(screen.width) + "_" +
                                       platform::toUtf8(layout.name) + ".png";
                    EXPECT_TRUE(platform::savePng(*bitmap, std::filesystem::path(shots) / file));
                }
                ++tab;
            }
        }
    }
}

}  // namespace
