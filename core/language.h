#pragma once
// Language files. Every text the user sees is a numbered string of the current language
// file. The install folder holds the list "lang\lang.dat" (one language a line, "~" between
// fields) and one file per language in "lang\", whose line k is string k; line 1 holds the
// string count itself, so real texts start at string 2.
//
// The list and the loaded table are process-wide, as the programs have one language at a
// time. Every request that cannot be served answers "NotLoaded".

#include <cstddef>
#include <string>
#include <string_view>

#include "core/record_table.h"
#include "platform/api/locale.h"

namespace core {

constexpr std::wstring_view kNotLoaded = L"NotLoaded";

// Fields of a language-list line.
namespace languageListField {
constexpr int Name = 1;           // shown in the language choice
constexpr int FileName = 2;       // the language file inside "lang\"
constexpr int DefaultMark = 3;    // "1" on the default language's line
constexpr int AgreementFile = 5;  // the user agreement inside "lang\"
constexpr int Code = 6;           // language id in four upper-case hexadecimal digits
constexpr int DownloadName = 9;   // passed on as OptLangDownload
}  // namespace languageListField

RecordTable& languageList();

// Loads "lang\lang.dat" from the install folder (dropping the previous list) and makes the
// line marked as default current, else line 1. A field count of 0 only drops the list. A
// missing or empty list tells the user ("No Language Dat File") and asks the program to quit.
bool buildLanguageList(std::wstring_view installFolder, int defaultMarker, int fieldCount);

// The code for a language id ("0409"); id 0 asks the device. English - United Kingdom is
// served by the United States file.
std::wstring languageCodeFor(platform::LanguageId language);

// Makes current the device language's line, else English - United States, else line 1.
void selectDeviceLanguage();

// Loads the current line's language file (line 1 when none is current). A missing file,
// unless "lang.0409.mui.txt" lies in the install folder itself, tells the user ("No Language
// File", unless quiet) and asks the program to quit.
bool openLanguage(std::wstring_view installFolder, bool closeOldFirst, bool quiet);

// Drops the loaded strings.
void closeLanguage();
// Strings in the loaded table (0 when none is loaded).
int languageStringCount();

// String n of the loaded table, or "NotLoaded".
std::wstring languageString(int number);
// The same, with its length in characters.
std::wstring languageStringCopy(int number, std::size_t* length);

// The part of string n after its (k + 1)-th comma, up to the next comma. "NotLoaded" when the
// string has fewer commas or the part is empty at the end of the string.
std::wstring languageField(int number, int k);

// The language choice at program start: the list, the stored choice (OptLang) or the device
// language, the language file; then OptLang and OptLangDownload are written back.
bool chooseStartLanguage(std::wstring_view installFolder);

}  // namespace core
