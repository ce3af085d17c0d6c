#pragma once
// The meeting planner's grid as a control: a heading row with the device's column and a column
// per favourite, then an hour a row. Working hours are tinted green in each column, the
// selected row is framed in the theme's colour, and the rows scroll smoothly under the
// heading while the device's column and the heading stay where they are. More favourites than
// fit are paged sideways.

#include <string>
#include <vector>

#include "ui/control.h"
#include "worldtime/planner.h"

namespace worldtime {

// The smooth scroll of the rows: each step moves the offset a third of the way to its target,
// and a step of less than a pixel lands on the target.
class SmoothScroll {
  public:
    int offset() const { return offset_; }
    int target() const { return target_; }
    bool moving() const { return offset_ != target_; }
    void setTarget(int target) { target_ = target; }
    void jump(int target) { offset_ = target_ = target; }
    // One timer tick; false once the offset has reached the target.
    bool step();

  private:
    int offset_ = 0;
    int target_ = 0;
};

class PlannerView final : public ui::Control {
  public:
    PlannerView();

    // The grid and the texts of its cells (clock format, midnight and noon, the device
    // column's heading).
    void setGrid(PlannerGrid grid, int clockFormat, std::wstring midnight, std::wstring noon,
                 std::wstring deviceHeading);
    const PlannerGrid& grid() const { return grid_; }
    const std::wstring& cellText(int column, int row) const;

    // The selected hour row, 1 to kPlannerHours; scrolled into view smoothly.
    int selectedRow() const { return selected_; }
    void select(int row, bool smooth);
    // The first favourite column shown beside the device's; Left and Right page through them.
    int firstFavourite() const { return firstFavourite_; }
    int visibleFavourites() const;
    void showFavouritesFrom(int favourite);

    // Pixels.
    int rowHeight() const;
    int columnWidth() const;
    SmoothScroll& scroll() { return scroll_; }
    // The row under a point of the window, or 0.
    int rowAt(platform::Point point) const;
    // The scroll offset that shows a row.
    int offsetShowing(int row) const;

    // Called with each change of the selection (a tap, a key).
    std::function<void(int row)> onSelect;
    // Called when the rows should start scrolling towards their target.
    std::function<void()> onScroll;

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;
    bool pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;

  private:
    void paintCell(platform::DeviceContext& dc, const platform::Rect& cell, int column, int row);
    int maxOffset() const;

    PlannerGrid grid_;
    std::vector<std::vector<std::wstring>> texts_;  // [column][row - 1]
    std::wstring deviceHeading_;
    int selected_ = 1;
    int firstFavourite_ = 1;
    SmoothScroll scroll_;
};

// Blends a colour over a rectangle of the context at an opacity of 0 to 255.
void blendRect(platform::DeviceContext& dc, const platform::Rect& rect, platform::Colour colour,
               int alpha);

}  // namespace worldtime
