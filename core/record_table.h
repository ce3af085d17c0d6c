#pragma once
// The record table: an ordered list of rows of text fields, loaded from and saved to text
// files with one row per line and a separator between fields ("~" for nearly every file).
// Almost every data file and many on-screen lists of the system are one.
//
// Rows and columns are numbered from 1. A row or column argument of 0 means the current row,
// respectively the table's default column (1 unless changed). An empty field and a field
// that holds no text are the same thing: field() answers nothing for both, and find() never
// matches them.
//
// Lines are read up to 20479 characters; a longer line is cut there and the rest of it is
// dropped, so one overlong line never turns into two rows. A row keeps the fields of its own
// line, up to kMaxTableFields, so a short or long line never changes another row. What a load
// found damaged is kept in damage(), and save() never replaces or deletes a file whose text a
// rewrite would not give back without first copying it to "NAME.bak" beside it.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/record_row.h"
#include "core/table_damage.h"

namespace core {

class RecordTable {
  public:
    using Row = RecordRow;

    explicit RecordTable(int columns = 1);

    int columnCount() const { return columns_; }
    int rowCount() const { return static_cast<int>(rows_.size()); }
    bool empty() const { return rows_.empty(); }

    // The selection many callers keep: 1..rowCount, or 0 when unset or the table is empty.
    int currentRow() const { return current_; }
    // False (and nothing changed) for a number beyond the row count.
    bool setCurrentRow(int row);

    int defaultColumn() const { return defaultColumn_; }
    void setDefaultColumn(int column) { defaultColumn_ = column > 0 ? column : 1; }

    // Appends one row per line of folder + name; the rows already there stay. The column
    // count grows to the field count of the file's first line when that is larger; each row
    // keeps the fields of its line (up to kMaxTableFields), and fields a row lacks read as
    // empty. With stripQuotes every double quote is removed before splitting. Answers the
    // column count, 0 when the file is missing or empty. damage() tells what was wrong.
    int load(std::wstring_view folder, std::wstring_view name, wchar_t separator = L'~',
             bool stripQuotes = false);
    // As load, but a field that begins with a double quote runs to the next double quote,
    // separators inside it included; the quotes are dropped.
    int loadQuoted(std::wstring_view folder, std::wstring_view name, wchar_t separator = L'~');
    // Writes the rows, fields joined by the separator and rows by LF, no line end after the
    // last row. An empty table deletes the file instead. The old file survives a failed save,
    // and an old file that is damaged is first copied to "NAME.bak" (no copy, no save).
    bool save(std::wstring_view folder, std::wstring_view name, wchar_t separator = L'~') const;

    // The first row whose field equals the text exactly (or ignoring case); 0 when none.
    int find(int column, std::wstring_view text, bool ignoreCase = false) const;
    // The first row whose field starts with the text's first character, ignoring case.
    int findInitial(int column, std::wstring_view text) const;

    // Nothing for a row number beyond the count. Rows and the views of their fields stay
    // valid until the table changes; callers that keep a field copy it.
    const Row* row(int number) const;
    std::optional<std::wstring_view> field(int row, int column) const;
    // The field's text, empty when there is none.
    std::wstring_view fieldText(int row, int column) const;
    // The field read as a decimal number; 0 when there is none.
    int fieldInt(int row, int column) const;
    // Stores a copy of the text (empty text empties the field). False when the row or column
    // does not exist.
    bool setField(int row, int column, std::wstring_view text);
    bool setFieldInt(int row, int column, int value);

    // New rows have as many empty fields as the column count. Both answer the new row's number.
    int appendRow();
    // Row 0 inserts after the current row (at the top when there is none).
    int insertRowAfter(int row);
    // After a removal a current row beyond the new count becomes the last row.
    bool removeRow(int row);
    // Exchanges the fields of the current row and the one before it; false for row 1 or none.
    bool swapWithPrevious();
    // Replaces all rows by copies of the other table's, taking its column count.
    void copyFrom(const RecordTable& other);
    // Removes every row but the current one, which becomes row 1; with no current row the
    // table ends up empty.
    void keepOnlyCurrent();
    void clear();
    // Raises the column count to at least the number given; rows keep their fields and take
    // the new ones as they are set.
    void widenTo(int columns) { columns_ = std::max(columns_, std::min(columns, kMaxTableFields)); }

    // Stable merge sort, ascending, by one column: as text in UTF-16 code-unit order, or as
    // decimal numbers. An empty field compares equal to anything, which keeps such rows where
    // the merge meets them.
    void sort(int column, bool numeric);

    // What the last load found wrong with its file (nothing after a load of a missing one).
    const TableDamage& damage() const { return damage_; }

  private:
    int loadLines(std::wstring_view folder, std::wstring_view name, wchar_t separator,
                  bool stripQuotes, bool quoted);
    int resolveRow(int row) const;
    int resolveColumn(int column) const { return column == 0 ? defaultColumn_ : column; }
    // The row and zero-based field index for a row and column, growing an older, narrower
    // row up to the column count; nothing when they do not exist.
    std::optional<std::pair<Row*, std::size_t>> fieldSlot(int row, int column);

    std::vector<Row> rows_;
    int columns_;
    int current_ = 0;
    int defaultColumn_ = 1;
    TableDamage damage_;
};

// Copies a file to "NAME.bak" beside it when a record table written over it would not give its
// text back (see TableDamage::rewriteLosesText). True when the file may be replaced: it is
// missing, whole, or now copied.
bool backUpDamagedTable(std::wstring_view devicePath, wchar_t separator);

// folder + name, with a backslash between them when the folder lacks one.
std::wstring joinDevicePath(std::wstring_view folder, std::wstring_view name);

}  // namespace core
