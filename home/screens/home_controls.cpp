#include "home/screens/home_controls.h"

#include <algorithm>
#include <cmath>

#include "gfx/blend.h"
#include "gfx/colours.h"
#include "gfx/resample.h"
#include "gfx/resample_cache.h"
#include "gfx/theme.h"
#include "ui/control_paint.h"
#include "worldtime/screens/analog_clock.h"
#include "worldtime/screens/planner_view.h"

namespace home {

using namespace platform;

namespace {

constexpr std::uint32_t kCentred = dt::Center | dt::VCenter | dt::SingleLine | dt::NoPrefix;
constexpr std::uint32_t kLeftLine =
    dt::Left | dt::VCenter | dt::SingleLine | dt::NoPrefix | dt::EndEllipsis;
constexpr Colour kPanelColour = rgb(250, 250, 250);
constexpr Colour kLineColour = rgb(200, 200, 200);
constexpr Colour kDisplayColour = rgb(40, 48, 60);
constexpr Colour kSecondHandColour = rgb(200, 40, 40);
constexpr Colour kDarkText = rgb(32, 32, 32);
constexpr Colour kMutedText = rgb(96, 96, 96);

int unit() {
    return ui::layoutUnit();
}

Rect shrink(const Rect& r, int by) {
    return {r.left + by, r.top + by, r.right - by, r.bottom - by};
}

// A copy whose every pixel's opacity is scaled by the level (0 to 1).
gfx::TargaPixels withOpacity(const gfx::TargaPixels& picture, double level) {
    gfx::TargaPixels copy = picture;
    if (copy.bytesPerPixel != 4 || level >= 1.0)
        return copy;
    int scale = static_cast<int>(std::lround(std::clamp(level, 0.0, 1.0) * 256));
    for (std::size_t i = 3; i < copy.pixels.size(); i += 4)
        copy.pixels[i] = static_cast<std::uint8_t>(copy.pixels[i] * scale >> 8);
    return copy;
}

void drawCentred(DeviceContext& dc, const gfx::TargaPixels& picture, const Rect& box) {
    if (picture.width <= 0)
        return;
    gfx::drawTarga(dc, picture, box.left + (box.width() - picture.width) / 2,
                   box.top + (box.height() - picture.height) / 2);
}

void panel(DeviceContext& dc, const Rect& r, const gfx::Theme& theme) {
    dc.fillRect(r, kPanelColour);
    dc.frameRect(r, gfx::lightenColour(theme.mainColour, 40));
}

}  // namespace

// SizedPicture

namespace {

// The process's resized pictures by path and size. A screen shows a few dozen; past that
// the set starts again rather than grow with every city's weather.
std::map<std::wstring, gfx::TargaPixels>& resizedPictures() {
    static std::map<std::wstring, gfx::TargaPixels> pictures;
    return pictures;
}
constexpr std::size_t kMaxResizedPictures = 64;

}  // namespace

void SizedPicture::load(std::wstring_view devicePath, bool keepBetweenStarts) {
    path_ = devicePath;
    keep_ = keepBetweenStarts;
    sized_ = {};
}

const gfx::TargaPixels& SizedPicture::at(int width, int height) {
    if (path_.empty() || width <= 0 || height <= 0 ||
        (sized_.width == width && sized_.height == height))
        return sized_;
    std::wstring key = path_ + L"|" + std::to_wstring(width) + L"x" + std::to_wstring(height);
    auto& pictures = resizedPictures();
    auto found = pictures.find(key);
    if (found == pictures.end()) {
        gfx::TargaPixels made;
        if (keep_) {
            made = gfx::ResampleCache().resampled(path_, width, height);
        } else {
            std::unique_ptr<gfx::TargaPixels> source;
            if (gfx::loadTarga(path_, source) == gfx::TargaStatus::Loaded)
                made = gfx::resampleTarga(*source, width, height);
        }
        if (pictures.size() >= kMaxResizedPictures)
            pictures.clear();
        found = pictures.emplace(std::move(key), std::move(made)).first;
    }
    sized_ = found->second;
    return sized_;
}

// HomeModeButton

void HomeModeButton::setPictures(std::wstring_view picture, std::wstring_view overlay) {
    picture_.load(picture);
    overlay_.load(overlay);
    levelledAt_ = -1;
}

void HomeModeButton::setLevel(double level) {
    level = std::clamp(level, 0.0, 1.0);
    if (std::abs(level - level_) < 1e-9)
        return;
    level_ = level;
    invalidate();
}

void HomeModeButton::setCurrent(bool current) {
    if (current == current_)
        return;
    current_ = current;
    invalidate();
}

void HomeModeButton::focus(bool gained, bool redraw) {
    ui::Control::focus(gained, redraw);
    if (gained && onFocus)
        onFocus(*this);
}

void HomeModeButton::paint(DeviceContext& dc, const Rect& invalid) {
    if (!isVisible || !rect.intersects(invalid))
        return;
    const int u = unit();
    const int bar = 3 * u;
    const int size = std::max(0, std::min(rect.width(), rect.height() - bar - u) - 2 * u);
    const int x = rect.left + (rect.width() - size) / 2;
    const int y = rect.top + u + (isPressed() ? u : 0);
    const gfx::TargaPixels& picture = picture_.at(size, size);
    if (picture.width > 0)
        gfx::drawTarga(dc, picture, x, y);
    else
        ui::drawButtonFace(dc, {x, y, x + size, y + size}, theme(), isPressed());
    const gfx::TargaPixels& overlay = overlay_.at(size, size);
    if (level_ > 0 && overlay.width > 0) {
        if (std::abs(levelledAt_ - level_) > 1e-9 || levelled_.width != overlay.width) {
            levelled_ = withOpacity(overlay, level_);
            levelledAt_ = level_;
        }
        gfx::drawTarga(dc, levelled_, x, y);
    }
    if (current_) {
        Rect mark{x + size / 4, rect.bottom - bar, x + size - size / 4, rect.bottom};
        dc.fillRect(mark, theme().mainColour);
    }
}

// CityClockControl

void CityClockControl::setTime(const SystemTime& local) {
    if (local.hour == local_.hour && local.minute == local_.minute &&
        local.second == local_.second && local.day == local_.day)
        return;
    local_ = local;
    invalidate();
}

void CityClockControl::paint(DeviceContext& dc, const Rect& invalid) {
    if (!isVisible || !rect.intersects(invalid))
        return;
    const int size = std::min(rect.width(), rect.height());
    if (face_.width != size && loadFace)
        face_ = loadFace(size);
    Rect box{rect.left + (rect.width() - size) / 2, rect.top + (rect.height() - size) / 2, 0, 0};
    box.right = box.left + size;
    box.bottom = box.top + size;
    worldtime::drawAnalogClock(dc, face_, box, local_);
    // The second hand over the others, thin and red, from a short tail through the centre.
    double angle = local_.second * 6.0;
    worldtime::HandEnd tail = worldtime::handEnd(box, angle + 180.0, 0.15);
    worldtime::HandEnd tip = worldtime::handEnd(box, angle, 0.8);
    dc.antialiasedLine(tail.x, tail.y, tip.x, tip.y, kSecondHandColour,
                       std::max(1.0, size / 120.0));
}

// WeatherSummaryPanel

WeatherSummaryPanel::WeatherSummaryPanel(std::wstring mainPath) : mainPath_(std::move(mainPath)) {
    isFocusable = false;
    left_.load(mainPath_ + L"graphics2\\select_left.tga");
    right_.load(mainPath_ + L"graphics2\\select_right.tga");
}

void WeatherSummaryPanel::setSummary(WeatherSummary summary) {
    summary_ = std::move(summary);
    invalidate();
}

SizedPicture& WeatherSummaryPanel::picture(const std::wstring& path) {
    auto found = pictures_.find(path);
    if (found != pictures_.end())
        return found->second;
    if (pictures_.size() > 40)
        pictures_.clear();
    SizedPicture& made = pictures_[path];
    made.load(path, false);
    return made;
}

Rect WeatherSummaryPanel::headingRect() const {
    const int u = unit();
    return {rect.left + 3 * u, rect.top + 3 * u, rect.right - 3 * u, rect.top + 27 * u};
}

Rect WeatherSummaryPanel::leftArrowRect() const {
    Rect h = headingRect();
    return {h.left, h.top, h.left + h.height(), h.bottom};
}

Rect WeatherSummaryPanel::rightArrowRect() const {
    Rect h = headingRect();
    return {h.right - h.height(), h.top, h.right, h.bottom};
}

void WeatherSummaryPanel::paint(DeviceContext& dc, const Rect& invalid) {
    if (!isVisible || !rect.intersects(invalid))
        return;
    const gfx::Theme& t = theme();
    panel(dc, rect, t);
    if (!summary_.hasCity)
        return;
    const int u = unit();
    // Heading: the name in a band in the theme's colour, the arrows in framed squares.
    Rect heading = headingRect();
    dc.fillRect(heading, gfx::lightenColour(t.mainColour, 70));
    dc.frameRect(heading, t.mainColour);
    for (bool left : {true, false}) {
        Rect square = left ? leftArrowRect() : rightArrowRect();
        dc.fillRect(square, t.mainColour);
        SizedPicture& arrow = left ? left_ : right_;
        int size = square.height() - 4 * u;
        if (const gfx::TargaPixels& p = arrow.at(size, size); p.width > 0)
            drawCentred(dc, p, square);
        else
            ui::drawArrow(dc, square, left ? ui::ArrowDirection::Left : ui::ArrowDirection::Right,
                          0xFFFFFF);
    }
    Rect name{leftArrowRect().right + 4 * u, heading.top, rightArrowRect().left - 4 * u,
              heading.bottom};
    ui::drawClippedText(dc, summary_.cityName, name, kCentred | dt::EndEllipsis, kDarkText,
                        ui::smallFont(true));

    const int icon = (summary_.small ? 28 : 33) * u;
    const int line = 14 * u;
    Rect forecast{rect.left + 3 * u, heading.bottom + 4 * u, rect.right - 3 * u,
                  heading.bottom + 4 * u + icon + 2 * line + 2 * u};
    paintForecast(dc, forecast);
    dc.fillRect({forecast.left + 4 * u, forecast.bottom + 2 * u, forecast.right - 4 * u,
                 forecast.bottom + 2 * u + std::max(1, u / 2)},
                kLineColour);
    Rect current{rect.left + 3 * u, forecast.bottom + 5 * u, rect.right - 3 * u,
                 rect.bottom - 3 * u};
    paintCurrent(dc, current);
}

void WeatherSummaryPanel::paintForecast(DeviceContext& dc, const Rect& area) {
    const int u = unit();
    if (summary_.days.empty()) {
        Rect first{area.left, area.top + area.height() / 2 - 16 * u, area.right,
                   area.top + area.height() / 2};
        Rect second{area.left, first.bottom, area.right, first.bottom + 16 * u};
        if (!summary_.noForecast.empty())
            ui::drawClippedText(dc, summary_.noForecast[0], first, kCentred, kDarkText,
                                ui::smallFont(true));
        if (summary_.noForecast.size() > 1)
            ui::drawClippedText(dc, summary_.noForecast[1], second, kCentred, kMutedText,
                                ui::smallFont());
        return;
    }
    const int icon = (summary_.small ? 28 : 33) * u;
    const int line = 14 * u;
    const int columns = 5;
    const int width = area.width() / columns;
    const int left = area.left + (area.width() - width * columns) / 2;
    for (std::size_t i = 0; i < summary_.days.size() && i < columns; ++i) {
        const WeatherSummary::Day& day = summary_.days[i];
        Rect column{left + static_cast<int>(i) * width, area.top,
                    left + (static_cast<int>(i) + 1) * width, area.bottom};
        drawCentred(dc, picture(day.iconPath).at(icon, icon),
                    {column.left, column.top, column.right, column.top + icon});
        Rect name{column.left, column.top + icon + u, column.right, column.top + icon + u + line};
        ui::drawClippedText(dc, day.dayName, name, kCentred | dt::EndEllipsis, kMutedText,
                            ui::smallFont());
        Rect temperature{column.left, name.bottom, column.right, name.bottom + line};
        ui::drawClippedText(dc, day.temperature, temperature, kCentred | dt::EndEllipsis, kDarkText,
                            ui::smallFont(true));
    }
}

void WeatherSummaryPanel::paintCurrent(DeviceContext& dc, const Rect& area) {
    const int u = unit();
    const int icon = std::min((summary_.small ? 42 : 52) * u, area.height());
    Rect box{area.left + 4 * u, area.top + (area.height() - icon) / 2, area.left + 4 * u + icon,
             area.top + (area.height() - icon) / 2 + icon};
    if (!summary_.currentIconPath.empty())
        drawCentred(dc, picture(summary_.currentIconPath).at(icon, icon), box);
    const auto& lines = summary_.currentLines;
    if (lines.empty())
        return;
    const int line = 16 * u;
    int count = static_cast<int>(lines.size());
    int top = area.top + (area.height() - line * count) / 2;
    for (int i = 0; i < count; ++i) {
        Rect r{box.right + 8 * u, top + i * line, area.right - 2 * u, top + (i + 1) * line};
        ui::drawClippedText(dc, lines[static_cast<std::size_t>(i)], r, kLeftLine,
                            i == 0 ? kDarkText : kMutedText, ui::smallFont(i == 0));
    }
}

// QuickAlarmPanel

QuickAlarmPanel::QuickAlarmPanel(std::wstring mainPath) : mainPath_(std::move(mainPath)) {
    isFocusable = false;
    up_.load(mainPath_ + L"graphics2\\select_up.tga");
    down_.load(mainPath_ + L"graphics2\\select_down.tga");
}

void QuickAlarmPanel::setLevel(double level) {
    level = std::clamp(level, 0.0, 1.0);
    if (std::abs(level - level_) < 1e-9)
        return;
    level_ = level;
    invalidate();
}

void QuickAlarmPanel::setEditing(bool editing) {
    if (editing == editing_)
        return;
    editing_ = editing;
    invalidate();
}

// The digits stand below the current-time line, between a row of up arrows and a row of
// down arrows; as tall as the panel allows while four of them and the colon fit its width.
int QuickAlarmPanel::glyphHeight() const {
    const int u = unit();
    int room = rect.height() - 30 * u - 2 * 18 * u - 10 * u;
    int byWidth = (rect.width() - 40 * u) * 5 / 14;  // four cells 3/5 as wide, and a colon
    return std::clamp(std::min(room, byWidth), 8 * u, 90 * u);
}

int QuickAlarmPanel::glyphWidth() const {
    return glyphHeight() * 3 / 5;
}

Rect QuickAlarmPanel::digitRect(int place) const {
    const int u = unit();
    const int h = glyphHeight() + 6 * u;
    const int w = glyphWidth() + 6 * u;
    const int gap = 3 * u;
    const int colon = 14 * u;
    const int total = 4 * w + 2 * gap + colon;
    const int left = rect.left + (rect.width() - total) / 2;
    const int top = rect.top + 30 * u + 18 * u + 2 * u;
    // Two digits, the colon's room, two digits.
    const int x =
        place < 2 ? left + place * (w + gap) : left + 2 * w + gap + colon + (place - 2) * (w + gap);
    return {x, top, x + w, top + h};
}

Rect QuickAlarmPanel::arrowRect(int place, bool up) const {
    const int u = unit();
    Rect d = digitRect(place);
    if (up)
        return {d.left, d.top - 19 * u, d.right, d.top - u};
    return {d.left, d.bottom + u, d.right, d.bottom + 19 * u};
}

bool QuickAlarmPanel::pointer(std::uint32_t message, WParam, Point point) {
    if (!rect.contains(point))
        return false;
    if (message != wm::LButtonDown)
        return true;
    for (int place = 0; place < AlarmTimePicker::kDigits; ++place) {
        bool up = arrowRect(place, true).contains(point);
        bool down = arrowRect(place, false).contains(point);
        if (!up && !down && !digitRect(place).contains(point))
            continue;
        picker_.select(place);
        if (up || down)
            picker_.step(up ? 1 : -1);
        invalidate();
        if (onPicked)
            onPicked();
        return true;
    }
    return true;
}

void QuickAlarmPanel::paintDigit(DeviceContext& dc, int digit, const Rect& cell) {
    const int u = unit();
    const int w = glyphWidth();
    const int h = glyphHeight();
    if (strip_.height != h && loadDigits) {
        strip_ = loadDigits(w * 10, h);
        for (auto& g : glyphs_) g = {};
    }
    Rect inner = shrink(cell, 3 * u);
    if (strip_.width < w * 10 || strip_.height <= 0) {
        ui::drawClippedText(dc, std::to_wstring(digit), inner, kCentred, 0xFFFFFF,
                            ui::smallFont(true));
        return;
    }
    gfx::TargaPixels& glyph = glyphs_[digit];
    if (glyph.width != w) {
        // Each glyph is cut out of the strip once per size.
        glyph.width = w;
        glyph.height = strip_.height;
        glyph.bytesPerPixel = strip_.bytesPerPixel;
        glyph.pixels.resize(glyph.rowBytes() * static_cast<std::size_t>(glyph.height));
        for (int row = 0; row < strip_.height; ++row) {
            const std::uint8_t* from =
                strip_.row(row) + static_cast<std::size_t>(digit * w * strip_.bytesPerPixel);
            std::copy(from, from + glyph.rowBytes(), glyph.row(row));
        }
    }
    gfx::drawTarga(dc, level_ < 1.0 ? withOpacity(glyph, level_) : glyph, inner.left, inner.top);
}

void QuickAlarmPanel::paint(DeviceContext& dc, const Rect& invalid) {
    if (!isVisible || !rect.intersects(invalid))
        return;
    const gfx::Theme& t = theme();
    const int u = unit();
    panel(dc, rect, t);
    Rect display{digitRect(0).left - 6 * u, digitRect(0).top - 3 * u, digitRect(3).right + 6 * u,
                 digitRect(0).bottom + 3 * u};
    dc.fillRect(display, kDisplayColour);
    for (int place = 0; place < AlarmTimePicker::kDigits; ++place) {
        Rect cell = digitRect(place);
        paintDigit(dc, picker_.digit(place), cell);
        if (editing_ && place == picker_.selected())
            ui::drawFocusFrame(dc, cell, t);
        for (bool up : {true, false}) {
            Rect area = arrowRect(place, up);
            SizedPicture& arrow = up ? up_ : down_;
            int size = std::min(area.width(), area.height());
            if (const gfx::TargaPixels& p = arrow.at(size, size); p.width > 0)
                drawCentred(dc, p, area);
            else
                ui::drawArrow(dc, area, up ? ui::ArrowDirection::Up : ui::ArrowDirection::Down,
                              t.mainColour);
        }
    }
    // The colon: two dots between the hours and the minutes, fading with the digits.
    Rect left = digitRect(1);
    Rect right = digitRect(2);
    int cx = (left.right + right.left) / 2;
    int dot = std::max(2 * u, glyphHeight() / 10);
    int alpha = static_cast<int>(std::lround(level_ * 255));
    for (int y : {left.top + left.height() / 3, left.top + left.height() * 2 / 3}) {
        worldtime::blendRect(dc, {cx - dot / 2, y - dot / 2, cx - dot / 2 + dot, y - dot / 2 + dot},
                             0xFFFFFF, alpha);
    }
}

}  // namespace home
