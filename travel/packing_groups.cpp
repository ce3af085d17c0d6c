#include "travel/packing_groups.h"

#include <unordered_map>

namespace travel {

const std::wstring& shownCategory(const PackingItem& item, const std::wstring& uncategorised) {
    return item.category.empty() ? uncategorised : item.category;
}

std::vector<PackingRow> groupByCategory(const std::vector<PackingItem>& items,
                                        const std::wstring& uncategorised) {
    // Categories in order of first appearance, each with the indexes of its items.
    std::vector<std::wstring> order;
    std::unordered_map<std::wstring, std::vector<int>> members;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::wstring& category = shownCategory(items[i], uncategorised);
        auto [it, added] = members.try_emplace(category);
        if (added)
            order.push_back(category);
        it->second.push_back(static_cast<int>(i));
    }
    std::vector<PackingRow> rows;
    rows.reserve(items.size() + order.size());
    for (const std::wstring& category : order) {
        const std::vector<int>& indexes = members[category];
        rows.push_back({true, category + L" (" + std::to_wstring(indexes.size()) + L")", -1});
        for (int index : indexes)
            rows.push_back({false, items[static_cast<std::size_t>(index)].text, index});
    }
    return rows;
}

}  // namespace travel
