#pragma once
// Helpers for the travel tests: a throw-away device with the install folder's language files
// and travel tables, and files written into its install and download folders.

#include <initializer_list>
#include <string>
#include <string_view>

namespace travel::test {

constexpr std::wstring_view kMainPath = L"\\Program Files\\Vorn Roamer\\";
constexpr std::wstring_view kDownloads = L"\\Program Files\\Vorn Roamer\\downloads\\";

// A fresh install folder with the English language file and data/'s files named, an empty
// download folder and an empty settings key.
void prepareDevice(std::initializer_list<std::string_view> extraFiles = {});
// Writes bytes to a device file, creating its folder.
void writeDeviceFile(std::wstring_view devicePath, std::string_view bytes);
// Writes bytes to a file of the download folder.
void writeDownload(std::wstring_view name, std::string_view bytes);
bool downloadExists(std::wstring_view name);

// A flight file's text with the flights given (each the inner XML of one flight element).
std::string flightXml(std::initializer_list<std::string_view> flights);

}  // namespace travel::test
