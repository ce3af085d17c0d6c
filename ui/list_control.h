#pragma once
// A list: the rows of a record table, one field of each shown per line, with the current row
// highlighted and a vertical scroll bar when the rows do not fit. Taps choose rows, the
// scroll bar's arrows and track repeat while held, the thumb drags. An empty list shows
// "No list data..." and ignores presses.

#include <functional>
#include <memory>

#include "core/record_table.h"
#include "ui/control.h"
#include "ui/scroll_bar.h"

namespace ui {

struct ListOptions {
    bool notify = false;           // the owner hears of every change of the current row
    bool pressOnReselect = false;  // a tap on the current row presses the list
    bool enterOnRelease = false;   // lifting the stylus from a row presses the list
};

class ListControl : public Control {
  public:
    explicit ListControl(ListOptions options = {});
    ~ListControl() override;

    // The table stays the caller's; adoptTable hands it over to the list.
    void setTable(core::RecordTable* table);
    void adoptTable(std::unique_ptr<core::RecordTable> table);
    core::RecordTable* table() const { return table_; }
    int rowCount() const { return table_ ? table_->rowCount() : 0; }
    void setDisplayField(int field);
    int displayField() const { return displayField_; }
    const ListOptions& options() const { return options_; }
    void setOptions(const ListOptions& options) { options_ = options; }

    // The table's current row (0 when none).
    int currentRow() const { return table_ ? table_->currentRow() : 0; }
    // Makes a row current and brings it into view; with notify the owner hears of it (when
    // the list was made with notification on). False when the row does not exist.
    bool selectRow(int row, bool notify);
    int firstVisibleRow() const { return first_; }
    void scrollTo(int firstRow);
    int visibleRowCount() const;
    // Taller rows for lists that draw more than a line of text a row.
    virtual int rowHeight() const;
    // The rows area (inside the frame, left of the scroll bar).
    platform::Rect rowsRect() const;
    bool hasScrollBar() const;
    ScrollBarGeometry scrollBar() const;
    // The scroll-bar zone held by the stylus (scrollZone), None when none.
    int heldZone() const { return zone_; }

    // A press: onPress when set, else the owner's control-pressed operation.
    bool press();
    std::function<bool(ListControl&)> onPress;

    void place(const platform::Rect& rect, platform::DeviceContext* dc) override;
    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
    bool pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;
    void autoRepeat() override;

  protected:
    // A row became current through the stylus or a key.
    virtual void rowSelected(int) {}
    virtual void drawRow(platform::DeviceContext& dc, const platform::Rect& line, int row,
                         bool current);
    // Tells the owner of a change when the list was made with notification on.
    void changed();

  private:
    void drawRows(platform::DeviceContext& dc);
    void pressDown(platform::Point point);
    void moveWhileHeld(platform::Point point);
    void release();
    void actOnZone(int zone);
    int rowAt(int y) const;
    int inset() const;
    void releaseCapture();

    ListOptions options_;
    core::RecordTable* table_ = nullptr;
    std::unique_ptr<core::RecordTable> ownedTable_;
    int displayField_ = 1;
    int first_ = 1;
    int zone_ = 0;            // held scroll-bar zone
    bool rowPress_ = false;   // the stylus went down on a row
    bool replaying_ = false;  // the move comes from the auto-repeat timer
    int thumbGrab_ = 0;       // where on the thumb the stylus took it
};

}  // namespace ui
