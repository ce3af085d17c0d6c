#pragma once
// The main program's settings file "vornroamer.ini" in the install folder: screen modes kept
// as "name=value" lines, with ";" comment lines kept in place. The process holds one list,
// in file order.
//
// Reading accepts LF and CR LF line ends. The file written when it is missing has CR LF line
// ends; every save writes LF between entries and none after the last, through a safe write
// (the old file stays whole until the new one is complete).

#include <string>
#include <string_view>
#include <vector>

namespace core {

constexpr std::wstring_view kSettingsFileName = L"vornroamer.ini";

// The content written when the file is missing.
extern const std::wstring_view kDefaultSettingsFileContent;

struct IniEntry {
    std::wstring name;   // empty for a comment
    std::wstring value;  // the whole line for a comment
    bool isComment = false;
};

class SettingsFile {
  public:
    // Appends the file's entries (after dropping the current ones when reload is set). A
    // line that is neither a comment nor holds "=" is dropped and counted; the file is then
    // damaged, and reportDamage tells the user once. False when the file cannot be opened.
    bool load(std::wstring_view devicePath, bool reload);
    // The lines the last load dropped, and the number of the first (1-based; 0 when none).
    int damagedLines() const { return damagedLines_; }
    int firstDamagedLine() const { return firstDamagedLine_; }

    // The first entry of that exact name, when its value is not empty.
    std::wstring text(std::wstring_view name, std::wstring_view defaultValue) const;
    int number(std::wstring_view name, int defaultValue) const;
    // Changes the first entry of that name, or appends one. Only the list changes.
    void setNumber(std::wstring_view name, int number);

    // Writes the list to the file last loaded. A file loaded damaged is first kept beside
    // itself as "vornroamer.ini.bak", so what the user had is never lost to the save.
    bool save();
    bool saveAs(std::wstring_view devicePath) const;

    const std::vector<IniEntry>& entries() const { return entries_; }
    const std::wstring& path() const { return path_; }
    void clear() { entries_.clear(); }

  private:
    // Index of the first non-comment entry of that name, or the entry count when none.
    std::size_t findEntry(std::wstring_view name) const;

    std::vector<IniEntry> entries_;
    std::wstring path_;
    int damagedLines_ = 0;
    int firstDamagedLine_ = 0;
    bool backupDue_ = false;
};

// The process-wide list and the calls the programs use on it.
SettingsFile& settingsFile();
bool loadIniFile(std::wstring_view mainPath, bool reload);
std::wstring iniText(std::wstring_view name, std::wstring_view defaultValue);
int iniNumber(std::wstring_view name, int defaultValue);
void setIniNumber(std::wstring_view name, int number);
bool saveIniFile();

// Loads the settings file, creating it with the default content when it is missing. When it
// cannot be created the user is told once per run and the list stays empty, so every read
// gives its default.
bool ensureIniFile(std::wstring_view mainPath);
// Tells the user, with one message box, that the settings file was damaged and the program
// goes on with the default settings for what it could not read. Call it once the program's
// window shows; a damaged file is reported once per run. True when it showed the box.
bool reportDamagedIniFile(std::wstring_view caption);

}  // namespace core
