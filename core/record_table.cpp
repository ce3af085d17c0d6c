#include "core/record_table.h"

#include <algorithm>
#include <utility>

#include "core/decimal.h"
#include "core/text_case.h"

namespace core {

std::wstring joinDevicePath(std::wstring_view folder, std::wstring_view name) {
    std::wstring path(folder);
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/')
        path += L'\\';
    path += name;
    return path;
}

RecordTable::RecordTable(int columns) : columns_(std::max(columns, 1)) {}

bool RecordTable::setCurrentRow(int row) {
    if (row < 0 || row > rowCount())
        return false;
    current_ = row;
    return true;
}

int RecordTable::resolveRow(int row) const {
    int number = row == 0 ? current_ : row;
    return number >= 1 && number <= rowCount() ? number : 0;
}

const RecordTable::Row* RecordTable::row(int number) const {
    int r = resolveRow(number);
    return r ? &rows_[r - 1] : nullptr;
}

std::optional<std::wstring_view> RecordTable::field(int row, int column) const {
    std::wstring_view text = fieldText(row, column);
    if (text.empty())
        return std::nullopt;
    return text;
}

std::wstring_view RecordTable::fieldText(int row, int column) const {
    const Row* r = this->row(row);
    int c = resolveColumn(column);
    if (!r || c < 1 || c > static_cast<int>(r->size()))
        return {};
    return (*r)[c - 1];
}

int RecordTable::fieldInt(int row, int column) const {
    return parseDecimal(fieldText(row, column));
}

std::optional<std::pair<RecordTable::Row*, std::size_t>> RecordTable::fieldSlot(int row,
                                                                                int column) {
    int r = resolveRow(row);
    int c = resolveColumn(column);
    if (!r || c < 1)
        return std::nullopt;
    Row& fields = rows_[r - 1];
    // Rows loaded before a wider file still take fields up to the table's column count.
    if (c > static_cast<int>(fields.size())) {
        if (c > columns_)
            return std::nullopt;
        fields.grow(static_cast<std::size_t>(c));
    }
    return std::pair{&fields, static_cast<std::size_t>(c - 1)};
}

bool RecordTable::setField(int row, int column, std::wstring_view text) {
    auto slot = fieldSlot(row, column);
    if (!slot)
        return false;
    slot->first->set(slot->second, text);
    return true;
}

bool RecordTable::setFieldInt(int row, int column, int value) {
    return setField(row, column, decimalText(value));
}

int RecordTable::find(int column, std::wstring_view text, bool ignoreCase) const {
    int c = resolveColumn(column);
    if (text.empty() || c < 1)
        return 0;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const Row& r = rows_[i];
        if (c > static_cast<int>(r.size()))
            continue;
        std::wstring_view f = r[c - 1];
        if (f.empty())
            continue;
        if (ignoreCase ? equalsIgnoringCase(f, text) : f == text)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

int RecordTable::findInitial(int column, std::wstring_view text) const {
    int c = resolveColumn(column);
    if (text.empty() || c < 1)
        return 0;
    wchar_t initial = foldCase(text.front());
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const Row& r = rows_[i];
        if (c > static_cast<int>(r.size()) || r[c - 1].empty())
            continue;
        if (foldCase(r[c - 1].front()) == initial)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

int RecordTable::appendRow() {
    rows_.emplace_back(static_cast<std::size_t>(columns_));
    return rowCount();
}

int RecordTable::insertRowAfter(int row) {
    int after = resolveRow(row);
    rows_.emplace(rows_.begin() + after, static_cast<std::size_t>(columns_));
    return after + 1;
}

bool RecordTable::removeRow(int row) {
    int r = resolveRow(row);
    if (!r)
        return false;
    rows_.erase(rows_.begin() + (r - 1));
    current_ = std::min(current_, rowCount());
    return true;
}

bool RecordTable::swapWithPrevious() {
    int r = resolveRow(0);
    if (r < 2)
        return false;
    std::swap(rows_[r - 1], rows_[r - 2]);
    return true;
}

void RecordTable::copyFrom(const RecordTable& other) {
    if (&other == this)
        return;
    rows_ = other.rows_;
    columns_ = other.columns_;
    current_ = std::min(current_, rowCount());
}

void RecordTable::keepOnlyCurrent() {
    int r = resolveRow(0);
    if (!r) {
        clear();
        return;
    }
    Row kept = std::move(rows_[r - 1]);
    rows_.clear();
    rows_.push_back(std::move(kept));
    current_ = 1;
}

void RecordTable::clear() {
    rows_.clear();
    current_ = 0;
}

}  // namespace core
