#pragma once
// A list: the rows of a model (list_model.h), one line of text each unless a subclass draws
// them, with the current row highlighted and a vertical scroll bar when the rows do not fit.
// Taps choose rows, the scroll bar's arrows and track repeat while held, the thumb drags. An
// empty list shows "No list data..." and ignores presses.
//
// The owner hears of two things. A change of the current row made by the user (a key, a tap,
// dragging over the rows) or by the list itself (the model lost the current row) comes once
// per change, with the new row: onSelectionChange when set, else the owner module's
// controlChanged when the list was made with notify. Changes the owner makes itself
// (selectRow without notify, the model's own setCurrentRow) are not reported back. Activating
// a row (Enter, a tap on the current row with pressOnReselect, lifting the stylus with
// enterOnRelease) goes to onActivate when set, else to the owner's controlPressed.

#include <functional>
#include <memory>

#include "ui/control.h"
#include "ui/list_model.h"
#include "ui/scroll_bar.h"

namespace ui {

struct ListOptions {
    bool notify = false;           // the owner module's controlChanged hears of row changes
    bool pressOnReselect = false;  // a tap on the current row activates it
    bool enterOnRelease = false;   // lifting the stylus from a row activates it
};

class ListControl : public Control {
  public:
    explicit ListControl(ListOptions options = {});
    ~ListControl() override;

    // Shows a model; it stays the caller's (a model that goes first leaves the list empty).
    void setModel(ListModel* model);
    ListModel* model() const { return model_; }
    // Shows a record table through the list's own adapter, one field a row. The table stays
    // the caller's; adoptTable hands it over to the list.
    void setTable(core::RecordTable* table);
    void adoptTable(std::unique_ptr<core::RecordTable> table);
    // The table shown through setTable or adoptTable; none while another model is shown.
    core::RecordTable* table() const;
    void setDisplayField(int field);
    int displayField() const { return tableModel_.field(); }
    int rowCount() const { return model_ ? model_->rowCount() : 0; }
    const ListOptions& options() const { return options_; }
    void setOptions(const ListOptions& options) { options_ = options; }

    // The model's current row (0 when none).
    int currentRow() const { return model_ ? model_->currentRow() : 0; }
    // Makes a row current and brings it into view; with notify the owner hears of it. False
    // when the row does not exist.
    bool selectRow(int row, bool notify);
    // Scrolls as little as needed to show the row whole.
    void showRow(int row);
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

    // Activates the current row: onActivate when set, else the owner's controlPressed.
    bool activate();
    std::function<void(ListControl&, int row)> onSelectionChange;
    std::function<bool(ListControl&, int row)> onActivate;

    void place(const platform::Rect& rect, platform::DeviceContext* dc) override;
    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
    bool pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;
    void autoRepeat() override;

  protected:
    virtual void drawRow(platform::DeviceContext& dc, const platform::Rect& line, int row,
                         bool current);

  private:
    friend class ListModel;
    // The model's rows changed: the current row and the view stay inside them.
    void modelChanged();
    void selectionChanged(int row);
    void drawRows(platform::DeviceContext& dc);
    void pressDown(platform::Point point);
    void moveWhileHeld(platform::Point point);
    void release();
    void actOnZone(int zone);
    int rowAt(int y) const;
    int inset() const;
    void releaseCapture();

    ListOptions options_;
    ListModel* model_ = nullptr;
    RecordTableListModel tableModel_;
    int first_ = 1;
    int zone_ = 0;            // held scroll-bar zone
    bool rowPress_ = false;   // the stylus went down on a row
    bool replaying_ = false;  // the move comes from the auto-repeat timer
    int thumbGrab_ = 0;       // where on the thumb the stylus took it
};

}  // namespace ui
