#include "core/record_row.h"

namespace core {

RecordRow::RecordRow(std::size_t fields) : data_(fields, L'\0'), count_(fields) {}

std::wstring_view RecordRow::operator[](std::size_t index) const {
    if (index >= count_)
        return {};
    std::size_t start = index == 0 ? 0 : end(index - 1);
    return std::wstring_view(data_).substr(start, end(index) - start);
}

void RecordRow::set(std::size_t index, std::wstring_view text) {
    if (index >= count_)
        return;
    // Built aside and then swapped in, because the text may be a view into this very row.
    std::vector<std::wstring_view> fields;
    fields.reserve(count_);
    for (std::size_t i = 0; i < count_; ++i) fields.push_back(i == index ? text : (*this)[i]);
    *this = RecordRow(fields, count_);
}

void RecordRow::grow(std::size_t count) {
    if (count <= count_)
        return;
    std::size_t text = textSize();
    data_.resize(data_.size() + (count - count_), static_cast<wchar_t>(text));
    count_ = count;
}

}  // namespace core
