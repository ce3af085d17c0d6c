#pragma once
// The other pieces of the packing screen: the heading band over the list (a list's icon and
// name, and on the items page the counts of the list), and the icon chooser of a new list.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/control.h"
#include "worldtime/screens/city_lists.h"

namespace travel {

// The counts the items page shows under the list's name.
struct PackingSummary {
    int items = 0;
    int packed = 0;
    int marked = 0;
};

class PackingHeading final : public ui::Control {
  public:
    explicit PackingHeading(std::wstring mainPath);

    // The summary row shows when a summary is given.
    void set(std::wstring title, std::wstring icon, std::optional<PackingSummary> summary);
    const std::wstring& title() const { return title_; }
    const std::optional<PackingSummary>& summary() const { return summary_; }
    // The height the band needs, in layout pixels.
    static int heightFor(bool withSummary);

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;

  private:
    std::wstring mainPath_;
    std::wstring title_;
    std::wstring iconFile_;
    std::optional<PackingSummary> summary_;
    worldtime::RowMark icon_;
};

// A row of the list icons; the chosen one is framed. A tap or the left and right keys choose.
class IconChooser final : public ui::Control {
  public:
    explicit IconChooser(std::wstring mainPath);

    void setIcons(std::vector<std::wstring> icons);
    const std::vector<std::wstring>& icons() const { return icons_; }
    // Chooses the icon of that file when it is among the icons, else the first.
    void choose(std::wstring_view file);
    // The chosen icon's file; empty when there are none.
    std::wstring chosen() const;
    int chosenIndex() const { return chosen_; }
    platform::Rect iconRect(int index) const;

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
    bool pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;

  private:
    std::wstring mainPath_;
    std::vector<std::wstring> icons_;
    std::map<std::wstring, worldtime::RowMark> marks_;
    int chosen_ = 0;
};

}  // namespace travel
