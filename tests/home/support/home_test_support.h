#pragma once
// Helpers for the home tests: a throw-away device whose install folder holds the language
// files, the zone table, the favourites and the pictures the layouts draw, a download folder
// for weather files, and an empty settings key.

#include <string>
#include <string_view>

#include "platform/api/clock.h"
#include "platform/api/draw.h"

namespace home::test {

constexpr std::wstring_view kMainPath = L"\\Program Files\\Vorn Roamer\\";
constexpr std::wstring_view kDownloads = L"\\Program Files\\Vorn Roamer\\downloads\\";

// A fresh install folder (English loaded) with data/'s favourites: London, New York City,
// Tokyo, Sydney, Paris.
void prepareDevice();
// Writes bytes to a device file, replacing it.
void writeFile(std::wstring_view devicePath, std::string_view bytes);
void writeDownload(std::wstring_view name, std::string_view bytes);
// A layout file from its text, parsed at a scale.
std::string readSource(std::string_view relative);

// A UTC moment as a file time.
platform::FileTime utcAt(int year, int month, int day, int hour, int minute);

// Pixels of a colour inside a rectangle of a bitmap.
int countPixels(const platform::Bitmap& bitmap, const platform::Rect& rect,
                platform::Colour colour);
// Pixels inside a rectangle that differ from a colour.
int countOtherPixels(const platform::Bitmap& bitmap, const platform::Rect& rect,
                     platform::Colour colour);

}  // namespace home::test
