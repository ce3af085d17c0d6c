#include "conversions/categories.h"

#include <array>

#include "conversions/entities.h"
#include "core/record_table.h"
#include "core/text_case.h"

namespace conversions {

namespace {

constexpr std::array<std::wstring_view, 4> kModeKeys{L"Speed", L"Length", L"Weight",
                                                     L"Childrens Shoes"};

// The third field of a category line names its type.
std::optional<CategoryType> sectionType(std::wstring_view field) {
    if (field == L"*2*")
        return CategoryType::Linear;
    if (field == L"*3*")
        return CategoryType::SizeChart;
    return std::nullopt;
}

bool isCategoryLine(const core::RecordTable& rows, int row) {
    return !rows.fieldText(row, 1).empty() && !rows.fieldText(row, 2).empty() &&
           sectionType(rows.fieldText(row, 3)).has_value();
}

void readSection(const core::RecordTable& rows, int first, CategoryType type, UnitTable& table) {
    for (int row = first; row <= rows.rowCount() && !rows.fieldText(row, 1).empty(); ++row) {
        if (type == CategoryType::SizeChart) {
            ChartRow sizes;
            for (int field = 0; field < 4; ++field)
                sizes[field] = std::wstring(rows.fieldText(row, field + 1));
            table.chart.push_back(std::move(sizes));
            continue;
        }
        Unit unit;
        unit.key = std::wstring(rows.fieldText(row, 1));
        unit.symbol = decodeEntities(rows.fieldText(row, 2));
        unit.name = std::wstring(rows.fieldText(row, 3));
        unit.factor = parseFactor(rows.fieldText(row, 4)).value_or(0);
        table.units.push_back(std::move(unit));
    }
}

}  // namespace

std::wstring conversionsFolder(std::wstring_view mainPath) {
    return core::joinDevicePath(mainPath, L"conversions\\");
}

std::wstring conversionFileName(std::wstring_view languageCode) {
    return L"conv." + std::wstring(languageCode.empty() ? L"0409" : languageCode) + L".mui.txt";
}

std::vector<Category> loadCategories(std::wstring_view folder, std::wstring_view languageCode,
                                     std::wstring_view currencyName,
                                     std::wstring_view temperatureName) {
    std::vector<Category> categories{
        {std::wstring(currencyName), L"rates.dat", CategoryType::Rates, L"Currency"},
        {std::wstring(temperatureName), L"", CategoryType::Temperature, L"Temperature"}};
    std::wstring file = conversionFileName(languageCode);
    core::RecordTable rows(4);
    rows.load(folder, file);
    for (int row = 1; row <= rows.rowCount(); ++row) {
        if (!isCategoryLine(rows, row))
            continue;
        categories.push_back({std::wstring(rows.fieldText(row, 1)), file,
                              *sectionType(rows.fieldText(row, 3)),
                              std::wstring(rows.fieldText(row, 2))});
    }
    return categories;
}

UnitTable loadUnits(std::wstring_view folder, const Category& category) {
    if (category.type == CategoryType::Rates)
        return loadRates(folder);
    UnitTable table;
    if (category.type == CategoryType::Temperature)
        return table;
    core::RecordTable rows(4);
    rows.load(folder, category.file);
    table.fileTime = platform::fileCreationTime(core::joinDevicePath(folder, category.file));
    for (int row = 1; row <= rows.rowCount(); ++row) {
        // Only a category line starts a section, so a unit whose symbol happens to be a
        // category's key never does.
        if (isCategoryLine(rows, row) &&
            core::equalsIgnoringCase(rows.fieldText(row, 2), category.key)) {
            readSection(rows, row + 1, category.type, table);
            break;
        }
    }
    return table;
}

int modeOfCategory(const Category& category) {
    if (category.type == CategoryType::Temperature)
        return 2;
    if (category.type == CategoryType::Rates)
        return 1;
    for (std::size_t i = 0; i < kModeKeys.size(); ++i) {
        if (core::equalsIgnoringCase(category.key, kModeKeys[i]))
            return static_cast<int>(i) + 3;
    }
    return 1;
}

std::size_t categoryOfMode(const std::vector<Category>& categories, int mode) {
    if (mode == 2 && categories.size() > 1)
        return 1;
    if (mode < 3 || mode > 6)
        return 0;
    for (std::size_t i = 0; i < categories.size(); ++i) {
        if (core::equalsIgnoringCase(categories[i].key, kModeKeys[mode - 3]))
            return i;
    }
    return 0;
}

}  // namespace conversions
