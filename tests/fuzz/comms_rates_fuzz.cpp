// Reads arbitrary bytes as the reference-rates XML and writes the rates file from what reads.
// Nothing may crash; a read answer has its day, positive rates and a file with four fields
// a row ending in the dated "#rates" line.

#include <cstdint>
#include <string_view>

#include "commsprogram/comms_job.h"
#include "commsprogram/ecb_rates.h"
#include "tests/fuzz/support/fuzz_device.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto answer = commsprogram::parseEcbRates(text);
    fuzz::check(answer.value.has_value() != static_cast<bool>(answer.failure));
    if (!answer.value)
        return 0;
    fuzz::check(answer.value->date.size() == 10 && !answer.value->rates.empty());
    for (const auto& [code, rate] : answer.value->rates) fuzz::check(code.size() == 3 && rate > 0);
    auto table = commsprogram::ratesTable(*answer.value, {});
    if (table) {
        fuzz::check(table->rfind(L"#rates~", table->size() - 1) != std::wstring::npos);
        fuzz::check(table->find(L"inf") == std::wstring::npos);
        fuzz::check(table->find(L"nan") == std::wstring::npos);
    }
    return 0;
}
