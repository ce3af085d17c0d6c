#pragma once
// The world time list: one row per favourite with a small analogue clock, the local time and
// date, the city's name and the condition icon of its weather today. The selected row carries a
// move-up button when it is not the first; the Right key and a tap on the button move the favourite
// up.
//
// The list's selected row is its own, apart from the current favourite, so that choosing a
// row never changes the current favourite.

#include <functional>
#include <string>
#include <vector>

#include "gfx/targa.h"
#include "ui/list_control.h"
#include "ui/list_model.h"
#include "worldtime/world_clock.h"

namespace worldtime {

// A favourite's row as the list shows it.
struct ClockListRow {
    WorldClockRow clock;
    std::wstring time;
    std::wstring date;
    // Today's condition icon number (9999: no report) and its picture, sized by
    // weatherIconSize(); a row without a picture shows none.
    int weatherIcon = 0;
    gfx::TargaPixels weather;
};

// The favourites' rows as the list shows them, with the list's selected row.
class ClockListModel final : public ui::ListModel {
  public:
    // New rows; the selection stays on its row number while that still exists.
    void setRows(std::vector<ClockListRow> rows);
    const std::vector<ClockListRow>& rows() const { return rows_; }
    const ClockListRow& row(int row) const { return rows_[static_cast<std::size_t>(row - 1)]; }

    int rowCount() const override { return static_cast<int>(rows_.size()); }
    std::wstring rowText(int row) const override { return this->row(row).clock.label; }
    int currentRow() const override { return selected_; }
    void setCurrentRow(int row) override { selected_ = row; }

  private:
    std::vector<ClockListRow> rows_;
    int selected_ = 0;
};

class WorldClockList final : public ui::ListControl {
  public:
    WorldClockList();

    // New rows; the selection stays on its row number while that still exists (the first row
    // is selected when none was). The current favourite's name is marked.
    void setRows(std::vector<ClockListRow> rows, int currentFavourite);
    const std::vector<ClockListRow>& rows() const { return clocks_.rows(); }
    int currentFavourite() const { return currentFavourite_; }
    // The clock face sized for a row, the move-up button and the current favourite's mark.
    void setPictures(gfx::TargaPixels face, gfx::TargaPixels moveUp, gfx::TargaPixels mark);
    // The size the clock face should have for the row height.
    int clockSize() const;
    // The size of a row's weather picture.
    int weatherIconSize() const;
    // Where a row's weather picture is on the screen; empty when the row has none or is out
    // of view.
    platform::Rect weatherRect(int row) const;

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
    // The weather picture's place in a row: left of the move-up button when the row has one.
    platform::Rect weatherRectIn(const platform::Rect& line, int row) const;

    ClockListModel clocks_;
    int currentFavourite_ = 0;
    gfx::TargaPixels face_;
    gfx::TargaPixels moveUp_;
    gfx::TargaPixels mark_;
    bool movePressed_ = false;
};

}  // namespace worldtime
