// Reads arbitrary bytes as a city search answer and writes the search result file's rows
// from what reads: ten fields a row, no separator or quote inside a field.

#include <cstdint>
#include <string_view>

#include "commsprogram/comms_job.h"
#include "commsprogram/open_meteo.h"
#include "tests/fuzz/support/fuzz_device.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto answer = commsprogram::parseOpenMeteoSearch(text);
    fuzz::check(answer.value.has_value() != static_cast<bool>(answer.failure));
    if (!answer.value)
        return 0;
    std::wstring table = commsprogram::searchResultTable(*answer.value, {}, 1796731200);
    std::size_t rows = 0, separators = 0;
    for (wchar_t c : table) {
        rows += c == L'\n';
        separators += c == L'~';
        fuzz::check(c != L'"' && (c >= 0x20 || c == L'\n'));
    }
    fuzz::check(rows == answer.value->size() && separators == rows * 9);
    return 0;
}
