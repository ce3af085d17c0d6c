#pragma once
// Packing lists and templates: named check lists of items, each with a tick (packed) and a
// flag (marked) and grouped by category. A list is "NAME.lst" and a template "NAME.tmp" in the
// install folder's "packing\" folder, both "~"-separated record tables whose first line is a
// header: the title ("display name:icon file"), the item count, the ticked count and "0".
// Every further line is an item: ticked "1"/"0", flagged "1"/"0", text, category.
//
// Files come from the user and other programs, so loading keeps what it can: a line without
// text is skipped, a tick or flag other than "1" reads as not set, a missing header title
// falls back to the file's name. Saving puts a fresh header with the counts of the moment
// first and writes the file beside its name before renaming it over the old one.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace travel {

struct PackingItem {
    bool ticked = false;
    bool flagged = false;
    std::wstring text;
    std::wstring category;

    bool operator==(const PackingItem&) const = default;
};

// The "packing\" folder of an install folder (which ends with a backslash).
std::wstring packingFolder(std::wstring_view mainPath);

inline constexpr std::wstring_view kListExtension = L".lst";
inline constexpr std::wstring_view kTemplateExtension = L".tmp";
inline constexpr std::wstring_view kMasterListFile = L"fulllist.dat";
inline constexpr std::wstring_view kNewListIcon = L"list_new.tga";

// A title is "display name:icon file"; either part may be missing.
std::wstring titleDisplayName(std::wstring_view title);
std::wstring titleIcon(std::wstring_view title);
std::wstring makeTitle(std::wstring_view displayName, std::wstring_view icon);

// Text the user typed, made safe to store in one field: the field separator becomes "-",
// double quotes (which loading strips) and control characters go, spaces at either end are
// trimmed, and the text is cut to a length a list line holds comfortably.
std::wstring cleanFieldText(std::wstring_view text);
inline constexpr std::size_t kMaxItemText = 120;

// True when a typed name can become a file name of its own in "packing\": not empty after
// cleaning, at most kMaxNameLength characters, no path or wildcard characters, no name that
// begins with "." (such files are hidden from the overview).
bool isValidListName(std::wstring_view name);
inline constexpr std::size_t kMaxNameLength = 60;

class PackingList {
  public:
    PackingList() = default;
    PackingList(std::wstring title, std::wstring fileName, std::vector<PackingItem> items = {});

    // Reads folder + fileName. Nothing when the file cannot be opened or has no first line.
    static std::optional<PackingList> load(std::wstring_view folder, std::wstring_view fileName);

    // Writes the header and the items to folder + fileName(); false when that failed, and the
    // old file then stays as it was.
    bool save(std::wstring_view folder) const;

    const std::wstring& title() const { return title_; }
    void setTitle(std::wstring title) { title_ = std::move(title); }
    const std::wstring& fileName() const { return fileName_; }
    void setFileName(std::wstring fileName) { fileName_ = std::move(fileName); }
    std::wstring displayName() const;
    std::wstring icon() const { return titleIcon(title_); }

    const std::vector<PackingItem>& items() const { return items_; }
    std::vector<PackingItem>& items() { return items_; }
    int itemCount() const { return static_cast<int>(items_.size()); }
    int tickedCount() const;
    int flaggedCount() const;

  private:
    std::wstring title_;
    std::wstring fileName_;
    std::vector<PackingItem> items_;
};

// The rows of a record-table file read as items (from the first row on); rows without text
// are left out. Shared by lists and the master list.
std::vector<PackingItem> readItems(std::wstring_view folder, std::wstring_view fileName,
                                   int firstRow, bool& opened);
// Writes an optional header row and the items; false when that failed.
bool writeItems(std::wstring_view folder, std::wstring_view fileName,
                const std::vector<std::wstring>* header, const std::vector<PackingItem>& items);

}  // namespace travel
