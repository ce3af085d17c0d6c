#pragma once
// The list of the packing screen. On the overview pages each row is a list or template with
// its icon, name and status; on the items and master-list pages the rows are category
// headings "Category (N)" and items with a tick box on the left and the flag on the right.
// A tap on an item's tick box ticks it, a tap on its flag column flags it; a tap elsewhere
// chooses the row, and a second tap on the chosen row acts as Enter does.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/list_control.h"
#include "ui/list_model.h"
#include "worldtime/screens/city_lists.h"

namespace travel {

struct PackingViewRow {
    enum class Kind { Overview, Heading, Item };
    Kind kind = Kind::Item;
    std::wstring title;   // list name, heading text, or item text
    std::wstring detail;  // status of a list; category of an item
    std::wstring icon;    // list icon file (overview rows)
    bool ticked = false;
    bool flagged = false;
    int index = -1;  // overview row (0-based) or item index; -1 for headings
};

class PackingRowModel final : public ui::ListModel {
  public:
    void setRows(std::vector<PackingViewRow> rows);
    const std::vector<PackingViewRow>& rows() const { return rows_; }
    const PackingViewRow& row(int row) const { return rows_[static_cast<std::size_t>(row - 1)]; }

    int rowCount() const override { return static_cast<int>(rows_.size()); }
    std::wstring rowText(int row) const override { return this->row(row).title; }
    int currentRow() const override { return selected_; }
    void setCurrentRow(int row) override { selected_ = row; }

  private:
    std::vector<PackingViewRow> rows_;
    int selected_ = 0;
};

class PackingView final : public ui::ListControl {
  public:
    explicit PackingView(std::wstring mainPath);

    // Overview rows are taller (icon and two lines) than headings and items. Ticked items
    // are drawn in grey where a tick means packed (not where it means chosen).
    void setRows(std::vector<PackingViewRow> rows, bool overview, bool greyTicked = true);
    const PackingRowModel& rows() const { return model_; }
    // The row of an item index, 0 when it is not shown.
    int rowOfItem(int index) const;
    // Where a row is on the screen; empty when out of view.
    platform::Rect rowRect(int row) const;
    // The tick box and the flag column of a row's rectangle.
    platform::Rect tickZone(const platform::Rect& line) const;
    platform::Rect flagZone(const platform::Rect& line) const;

    // A tap on an item's tick box or flag column: the item's row and which zone.
    std::function<void(int row, bool flag)> onMark;

    int rowHeight() const override;
    bool pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;
    // Up and Down step over the category headings.
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;

  protected:
    void drawRow(platform::DeviceContext& dc, const platform::Rect& line, int row,
                 bool current) override;

  private:
    void drawOverviewRow(platform::DeviceContext& dc, const platform::Rect& line,
                         const PackingViewRow& r, bool current);
    void drawItemRow(platform::DeviceContext& dc, const platform::Rect& line,
                     const PackingViewRow& r, bool current);
    worldtime::RowMark& icon(const std::wstring& file);

    std::wstring mainPath_;
    PackingRowModel model_;
    bool overview_ = true;
    bool greyTicked_ = true;
    worldtime::RowMark tick_;
    worldtime::RowMark box_;
    worldtime::RowMark flag_;
    std::map<std::wstring, worldtime::RowMark> icons_;
};

}  // namespace travel
