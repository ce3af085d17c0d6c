#pragma once
// The six decoration pictures the main program shares between screens. Each file is decoded
// once and handed out as a copy resized to the size asked for; resized copies are kept
// between starts (ResampleCache).

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "gfx/resample_cache.h"
#include "gfx/targa.h"

namespace gfx {

enum DecorationPicture : int {
    DecorationClockFace = 0,      // "clocks\" + the chosen clock face
    DecorationShadow = 1,         // "graphics2\basic_shadow.tga"
    DecorationDigits = 2,         // "graphics2\digits.tga"
    DecorationButtonOverlay = 3,  // the theme's "butt_overlay.tga"
    DecorationCalcButton = 4,     // the theme's "calcbutt.tga"
    DecorationShadowBack = 5,     // "graphics2\basic_shadow_back.tga"
    DecorationPictureCount = 6,
};

class DecorationPictures {
  public:
    // mainPath: the install folder with its trailing backslash.
    // cache: where resized copies are kept between starts.
    explicit DecorationPictures(std::wstring mainPath, ResampleCache cache = ResampleCache());

    const std::wstring& mainPath() const { return mainPath_; }

    // The clock-face file name in "clocks\"; a different name is decoded again on next use.
    void setClockFace(std::wstring_view fileName);
    const std::wstring& clockFace() const { return clockFace_; }

    // Device path of a picture's file.
    std::wstring pathOf(int number) const;

    // A copy of a picture at width x height, or at its own size when both are 0. Empty when
    // the number is unknown or the file does not decode.
    TargaPixels picture(int number, int width = 0, int height = 0);

  private:
    const TargaPixels* original(int number);

    std::wstring mainPath_;
    std::wstring clockFace_ = L"default.tga";
    std::array<std::unique_ptr<TargaPixels>, DecorationPictureCount> originals_;
    std::array<bool, DecorationPictureCount> tried_{};
    ResampleCache resampled_;
};

}  // namespace gfx
