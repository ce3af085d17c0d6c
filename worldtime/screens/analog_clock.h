#pragma once
// A small analogue clock: the chosen clock face with an hour and a minute hand for a local
// time, the hands anti-aliased and blended into what is already there.

#include "gfx/targa.h"
#include "platform/api/clock.h"
#include "platform/api/draw.h"

namespace worldtime {

constexpr platform::Colour kClockHandColour = 0x202020;
// Hand lengths as parts of the face's radius.
constexpr double kHourHandLength = 0.5;
constexpr double kMinuteHandLength = 0.75;

// The end of a hand of the given length (part of the radius) turned clockwise from twelve
// o'clock by an angle in degrees.
struct HandEnd {
    double x = 0;
    double y = 0;
};
HandEnd handEnd(const platform::Rect& box, double angle, double length);

// Draws the face (already sized to the box; nothing when it did not load) and the hands of
// the time into the box.
void drawAnalogClock(platform::DeviceContext& dc, const gfx::TargaPixels& face,
                     const platform::Rect& box, const platform::SystemTime& local);

}  // namespace worldtime
