#pragma once
// The home-mode screen (module 10), the program's first screen: one page with four modes,
// chosen with the four mode buttons and remembered in the settings file ("homemode"):
// 1 the clock of a favourite city, 2 the month calendar, 3 a weather summary of the current
// city, 4 the quick alarm. It also shows the comms program's busy indicator, starts or
// cancels a weather download, opens the device's calendar program on a chosen day and
// switches between normal and full-screen display.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "core/comms_request.h"
#include "gfx/targa.h"
#include "home/screens/home_layouts.h"
#include "platform/api/clock.h"
#include "ui/module.h"
#include "worldtime/favourites.h"

namespace ui {
class DropDown;
class Label;
class TextButton;
}  // namespace ui

namespace worldtime {
class BusyIndicator;
class MonthCalendarView;
}  // namespace worldtime

namespace home {

class CityClockControl;
class HomeModeButton;
class QuickAlarmPanel;
class WeatherSummaryPanel;

namespace homeMode {
constexpr int Clock = 1, Calendar = 2, Weather = 3, Alarm = 4;
}

// Commands of the soft keys and menus.
namespace homeCommand {
constexpr std::uint32_t NewAppointment = 110, ViewDay = 111, Update = 112, WeatherDetails = 113,
                        Cities = 114, Quit = 199, About = 200;
}

// The screen's timers: the second tick, the busy animation and the full-screen fade.
constexpr std::uintptr_t kTickTimer = 4001, kBusyTimer = 4002, kFadeTimer = 4003;
constexpr std::uint32_t kTickMs = 1000, kBusyMs = 300, kFadeMs = 100;

// The comms request of the update command and its mask (the current city's weather).
constexpr int kUpdateMask = 10;

// The live screen in words, for drivers of the program ("ctl app home").
struct HomeReadout {
    std::wstring text;
};

class HomeModeScreen final : public ui::Module {
  public:
    HomeModeScreen(ui::ModuleHost& host, worldtime::Favourites& favourites,
                   std::shared_ptr<HomeReadout> readout = {});
    ~HomeModeScreen() override;

    void build() override;
    void show(bool visible, bool focusFirst) override;
    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;
    void controlChanged(ui::Control& control) override;
    bool controlPressed(ui::Control& control) override;
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
    void pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;
    bool command(std::uint32_t commandId, std::intptr_t data) override;
    void timer(std::uintptr_t id) override;
    void startTimers() override;
    void activationChanged(bool deactivated) override;
    bool commsMessage(platform::WindowHandle window, std::uint32_t message, platform::WParam wParam,
                      platform::LParam lParam) override;
    std::span<const ui::MenuEntry> menuEntries() const override;
    // The calendar's month and day and a pending request outlive a rotation.
    std::any saveState() const override;
    void restoreState(const std::any& state) override;

    int mode() const { return mode_; }
    // Makes a mode current as a focus change on its button does: stored at once.
    void chooseMode(int mode);
    bool isBusy() const { return busy_; }
    bool isFullScreen() const { return fullScreen_; }
    HomeLayoutKind layoutKind() const { return kind_; }
    // Toggles full-screen display, as a tap on the clock does.
    void toggleFullScreen();
    // Sets or cancels the quick alarm, as button 11 does.
    void pressAlarmButton();
    // Moves the chosen city by one favourite, wrapping round.
    void stepCity(int step);
    // Moves the calendar by months.
    void stepMonth(int step);

  private:
    void placeFromLayout();
    void setUpModeButtons();
    void refreshMode();
    void applyVisibility();
    void refreshModeButtons();
    void focusModeButton();
    void syncFocus();
    void loadQuickAlarmState();
    void refreshQuickAlarm();
    void refreshNowLine();
    void refreshClockTexts();
    void refreshCity();
    void refreshWeatherIcon();
    void refreshWeather();
    void showToday();
    void refreshMonthCaptions();
    void update();
    void setBusy(bool busy);
    void updateMenu();
    void moveControls(int dy);
    void fadeStep();
    void openCalendar(bool newAppointment);
    bool modeKey(std::uint32_t keyCode);
    bool calendarKey(std::uint32_t keyCode);
    bool alarmKey(std::uint32_t keyCode);
    void startTick();
    void stopTimer(std::uintptr_t id);
    int cityRow() const;
    std::wstring cityField(int field) const;
    void updateReadout();

    ui::ModuleHost& host_;
    worldtime::Favourites& favourites_;
    std::shared_ptr<HomeReadout> readout_;
    HomeLayoutKind kind_ = HomeLayoutKind::Portrait;
    int mode_ = homeMode::Clock;
    bool busy_ = false;
    bool fullScreen_ = false;
    // Focus changes the screen makes itself choose no mode.
    bool settingFocus_ = false;
    // The calendar cell a tap-and-hold landed on while its menu is open.
    int heldCell_ = -1;
    core::CommsRequestWatch request_;
    std::array<ui::MenuEntry, 12> menu_{};
    std::size_t menuSize_ = 0;
    gfx::TargaPixels weatherIcon_;

    ui::DropDown* cities_ = nullptr;
    CityClockControl* clock_ = nullptr;
    ui::Label* line1_ = nullptr;
    ui::Label* line2_ = nullptr;
    std::array<HomeModeButton*, 4> modeButtons_{};
    ui::TextButton* previousMonth_ = nullptr;
    ui::TextButton* nextMonth_ = nullptr;
    ui::TextButton* alarmButton_ = nullptr;
    ui::Label* nowLine_ = nullptr;
    ui::Label* alarmStatus_ = nullptr;
    ui::TextButton* updateButton_ = nullptr;
    worldtime::BusyIndicator* busyIndicator_ = nullptr;
    worldtime::MonthCalendarView* calendar_ = nullptr;
    WeatherSummaryPanel* weather_ = nullptr;
    QuickAlarmPanel* alarm_ = nullptr;
};

}  // namespace home
