#pragma once
// The option list (layout type 209): a drop-down over a table of two fields, the label shown
// and the value the screen stores.

#include <string_view>

#include "ui/drop_down.h"

namespace ui {

class ModuleHost;

class OptionList : public DropDown {
  public:
    static constexpr int kLabelField = 1;
    static constexpr int kValueField = 2;

    explicit OptionList(ModuleHost&);

    // Appends an option; answers its row.
    int addOption(std::wstring_view label, std::wstring_view value);
    // The current option's value, empty when none is current.
    std::wstring_view currentValue() const;
    // Makes current the first option with the value; false (and nothing changed) when none.
    bool selectValue(std::wstring_view value);
};

}  // namespace ui
