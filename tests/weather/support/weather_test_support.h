#pragma once
// Helpers for the weather tests: a throw-away device with the install folder's language files,
// weather files written into its download folder, and the language switched by id.

#include <string>
#include <string_view>

#include "platform/api/locale.h"

namespace weather::test {

constexpr std::wstring_view kMainPath = L"\\Program Files\\Vorn Roamer\\";
constexpr std::wstring_view kDownloads = L"\\Program Files\\Vorn Roamer\\downloads\\";

// A fresh install folder with the language files and data/'s files named, an empty download
// folder and an empty settings key; English is loaded.
void prepareDevice(std::initializer_list<std::string_view> extraFiles = {});
// Loads the language file of a language id (0x0409 English, 0x0407 German).
void useLanguage(platform::LanguageId language);
// Writes bytes to a file of the download folder, replacing it.
void writeDownload(std::wstring_view name, std::string_view bytes);
// Copies a file of data/ into the download folder under another name.
void copyToDownloads(std::string_view dataFile, std::wstring_view name);
bool downloadExists(std::wstring_view name);

}  // namespace weather::test
