#pragma once
// The packing set of the user's language. A fresh installation's "packing\" folder holds the
// English master list and templates; "packing\<language code>\" holds each language's set.
// When the user's language is another than the one whose set is in place, the shipped files
// the user never changed (byte for byte the same as their language folder's copy) give way to
// the new language's, and the new language's templates join. Lists, templates and a master
// list the user changed are never touched.

#include <string>
#include <string_view>

#include "core/settings.h"
#include "core/settings_key.h"

namespace travel {

namespace keys {
// The language code ("0409") of the packing set now in place.
constexpr core::settings::TextKey PackingLanguage{L"PackingLanguage", L"0409",
                                                  core::byteLimit::Short};
}  // namespace keys

// Puts the set of the language in place of the set of installedCode; true when it did (the
// language has a set of its own, and it is not the one in place). Codes are four hexadecimal
// digits; anything else does nothing.
bool switchPackingLanguage(std::wstring_view mainPath, std::wstring_view installedCode,
                           std::wstring_view languageCode);

// The same for the language the program shows, remembered in PackingLanguage.
void followPackingLanguage(std::wstring_view mainPath);

}  // namespace travel
