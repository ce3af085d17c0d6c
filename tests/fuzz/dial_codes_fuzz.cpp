// Loads arbitrary bytes as the dialling codes table, then filters it by every letter group,
// jumps to initials and looks countries up by a query taken from the input: nothing may
// crash, the table comes out sorted by country without blank countries, every view holds
// exactly its group's rows in the table's order, and every row answered exists.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/api/device.h"
#include "tests/fuzz/support/fuzz_device.h"
#include "worldtime/dial_codes.h"

namespace {

const std::filesystem::path& fuzzRoot() {
    static const std::filesystem::path root = fuzz::makeMemoryDevice("dial");
    return root;
}

// Whether a UTF-16 code-unit order (the table's sort) and code-point order agree for the text:
// they part only where characters beyond U+FFFF meet those from U+E000 on.
bool plainOrder(std::wstring_view text) {
    for (wchar_t c : text) {
        if (static_cast<std::uint32_t>(c) >= 0xE000)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const auto& root = fuzzRoot();
    // The first byte splits the input into the file and the query.
    const std::size_t queryLength = std::min<std::size_t>(data[0], size - 1);
    const std::size_t fileLength = size - 1 - queryLength;
    std::FILE* f = std::fopen((root / "dialcodes.dat").c_str(), "wb");
    if (!f)
        std::abort();
    if (fileLength)
        std::fwrite(data + 1, 1, fileLength, f);
    std::fclose(f);
    const std::string query(reinterpret_cast<const char*>(data + 1 + fileLength), queryLength);

    using namespace worldtime;
    const core::RecordTable all = loadDialCodes(L"\\");
    for (int row = 1; row <= all.rowCount(); ++row) {
        const std::wstring_view country = all.fieldText(row, dialField::Country);
        fuzz::check(!country.empty());
        if (row == 1)
            continue;
        const std::wstring_view before = all.fieldText(row - 1, dialField::Country);
        if (plainOrder(before) && plainOrder(country))
            fuzz::check(before <= country);
    }
    int grouped = 0;
    for (int group = 0; group <= kAllLettersGroup + 1; ++group) {
        core::RecordTable view;
        filterDialCodes(all, group, view);
        int next = 1;
        for (int row = 1; row <= view.rowCount(); ++row) {
            const std::wstring_view country = view.fieldText(row, dialField::Country);
            fuzz::check(inDialGroup(country, group));
            // The view's rows are the table's rows of the group, in order.
            while (next <= all.rowCount() && all.fieldText(next, dialField::Country) != country)
                ++next;
            fuzz::check(next <= all.rowCount());
            ++next;
        }
        if (group >= 1 && group <= 9)
            grouped += view.rowCount();
        if (group == kAllLettersGroup)
            fuzz::check(view.rowCount() == all.rowCount());
        int jump = firstDialRowWith(view, query.empty() ? L'a' : static_cast<wchar_t>(query[0]));
        fuzz::check(view.empty() ? jump == 0 : jump >= 1 && jump <= view.rowCount());
    }
    fuzz::check(grouped <= all.rowCount());
    for (int row : findDialCountries(all, platform::fromUtf8(query)))
        fuzz::check(row >= 1 && row <= all.rowCount());
    return 0;
}
