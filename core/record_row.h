#pragma once
// One row of a record table. The fields live back to back in one buffer, followed by the end
// offset of each field, so a row costs a single allocation however many fields it has; the
// city list alone has over a quarter of a million fields, and loading it must stay quick.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace core {

class RecordRow {
  public:
    RecordRow() = default;
    // A row of empty fields.
    explicit RecordRow(std::size_t fields);
    // A row of the given fields; beyond count, missing ones are empty and extra ones dropped.
    template <typename Fields>
    RecordRow(const Fields& fields, std::size_t count);

    std::size_t size() const { return count_; }
    std::wstring_view operator[](std::size_t index) const;

    void set(std::size_t index, std::wstring_view text);
    // Adds empty fields up to the count; never removes any.
    void grow(std::size_t count);

  private:
    std::size_t textSize() const { return count_ ? end(count_ - 1) : 0; }
    std::size_t end(std::size_t index) const {
        return static_cast<std::uint32_t>(data_[data_.size() - count_ + index]);
    }

    std::wstring data_;
    std::size_t count_ = 0;
};

template <typename Fields>
RecordRow::RecordRow(const Fields& fields, std::size_t count) : count_(count) {
    std::size_t kept = std::min(count, fields.size());
    std::size_t text = 0;
    for (std::size_t i = 0; i < kept; ++i) text += fields[i].size();
    data_.resize(text + count);
    wchar_t* out = data_.data();
    std::size_t at = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (i < kept) {
            std::wstring_view f = fields[i];
            f.copy(out + at, f.size());
            at += f.size();
        }
        out[text + i] = static_cast<wchar_t>(at);
    }
}

}  // namespace core
