#pragma once
// The alarm window's pictures: a static background (panel, buttons with their labels, the
// clock digits of the moment ringing began) drawn once, and the frame composed from it every
// animation step with the bell picture and the message.

#include <array>
#include <memory>
#include <string>

#include "alarmprogram/alarm_layout.h"
#include "gfx/targa.h"
#include "platform/api/draw.h"

namespace alarmprogram {

constexpr int kBellFrames = 4;

struct SceneTexts {
    std::wstring dismiss;
    std::wstring snooze;
    std::wstring message;
    int hour = 0;  // the clock shows the moment ringing began
    int minute = 0;
};

class AlarmScene {
  public:
    // Loads the pictures from the install folder (ending in a backslash). Pictures that do not
    // load are left out of the drawing.
    AlarmScene(const std::wstring& installFolder, platform::Size size, const AlarmLayout& layout);

    void drawBackground(const SceneTexts& texts);
    // The frame for a bell picture (1 to 4): the background, the bell, the message.
    const platform::Bitmap& composeFrame(int bellFrame, const std::wstring& message);

    const AlarmLayout& layout() const { return layout_; }
    platform::Size size() const { return size_; }
    const platform::Bitmap& background() const { return *background_; }

  private:
    void drawPanel(platform::DeviceContext& dc);
    void drawButton(platform::DeviceContext& dc, const platform::Rect& rect,
                    const std::wstring& label);
    void drawDigits(platform::DeviceContext& dc, int hour, int minute);

    platform::Size size_;
    AlarmLayout layout_;
    std::unique_ptr<gfx::TargaPixels> panelPicture_;
    std::unique_ptr<gfx::TargaPixels> digitsPicture_;
    // The bell frames as loaded, and at the bell rectangle's size once first drawn (the first
    // paint needs only one of them).
    std::array<std::unique_ptr<gfx::TargaPixels>, kBellFrames> bellPictures_;
    std::array<gfx::TargaPixels, kBellFrames> bells_;
    std::shared_ptr<platform::Bitmap> background_;
    std::shared_ptr<platform::Bitmap> frame_;
    platform::FontRef messageFont_;
    platform::FontRef buttonFont_;
};

// The size of the clock's glyphs in the digits area.
struct DigitMetrics {
    int top = 0;
    int width = 0;   // of a glyph
    int height = 0;  // of a glyph
    int gap = 0;     // after each glyph
    int colon = 0;   // room for the colon
    int totalWidth() const { return 4 * (width + gap) + colon - gap; }
};
DigitMetrics digitMetrics(const platform::Rect& area, const platform::Rect& panel,
                          platform::Size glyph);

// The rectangle the message is written in: the layout's, kept inside the panel and above the
// buttons so a long message never runs over them.
platform::Rect messageArea(const AlarmLayout& layout);

}  // namespace alarmprogram
