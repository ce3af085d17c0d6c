#include "ui/option_list.h"

#include "ui/layout.h"

namespace ui {

OptionList::OptionList(ModuleHost&) {
    kind = layoutType::OptionList;
    adoptTable(std::make_unique<core::RecordTable>(2));
}

int OptionList::addOption(std::wstring_view label, std::wstring_view value) {
    int row = table()->appendRow();
    table()->setField(row, kLabelField, label);
    table()->setField(row, kValueField, value);
    invalidate();
    return row;
}

std::wstring_view OptionList::currentValue() const {
    if (!table() || table()->currentRow() == 0)
        return {};
    return table()->fieldText(table()->currentRow(), kValueField);
}

bool OptionList::selectValue(std::wstring_view value) {
    int row = table()->find(kValueField, value);
    if (row == 0)
        return false;
    table()->setCurrentRow(row);
    invalidate();
    return true;
}

}  // namespace ui
