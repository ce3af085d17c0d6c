// The record table's sort: a stable top-down merge sort over the rows. Rows whose key field
// is empty compare equal to every other row, so the order is not transitive; a merge sort
// (unlike the library's sorts, which may rely on a strict weak order) stays well defined, and
// a fixed split (the first half takes the middle row of an odd count, as a list split by a
// slow and a fast pointer does) always gives the same result for the same rows.

#include <algorithm>
#include <cstdint>

#include "core/decimal.h"
#include "core/record_table.h"
#include "core/text_case.h"

namespace core {
namespace {

// A row's key: the field, and beside it a number that decides most comparisons without
// touching the text (the decimal value, or the first three characters' ranks).
struct SortKey {
    std::wstring_view text;  // empty for an empty field
    std::uint64_t order = 0;
    std::uint32_t row = 0;
};

// Three 21-bit ranks; capping keeps the packing monotonic, so a difference here is always
// the text order, and equal packings fall back to the full comparison.
std::uint64_t prefixOf(std::wstring_view text) {
    std::uint64_t packed = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        std::uint64_t rank =
            i < text.size() ? std::min<std::uint32_t>(codeUnitRank(text[i]), 0x1FFFFF) : 0;
        packed = (packed << 21) | rank;
    }
    return packed;
}

// Signed numbers as unsigned ones of the same order.
std::uint64_t orderOfNumber(std::int64_t number) {
    return static_cast<std::uint64_t>(number) ^ (std::uint64_t{1} << 63);
}

class KeySorter {
  public:
    explicit KeySorter(bool numeric) : numeric_(numeric) {}

    void sort(std::vector<SortKey>& keys) {
        std::vector<SortKey> scratch = keys;
        sortInto(scratch.data(), keys.data(), keys.size());
    }

  private:
    // True when a may stay before b: a compares lower than or equal to b.
    bool inOrder(const SortKey& a, const SortKey& b) const {
        if (a.text.empty() || b.text.empty())
            return true;
        if (a.order != b.order)
            return a.order < b.order;
        return numeric_ || compareCodeUnits(a.text, b.text) <= 0;
    }

    // Sorts n keys into target; source holds the same keys on entry and serves as scratch.
    // Each level sorts its halves into the other buffer and merges them back, which makes the
    // same merges as sorting in place and copying back.
    void sortInto(SortKey* source, SortKey* target, std::size_t n) {
        if (n < 2)
            return;
        std::size_t half = (n + 1) / 2;
        sortInto(target, source, half);
        sortInto(target + half, source + half, n - half);
        merge(source, source + half, source + half, source + n, target);
    }

    void merge(const SortKey* left, const SortKey* leftEnd, const SortKey* right,
               const SortKey* rightEnd, SortKey* out) const {
        while (left < leftEnd && right < rightEnd) {
            if (inOrder(*left, *right)) {
                *out++ = *left++;
            } else {
                *out++ = *right++;
            }
        }
        while (left < leftEnd) *out++ = *left++;
        while (right < rightEnd) *out++ = *right++;
    }

    bool numeric_;
};

}  // namespace

void RecordTable::sort(int column, bool numeric) {
    int c = resolveColumn(column);
    if (rows_.size() < 2 || c < 1)
        return;
    std::vector<SortKey> keys(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        keys[i].row = static_cast<std::uint32_t>(i);
        if (c > static_cast<int>(rows_[i].size()))
            continue;
        std::wstring_view text = rows_[i][c - 1];
        keys[i].text = text;
        keys[i].order = numeric ? orderOfNumber(parseDecimal64(text)) : prefixOf(text);
    }
    KeySorter(numeric).sort(keys);
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    for (const SortKey& key : keys) sorted.push_back(std::move(rows_[key.row]));
    rows_ = std::move(sorted);
}

}  // namespace core
