#include "setup/screens/wizard_pictures.h"

#include <algorithm>
#include <array>

#include "gfx/blend.h"
#include "gfx/decoration_pictures.h"
#include "gfx/display_metrics.h"
#include "gfx/resample_cache.h"
#include "gfx/theme_choices.h"
#include "ui/module_host.h"

namespace setup {

namespace {

// Vertical offsets in points, one period of a slow swing.
constexpr std::array<int, WizardPicture::kFrames> kSwing = {0, 1, 2, 2, 1, 0, -1, -2, -2, -1, 0};
constexpr int kSwingRoom = 2;

}  // namespace

WizardPicture::WizardPicture(std::wstring_view mainPath, bool large)
    : path_(std::wstring(mainPath) + L"graphics2\\wizard.tga"), large_(large) {
    isFocusable = false;
}

int WizardPicture::pictureSize() const {
    const gfx::DisplayMetrics& m = gfx::displayMetrics();
    int points = 70;
    if (large_) {
        if (m.displayModeFlag)
            points = 90;
        else if (gfx::isLandscape() || m.isSquare)
            points = 100;
        else
            points = 131;
    }
    return static_cast<int>(points * m.scaleX);
}

void WizardPicture::step() {
    frame_ = (frame_ + 1) % kFrames;
    invalidate();
}

void WizardPicture::place(const platform::Rect& placed, platform::DeviceContext* dc) {
    ui::Control::place(placed, dc);
    wantedSize_ = std::max(1, std::min({pictureSize(), placed.width(), placed.height()}));
}

void WizardPicture::paint(platform::DeviceContext& dc, const platform::Rect&) {
    // Every page has a picture; only the shown page's is read, when it is first painted.
    if (wantedSize_ > 0 && readSize_ != wantedSize_) {
        readSize_ = wantedSize_;
        pixels_ = gfx::ResampleCache().resampled(path_, wantedSize_, wantedSize_);
    }
    if (pixels_.pixels.empty())
        return;
    const double scale = gfx::displayMetrics().scaleY;
    int swing = static_cast<int>((kSwingRoom + kSwing[static_cast<std::size_t>(frame_)]) * scale);
    int x = rect.left + (rect.width() - pixels_.width) / 2;
    int room = std::max(0, rect.height() - pixels_.height);
    gfx::drawTarga(dc, pixels_, x, rect.top + std::min(swing, room));
}

void ClockPreview::paint(platform::DeviceContext& dc, const platform::Rect&) {
    ui::ModuleHost* owner = host();
    if (!owner)
        return;
    gfx::DecorationPictures& pictures = owner->decorations();
    int size = std::min({gfx::clockPreviewSize(), rect.width(), rect.height()});
    if (size <= 0)
        return;
    if (size != faceSize_ || pictures.clockFace() != faceName_) {
        face_ = pictures.picture(gfx::DecorationClockFace, size, size);
        faceSize_ = size;
        faceName_ = pictures.clockFace();
    }
    if (face_.pixels.empty())
        return;
    gfx::drawTarga(dc, face_, rect.left + (rect.width() - face_.width) / 2,
                   rect.top + (rect.height() - face_.height) / 2);
}

}  // namespace setup
