#include "travel/packing_store.h"

#include "core/format.h"
#include "core/language.h"
#include "core/record_table.h"
#include "platform/api/device.h"

namespace travel {

namespace {

namespace text {
constexpr int NoItems = 527, AllPacked = 528, Counts = 529, NewList = 881, NewEmptyList = 882;
}

// A file name of the folder itself: no path, no parent, not hidden.
bool isPlainFileName(std::wstring_view name) {
    return !name.empty() && name.front() != L'.' &&
           name.find_first_of(L"\\/:") == std::wstring_view::npos;
}

bool hasExtension(std::wstring_view name, std::wstring_view extension) {
    return name.size() > extension.size() &&
           platform::matchesPattern(name.substr(name.size() - extension.size()), extension);
}

}  // namespace

std::wstring packingStatusText(int itemCount, int tickedCount) {
    if (itemCount <= 0)
        return core::languageString(text::NoItems);
    if (tickedCount >= itemCount)
        return core::languageString(text::AllPacked);
    return core::formatText(core::languageString(text::Counts), itemCount, tickedCount);
}

std::vector<OverviewRow> packingOverview(std::wstring_view mainPath, OverviewKind kind) {
    bool lists = kind == OverviewKind::Lists;
    std::vector<OverviewRow> rows;
    rows.push_back(
        {makeTitle(core::languageString(lists ? text::NewList : text::NewEmptyList), kNewListIcon),
         L"", 0, 0, L""});
    std::wstring folder = packingFolder(mainPath);
    std::wstring pattern = L"*";
    pattern += lists ? kListExtension : kTemplateExtension;
    for (const platform::DirectoryEntry& entry : platform::listFolder(folder, pattern)) {
        std::optional<PackingList> list = PackingList::load(folder, entry.name);
        if (!list)
            continue;
        int items = list->itemCount();
        int ticked = list->tickedCount();
        rows.push_back(
            {list->title(), entry.name, items, ticked, packingStatusText(items, ticked)});
    }
    return rows;
}

std::optional<PackingList> loadPackingFile(std::wstring_view mainPath, std::wstring_view fileName) {
    if (!isPlainFileName(fileName))
        return std::nullopt;
    return PackingList::load(packingFolder(mainPath), fileName);
}

bool deletePackingFile(std::wstring_view mainPath, std::wstring_view fileName) {
    if (!isPlainFileName(fileName) ||
        !(hasExtension(fileName, kListExtension) || hasExtension(fileName, kTemplateExtension))) {
        return false;
    }
    return platform::deleteFile(core::joinDevicePath(packingFolder(mainPath), fileName));
}

NameCheck checkNewListName(std::wstring_view mainPath, std::wstring_view name) {
    if (!isValidListName(name))
        return NameCheck::Invalid;
    std::wstring fileName = std::wstring(name) + std::wstring(kListExtension);
    if (platform::fileExists(core::joinDevicePath(packingFolder(mainPath), fileName)))
        return NameCheck::Exists;
    return NameCheck::Ok;
}

PackingList newPackingList(std::wstring_view name, std::wstring_view icon,
                           const PackingList* fromTemplate) {
    std::vector<PackingItem> items;
    if (fromTemplate)
        items = fromTemplate->items();
    return PackingList(makeTitle(name, icon.empty() ? kNewListIcon : icon),
                       std::wstring(name) + std::wstring(kListExtension), std::move(items));
}

bool saveAsTemplate(std::wstring_view mainPath, const PackingList& list, std::wstring_view name) {
    if (!isValidListName(name))
        return false;
    PackingList copy(makeTitle(name, list.icon()),
                     std::wstring(name) + std::wstring(kTemplateExtension), list.items());
    std::wstring folder = packingFolder(mainPath);
    platform::createFolder(folder);
    return copy.save(folder);
}

std::vector<std::wstring> listIcons(std::wstring_view mainPath) {
    std::vector<std::wstring> icons;
    for (const platform::DirectoryEntry& entry :
         platform::listFolder(core::joinDevicePath(mainPath, L"listicons\\"), L"*.tga")) {
        icons.push_back(entry.name);
    }
    return icons;
}

MasterList MasterList::load(std::wstring_view mainPath) {
    MasterList master;
    master.folder_ = packingFolder(mainPath);
    bool opened = false;
    master.entries_ = readItems(master.folder_, kMasterListFile, 1, opened);
    return master;
}

bool MasterList::save() const {
    platform::createFolder(folder_);
    return writeItems(folder_, kMasterListFile, nullptr, entries_);
}

void MasterList::clearChoices() {
    for (PackingItem& entry : entries_) entry.ticked = false;
}

bool MasterList::toggleChoice(int index) {
    if (index < 0 || index >= count())
        return false;
    PackingItem& entry = entries_[static_cast<std::size_t>(index)];
    entry.ticked = !entry.ticked;
    return true;
}

int MasterList::add(std::wstring_view text, std::wstring_view category) {
    std::wstring clean = cleanFieldText(text);
    if (clean.empty())
        return -1;
    entries_.push_back({true, false, std::move(clean), cleanFieldText(category)});
    return count() - 1;
}

bool MasterList::edit(int index, std::wstring_view text, std::wstring_view category) {
    std::wstring clean = cleanFieldText(text);
    if (index < 0 || index >= count() || clean.empty())
        return false;
    PackingItem& entry = entries_[static_cast<std::size_t>(index)];
    entry.text = std::move(clean);
    entry.category = cleanFieldText(category);
    entry.ticked = true;
    return true;
}

bool MasterList::remove(int index) {
    if (index < 0 || index >= count())
        return false;
    entries_.erase(entries_.begin() + index);
    return true;
}

int MasterList::addChosenTo(std::vector<PackingItem>& items) const {
    int added = 0;
    for (const PackingItem& entry : entries_) {
        if (!entry.ticked)
            continue;
        items.push_back({false, false, entry.text, entry.category});
        ++added;
    }
    return added;
}

}  // namespace travel
