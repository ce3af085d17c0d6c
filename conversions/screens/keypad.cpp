#include "conversions/screens/keypad.h"

#include "gfx/blend.h"
#include "gfx/fonts.h"
#include "gfx/resample.h"
#include "ui/control_paint.h"
#include "ui/module.h"

namespace conversions {

using namespace platform;

namespace {

// The keypad's areas in the background picture's own units (240 x 200): the display and the
// unit beside it, then four rows of four keys.
constexpr int kWidth = 240, kHeight = 200;
struct Area {
    int x, y, width, height;
};
constexpr int kColumn[4] = {10, 66, 122, 178};
constexpr int kRow[4] = {50, 87, 124, 161};
constexpr int kKeyWidth = 52, kKeyHeight = 33;
constexpr Area key(int column, int row) {
    return {kColumn[column], kRow[row], kKeyWidth, kKeyHeight};
}
constexpr std::array<Area, kKeypadAreas> kAreas{{
    {10, 8, 164, 30},  // 0 display
    key(3, 0),         // 1 backspace
    key(0, 0),
    key(1, 0),
    key(2, 0),
    key(3, 1),  // 5 C
    key(0, 1),
    key(1, 1),
    key(2, 1),
    key(0, 2),
    key(1, 2),
    key(2, 2),
    key(0, 3),
    key(1, 3),
    key(2, 3),         // 12 ".", 13 "0", 14 "+-"
    key(3, 2),         // 15 cancel
    key(3, 3),         // 16 done
    {176, 8, 54, 30},  // 17 the unit
}};

constexpr std::array<std::wstring_view, kKeypadAreas> kLabels{
    L"",  L"\u2190", L"1", L"2", L"3", L"C",   L"4", L"5", L"6",
    L"7", L"8",      L"9", L".", L"0", L"+/-", L"",  L"",  L""};
constexpr Colour kDisplayText = 0x1E2A14;

}  // namespace

// The display's digits are larger than the key labels, as on a pocket calculator.
constexpr int kDisplayPoints = 13;

Keypad::Keypad() : displayFont_(gfx::createFont(kDisplayPoints, gfx::FontWeightBold)) {}

Keypad::~Keypad() {
    gfx::deleteFont(displayFont_);
}

bool Keypad::key(std::uint32_t message, std::uint32_t keyCode, LParam) {
    bool down = message == wm::KeyDown;
    if (down && keyCode == vk::TBack) {
        press(KeypadKey::Cancel);
        return true;
    }
    if (down || message == wm::Char) {
        if (std::optional<KeypadKey> key = keypadKeyOf(keyCode, down))
            press(*key);
    }
    // Every key but the d-pad belongs to the keypad while it has the focus.
    return !(keyCode == vk::Up || keyCode == vk::Down || keyCode == vk::Left ||
             keyCode == vk::Right);
}

void Keypad::setPictures(gfx::TargaPixels background, gfx::TargaPixels key, gfx::TargaPixels cancel,
                         gfx::TargaPixels done) {
    background_ = std::move(background);
    keyFace_ = std::move(key);
    cancelFace_ = std::move(cancel);
    doneFace_ = std::move(done);
}

Rect Keypad::fitInto(const Rect& room) {
    int width = room.width();
    int height = width * kHeight / kWidth;
    if (height > room.height()) {
        height = room.height();
        width = height * kWidth / kHeight;
    }
    int left = room.left + (room.width() - width) / 2;
    int top = room.top + (room.height() - height) / 2;
    return {left, top, left + width, top + height};
}

Rect Keypad::areaRect(int area) const {
    if (area < 0 || area >= kKeypadAreas)
        return {};
    const Area& a = kAreas[static_cast<std::size_t>(area)];
    int w = rect.width(), h = rect.height();
    return {rect.left + a.x * w / kWidth, rect.top + a.y * h / kHeight,
            rect.left + (a.x + a.width) * w / kWidth, rect.top + (a.y + a.height) * h / kHeight};
}

std::optional<KeypadKey> Keypad::keyOfArea(int area) {
    static constexpr std::array<std::optional<KeypadKey>, kKeypadAreas> kKeys{
        std::nullopt,      KeypadKey::Backspace, KeypadKey::Digit1, KeypadKey::Digit2,
        KeypadKey::Digit3, KeypadKey::Clear,     KeypadKey::Digit4, KeypadKey::Digit5,
        KeypadKey::Digit6, KeypadKey::Digit7,    KeypadKey::Digit8, KeypadKey::Digit9,
        KeypadKey::Point,  KeypadKey::Digit0,    KeypadKey::Sign,   KeypadKey::Cancel,
        KeypadKey::Done,   std::nullopt};
    if (area < 0 || area >= kKeypadAreas)
        return std::nullopt;
    return kKeys[static_cast<std::size_t>(area)];
}

int Keypad::areaAt(Point point) const {
    for (int area = 1; area < kKeypadAreas - 1; ++area) {
        if (areaRect(area).contains(point))
            return area;
    }
    return -1;
}

void Keypad::press(KeypadKey key) {
    entry_.press(key);
    if (owner)
        owner->invalidateRect(areaRect(0));
    if (onKey)
        onKey(key);
}

bool Keypad::pointer(std::uint32_t message, WParam, Point point) {
    if (message == wm::LButtonDown) {
        pressed_ = areaAt(point);
        if (pressed_ >= 0 && owner)
            owner->invalidateRect(areaRect(pressed_));
        return true;
    }
    if (message == wm::LButtonUp) {
        int area = pressed_;
        pressed_ = -1;
        if (area >= 0 && owner)
            owner->invalidateRect(areaRect(area));
        // The key acts when the stylus is lifted over the key it went down on.
        if (area >= 0 && areaAt(point) == area) {
            if (auto key = keyOfArea(area))
                press(*key);
        }
        return true;
    }
    return true;
}

void Keypad::drawKey(DeviceContext& dc, int area) {
    Rect r = areaRect(area);
    bool down = area == pressed_;
    const gfx::TargaPixels& face = area == 15 ? cancelFace_ : (area == 16 ? doneFace_ : keyFace_);
    if (face.width > 0) {
        gfx::drawTarga(dc, face, r.left, r.top);
    } else {
        ui::drawButtonFace(dc, r, theme(), down);
    }
    if (down)
        ui::drawFocusFrame(dc, r, theme());
    ui::drawClippedText(dc, kLabels[static_cast<std::size_t>(area)], r,
                        dt::Center | dt::VCenter | dt::SingleLine, 0x1A1A1A, ui::smallFont(true));
}

void Keypad::paint(DeviceContext& dc, const Rect& invalid) {
    if (!isVisible || !rect.intersects(invalid))
        return;
    if (background_.width > 0)
        gfx::drawTarga(dc, background_, rect.left, rect.top);
    else
        dc.fillRect(rect, 0x2A3440);
    Rect display = areaRect(0);
    ui::drawClippedText(dc, entry_.shown(), display, dt::Right | dt::VCenter | dt::SingleLine,
                        kDisplayText, displayFont_);
    ui::drawClippedText(dc, unit_, areaRect(17), dt::Center | dt::VCenter | dt::SingleLine,
                        kDisplayText, ui::smallFont(true));
    for (int area = 1; area < kKeypadAreas - 1; ++area) drawKey(dc, area);
}

}  // namespace conversions
