#include "worldtime/city_names.h"

#include "worldtime/cities.h"

namespace worldtime {
namespace {

// Longer than any place name; a longer piece is damage, not a name.
constexpr std::size_t kMaxNameLength = 200;
// More than any city has; the rest of an overlong field is ignored.
constexpr std::size_t kMaxAlternates = 500;

std::wstring trimmedKey(std::wstring_view text) {
    std::size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring_view::npos)
        return {};
    return searchKey(text.substr(first, text.find_last_not_of(L' ') - first + 1));
}

}  // namespace

std::vector<std::wstring> alternateKeys(std::wstring_view field) {
    std::vector<std::wstring> keys;
    while (!field.empty() && keys.size() < kMaxAlternates) {
        std::size_t end = field.find(kAlternateSeparator);
        std::wstring_view name = field.substr(0, end);
        if (name.size() <= kMaxNameLength) {
            std::wstring key = trimmedKey(name);
            if (!key.empty())
                keys.push_back(std::move(key));
        }
        if (end == std::wstring_view::npos)
            break;
        field.remove_prefix(end + 1);
    }
    return keys;
}

void CityNames::add(const core::RecordTable& table) {
    for (int row = 1; row <= table.rowCount(); ++row) {
        std::wstring_view code = table.fieldText(row, cityNameField::Code);
        if (code.empty())
            continue;
        auto [entry, added] = entries_.try_emplace(foldedText(code));
        if (!added)
            continue;
        std::wstring_view region = table.fieldText(row, cityNameField::Region);
        if (region.size() <= kMaxNameLength) {
            entry->second.region = std::wstring(region);
            entry->second.regionKey = trimmedKey(region);
        }
        std::wstring_view regionCode = table.fieldText(row, cityNameField::RegionCode);
        if (regionCode.size() <= kMaxNameLength)
            entry->second.regionCodeKey = trimmedKey(regionCode);
        entry->second.alternateKeys =
            alternateKeys(table.fieldText(row, cityNameField::Alternates));
    }
}

void CityNames::load(std::wstring_view mainPath) {
    core::RecordTable table(cityNameField::Count);
    table.load(mainPath, kCityNamesFile, L'~', true);
    add(table);
}

const CityNameEntry* CityNames::find(std::wstring_view cityCode) const {
    auto found = entries_.find(foldedText(cityCode));
    return found == entries_.end() ? nullptr : &found->second;
}

std::vector<std::wstring> CityNames::codesWithAlternateStarting(std::wstring_view text) const {
    std::vector<std::wstring> codes;
    for (const auto& [code, entry] : entries_) {
        for (const std::wstring& name : entry.alternateKeys) {
            if (name.starts_with(text)) {
                codes.push_back(code);
                break;
            }
        }
    }
    return codes;
}

}  // namespace worldtime
