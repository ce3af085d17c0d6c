#pragma once
// The Today item: the current layout of the home layout file with its tab strip, the favourite
// it shows, its timers (rotation, data refresh, busy animation), the selection highlight, taps,
// keys, its menu and starting the main program. One item lives while the host keeps the item
// window; a rebuild (OptHomeLayoutReload) makes a new one.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "home/home_data.h"
#include "home/layout.h"
#include "home/layout_painter.h"
#include "platform/api/clock.h"
#include "platform/api/draw.h"
#include "todayplugin/item_host.h"

namespace todayplugin {

// Timers of the item window.
namespace timer {
constexpr std::uint32_t Rotate = 1000;
constexpr std::uint32_t Refresh = 1001;
constexpr std::uint32_t Busy = 1002;
}  // namespace timer
constexpr std::uint32_t kRefreshMs = 30000;
// The data refresh comes every kRefreshMs, and sooner when a new minute starts before that,
// so that the times shown turn with the clock. utcNow: the device's clock.
std::uint32_t refreshDelayMs(platform::FileTime utcNow);
constexpr std::uint32_t kBusyMs = 1000;

// Where the keys and taps go: the tab strip or the panel below it.
enum class Mode { Tabs = 1, Panel = 2 };

// Commands of the item menu.
namespace command {
constexpr std::uint32_t OpenProgram = 1, Update = 2, CancelUpdate = 3, Pause = 4, Resume = 5;
}

class HomeItem {
  public:
    // Reads the settings, the favourites and the layout file, then selects tab 1.
    HomeItem(ItemHost& host, std::wstring layoutPath, std::wstring mainPath);
    ~HomeItem();
    HomeItem(const HomeItem&) = delete;
    HomeItem& operator=(const HomeItem&) = delete;

    // The height the item wants: the current one with auto height, else the tab strip and the
    // tallest layout; never less than 16 x scale.
    int wantedHeight() const;

    // Host colours and the item rectangle, asked again at every refresh check.
    void refreshColours();
    // Reads every object's data again and restarts the 30-second refresh.
    void refreshData();
    // PluginUpdateData was set: read the data again and clear the flag.
    void takeUpdateRequest();

    void selectTab(int tab);
    void setFocus(bool focus);
    bool hasFocus() const { return focus_; }
    Mode mode() const { return mode_; }
    int currentTab() const { return currentTab_; }
    int favourite() const { return data_.currentFavourite(); }
    int busyFrame() const { return busyFrame_; }
    const home::Layout* currentLayout() const;
    const home::LayoutModel& model() const { return model_; }
    int rotateSeconds() const { return rotateSeconds_; }
    bool paused() const { return paused_; }

    void onTimer(std::uint32_t id);
    // Stylus down at a point of the item; 1 when the tap was the item's own (menu, tab).
    int onTap(platform::Point p);
    // Virtual keys from the window, the host's navigation and the action key; 1 when used.
    int onKey(std::uint32_t virtualKey);
    int onNavigation(std::uint32_t virtualKey);

    void paint(platform::Bitmap& target);

  private:
    void stepFavourite();
    void checkBusy();
    void readRotation();
    void restartRotation();
    void showMenu();
    // Starts the main program on the layout's start_roam screen (or the fallback when the
    // layout names none; nothing without either).
    void startMainProgram(std::wstring_view fallback = {});
    void nextWideLayout();
    // The current layout's objects gather their data again: force re-reads the weather files,
    // else only what changes with the time is new.
    void refreshObjects(bool force);
    platform::Rect itemRect() const;

    ItemHost& host_;
    std::wstring layoutPath_;
    std::wstring mainPath_;
    home::LayoutModel model_;
    std::optional<std::size_t> layout_;
    home::HomeData data_;
    home::LayoutPainter painter_;
    home::LayoutContent content_;
    home::Rotation rotation_;
    int scale_ = 1;
    int screenWidth_ = 240;
    int currentTab_ = 1;
    Mode mode_ = Mode::Panel;
    bool focus_ = false;
    int rotateSeconds_ = 0;
    bool busyTimer_ = false;
    bool paused_ = false;
    bool autoHeightSetting_ = true;  // OptHomeAutoHt, read when the item is built
    int busyFrame_ = 0;
    std::wstring clockFace_;
    home::PaintColours colours_ = home::PaintColours::system();
};

}  // namespace todayplugin
