// Where the parts of the stopwatch and countdown pages lie, and how they are drawn. Every
// size is in layout pixels (ui::layoutUnit), the pages follow the window's shape: portrait
// and square stack the parts, landscape puts the laps or the picker beside the clock.

#include <algorithm>
#include <string>

#include "alarms/screens/counters_screen.h"
#include "core/language.h"
#include "gfx/blend.h"
#include "gfx/drawing.h"
#include "gfx/resample.h"
#include "ui/control_paint.h"

namespace alarms {

using namespace platform;

namespace {

constexpr int kStopwatchString = 658, kCountdownString = 659, kTimeUpString = 152,
              kTapToStopString = 153, kPickerHintString = 154, kLapString = 155,
              kLapTimeString = 156, kTotalString = 157;
constexpr Colour kDigitColour = 0x202020, kMutedColour = 0x707070, kPanelColour = 0xF4F4F4,
                 kLineColour = 0xC8C8C8, kRunningColour = 0x2E8B57;
constexpr std::uint32_t kCentred = dt::Center | dt::VCenter | dt::SingleLine;
constexpr std::uint32_t kLeftLine = dt::Left | dt::VCenter | dt::SingleLine | dt::EndEllipsis;

int unit() {
    return ui::layoutUnit();
}

bool wide(const Rect& r) {
    return r.width() > r.height() * 3 / 2;
}

gfx::TargaPixels picture(const std::wstring& path, int size) {
    std::unique_ptr<gfx::TargaPixels> loaded;
    if (gfx::loadTarga(path, loaded) != gfx::TargaStatus::Loaded || !loaded)
        return {};
    return gfx::resampleTarga(*loaded, size, size);
}

// The stopwatch's total: minutes, seconds and hundredths, with the hours in front once there
// are any.
std::wstring stopwatchText(std::int64_t ms) {
    std::int64_t hours = ms / 3600000;
    return hours > 0 ? std::to_wstring(hours) + L":" + lapClockText(ms) : lapClockText(ms);
}

void panel(DeviceContext& dc, const Rect& r) {
    dc.fillRect(r, kPanelColour);
    ui::drawThickFrame(dc, r, kLineColour, 1);
}

}  // namespace

void CountersScreen::loadPictures() {
    const std::wstring folder = host_.mainPath() + L"graphics2\\";
    int button = 48 * unit();
    startPicture_ = picture(folder + L"sw_start.tga", button);
    stopPicture_ = picture(folder + L"sw_stop.tga", button);
    resetPicture_ = picture(folder + L"sw_reset.tga", button);
    upPicture_ = picture(folder + L"select_up.tga", 16 * unit());
    downPicture_ = picture(folder + L"select_down.tga", 16 * unit());
}

Rect CountersScreen::contentRect() const {
    Rect client = clientRect(host_.mainWindow());
    client.top += 22 * unit();
    return client;
}

// The clock area of the stopwatch: the top of the page, or its left half on a wide window.
Rect CountersScreen::startButton() const {
    Rect c = contentRect();
    int u = unit();
    int width = wide(c) ? c.width() / 2 : c.width();
    int top = c.top + (wide(c) ? 70 : 52) * u;
    int x = c.left + width / 4 - 24 * u;
    return {x, top, x + 48 * u, top + 48 * u};
}

Rect CountersScreen::resetButton() const {
    Rect c = contentRect();
    int width = wide(c) ? c.width() / 2 : c.width();
    return startButton().offset(width / 2, 0);
}

Rect CountersScreen::counterRow(int counter) const {
    Rect c = contentRect();
    int u = unit();
    int number = state_->timers.counterNumber();
    int height = std::min(40 * u, (c.height() - 8 * u) / std::max(number, 1));
    int top = c.top + 4 * u + (counter - 1) * height;
    return {c.left + 6 * u, top, c.right - 6 * u, top + height - 4 * u};
}

Rect CountersScreen::digitCell(int place) const {
    Rect c = contentRect();
    int u = unit();
    // Three pairs of digits with a gap for the colon between pairs.
    int cell = 26 * u, gap = 12 * u;
    int total = 6 * cell + 2 * gap;
    int left = c.left + (c.width() - total) / 2 + place * cell + (place / 2) * gap;
    int top = c.top + (wide(c) ? 60 : 90) * u;
    return {left, top, left + cell, top + 36 * u};
}

Rect CountersScreen::stepArea(int place, bool up) const {
    Rect digit = digitCell(place);
    int height = 22 * unit();
    return up ? Rect{digit.left, digit.top - height, digit.right, digit.top}
              : Rect{digit.left, digit.bottom, digit.right, digit.bottom + height};
}

void CountersScreen::paint(DeviceContext& dc, const Rect& invalid) {
    if (page_ == CounterPage::Stopwatch) {
        paintHeading(dc, kStopwatchString);
        paintStopwatch(dc);
    } else {
        paintHeading(dc, kCountdownString);
        if (editing_)
            paintPicker(dc);
        else
            paintCounters(dc);
    }
    if (state_->ringing)
        paintRinging(dc);
    ui::Module::paint(dc, invalid);
}

void CountersScreen::paintHeading(DeviceContext& dc, int stringNumber) const {
    Rect client = clientRect(host_.mainWindow());
    int u = unit();
    Rect bar{0, 0, client.right, 22 * u};
    gfx::gradientBar(dc, bar.left, bar.top, bar.right, bar.bottom, host_.theme().mainColour);
    Rect text{6 * u, 0, client.right - 6 * u, bar.bottom};
    ui::drawClippedText(dc, core::languageString(stringNumber), text, kLeftLine,
                        host_.theme().selectedTextColour, ui::smallFont(true));
}

void CountersScreen::paintStopwatch(DeviceContext& dc) const {
    Rect c = contentRect();
    int u = unit();
    const TimerSlot& watch = state_->timers.slot(kStopwatchSlot);
    bool isWide = wide(c);
    Rect clock{c.left + 6 * u, c.top + 6 * u, (isWide ? c.left + c.width() / 2 : c.right) - 6 * u,
               c.top + (isWide ? 60 : 44) * u};
    panel(dc, clock);
    std::wstring text = stopwatchText(watch.valueMs);
    // A narrow panel (landscape, or hours shown) takes the smaller digits.
    bool fits = gfx::textWidth(bigFont_, text) <= clock.width() - 8 * u;
    ui::drawClippedText(dc, text, clock, kCentred, watch.running ? kRunningColour : kDigitColour,
                        fits ? bigFont_ : rowFont_);

    const gfx::TargaPixels& startStop = watch.running ? stopPicture_ : startPicture_;
    for (auto [area, face] :
         {std::pair{startButton(), &startStop}, std::pair{resetButton(), &resetPicture_}}) {
        if (face->width > 0)
            gfx::drawTarga(dc, *face, area.left, area.top);
        else
            ui::drawButtonFace(dc, area, host_.theme(), false);
    }
    Rect laps =
        isWide
            ? Rect{c.left + c.width() / 2, c.top + 6 * u, c.right - 6 * u, c.bottom - 4 * u}
            : Rect{c.left + 6 * u, startButton().bottom + 8 * u, c.right - 6 * u, c.bottom - 4 * u};
    paintLaps(dc, laps);
}

void CountersScreen::paintLaps(DeviceContext& dc, const Rect& area) const {
    int u = unit();
    int row = 16 * u;
    if (area.height() < 2 * row)
        return;
    panel(dc, area);
    int columns[4] = {area.left + 4 * u, area.left + area.width() * 22 / 100,
                      area.left + area.width() * 60 / 100, area.right - 4 * u};
    Rect heading{area.left, area.top, area.right, area.top + row};
    dc.fillRect(heading, host_.theme().mainColour);
    int headings[3] = {kLapString, kLapTimeString, kTotalString};
    for (int i = 0; i < 3; ++i) {
        Rect cell{columns[i], heading.top, columns[i + 1], heading.bottom};
        ui::drawClippedText(dc, core::languageString(headings[i]), cell, kLeftLine,
                            host_.theme().selectedTextColour, ui::smallFont(true));
    }
    const auto& laps = state_->timers.laps();
    std::int64_t longest = std::max<std::int64_t>(state_->timers.longestLapMs(), 1);
    int y = heading.bottom;
    // The newest lap on top; each row carries a bar as long as its lap against the longest.
    for (auto it = laps.rbegin(); it != laps.rend() && y + row <= area.bottom; ++it, y += row) {
        int barWidth = static_cast<int>((columns[3] - columns[1]) * it->lapMs / longest);
        dc.fillRect({columns[1], y + row - 3 * u, columns[1] + barWidth, y + row - u},
                    host_.theme().mainColourAlt);
        std::wstring texts[3] = {std::to_wstring(it->number), lapClockText(it->lapMs),
                                 lapClockText(it->totalMs)};
        for (int i = 0; i < 3; ++i) {
            Rect cell{columns[i], y, columns[i + 1], y + row - 2 * u};
            ui::drawClippedText(dc, texts[i], cell, kLeftLine, kDigitColour, ui::smallFont(false));
        }
    }
}

void CountersScreen::paintCounters(DeviceContext& dc) const {
    const TimerSet& timers = state_->timers;
    int u = unit();
    for (int counter = 1; counter <= timers.counterNumber(); ++counter) {
        Rect r = counterRow(counter);
        const TimerSlot& slot = timers.slot(counter);
        bool selected = counter == timers.selected();
        // The selected counter stands out white on the others' grey.
        dc.fillRect(r, selected ? 0xFFFFFF : 0xE4E4E4);
        ui::drawThickFrame(dc, r, kLineColour, 1);
        Rect badge{r.left, r.top, r.left + 26 * u, r.bottom};
        dc.fillRect(badge, slot.running ? kRunningColour : host_.theme().mainColour);
        ui::drawClippedText(dc, std::to_wstring(counter), badge, kCentred,
                            host_.theme().selectedTextColour, rowFont_);
        Rect time{badge.right, r.top, r.right - 60 * u, r.bottom};
        ui::drawClippedText(dc, counterClockText(slot.valueMs), time, kCentred,
                            slot.running ? kRunningColour : kDigitColour, bigFont_);
        Rect preset{r.right - 60 * u, r.top, r.right - 4 * u, r.bottom};
        ui::drawClippedText(dc, counterClockText(slot.presetMs), preset,
                            dt::Right | dt::VCenter | dt::SingleLine, kMutedColour,
                            ui::smallFont(false));
        if (selected)
            ui::drawThickFrame(dc, r, host_.theme().mainColour, 2 * u);
    }
}

void CountersScreen::paintRinging(DeviceContext& dc) const {
    Rect c = contentRect();
    int u = unit();
    int height = 70 * u;
    int top = c.top + (c.height() - height) / 2;
    Rect box{c.left + 10 * u, top, c.right - 10 * u, top + height};
    dc.fillRect(box, 0xFFFFFF);
    ui::drawThickFrame(dc, box, host_.theme().mainColour, 2 * u);
    Rect first{box.left, box.top + 6 * u, box.right, box.top + 36 * u};
    ui::drawClippedText(dc, core::languageString(kTimeUpString), first, kCentred, kDigitColour,
                        rowFont_);
    Rect second{box.left + 6 * u, first.bottom, box.right - 6 * u, box.bottom - 6 * u};
    ui::drawClippedText(dc, core::languageString(kTapToStopString), second,
                        dt::Center | dt::WordBreak, kDigitColour, ui::smallFont(false));
}

void CountersScreen::paintPicker(DeviceContext& dc) const {
    Rect c = contentRect();
    int u = unit();
    Rect hint{c.left + 8 * u, c.top + 6 * u, c.right - 8 * u, stepArea(0, true).top - 4 * u};
    ui::drawClippedText(dc, core::languageString(kPickerHintString), hint,
                        dt::Center | dt::WordBreak, kDigitColour, ui::smallFont(false));
    for (int place = 0; place < PresetPicker::kDigits; ++place) {
        Rect cell = digitCell(place);
        panel(dc, cell);
        ui::drawClippedText(dc, std::to_wstring(picker_.digit(place)), cell, kCentred, kDigitColour,
                            bigFont_);
        if (place == picker_.selected())
            ui::drawFocusFrame(dc, cell, host_.theme());
        for (bool up : {true, false}) {
            Rect area = stepArea(place, up);
            const gfx::TargaPixels& arrow = up ? upPicture_ : downPicture_;
            if (arrow.width > 0) {
                gfx::drawTarga(dc, arrow, area.left + (area.width() - arrow.width) / 2,
                               area.top + (area.height() - arrow.height) / 2);
            } else {
                ui::drawArrow(dc, area, up ? ui::ArrowDirection::Up : ui::ArrowDirection::Down,
                              host_.theme().mainColour);
            }
        }
        if (place % 2 == 1 && place < PresetPicker::kDigits - 1) {
            Rect colon{cell.right, cell.top, cell.right + 12 * u, cell.bottom};
            ui::drawClippedText(dc, L":", colon, kCentred, kDigitColour, bigFont_);
        }
    }
    Rect counter{c.left, stepArea(0, false).bottom + 6 * u, c.right,
                 stepArea(0, false).bottom + 26 * u};
    ui::drawClippedText(
        dc, core::languageString(kCountdownString) + L" " + std::to_wstring(editedCounter_),
        counter, kCentred, host_.theme().selectedTextColour, ui::smallFont(true));
}

}  // namespace alarms
