#pragma once
// Items as the screens and the command line show them: grouped under category headings
// "Category (N)", the categories in the order they first appear, so that a template's
// order (documents first, the house last) is kept.

#include <string>
#include <vector>

#include "travel/packing_list.h"

namespace travel {

struct PackingRow {
    bool heading = false;
    std::wstring text;  // the heading "Category (N)", or the item's text
    int item = -1;      // the item's index (0-based); -1 for a heading
};

// Headings and items in display order. Items without a category go under the heading made
// from uncategorised (the language's "No category").
std::vector<PackingRow> groupByCategory(const std::vector<PackingItem>& items,
                                        const std::wstring& uncategorised);

// The category name an item is shown under.
const std::wstring& shownCategory(const PackingItem& item, const std::wstring& uncategorised);

}  // namespace travel
