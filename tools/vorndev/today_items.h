#pragma once
// The Today screen's custom items: libraries named in HKLM\Software\Microsoft\Today\Items,
// loaded by device path and driven through the C table of platform/api/today_item.h. A
// library that is missing, not loadable, lacks its entry point or declines to start is left
// out with a line in the device log; the screen carries on with the others.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/api/today_item.h"
#include "platform/api/window.h"

namespace vorndev {

class TodayItems {
  public:
    // Items become child windows of the screen window.
    explicit TodayItems(platform::WindowHandle screen);
    ~TodayItems();
    TodayItems(const TodayItems&) = delete;
    TodayItems& operator=(const TodayItems&) = delete;

    // Destroys the current items and loads every enabled item of the registry again.
    void reload();
    void unload();

    // Asks each item whether its content or height changed (the refresh query); true when
    // some item's height changed, so the screen lays the items out again.
    bool refresh();
    // Places the items one below the other from top, at the given width; returns the bottom.
    int layout(int top, int width);

    // Key navigation among the items. True when the key was used.
    bool key(std::uint32_t virtualKey);
    // Drops the selection (a tap elsewhere on the screen).
    void clearSelection();

    std::size_t count() const { return items_.size(); }
    platform::WindowHandle window(std::size_t index) const;
    // The names of the items that were left out, with the reason, for the screen to show.
    const std::vector<std::wstring>& failures() const { return failures_; }

    struct Item;
    struct Binding;

  private:
    void loadItem(const std::wstring& name);
    void select(int index);
    friend struct HostServices;

    platform::WindowHandle screen_;
    VornTodayHost host_{};
    std::string deviceRoot_;
    std::vector<std::unique_ptr<Item>> items_;
    std::vector<std::wstring> failures_;
    int selected_ = -1;
};

}  // namespace vorndev
