#pragma once
// The moon screen (module 24): the moon picture in the shape of its phase, the illuminated
// part, the moon's age and distance, and the last and next new moon in the current
// favourite's local time (the device's own without one). It opens on the present moment;
// Left and Right step a day back and forward, Enter or a tap on the moon returns to now.

#include <cstdint>

#include "ui/module.h"
#include "worldtime/favourites.h"
#include "worldtime/moon.h"
#include "worldtime/world_clock.h"

namespace worldtime {

class MoonView;

namespace moonId {
constexpr int Picture = 1, Heading = 2, Lit = 3, Age = 4, Distance = 5, LastCaption = 6,
              LastDate = 7, NextCaption = 8, NextDate = 9;
}

class MoonScreen final : public ui::Module {
  public:
    MoonScreen(ui::ModuleHost& host, Favourites& favourites);
    ~MoonScreen() override;

    void build() override;
    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;
    bool command(std::uint32_t commandId, std::intptr_t data) override;
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
    void timer(std::uintptr_t id) override;
    void startTimers() override;
    void skinChanged(bool redraw) override;
    std::span<const ui::MenuEntry> menuEntries() const override;
    // The day shift survives the screen being built again (a turn of the screen).
    std::any saveState() const override;
    void restoreState(const std::any& state) override;

    // Days the shown moment lies from now (Left and Right step it).
    int dayShift() const { return dayShift_; }
    void setDayShift(int days);
    const MoonReport& report() const { return report_; }
    MoonView* view() const { return view_; }
    // Recomputes the moon for the present moment plus the day shift.
    void refresh();

  private:
    void setText(int id, const std::wstring& text);
    std::wstring newMoonText(double julianDate) const;

    ui::ModuleHost& host_;
    Favourites& favourites_;
    MoonView* view_ = nullptr;
    platform::Rect headingBar_;
    MoonReport report_;
    int dayShift_ = 0;
    MinuteCheck minuteCheck_;
};

// The texts of the moon screen, apart so that they can be checked without a screen.
std::wstring moonLitText(double illuminated);
std::wstring moonAgeText(double ageDays);
// "%d %s %02d %02d:%02d": day, month name, year, hour, minute.
std::wstring newMoonDateText(const platform::SystemTime& local);

}  // namespace worldtime
