#include "gfx/decoration_pictures.h"

#include "gfx/resample.h"
#include "gfx/theme.h"

namespace gfx {

DecorationPictures::DecorationPictures(std::wstring mainPath, ResampleCache cache)
    : mainPath_(std::move(mainPath)), resampled_(std::move(cache)) {}

void DecorationPictures::setClockFace(std::wstring_view fileName) {
    if (fileName == clockFace_)
        return;
    clockFace_ = fileName;
    originals_[DecorationClockFace].reset();
    tried_[DecorationClockFace] = false;
}

std::wstring DecorationPictures::pathOf(int number) const {
    switch (number) {
        case DecorationClockFace:
            return mainPath_ + L"\\clocks\\" + clockFace_;
        case DecorationShadow:
            return mainPath_ + L"\\graphics2\\basic_shadow.tga";
        case DecorationDigits:
            return mainPath_ + L"\\graphics2\\digits.tga";
        case DecorationButtonOverlay:
            return themePath(mainPath_, L"butt_overlay.tga");
        case DecorationCalcButton:
            return themePath(mainPath_, L"calcbutt.tga");
        case DecorationShadowBack:
            return mainPath_ + L"\\graphics2\\basic_shadow_back.tga";
        default:
            return {};
    }
}

const TargaPixels* DecorationPictures::original(int number) {
    if (number < 0 || number >= DecorationPictureCount)
        return nullptr;
    if (!tried_[number]) {
        tried_[number] = true;
        loadTarga(pathOf(number), originals_[number]);
    }
    return originals_[number].get();
}

TargaPixels DecorationPictures::picture(int number, int width, int height) {
    if (width == 0 && height == 0) {
        const TargaPixels* source = original(number);
        return source ? *source : TargaPixels{};
    }
    if (number < 0 || number >= DecorationPictureCount)
        return {};
    // Until the picture is decoded, a copy at this size kept by an earlier start will do.
    if (!originals_[number]) {
        if (auto kept = resampled_.find(pathOf(number), width, height))
            return std::move(*kept);
    }
    const TargaPixels* source = original(number);
    if (!source)
        return {};
    TargaPixels result = resampleTarga(*source, width, height);
    if (!result.pixels.empty())
        resampled_.store(pathOf(number), result);
    return result;
}

}  // namespace gfx
