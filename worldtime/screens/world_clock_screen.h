#pragma once
// The world time screen (module 20): the favourite cities, each with a small analogue clock,
// its local time and date, in an order the user can change. The Right key or the move-up
// button moves the selected favourite up; the menu makes it the current city or opens the
// city list to choose favourites.

#include <cstdint>
#include <map>

#include "gfx/targa.h"
#include "ui/module.h"
#include "worldtime/favourites.h"
#include "worldtime/screens/screen_timers.h"
#include "worldtime/world_clock.h"

namespace worldtime {

class WorldClockList;

namespace worldClockId {
constexpr int Title = 1, List = 2, Empty = 3, Cities = 4;
}
namespace worldClockCommand {
constexpr std::uint32_t MoveUp = 707, MakeCurrent = 709, Cities = 241;
}

class WorldClockScreen final : public ui::Module {
  public:
    WorldClockScreen(ui::ModuleHost& host, Favourites& favourites);
    ~WorldClockScreen() override;

    void build() override;
    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;
    bool command(std::uint32_t commandId, std::intptr_t data) override;
    bool controlPressed(ui::Control& control) override;
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
    void timer(std::uintptr_t id) override;
    void startTimers() override;
    void skinChanged(bool redraw) override;
    std::span<const ui::MenuEntry> menuEntries() const override;

    WorldClockList* list() const { return list_; }
    // The selected favourite outlives a rotation.
    std::any saveState() const override;
    void restoreState(const std::any& state) override;
    // Moves a favourite one place up; false for the first row or one that does not exist.
    bool moveUp(int row);
    // Makes a favourite the current city.
    bool makeCurrent(int row);
    // Rebuilds the rows for the present time.
    void refresh();

  private:
    void loadPictures();
    // The picture of a condition icon number at the list's size, loaded once per number; the
    // no-report picture for a number without one.
    const gfx::TargaPixels& weatherPicture(int icon);
    void openCityList();
    void showEmptyState();

    ui::ModuleHost& host_;
    Favourites& favourites_;
    WorldClockList* list_ = nullptr;
    MinuteCheck minuteCheck_;
    std::map<int, gfx::TargaPixels> weatherPictures_;
};

}  // namespace worldtime
