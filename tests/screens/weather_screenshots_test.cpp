// The weather screen as a traveller sees it, at every display profile and in every kind of
// weather: modes 1 to 4 drawn for a clear day, rain, snow, a thunderstorm and a clear night
// (icon 100, the moon; saved for review with VORN_WEATHER_SCREENSHOTS=FOLDER), and the satellite
// loop, whose frames change the map and nothing else on the screen.

#include <gtest/gtest.h>

#include <memory>

#include "gfx/targa.h"
#include "tests/screens/support/weather_fixture.h"

using namespace platform;
using namespace weather;
using namespace weather::test;

namespace {

struct Weather {
    const char* name;
    int icon;
    const char* text;
    int high;
    int low;
};

const Weather kWeathers[] = {
    {"clear", 0, "Clear sky, light breeze", 24, 14},
    {"rain", 63, "Moderate rain, heavier later", 13, 8},
    {"snow", 73, "Snow showers, settling on hills", -1, -6},
    {"thunderstorm", 95, "Thunderstorms with hail", 27, 19},
    {"night", 100, "Clear night, cold", 9, 2},
};

std::string row(const Weather& w, int day, int shift, const std::string& period) {
    return "1~" + std::to_string(w.icon) + "~" + std::to_string(w.high + shift) + "~" +
           std::to_string(w.low + shift) + "~SW~" + std::to_string(12 + 3 * day) + "~" +
           std::to_string((day + 1) % 7 + 1) + "~" + w.text + "~12" + (day < 9 ? "0" : "") +
           std::to_string(day + 1) + "26~" + period + "~~~~~~\n";
}

class WeatherScreenshots : public WeatherScreenTest {
  protected:
    void writeWeather(const Weather& w) {
        std::string daily, periods;
        for (int day = 0; day < 7; ++day) daily += row(w, day, day % 3 - 1, "M");
        for (int part = 0; part < 8; ++part)
            periods += row(w, part / 4, part % 4 - 2, {"MAEN"[part % 4]});
        write(kCode + ".dat", daily);
        write(kCode + "_d.dat", periods);
        write(kCode + "_c.dat", "1~" + std::to_string(w.icon) + "~" + std::to_string(w.high - 2) +
                                    "~" + std::to_string(w.low) + "~SW~18~1013~" + w.text +
                                    "~~Heathrow~" + std::to_string(w.high - 4) + "~10~" + w.name +
                                    "~Observed 12:00 at Heathrow\n");
        std::string outlook = std::string("1~") + w.text + "~";
        for (int k = 1; k <= 8; ++k) {
            outlook += std::string("~") + "MAEN"[(k - 1) % 4] + "~" + std::to_string(1 + k / 4) +
                       "~" + std::to_string(k % 6) + "~" + (k % 3 ? w.text : "*");
        }
        write(kCode + "_a.dat", outlook + "~Bands give the hours of sunshine\n");
        copyPicture(kCode + "_m.dat");
        const char* frames[] = {"land_ocean.jpg", "land_meadow.jpg", "dusk.jpg", "land_slate.jpg"};
        for (int f = 0; f < 4; ++f) {
            std::filesystem::copy_file(
                std::filesystem::path(VORN_SOURCE_DIR) / "data" / "backgrounds" / frames[f],
                downloads() / ("BritishIsles_sat" + std::to_string(f) + ".dat"),
                std::filesystem::copy_options::overwrite_existing);
        }
    }
};

TEST_F(WeatherScreenshots, EveryModeInEveryWeatherAtEveryProfile) {
    for (const char* shape : {"240x320", "480x640", "320x240"}) {
        setScreenProfile(*screenProfileFromName(shape));
        broadcastScreenChanged();
        for (const Weather& w : kWeathers) {
            SCOPED_TRACE(std::string(shape) + " " + w.name);
            writeWeather(w);
            std::string stem = std::string("weather-") + shape + "-" + w.name + "-mode";
            open(kWeatherModule);
            ASSERT_EQ(list().rowCount(), 7);
            EXPECT_EQ(temperature(1), std::to_wstring(w.low - 1) + L"°C");
            // The row shows the weather's own picture, and that picture is installed.
            const std::wstring& icon = list().rows().row(1)->iconPath;
            EXPECT_TRUE(icon.ends_with(conditionIconPath(w.icon))) << platform::toUtf8(icon);
            std::unique_ptr<gfx::TargaPixels> picture;
            EXPECT_EQ(gfx::loadTarga(icon, picture), gfx::TargaStatus::Loaded);
            saveShot(stem + "1");
            tap(weatherControl::TwoDay);
            ASSERT_EQ(list().rowCount(), 8);
            saveShot(stem + "2");
            open(kOutlookModule);
            ASSERT_EQ(list().rowCount(), 8);
            saveShot(stem + "3");
            setIni(L"mapmode", mapMode::Forecast);
            open(kMapsModule);
            EXPECT_TRUE(map().picture());
            saveShot(stem + "4");
        }
    }
    setScreenProfile(*screenProfileFromName("240x320"));
    broadcastScreenChanged();
}

TEST_F(WeatherScreenshots, ALoopChangesTheMapAndNothingElse) {
    // The profile changes under a running program, as a person would switch it.
    open(kWeatherModule);
    setScreenProfile(*screenProfileFromName("480x640"));
    broadcastScreenChanged();
    writeWeather(kWeathers[0]);
    setIni(L"mapmode", mapMode::Satellite);
    setIni(L"map_animspeed", 200);
    open(kMapsModule);
    ASSERT_TRUE(screen().isLooping());
    Bitmap before = shot();
    platform::test::fastForward(300, 10);
    Bitmap after = shot();
    saveShot("weather-480x640-loop");
    Rect panel = map().rect;
    Point origin = clientToScreen(app_->mainWindow(), {0, 0});
    Rect onScreen = panel.offset(origin.x, origin.y);
    int changedInside = 0, changedOutside = 0;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            if (before.pixel(x, y) == after.pixel(x, y))
                continue;
            if (onScreen.contains({x, y}))
                ++changedInside;
            else
                ++changedOutside;
        }
    }
    EXPECT_GT(changedInside, panel.width() * panel.height() / 4) << "the frame changed";
    EXPECT_EQ(changedOutside, 0);
    setScreenProfile(*screenProfileFromName("240x320"));
    broadcastScreenChanged();
}

}  // namespace
