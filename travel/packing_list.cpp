#include "travel/packing_list.h"

#include <algorithm>

#include "core/record_table.h"

namespace travel {

namespace {

namespace field {
constexpr int Ticked = 1, Flagged = 2, Text = 3, Category = 4;
constexpr int Title = 1;
}  // namespace field

constexpr int kColumns = 4;

bool isControl(wchar_t c) {
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || c == 0x2028 || c == 0x2029;
}

std::wstring_view trimmed(std::wstring_view text) {
    while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) text.remove_suffix(1);
    return text;
}

// The file name without its extension, for a list whose header lost its title.
std::wstring stem(std::wstring_view fileName) {
    std::size_t dot = fileName.rfind(L'.');
    return std::wstring(dot == std::wstring_view::npos ? fileName : fileName.substr(0, dot));
}

}  // namespace

std::wstring packingFolder(std::wstring_view mainPath) {
    return core::joinDevicePath(mainPath, L"packing\\");
}

std::wstring titleDisplayName(std::wstring_view title) {
    return std::wstring(title.substr(0, title.find(L':')));
}

std::wstring titleIcon(std::wstring_view title) {
    std::size_t colon = title.find(L':');
    return colon == std::wstring_view::npos ? std::wstring()
                                            : std::wstring(title.substr(colon + 1));
}

std::wstring makeTitle(std::wstring_view displayName, std::wstring_view icon) {
    std::wstring title(displayName);
    title += L':';
    title += icon;
    return title;
}

std::wstring cleanFieldText(std::wstring_view text) {
    std::wstring clean;
    clean.reserve(text.size());
    for (wchar_t c : text) {
        if (c == L'~')
            clean += L'-';
        else if (c == L'\t')
            clean += L' ';
        else if (c != L'"' && !isControl(c))
            clean += c;
    }
    std::wstring result(trimmed(clean));
    if (result.size() > kMaxItemText)
        result.resize(kMaxItemText);
    return result;
}

bool isValidListName(std::wstring_view name) {
    std::wstring clean = cleanFieldText(name);
    if (clean.empty() || clean != name || clean.size() > kMaxNameLength)
        return false;
    if (clean.front() == L'.' || clean == L"..")
        return false;
    constexpr std::wstring_view kForbidden = L"\\/:*?<>|";
    return std::none_of(clean.begin(), clean.end(),
                        [&](wchar_t c) { return kForbidden.find(c) != std::wstring_view::npos; });
}

PackingList::PackingList(std::wstring title, std::wstring fileName, std::vector<PackingItem> items)
    : title_(std::move(title)), fileName_(std::move(fileName)), items_(std::move(items)) {}

namespace {

std::vector<PackingItem> itemsOf(const core::RecordTable& table, int firstRow) {
    std::vector<PackingItem> items;
    items.reserve(static_cast<std::size_t>(std::max(0, table.rowCount() - firstRow + 1)));
    for (int row = firstRow; row <= table.rowCount(); ++row) {
        std::wstring_view text = trimmed(table.fieldText(row, field::Text));
        if (text.empty())
            continue;
        items.push_back({table.fieldText(row, field::Ticked) == L"1",
                         table.fieldText(row, field::Flagged) == L"1", std::wstring(text),
                         std::wstring(trimmed(table.fieldText(row, field::Category)))});
    }
    return items;
}

}  // namespace

std::vector<PackingItem> readItems(std::wstring_view folder, std::wstring_view fileName,
                                   int firstRow, bool& opened) {
    core::RecordTable table(kColumns);
    opened = table.load(folder, fileName, L'~', true) > 0;
    return opened ? itemsOf(table, firstRow) : std::vector<PackingItem>{};
}

bool writeItems(std::wstring_view folder, std::wstring_view fileName,
                const std::vector<std::wstring>* header, const std::vector<PackingItem>& items) {
    core::RecordTable table(kColumns);
    if (header) {
        int row = table.appendRow();
        for (std::size_t i = 0; i < header->size() && i < kColumns; ++i)
            table.setField(row, static_cast<int>(i) + 1, cleanFieldText((*header)[i]));
    }
    for (const PackingItem& item : items) {
        int row = table.appendRow();
        table.setField(row, field::Ticked, item.ticked ? L"1" : L"0");
        table.setField(row, field::Flagged, item.flagged ? L"1" : L"0");
        table.setField(row, field::Text, cleanFieldText(item.text));
        table.setField(row, field::Category, cleanFieldText(item.category));
    }
    return table.save(folder, fileName);
}

std::optional<PackingList> PackingList::load(std::wstring_view folder, std::wstring_view fileName) {
    core::RecordTable table(kColumns);
    if (table.load(folder, fileName, L'~', true) == 0 || table.rowCount() < 1)
        return std::nullopt;
    std::wstring title(trimmed(table.fieldText(1, field::Title)));
    if (titleDisplayName(title).empty())
        title = makeTitle(stem(fileName), titleIcon(title));
    return PackingList(std::move(title), std::wstring(fileName), itemsOf(table, 2));
}

bool PackingList::save(std::wstring_view folder) const {
    std::vector<std::wstring> header = {title_, std::to_wstring(itemCount()),
                                        std::to_wstring(tickedCount()), L"0"};
    return writeItems(folder, fileName_, &header, items_);
}

std::wstring PackingList::displayName() const {
    std::wstring name = titleDisplayName(title_);
    return name.empty() ? stem(fileName_) : name;
}

int PackingList::tickedCount() const {
    return static_cast<int>(
        std::count_if(items_.begin(), items_.end(), [](const PackingItem& i) { return i.ticked; }));
}

int PackingList::flaggedCount() const {
    return static_cast<int>(std::count_if(items_.begin(), items_.end(),
                                          [](const PackingItem& i) { return i.flagged; }));
}

}  // namespace travel
