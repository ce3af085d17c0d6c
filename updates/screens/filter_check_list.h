#pragma once
// The download filter's check list: one box per kind of data a scheduled update fetches. A
// tap on a row or the action key on the focused row ticks or clears its box and tells the
// owner, which stores the whole mask. Up and down move between rows; past the first or last
// row the focus leaves the list.

#include <string>
#include <vector>

#include <memory>

#include "gfx/targa.h"
#include "ui/control.h"

namespace updates {

class FilterCheckList : public ui::Control {
  public:
    struct Row {
        std::wstring label;
        int bit = 0;
    };

    explicit FilterCheckList(std::wstring_view mainPath);

    void setRows(std::vector<Row> rows);
    void setMask(int mask);
    int mask() const { return mask_; }
    int focusRow() const { return focusRow_; }
    // Ticks or clears a row's box and tells the owner.
    void toggle(int row);

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
    bool pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;

  private:
    int rowsPerColumn() const;
    platform::Rect rowRect(int row) const;

    std::vector<Row> rows_;
    int mask_ = 0;
    int focusRow_ = 0;
    std::unique_ptr<gfx::TargaPixels> on_, off_;
};

}  // namespace updates
