// Loads arbitrary bytes as a record-table file, plain, quote-stripping and quote-honouring,
// with several separators, then sorts, searches and edits the rows: nothing may crash, rows
// keep the column count, and sorting only reorders.

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/record_table.h"
#include "platform/api/device.h"
#include "tests/fuzz/support/fuzz_device.h"

namespace {

const std::filesystem::path& fuzzRoot() {
    static const std::filesystem::path root = fuzz::makeMemoryDevice("table");
    return root;
}

std::vector<std::wstring> keys(const core::RecordTable& t, int column) {
    std::vector<std::wstring> k;
    for (int r = 1; r <= t.rowCount(); ++r) k.emplace_back(t.fieldText(r, column));
    std::sort(k.begin(), k.end());
    return k;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const auto& root = fuzzRoot();
    static constexpr wchar_t kSeparators[] = {L'~', L',', L';', L'"', L'\t', L'|', L'\u00e9', L' '};
    const std::uint8_t mode = data[0];
    const wchar_t separator = kSeparators[mode & 7];
    const bool stripQuotes = mode & 8;
    const bool quoted = mode & 16;
    fuzz::writeHostFile(root / "t.dat", data + 2, size - 2);

    core::RecordTable table(1 + data[1] % 13);
    int columns = quoted ? table.loadQuoted(L"\\", L"t.dat", separator)
                         : table.load(L"\\", L"t.dat", separator, stripQuotes);
    fuzz::check(columns == 0 || columns == table.columnCount());
    fuzz::check((columns == 0) == table.empty());
    // Rows keep their own fields, within the bound, whatever the first line held.
    fuzz::check(table.columnCount() <= core::kMaxTableFields);
    for (int r = 1; r <= table.rowCount(); ++r) {
        const std::size_t fields = table.row(r)->size();
        fuzz::check(fields >= 1 && fields <= static_cast<std::size_t>(core::kMaxTableFields));
    }
    for (const auto& line : table.damage().lines)
        fuzz::check(line.number >= 1 && line.number <= table.rowCount());
    if (table.empty())
        return 0;

    const int column = 1 + data[1] % std::max(1, table.columnCount());
    auto before = keys(table, column);
    table.sort(column, mode & 32);
    fuzz::check(keys(table, column) == before);
    table.sort(0, !(mode & 32));

    std::wstring probe(table.fieldText(table.rowCount(), column));
    int found = table.find(column, probe, mode & 64);
    fuzz::check(probe.empty() ? found == 0 : (found >= 1 && found <= table.rowCount()));
    table.findInitial(column, probe);

    table.setCurrentRow(table.rowCount());
    table.swapWithPrevious();
    table.insertRowAfter(0);
    table.setField(0, column, probe);
    table.removeRow(1);
    fuzz::check(table.currentRow() <= table.rowCount());
    core::RecordTable copy(2);
    copy.copyFrom(table);
    copy.keepOnlyCurrent();
    fuzz::check(copy.rowCount() <= 1);
    return 0;
}
