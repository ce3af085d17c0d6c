#pragma once
// The user agreement the set-up wizard shows before anything else: a text file per language
// in the install folder's "lang\", named by the language list.

#include <cstddef>
#include <string>
#include <string_view>

namespace setup {

// The longest line kept (longer ones are cut) and the longest text shown.
constexpr std::size_t kAgreementLineLimit = 4096;
constexpr std::size_t kAgreementTextLimit = 80000;

// The device path of the current language's agreement: field 5 of the current line of the
// language list, in mainPath's "lang\". Empty when there is no current line or the field is
// not a plain file name (a name reaching out of "lang\" is refused).
std::wstring agreementPath(std::wstring_view mainPath);

// The text of an agreement file as the wizard shows it: every line, whatever ended it, ends
// with CR LF, the last one too; at most kAgreementTextLimit characters. Empty when the file
// does not read.
std::wstring agreementText(std::wstring_view devicePath);

}  // namespace setup
