#include "worldtime/screens/moon_view.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/record_table.h"
#include "gfx/blend.h"
#include "gfx/resample.h"
#include "worldtime/moon.h"

namespace worldtime {

using namespace platform;

namespace {

// The disc drawn when the picture is missing: a pale grey moon on transparent corners.
gfx::TargaPixels plainDisc(int size) {
    gfx::TargaPixels disc;
    if (size <= 0)
        return disc;
    disc.width = size;
    disc.height = size;
    disc.bytesPerPixel = 4;
    disc.pixels.resize(static_cast<std::size_t>(size) * size * 4);
    const double r = size / 2.0;
    for (int y = 0; y < size; ++y) {
        std::uint8_t* row = disc.row(y);
        for (int x = 0; x < size; ++x) {
            double dx = x + 0.5 - r, dy = y + 0.5 - r;
            bool inside = dx * dx + dy * dy < r * r;
            std::uint8_t* p = row + x * 4;
            p[0] = p[1] = p[2] = 0xD8;
            p[3] = inside ? 0xFF : 0;
        }
    }
    return disc;
}

}  // namespace

MoonView::MoonView() {
    isFocusable = false;
}

void MoonView::load(std::wstring_view mainPath) {
    std::unique_ptr<gfx::TargaPixels> picture;
    std::wstring path = core::joinDevicePath(mainPath, L"graphics2\\moon.tga");
    if (gfx::loadTarga(path, picture) == gfx::TargaStatus::Loaded && picture)
        source_ = std::move(*picture);
    else
        source_ = {};
    rescale();
}

Rect MoonView::discRect() const {
    int side = std::min(rect.width(), rect.height());
    int left = rect.left + (rect.width() - side) / 2;
    int top = rect.top + (rect.height() - side) / 2;
    return Rect{left, top, left + side, top + side};
}

void MoonView::placed() {
    rescale();
}

void MoonView::rescale() {
    int side = discRect().width();
    if (source_.width > 0 && side > 0)
        scaled_ = gfx::resampleTarga(source_, side, side);
    else
        scaled_ = plainDisc(side);
    reshade();
}

void MoonView::setPhase(double phase) {
    if (!std::isfinite(phase))
        return;
    if (phase == phase_)
        return;
    phase_ = phase;
    reshade();
    invalidate();
}

void MoonView::reshade() {
    shaded_.width = scaled_.width;
    shaded_.height = scaled_.height;
    shaded_.bytesPerPixel = scaled_.bytesPerPixel;
    shaded_.pixels.assign(scaled_.pixels.begin(), scaled_.pixels.end());
    darkenMoon(shaded_, phase_);
}

void MoonView::paint(DeviceContext& dc, const Rect& invalid) {
    Rect disc = discRect();
    if (!isVisible || shaded_.width <= 0 || !disc.intersects(invalid))
        return;
    gfx::drawTarga(dc, shaded_, disc.left, disc.top);
}

bool MoonView::pointer(std::uint32_t message, WParam, Point point) {
    if (message != wm::LButtonUp || !rect.contains(point))
        return message == wm::LButtonDown && rect.contains(point);
    if (onTap)
        onTap();
    return true;
}

}  // namespace worldtime
