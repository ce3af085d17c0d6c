#pragma once
// A drop-down: the label of its table's current row, or "Please Select..." when no row is
// current, with an arrow button. Enter or a tap, when the owner's control-pressed operation
// does not take it, opens the pop-up list of all options.

#include <memory>

#include "core/record_table.h"
#include "ui/control.h"

namespace ui {

class PopupList;

class DropDown : public Control {
  public:
    static constexpr wchar_t kPlaceholder[] = L"Please Select...";

    DropDown();
    ~DropDown() override;

    // The table stays the caller's; adoptTable hands it over.
    void setTable(core::RecordTable* table);
    void adoptTable(std::unique_ptr<core::RecordTable> table);
    core::RecordTable* table() const { return table_; }
    int labelField() const { return labelField_; }
    void setLabelField(int field) { labelField_ = field; }

    // What the control shows.
    std::wstring shownText() const;
    bool isPopupOpen() const;
    PopupList* popup() const { return popup_.get(); }
    // Opens the pop-up list (nothing when disabled or without options).
    void openPopup();

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
    bool pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;

  private:
    void pressed();

    core::RecordTable* table_ = nullptr;
    std::unique_ptr<core::RecordTable> ownedTable_;
    int labelField_ = 1;
    std::unique_ptr<PopupList> popup_;
};

}  // namespace ui
