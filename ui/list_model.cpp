#include "ui/list_model.h"

#include <algorithm>

#include "core/record_table.h"
#include "ui/list_control.h"

namespace ui {

ListModel::~ListModel() {
    // setModel(nullptr) takes each list out of views_, so walk a copy.
    std::vector<ListControl*> views = views_;
    for (ListControl* view : views) view->setModel(nullptr);
}

void ListModel::rowsChanged() {
    // A list's reaction may reach its owner, which may show another model in it.
    std::vector<ListControl*> views = views_;
    for (ListControl* view : views) {
        if (std::find(views_.begin(), views_.end(), view) != views_.end())
            view->modelChanged();
    }
}

RecordTableListModel::RecordTableListModel(core::RecordTable* table, int field)
    : table_(table), field_(std::max(1, field)) {}

RecordTableListModel::~RecordTableListModel() = default;

void RecordTableListModel::keepOwnCurrentRow() {
    ownCurrentRow_ = true;
    currentRow_ = 0;
}

void RecordTableListModel::setTable(core::RecordTable* table) {
    owned_.reset();
    table_ = table;
    rowsChanged();
}

void RecordTableListModel::adoptTable(std::unique_ptr<core::RecordTable> table) {
    owned_ = std::move(table);
    table_ = owned_.get();
    rowsChanged();
}

void RecordTableListModel::setField(int field) {
    field_ = std::max(1, field);
}

int RecordTableListModel::rowCount() const {
    return table_ ? table_->rowCount() : 0;
}

std::wstring RecordTableListModel::rowText(int row) const {
    return table_ ? std::wstring(table_->fieldText(row, field_)) : std::wstring();
}

int RecordTableListModel::currentRow() const {
    if (ownCurrentRow_)
        return currentRow_;
    return table_ ? table_->currentRow() : 0;
}

void RecordTableListModel::setCurrentRow(int row) {
    if (ownCurrentRow_)
        currentRow_ = std::clamp(row, 0, rowCount());
    else if (table_)
        table_->setCurrentRow(row);
}

}  // namespace ui
