#pragma once
// The amount keypad over the conversion list: the background "graphics2\calc.tga" with the
// display at its top and 16 keys below, 18 key areas in all: 0 the display, 1 backspace, 2 to 4
// "1" to "3", 5 "C", 6 to 8 "4" to "6", 9 to 11 "7" to "9", 12 ".", 13 "0", 14 "+-", 15 cancel,
// 16 done, 17 the edited row's unit. A key is pressed by touching it and acts when the stylus
// is lifted over it.

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "conversions/keypad_entry.h"
#include "gfx/targa.h"
#include "ui/control.h"

namespace conversions {

constexpr int kKeypadAreas = 18;

class Keypad final : public ui::Control {
  public:
    Keypad();
    ~Keypad() override;

    KeypadEntry& entry() { return entry_; }
    void setUnit(std::wstring unit) { unit_ = std::move(unit); }
    // The background, the key face and the cancel and done faces; a missing picture is drawn
    // plainly.
    void setPictures(gfx::TargaPixels background, gfx::TargaPixels key, gfx::TargaPixels cancel,
                     gfx::TargaPixels done);
    // The keypad's place within the rectangle: as large as fits, keeping its shape, centred.
    static platform::Rect fitInto(const platform::Rect& room);
    // Where a key area is on screen.
    platform::Rect areaRect(int area) const;
    // The key of an area; none for the display and the unit.
    static std::optional<KeypadKey> keyOfArea(int area);
    // A key was pressed (by the stylus or the screen's hardware keys).
    std::function<void(KeypadKey)> onKey;
    // Presses a key: the entry changes, the display repaints, onKey hears of it.
    void press(KeypadKey key);

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;
    bool pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;
    // The hardware keys while the keypad has the focus: digits, Backspace, Enter as done, the
    // star key as ".", the hash key as "+-", Back as cancel.
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;

  private:
    int areaAt(platform::Point point) const;
    void drawKey(platform::DeviceContext& dc, int area);

    KeypadEntry entry_;
    std::wstring unit_;
    gfx::TargaPixels background_;
    gfx::TargaPixels keyFace_;
    gfx::TargaPixels cancelFace_;
    gfx::TargaPixels doneFace_;
    int pressed_ = -1;
    platform::FontRef displayFont_;
};

}  // namespace conversions
