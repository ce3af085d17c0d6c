// Condition icons: every number of the install folder's icon table names a picture that
// decodes, and the night numbers 100 to 102 are read from weather files as themselves and show
// pictures of their own rather than the day's sun.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "gfx/targa.h"
#include "platform/api/device.h"
#include "tests/weather/support/weather_test_support.h"
#include "weather/weather_data.h"

namespace weather {
namespace {

using test::kDownloads;
using test::kMainPath;

constexpr int kNightIcons[] = {100, 101, 102};

std::filesystem::path dataPath(const std::wstring& installRelative) {
    std::string relative = platform::toUtf8(installRelative);
    std::replace(relative.begin(), relative.end(), '\\', '/');
    return std::filesystem::path(VORN_SOURCE_DIR) / "data" / relative;
}

// The numbers of the "| N | Weather |" table of data/README.md, in order.
std::vector<int> iconTableNumbers() {
    std::ifstream in(std::filesystem::path(VORN_SOURCE_DIR) / "data" / "README.md");
    std::vector<int> numbers;
    bool inTable = false;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("| N | Weather |")) {
            inTable = true;
            continue;
        }
        if (!inTable || line.starts_with("|---"))
            continue;
        if (!line.starts_with("| "))
            break;
        numbers.push_back(std::stoi(line.substr(2)));
    }
    return numbers;
}

std::unique_ptr<gfx::TargaPixels> pictureOf(int icon) {
    std::ifstream in(dataPath(conditionIconPath(icon)), std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    std::unique_ptr<gfx::TargaPixels> picture;
    EXPECT_EQ(gfx::decodeTarga(bytes, picture), gfx::TargaStatus::Loaded) << "icon " << icon;
    return picture;
}

int opaquePixels(const gfx::TargaPixels& picture) {
    int opaque = 0;
    for (std::size_t i = 3; i < picture.pixels.size(); i += 4) opaque += picture.pixels[i] > 128;
    return opaque;
}

TEST(WeatherIconsTest, EveryNumberOfTheIconTableHasAPicture) {
    const std::vector<int> numbers = iconTableNumbers();
    ASSERT_GE(numbers.size(), 28u);
    const std::set<int> known(numbers.begin(), numbers.end());
    for (int code : {0, 1, 2, 3, 63, 99, 100, 101, 102}) EXPECT_TRUE(known.contains(code)) << code;
    for (int code : numbers) {
        std::unique_ptr<gfx::TargaPixels> picture = pictureOf(code);
        ASSERT_NE(picture, nullptr) << code;
        EXPECT_EQ(picture->width, 96) << code;
        EXPECT_EQ(picture->height, 96) << code;
        ASSERT_EQ(picture->bytesPerPixel, 4) << code;
        EXPECT_GT(opaquePixels(*picture), 96 * 96 / 20) << code;  // something is drawn
    }
}

TEST(WeatherIconsTest, NightPicturesDifferFromTheDayOnes) {
    for (int night : kNightIcons) {
        std::unique_ptr<gfx::TargaPixels> moon = pictureOf(night);
        std::unique_ptr<gfx::TargaPixels> sun = pictureOf(night - 100);
        ASSERT_TRUE(moon && sun) << night;
        ASSERT_EQ(moon->pixels.size(), sun->pixels.size());
        std::size_t differing = 0;
        for (std::size_t i = 0; i < moon->pixels.size(); ++i)
            differing += moon->pixels[i] != sun->pixels[i];
        EXPECT_GT(differing, moon->pixels.size() / 20) << night;
    }
}

class NightIconsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::prepareDevice({"icons/customweather/100.tga", "icons/customweather/101.tga",
                             "icons/customweather/102.tga"});
    }
};

TEST_F(NightIconsTest, AreReadAsThemselvesAndLoadFromTheInstallFolder) {
    test::writeDownload(L"LON.dat", "1~100\n1~101\n1~102\n1~103\n");
    WeatherData daily(fileKind::Daily, L"LON", Units{}, kDownloads);
    for (int row = 1; row <= 3; ++row) {
        const int icon = daily.iconNumber(row);
        EXPECT_EQ(icon, 99 + row);
        std::unique_ptr<gfx::TargaPixels> picture;
        EXPECT_EQ(gfx::loadTarga(std::wstring(kMainPath) + conditionIconPath(icon), picture),
                  gfx::TargaStatus::Loaded)
            << icon;
    }
    // A number without a picture is still read as written, not turned into "no report".
    EXPECT_EQ(daily.iconNumber(4), 103);
    std::unique_ptr<gfx::TargaPixels> none;
    EXPECT_NE(gfx::loadTarga(std::wstring(kMainPath) + conditionIconPath(103), none),
              gfx::TargaStatus::Loaded);

    test::writeDownload(L"LON_c.dat", "1~100~9~2~SW~18~1013~Clear night\n");
    WeatherData current(fileKind::Current, L"LON", Units{}, kDownloads);
    EXPECT_EQ(current.iconNumber(), 100);
}

}  // namespace
}  // namespace weather
