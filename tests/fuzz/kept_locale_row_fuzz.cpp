// A row of kept locale conventions as the device's store may hold it after damage: it is read
// whole or refused, and what is read is kept as the very same row.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/api/device.h"
#include "platform/locale/locale_data.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring row =
        platform::fromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    auto read = platform::locale::localeDataFromKeptRow(row);
    if (!read)
        return 0;
    auto again = platform::locale::keptRowOf(*read);
    if (!again || *again != row)
        __builtin_trap();
    return 0;
}
