#pragma once
// The system's settings in the registry: every value lives directly in
// HKEY_CURRENT_USER\Software\VornSoftware\VornRoamer3, shared by all programs of the system
// and the comms program, and every value is a string, numbers as their decimal text. Each
// call opens and closes the key; a key that cannot be opened reads as absent and takes no
// writes.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace core {

constexpr std::wstring_view kAppKeyName = L"VornRoamer3";
constexpr std::wstring_view kSettingsKeyPath = L"Software\\VornSoftware\\VornRoamer3";

// Capacities readers pass, in bytes of UTF-16 text with its terminator: 255 admits 126
// characters, 80 admits 39, 40 (numbers) admits 19, 512 admits 255.
namespace byteLimit {
constexpr std::size_t Text = 255;
constexpr std::size_t Short = 80;
constexpr std::size_t Number = 40;
constexpr std::size_t Long = 512;
constexpr std::size_t Path = 520;
}  // namespace byteLimit

// The text of a string value; nothing when it is absent, of another type, or larger than
// the byte limit.
std::optional<std::wstring> readSetting(std::wstring_view name, std::size_t byteLimit);
// Creates the key when needed. False when the key could not be opened or written.
bool writeSetting(std::wstring_view name, std::wstring_view text);

// A number: its decimal text read up to the first non-digit ("12ab" is 12, "" is 0 and
// present). A 32-bit number value, which the comms program may leave, is accepted too.
std::optional<int> readNumberSetting(std::wstring_view name);
int readNumberSetting(std::wstring_view name, int defaultValue);
// Always stored as decimal text, whoever writes it.
bool writeNumberSetting(std::wstring_view name, int number);

// Paths the main program publishes at every start for the other programs: MainPath, the
// install folder with a trailing backslash, and DownloadPath, its "downloads\" folder.
std::wstring mainPathOf(std::wstring_view programDevicePath);
std::wstring downloadPathOf(std::wstring_view mainPath);
void publishPaths(std::wstring_view mainPath);
std::optional<std::wstring> readMainPath();
std::optional<std::wstring> readDownloadPath();

// The Today screen's item for the plug-in, under HKEY_LOCAL_MACHINE. The quotes belong to
// the key's name.
constexpr std::wstring_view kTodayItemKeyPath =
    L"Software\\Microsoft\\Today\\Items\\\"VornRoamer\"";
constexpr std::wstring_view kTodayPluginPath = L"\\windows\\VornRoamerToday.dll";
constexpr std::wstring_view kTodayWindowClass = L"VornToday";
constexpr std::wstring_view kTodayWindowTitle = L"Today";

enum class TodayItemResult { Updated, Created, Failed };

// An existing item only gets its DLL value rewritten, so the user's choices (Enabled) stay.
// A new item gets all its values and the Today screen is told to reload its items.
TodayItemResult registerTodayItem();

}  // namespace core
