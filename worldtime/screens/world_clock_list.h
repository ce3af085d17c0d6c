#pragma once
// The world time list: one row per favourite with a small analogue clock, the local time and
// date and the city's name. The selected row carries a move-up button when it is not the
// first; the Right key and a tap on the button move the favourite up.
//
// The list keeps its own table of as many rows as there are favourites for its selection, so
// that choosing a row never changes the current favourite.

#include <functional>
#include <string>
#include <vector>

#include "core/record_table.h"
#include "gfx/targa.h"
#include "ui/list_control.h"
#include "worldtime/world_clock.h"

namespace worldtime {

// A favourite's row as the list shows it.
struct ClockListRow {
    WorldClockRow clock;
    std::wstring time;
    std::wstring date;
};

class WorldClockList final : public ui::ListControl {
  public:
    WorldClockList();

    // New rows; the selection stays on its row number while that still exists. The current
    // favourite's name is marked.
    void setRows(std::vector<ClockListRow> rows, int currentFavourite);
    const std::vector<ClockListRow>& rows() const { return rows_; }
    int currentFavourite() const { return currentFavourite_; }
    // The clock face sized for a row, the move-up button and the current favourite's mark.
    void setPictures(gfx::TargaPixels face, gfx::TargaPixels moveUp, gfx::TargaPixels mark);
    // The size the clock face should have for the row height.
    int clockSize() const;

    // Asked to move a favourite (a row number) up.
    std::function<void(int row)> onMoveUp;
    // Where the move-up button of a row is on the screen; empty when the row shows none
    // (not selected, the first row, or scrolled out of view).
    platform::Rect moveUpRect(int row) const;
    // Where a row is on the screen (clipped to the rows area); empty when out of view.
    platform::Rect rowRect(int row) const;

    int rowHeight() const override;
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
    bool pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;

  protected:
    void drawRow(platform::DeviceContext& dc, const platform::Rect& line, int row,
                 bool current) override;

  private:
    platform::Rect moveUpRectIn(const platform::Rect& line) const;

    core::RecordTable selection_{1};
    std::vector<ClockListRow> rows_;
    int currentFavourite_ = 0;
    gfx::TargaPixels face_;
    gfx::TargaPixels moveUp_;
    gfx::TargaPixels mark_;
    bool movePressed_ = false;
};

}  // namespace worldtime
