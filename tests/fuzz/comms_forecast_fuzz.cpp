// Reads arbitrary bytes as a forecast answer and, when they read, writes every weather table
// from them. Nothing may crash or throw; a read answer gives tables whose rows have the fields
// the weather reader expects and never hold the separator inside a field.

#include <cstdint>
#include <string_view>

#include "commsprogram/open_meteo.h"
#include "commsprogram/weather_tables.h"
#include "tests/fuzz/support/fuzz_device.h"

namespace {

void checkRows(const std::wstring& table, std::size_t fields) {
    std::size_t start = 0;
    while (start < table.size()) {
        std::size_t end = table.find(L'\n', start);
        fuzz::check(end != std::wstring::npos);
        std::wstring_view row(table.data() + start, end - start);
        std::size_t separators = 0;
        for (wchar_t c : row) separators += c == L'~';
        fuzz::check(separators + 1 == fields);
        start = end + 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto answer = commsprogram::parseOpenMeteoForecast(text);
    fuzz::check(answer.value.has_value() != static_cast<bool>(answer.failure));
    if (answer.value) {
        checkRows(commsprogram::dailyTable(*answer.value), 15);
        checkRows(commsprogram::periodTable(*answer.value), 15);
        checkRows(commsprogram::currentTable(*answer.value), 14);
        checkRows(commsprogram::outlookTable(*answer.value), 36);
    }
    return 0;
}
