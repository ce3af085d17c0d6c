#pragma once
// The "packing\" folder as a whole: the overviews of lists and of templates, new lists from a
// template or empty, saving a list as a template, deleting a list or template, the list
// icons, and the master list of known items ("fulllist.dat") that the user extends.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "travel/packing_list.h"

namespace travel {

enum class OverviewKind { Lists, Templates };

// One row of an overview: the title, the file, its counts and the status text.
struct OverviewRow {
    std::wstring title;
    std::wstring fileName;  // empty for the first row (new list, or the empty list)
    int itemCount = 0;
    int tickedCount = 0;
    std::wstring status;
};

// "No items", "Everything packed", or "N items, M packed" in the current language.
std::wstring packingStatusText(int itemCount, int tickedCount);

// The first row ("New List" on the lists page, "New Empty List" on the templates page), then
// one row per readable "*.lst" or "*.tmp" file, by name. The counts are those of the items
// the file holds, so a header that a person or another program got wrong does not mislead.
std::vector<OverviewRow> packingOverview(std::wstring_view mainPath, OverviewKind kind);

// A list or template of the folder by its file name; nothing when it cannot be read.
std::optional<PackingList> loadPackingFile(std::wstring_view mainPath, std::wstring_view fileName);

// Deletes a list or template of the folder; false for a name that is not a plain file name
// of one, or when nothing was deleted.
bool deletePackingFile(std::wstring_view mainPath, std::wstring_view fileName);

enum class NameCheck { Ok, Invalid, Exists };

// Whether a typed name can become a new list "NAME.lst": Exists when such a list is there
// already (names are compared as the file system does, without regard to case).
NameCheck checkNewListName(std::wstring_view mainPath, std::wstring_view name);

// A new list named NAME with the icon, holding copies of the template's items (unticked
// and unflagged as the template keeps them) or none. Only in memory until it is saved.
PackingList newPackingList(std::wstring_view name, std::wstring_view icon,
                           const PackingList* fromTemplate);

// Writes the list's items as the template "NAME.tmp" (replacing one of that name), titled
// NAME with the list's icon. False for an invalid name or when writing failed.
bool saveAsTemplate(std::wstring_view mainPath, const PackingList& list, std::wstring_view name);

// The ".tga" files of the install folder's "listicons\" folder, by name.
std::vector<std::wstring> listIcons(std::wstring_view mainPath);

// The master list. An entry's tick means "chosen for adding"; flags are kept as read.
class MasterList {
  public:
    // Reads "packing\fulllist.dat"; a missing file is an empty master list.
    static MasterList load(std::wstring_view mainPath);
    bool save() const;

    const std::vector<PackingItem>& entries() const { return entries_; }
    int count() const { return static_cast<int>(entries_.size()); }
    // Clears every choice: each time the master list opens for adding.
    void clearChoices();
    // Flips the choice of an entry (0-based); false for no such entry.
    bool toggleChoice(int index);
    // Appends a chosen entry; answers its index, -1 when the text is empty after cleaning.
    int add(std::wstring_view text, std::wstring_view category);
    // Gives an entry new text and category and chooses it; false for no such entry or
    // empty text.
    bool edit(int index, std::wstring_view text, std::wstring_view category);
    bool remove(int index);
    // Appends each chosen entry to the items as an unticked, unflagged item; answers how many.
    int addChosenTo(std::vector<PackingItem>& items) const;

  private:
    std::wstring folder_;
    std::vector<PackingItem> entries_;
};

}  // namespace travel
