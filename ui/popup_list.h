#pragma once
// The pop-up list of a drop-down: every option of its table in a list over the whole window.
// Choosing a row (tapping it, Enter, or the left soft key) confirms; the right soft key or
// Back cancels and puts back the row that was current when it opened.

#include <memory>

#include "ui/list_control.h"
#include "ui/overlay.h"

namespace ui {

class DropDown;

class PopupList : public Overlay {
  public:
    explicit PopupList(DropDown& dropDown);
    ~PopupList() override;

    // Shows the options with the drop-down's current row chosen.
    void show();
    ListControl& list() { return *list_; }
    int rowWhenOpened() const { return rowWhenOpened_; }

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;
    void key(std::uint32_t message, std::uint32_t keyCode) override;
    void pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;
    void cancel() override;
    void confirm() override;
    // Closes the list and lets go of the drop-down's table, which its owner is replacing.
    void tableReplaced();

  private:
    platform::Rect listArea() const;
    // Closes and lets go of the table: the drop-down's owner may replace it as soon as the
    // choice is reported, and a reopened list must never see the old one.
    void closeList();

    DropDown& dropDown_;
    std::unique_ptr<ListControl> list_;
    int rowWhenOpened_ = 0;
};

}  // namespace ui
