#pragma once
// Character entities in unit and currency symbols: "&lt;", "&gt;", "&amp;", "&apos;",
// "&quot;" and "&#" decimal digits ";". The files keep every character beyond Latin-1 as a
// numeric entity, so "&#8364;" is the euro sign.

#include <string>
#include <string_view>

namespace conversions {

// Decodes the entities of a symbol, scanning left to right. Code 128 is the euro sign, as in
// the handheld's code page. "&amp" and "&apos" are known by those first four and five
// characters and take one character more, whatever it is. A "&" that starts none of these,
// a "&#" never closed by ";" and a code that is no character are copied unchanged.
std::wstring decodeEntities(std::wstring_view text);

}  // namespace conversions
