// Loads arbitrary bytes as the rate file and as a conversion file, then builds every category's
// list and converts through it; also decodes the bytes as a symbol. Nothing may crash, every
// loaded factor is a finite positive number or 0, and no value shows "inf" or "nan".

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "conversions/categories.h"
#include "conversions/conversion.h"
#include "conversions/entities.h"
#include "conversions/rates_age.h"
#include "platform/api/device.h"
#include "tests/fuzz/support/fuzz_device.h"

namespace {

const std::filesystem::path& fuzzRoot() {
    static const std::filesystem::path root = [] {
        std::filesystem::path r = fuzz::makeMemoryDevice("conv");
        std::filesystem::create_directories(r / "conversions");
        return r;
    }();
    return root;
}

void checkTable(const conversions::UnitTable& table) {
    for (const conversions::Unit& unit : table.units)
        fuzz::check(unit.factor == 0 || (std::isfinite(unit.factor) && unit.factor > 0));
    (void)conversions::ratesAge(table, 0);
    (void)conversions::ratesAge(table, ~platform::FileTime{0});
}

void checkRows(const std::vector<conversions::ListRow>& rows) {
    for (const conversions::ListRow& row : rows) {
        fuzz::check(row.value.find(L"inf") == std::wstring::npos);
        fuzz::check(row.value.find(L"nan") == std::wstring::npos);
    }
}

void convertAll(const conversions::UnitTable& table) {
    std::vector<std::wstring> keys;
    for (std::size_t i = 0; i < table.units.size() && i < 50; ++i)
        keys.push_back(table.units[i].key);
    keys.push_back(L"missing");
    std::vector<conversions::ListRow> rows = conversions::linearRows(table, keys);
    for (std::size_t row = 0; row < rows.size(); row += 7) {
        for (double amount : {1.0, -1e14, 123.456})
            fuzz::check(conversions::convertLinear(table, rows, amount, row, {}));
        checkRows(rows);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path& root = fuzzRoot();
    constexpr std::wstring_view folder = L"\\conversions\\";
    fuzz::writeHostFile(root / "conversions" / "rates.dat", data, size);
    fuzz::writeHostFile(root / "conversions" / "conv.fuzz.mui.txt", data, size);

    conversions::UnitTable rates = conversions::loadRates(folder);
    checkTable(rates);
    convertAll(rates);

    auto categories = conversions::loadCategories(folder, L"fuzz", L"C", L"T");
    fuzz::check(categories.size() >= 2);
    for (std::size_t i = 2; i < categories.size() && i < 40; ++i) {
        conversions::UnitTable table = conversions::loadUnits(folder, categories[i]);
        checkTable(table);
        convertAll(table);
        for (const conversions::ChartRow& row : table.chart) fuzz::check(row.size() == 4);
    }
    for (int mode = 0; mode < 8; ++mode)
        fuzz::check(conversions::categoryOfMode(categories, mode) < categories.size());

    std::wstring text = platform::fromUtf8(
        std::string_view(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 4096)));
    std::wstring decoded = conversions::decodeEntities(text);
    fuzz::check(decoded.size() <= text.size());
    (void)conversions::parseAmount(text);
    return 0;
}
