#include "alarmprogram/alarm_scene.h"

#include <algorithm>

#include "gfx/blend.h"
#include "gfx/colours.h"
#include "gfx/fonts.h"
#include "gfx/resample.h"

namespace alarmprogram {

using platform::DeviceContext;
using platform::Rect;

namespace {

constexpr platform::Colour kWhite = 0xFFFFFF;
constexpr int kPanelTintAlpha = 200;
constexpr int kMessagePoints = 9;
constexpr int kButtonPoints = 12;

std::unique_ptr<gfx::TargaPixels> loadPicture(const std::wstring& path) {
    std::unique_ptr<gfx::TargaPixels> picture;
    if (gfx::loadTarga(path, picture) != gfx::TargaStatus::Loaded)
        picture.reset();
    return picture;
}

void stretchPicture(DeviceContext& dc, const gfx::TargaPixels* picture, const Rect& r) {
    if (picture && !r.isEmpty())
        gfx::drawTargaScaled(dc, *picture, r.left, r.top, r.width(), r.height());
}

}  // namespace

Rect messageArea(const AlarmLayout& layout) {
    Rect area = layout.message.intersect(layout.panel);
    area.bottom = std::min(area.bottom, std::min(layout.dismiss.top, layout.snooze.top));
    return area.isEmpty() ? Rect{} : area;
}

AlarmScene::AlarmScene(const std::wstring& installFolder, platform::Size size,
                       const AlarmLayout& layout)
    : size_(size), layout_(layout) {
    panelPicture_ = loadPicture(installFolder + L"graphics2\\basic_shadow.tga");
    digitsPicture_ = loadPicture(installFolder + L"graphics2\\digits.tga");
    for (int i = 0; i < kBellFrames; ++i) {
        bellPictures_[i] =
            loadPicture(installFolder + L"alarm\\alarm_alarm" + std::to_wstring(i + 1) + L".tga");
    }
    background_ = std::make_shared<platform::Bitmap>(size.width, size.height);
    frame_ = std::make_shared<platform::Bitmap>(size.width, size.height);
    messageFont_ = gfx::createFont(kMessagePoints, gfx::FontWeightBold);
    buttonFont_ = gfx::createFont(kButtonPoints, gfx::FontWeightBold);
}

void AlarmScene::drawBackground(const SceneTexts& texts) {
    DeviceContext dc;
    dc.selectBitmap(background_);
    dc.fillRect({0, 0, size_.width, size_.height}, kWhite);
    drawPanel(dc);
    drawButton(dc, layout_.dismiss, texts.dismiss);
    drawButton(dc, layout_.snooze, texts.snooze);
    drawDigits(dc, texts.hour, texts.minute);
    dc.selectBitmap(nullptr);
}

void AlarmScene::drawPanel(DeviceContext& dc) {
    const Rect& panel = layout_.panel;
    if (panel.isEmpty())
        return;
    // The panel picture goes on twice, under and over the tint: resized once.
    const gfx::TargaPixels face =
        panelPicture_ ? gfx::resampleTarga(*panelPicture_, panel.width(), panel.height())
                      : gfx::TargaPixels{};
    if (face.width > 0)
        gfx::drawTarga(dc, face, panel.left, panel.top);
    dc.frameRect(panel, kWhite);
    gfx::tintDib(background_.get(), gfx::systemColour(gfx::ColourHighlight), panel.left + 1,
                 panel.top + 1, panel.width() - 2, panel.height() - 2, kPanelTintAlpha, false);
    if (face.width > 0)
        gfx::drawTarga(dc, face, panel.left, panel.top);
}

void AlarmScene::drawButton(DeviceContext& dc, const Rect& rect, const std::wstring& label) {
    stretchPicture(dc, panelPicture_.get(), rect);
    auto old = dc.selectFont(buttonFont_);
    dc.setTextColour(kWhite);
    dc.setBackgroundMode(platform::BackgroundMode::Transparent);
    dc.drawText(label, rect,
                platform::dt::Center | platform::dt::VCenter | platform::dt::SingleLine |
                    platform::dt::NoPrefix);
    dc.selectFont(old);
}

// The clock's glyph size inside its area: the area's height, made smaller when four glyphs
// and the colon would run past the panel's edge (the square screen's digits area does).
DigitMetrics digitMetrics(const Rect& area, const Rect& panel, platform::Size glyph) {
    DigitMetrics m;
    if (glyph.width <= 0 || glyph.height <= 0 || area.isEmpty())
        return m;
    const int margin = std::max(2, panel.width() / 40);
    const int room = std::min(area.right, panel.right - margin) - area.left;
    for (int height = area.height(); height > 0; --height) {
        m.height = height;
        m.width = std::max(1, glyph.width * height / glyph.height);
        m.gap = std::max(1, m.width / 8);
        m.colon = std::max(4, m.width / 2);
        if (m.totalWidth() <= room)
            break;
    }
    m.top = area.top + (area.height() - m.height) / 2;
    return m;
}

void AlarmScene::drawDigits(DeviceContext& dc, int hour, int minute) {
    const Rect& area = layout_.digits;
    if (!digitsPicture_ || area.isEmpty())
        return;
    const gfx::TargaPixels& strip = *digitsPicture_;
    const int glyphWidth = strip.width / 10;
    if (glyphWidth <= 0 || strip.height <= 0)
        return;
    const DigitMetrics m = digitMetrics(area, layout_.panel, {glyphWidth, strip.height});
    if (m.height <= 0)
        return;
    // Each glyph is cut out of the strip once per digit; four small resamples per window.
    auto glyph = [&](int digit) {
        gfx::TargaPixels cut;
        cut.width = glyphWidth;
        cut.height = strip.height;
        cut.bytesPerPixel = strip.bytesPerPixel;
        cut.pixels.resize(cut.rowBytes() * cut.height);
        for (int row = 0; row < strip.height; ++row) {
            const std::uint8_t* from = strip.row(row) + digit * glyphWidth * strip.bytesPerPixel;
            std::copy(from, from + cut.rowBytes(), cut.row(row));
        }
        return cut;
    };
    const int digits[4] = {hour / 10 % 10, hour % 10, minute / 10 % 10, minute % 10};
    int x = area.left;
    for (int i = 0; i < 4; ++i) {
        if (i == 2) {
            // The colon: two small white squares between the hours and the minutes.
            const int dot = std::max(2, m.height / 10);
            const int dotLeft = x + (m.colon - m.gap - dot) / 2;
            dc.fillRect(platform::rectOfSize(dotLeft, m.top + m.height * 3 / 10, dot, dot), kWhite);
            dc.fillRect(platform::rectOfSize(dotLeft, m.top + m.height * 6 / 10, dot, dot), kWhite);
            x += m.colon;
        }
        gfx::drawTargaScaled(dc, glyph(digits[i]), x, m.top, m.width, m.height);
        x += m.width + m.gap;
    }
}

const platform::Bitmap& AlarmScene::composeFrame(int bellFrame, const std::wstring& message) {
    DeviceContext dc;
    dc.selectBitmap(frame_);
    dc.drawBitmap({0, 0, size_.width, size_.height}, *background_, {0, 0});
    const int index = std::clamp(bellFrame, 1, kBellFrames) - 1;
    gfx::TargaPixels& bell = bells_[index];
    if (bell.width == 0 && bellPictures_[index] && !layout_.bell.isEmpty()) {
        bell =
            gfx::resampleTarga(*bellPictures_[index], layout_.bell.width(), layout_.bell.height());
        bellPictures_[index].reset();
    }
    if (bell.width > 0)
        gfx::drawTarga(dc, bell, layout_.bell.left, layout_.bell.top);
    const Rect area = messageArea(layout_);
    if (!message.empty() && !area.isEmpty()) {
        auto old = dc.selectFont(messageFont_);
        dc.setTextColour(kWhite);
        dc.setBackgroundMode(platform::BackgroundMode::Transparent);
        dc.setClip(area);
        dc.drawText(message, area,
                    platform::dt::Center | platform::dt::WordBreak | platform::dt::NoPrefix);
        dc.clearClip();
        dc.selectFont(old);
    }
    dc.selectBitmap(nullptr);
    return *frame_;
}

}  // namespace alarmprogram
