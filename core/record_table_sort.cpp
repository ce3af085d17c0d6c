// The record table's sort: a stable top-down merge sort over the rows. Rows whose key field
// is empty compare equal to every other row, so the order is not transitive; a merge sort
// (unlike the library's sorts, which may rely on a strict weak order) stays well defined and
// always gives the same result for the same input.

#include <cstdint>

#include "core/decimal.h"
#include "core/record_table.h"
#include "core/text_case.h"

namespace core {
namespace {

struct SortKey {
    const std::wstring* text = nullptr;  // nothing for an empty field
    std::int64_t number = 0;
};

class RowSorter {
public:
    RowSorter(std::vector<SortKey> keys, bool numeric) : keys_(std::move(keys)), numeric_(numeric) {}

    std::vector<std::uint32_t> sortedOrder() {
        std::size_t n = keys_.size();
        order_.resize(n);
        scratch_.resize(n);
        for (std::size_t i = 0; i < n; ++i) order_[i] = static_cast<std::uint32_t>(i);
        sortRange(0, n);
        return std::move(order_);
    }

private:
    // True when row a may stay before row b: a compares lower than or equal to b.
    bool inOrder(std::uint32_t a, std::uint32_t b) const {
        const SortKey& x = keys_[a];
        const SortKey& y = keys_[b];
        if (!x.text || !y.text) return true;
        if (numeric_) return x.number <= y.number;
        return compareCodeUnits(*x.text, *y.text) <= 0;
    }

    // The first half takes the middle row of an odd count, as a list split by a slow and a
    // fast pointer does.
    void sortRange(std::size_t begin, std::size_t end) {
        std::size_t n = end - begin;
        if (n < 2) return;
        std::size_t middle = begin + (n + 1) / 2;
        sortRange(begin, middle);
        sortRange(middle, end);
        merge(begin, middle, end);
    }

    void merge(std::size_t begin, std::size_t middle, std::size_t end) {
        std::size_t left = begin;
        std::size_t right = middle;
        std::size_t out = begin;
        while (left < middle && right < end) {
            if (inOrder(order_[left], order_[right])) {
                scratch_[out++] = order_[left++];
            } else {
                scratch_[out++] = order_[right++];
            }
        }
        while (left < middle) scratch_[out++] = order_[left++];
        while (right < end) scratch_[out++] = order_[right++];
        std::copy(scratch_.begin() + static_cast<std::ptrdiff_t>(begin),
                  scratch_.begin() + static_cast<std::ptrdiff_t>(end),
                  order_.begin() + static_cast<std::ptrdiff_t>(begin));
    }

    std::vector<SortKey> keys_;
    bool numeric_;
    std::vector<std::uint32_t> order_;
    std::vector<std::uint32_t> scratch_;
};

}  // namespace

void RecordTable::sort(int column, bool numeric) {
    int c = resolveColumn(column);
    if (rows_.size() < 2 || c < 1) return;
    std::vector<SortKey> keys(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const Row& r = rows_[i];
        if (c > static_cast<int>(r.size()) || r[c - 1].empty()) continue;
        keys[i].text = &r[c - 1];
        if (numeric) keys[i].number = parseDecimal64(r[c - 1]);
    }
    std::vector<std::uint32_t> order = RowSorter(std::move(keys), numeric).sortedOrder();
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    for (std::uint32_t i : order) sorted.push_back(std::move(rows_[i]));
    rows_ = std::move(sorted);
}

}  // namespace core
