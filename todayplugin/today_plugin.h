#pragma once
// The plug-in's side of the Today item boundary (platform/api/today_item.h): the item window's
// messages, the refresh query with its rebuild and data requests, and the home item's life.
// The library's exports (programs/VornRoamerToday) hand their calls to these functions.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/api/today_item.h"
#include "todayplugin/home_item.h"
#include "todayplugin/item_host.h"

namespace todayplugin {

// The item window's class and name.
constexpr wchar_t kWindowClass[] = L"VornRoamerToday";

class TodayPlugin {
  public:
    // host stays the item's host while the plug-in lives (tests pass a fake).
    explicit TodayPlugin(ItemHost& host) : host_(host) {}

    // Creates the home item when there is none (reading the layout file the settings name).
    void ensureItem();
    void dropItem() { item_.reset(); }
    HomeItem* item() { return item_.get(); }

    // The refresh query: takes up OptHomeLayoutReload and PluginUpdateData, asks the colours
    // again and reports the wanted height in the record. 1 when the height changed.
    int queryRefresh(VornTodayListItem& record);

    // A message to the item window, as the window procedure answers it. handled is false for
    // messages the item leaves to the host's default handling.
    std::int64_t handle(std::uint32_t message, std::uint64_t wParam, std::int64_t lParam,
                        bool& handled);

  private:
    void paintInto(VornTodaySurface& surface);

    ItemHost& host_;
    std::unique_ptr<platform::Bitmap> canvas_;
    std::wstring builtFor_;  // the install folder the item was built with
    std::unique_ptr<HomeItem> item_;
    std::uint32_t reportedHeight_ = 0;
};

// The exports' work, over the host's C table.
std::uint32_t initializeItem(VornTodayListItem* record, std::uint32_t parent);
std::intptr_t optionsDialog(std::uint32_t dialog, std::uint32_t message, std::uint64_t wParam,
                            std::int64_t lParam);

}  // namespace todayplugin
