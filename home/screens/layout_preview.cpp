#include "home/screens/layout_preview.h"

#include <algorithm>

#include "core/settings.h"
#include "gfx/blend.h"
#include "gfx/resample.h"
#include "gfx/settings_keys.h"
#include "home/home_data.h"
#include "home/layout_painter.h"
#include "home/settings_keys.h"
#include "platform/api/clock.h"
#include "platform/api/shell.h"
#include "ui/control_paint.h"

namespace home {

using platform::Rect;

namespace {

// The Today screen's own background under the item.
constexpr platform::Colour kTodayBackground = 0xFFFFFF;

// The bitmap's pixels as a Targa picture of three bytes a pixel; both keep the bottom row
// first, the bitmap as B, G, R in padded rows, the picture as R, G, B.
gfx::TargaPixels toTarga(const platform::Bitmap& bitmap) {
    gfx::TargaPixels out;
    out.width = bitmap.width();
    out.height = bitmap.height();
    out.bytesPerPixel = 3;
    out.pixels = gfx::PixelBytes(out.rowBytes() * static_cast<std::size_t>(out.height));
    for (int r = 0; r < out.height; ++r) {
        const std::uint8_t* from = bitmap.bits() + static_cast<std::size_t>(r) * bitmap.stride();
        std::uint8_t* to = out.row(r);
        for (int x = 0; x < out.width; ++x) {
            to[3 * x] = from[3 * x + 2];
            to[3 * x + 1] = from[3 * x + 1];
            to[3 * x + 2] = from[3 * x];
        }
    }
    return out;
}

}  // namespace

LayoutPreview::LayoutPreview(std::wstring mainPath) : mainPath_(std::move(mainPath)) {}

LayoutPreview::~LayoutPreview() = default;

void LayoutPreview::rebuild() {
    built_ = true;
    int screenWidth = std::max(1, platform::workArea().width());
    double scale = layoutScale(screenWidth);
    layoutPath_ = layoutFilePath(mainPath_);
    LayoutModel model = readLayoutFile(layoutPath_, scale);
    std::optional<std::size_t> layout = model.layoutForTab(1, screenWidth);
    item_ = gfx::TargaPixels{};
    if (layout) {
        if (!painter_)
            painter_ = std::make_unique<LayoutPainter>(mainPath_);
        painter_->clear();
        HomeData data(DataSources::forInstall(mainPath_));
        data.loadFavourites();
        data.readSettings();
        bool autoHeight = core::settings::read(keys::OptHomeAutoHt) != 2;
        int height = itemHeight(model, layout, autoHeight, static_cast<int>(scale));
        platform::FileTime now = platform::deviceUtcFileTime();
        LayoutContent content = data.gather(model.layouts[*layout], now, true);
        auto bitmap = std::make_shared<platform::Bitmap>(screenWidth, height);
        bitmap->fill(kTodayBackground);
        platform::DeviceContext dc;
        dc.selectBitmap(bitmap);
        PaintState state;
        state.clockFace = core::settings::read(gfx::keys::OptClock);
        painter_->paint(dc, {0, 0, screenWidth, height}, model, *layout, content, state,
                        PaintColours::system(), now);
        dc.selectBitmap(nullptr);
        item_ = toTarga(*bitmap);
    }
    shrink();
    invalidate();
}

void LayoutPreview::place(const Rect& r, platform::DeviceContext* dc) {
    ui::Control::place(r, dc);
    shrink();
}

void LayoutPreview::shrink() {
    shown_ = gfx::TargaPixels{};
    int room = rect.width() - 2;
    if (item_.width <= 0 || room <= 0)
        return;
    // Never larger than the item itself; a taller item than the control is cut at the bottom.
    int width = std::min(room, item_.width);
    int height = std::max(1, item_.height * width / item_.width);
    shown_ = width == item_.width ? item_ : gfx::resampleTarga(item_, width, height);
}

void LayoutPreview::paint(platform::DeviceContext& dc, const Rect&) {
    if (!built_)
        rebuild();
    dc.fillRect(rect, ui::kPanelColour);
    if (shown_.width <= 0) {
        ui::drawClippedText(dc, kNotAvailable, rect,
                            platform::dt::Center | platform::dt::VCenter |
                                platform::dt::SingleLine | platform::dt::NoPrefix,
                            ui::kDisabledTextColour, ui::smallFont());
    } else {
        ui::ClipScope clip(dc, rect);
        int x = rect.left + (rect.width() - shown_.width) / 2;
        gfx::drawTarga(dc, shown_, x, rect.top + 1);
        Rect frame{x - 1, rect.top, x + shown_.width + 1,
                   std::min(rect.bottom, rect.top + shown_.height + 2)};
        dc.frameRect(frame, ui::kFrameColour);
    }
}

}  // namespace home
