#pragma once
// The home-mode screen's own controls: the mode buttons with their overlay level, the city
// clock, the weather summary panel and the quick-alarm panel with its time picker.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gfx/targa.h"
#include "home/screens/alarm_time_picker.h"
#include "platform/api/clock.h"
#include "ui/control.h"
#include "ui/pressable.h"

namespace home {

// A Targa picture of the install folder at one size. Resized copies are shared by every
// screen of the process, so building the screen again (a turn, a return from another screen)
// resizes nothing; the fixed pictures are also kept between starts (gfx::ResampleCache).
class SizedPicture {
  public:
    // keepBetweenStarts: the picture is one of the screen's own, not one of the many
    // weather pictures that would crowd the kept copies out.
    void load(std::wstring_view devicePath, bool keepBetweenStarts = true);
    // The picture at width x height; empty when it does not decode.
    const gfx::TargaPixels& at(int width, int height);

  private:
    std::wstring path_;
    bool keep_ = true;
    gfx::TargaPixels sized_;
};

// A mode button: its picture with the theme's button overlay blended over it at a level
// from 0 (none) to 1 (full). The button of the mode shown carries a bar in the theme's colour
// below its picture. Gaining the focus tells onFocus.
class HomeModeButton final : public ui::Pressable {
  public:
    void setPictures(std::wstring_view picture, std::wstring_view overlay);
    double level() const { return level_; }
    void setLevel(double level);
    bool isCurrent() const { return current_; }
    void setCurrent(bool current);

    void focus(bool gained, bool redraw) override;
    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;

    std::function<void(HomeModeButton&)> onFocus;

  private:
    SizedPicture picture_;
    SizedPicture overlay_;
    gfx::TargaPixels levelled_;
    double levelledAt_ = -1;
    double level_ = 0.3;
    bool current_ = false;
};

// The clock of a city: the theme's clock face with hour, minute and second hands. A press
// goes to the owner (it toggles the full-screen display).
class CityClockControl final : public ui::Pressable {
  public:
    CityClockControl() { isFocusable = false; }

    void setTime(const platform::SystemTime& local);
    const platform::SystemTime& time() const { return local_; }
    // The face resized to the control (the host's decoration picture), made on first paint.
    std::function<gfx::TargaPixels(int size)> loadFace;
    void dropFace() { face_ = {}; }

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;

  private:
    platform::SystemTime local_{};
    gfx::TargaPixels face_;
};

// What the weather summary shows for one city.
struct WeatherSummary {
    struct Day {
        std::wstring iconPath;  // device path of the condition picture
        std::wstring dayName;
        std::wstring temperature;
    };
    bool hasCity = false;
    std::wstring cityName;
    // Up to five days; none when there is no forecast.
    std::vector<Day> days;
    // The two lines that stand in for a missing forecast.
    std::vector<std::wstring> noForecast;
    std::wstring currentIconPath;
    // "Now 20°C" and the conditions, or the no-data lines.
    std::vector<std::wstring> currentLines;
    // Smaller pictures in display mode.
    bool small = false;
};

// The weather summary panel: the city's name between the left and right arrows, a strip of
// five days of forecast and the current conditions.
class WeatherSummaryPanel final : public ui::Control {
  public:
    explicit WeatherSummaryPanel(std::wstring mainPath);

    void setSummary(WeatherSummary summary);
    const WeatherSummary& summary() const { return summary_; }

    // Window rectangles of the heading band and of its two arrows.
    platform::Rect headingRect() const;
    platform::Rect leftArrowRect() const;
    platform::Rect rightArrowRect() const;

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;

  private:
    SizedPicture& picture(const std::wstring& path);
    void paintForecast(platform::DeviceContext& dc, const platform::Rect& area);
    void paintCurrent(platform::DeviceContext& dc, const platform::Rect& area);

    std::wstring mainPath_;
    WeatherSummary summary_;
    SizedPicture left_;
    SizedPicture right_;
    std::map<std::wstring, SizedPicture> pictures_;
};

// The quick-alarm panel: a framed area with the picker's four digits drawn with the digits
// picture, an arrow above and below each digit. While the picker is being edited the
// selected digit is framed. A tap on a digit selects it, on an arrow steps it.
class QuickAlarmPanel final : public ui::Control {
  public:
    explicit QuickAlarmPanel(std::wstring mainPath);

    AlarmTimePicker& picker() { return picker_; }
    const AlarmTimePicker& picker() const { return picker_; }
    // The digits' opacity (the blink): 0.5 or 1.0.
    double level() const { return level_; }
    void setLevel(double level);
    bool isEditing() const { return editing_; }
    void setEditing(bool editing);
    // The digits picture (ten glyphs side by side), from the host's decoration pictures.
    std::function<gfx::TargaPixels(int width, int height)> loadDigits;

    // Window rectangles of a digit and of its arrows.
    platform::Rect digitRect(int place) const;
    platform::Rect arrowRect(int place, bool up) const;

    bool pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;
    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;

    // The picker changed by a tap.
    std::function<void()> onPicked;

  private:
    int glyphHeight() const;
    int glyphWidth() const;
    void paintDigit(platform::DeviceContext& dc, int digit, const platform::Rect& cell);

    std::wstring mainPath_;
    AlarmTimePicker picker_;
    double level_ = 1.0;
    bool editing_ = false;
    gfx::TargaPixels strip_;
    gfx::TargaPixels glyphs_[10];
    SizedPicture up_;
    SizedPicture down_;
};

}  // namespace home
