#pragma once
// What a list shows: a number of rows, the text of each (lists that draw their rows
// themselves ask the model for whatever they draw) and which row is current. The list asks
// as it paints and keeps no copy of the rows, so a model of thousands of rows costs only the
// rows on screen, and the current row lives in one place: the model.
//
// Rows count from 1; current row 0 means none. After the rows change (added, removed,
// reordered or edited) the model's owner calls rowsChanged, and every list showing the model
// follows: it keeps its current row valid and its view inside the rows.

#include <memory>
#include <string>
#include <vector>

#include "core/record_table.h"

namespace ui {

class ListControl;

class ListModel {
  public:
    ListModel() = default;
    // Lists still showing the model are left without one.
    virtual ~ListModel();
    ListModel(const ListModel&) = delete;
    ListModel& operator=(const ListModel&) = delete;

    virtual int rowCount() const = 0;
    // The one line a plain list draws for a row (1..rowCount).
    virtual std::wstring rowText(int row) const = 0;
    virtual int currentRow() const = 0;
    // row is 0 or a row of the model; the lists call it with nothing else.
    virtual void setCurrentRow(int row) = 0;

    // Tells the lists showing the model that its rows changed.
    void rowsChanged();

  private:
    friend class ListControl;
    std::vector<ListControl*> views_;
};

// The rows of a record table, one field of each as the row's text. The table stays its owner's
// unless adopted. The list's current row is the table's, or for a table that others read
// too (keepOwnCurrentRow), the model's own, so that choosing a row leaves the table alone.
class RecordTableListModel final : public ListModel {
  public:
    explicit RecordTableListModel(core::RecordTable* table = nullptr, int field = 1);
    ~RecordTableListModel() override;

    // The model keeps the current row itself from now on, starting with none.
    void keepOwnCurrentRow();

    void setTable(core::RecordTable* table);
    void adoptTable(std::unique_ptr<core::RecordTable> table);
    core::RecordTable* table() const { return table_; }
    void setField(int field);
    int field() const { return field_; }

    int rowCount() const override;
    std::wstring rowText(int row) const override;
    int currentRow() const override;
    void setCurrentRow(int row) override;

  private:
    core::RecordTable* table_ = nullptr;
    std::unique_ptr<core::RecordTable> owned_;
    int field_ = 1;
    bool ownCurrentRow_ = false;
    int currentRow_ = 0;  // with ownCurrentRow_
};

}  // namespace ui
