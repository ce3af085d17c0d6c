#include "alarms/screens/alarm_detail.h"

#include <algorithm>

#include "alarms/screens/alarm_texts.h"
#include "core/language.h"
#include "core/text_case.h"
#include "gfx/drawing.h"
#include "gfx/fonts.h"
#include "ui/control_paint.h"

namespace alarms {

using namespace platform;

namespace {

namespace text {
constexpr int Expired = 99, NextAlarm = 100, Alarm = 101, DeviceTime = 102, NoAlarm = 103;
}

constexpr int kClockPoints = 16;
constexpr int kClockHeight = 24;  // layout pixels
constexpr Colour kPanelBackground = 0xF4F4F4;
constexpr Colour kSecondaryTextColour = 0x505050;

SystemTime timeOfDay(const AlarmRecord& record) {
    SystemTime at{2000, 1, 6, 1};
    at.hour = static_cast<std::uint16_t>(record.hour());
    at.minute = static_cast<std::uint16_t>(record.minute());
    return at;
}

// The latest missed ringing of the alarm of that name, if any.
const MissedAlarm* lastMiss(const std::vector<MissedAlarm>& missed, std::wstring_view name) {
    const MissedAlarm* last = nullptr;
    for (const MissedAlarm& m : missed) {
        if (!m.name.empty() && core::equalsIgnoringCase(m.name, name)) {
            last = &m;
        }
    }
    return last;
}

AlarmDetail describe(const AlarmStore& store, int row, int titleString, const SystemTime& now,
                     const TimeTexts& texts) {
    AlarmRecord record = store.record(row);
    AlarmDetail detail;
    detail.time = texts.time(timeOfDay(record));
    detail.lines.push_back(core::languageString(titleString) + L" : " + record.name);
    if (!record.message.empty())
        detail.lines.push_back(record.message);
    std::optional<SystemTime> start;
    bool readable = false;
    if (record.handle != 0) {
        start = store.armedStart(row);
        readable = start.has_value();
    }
    detail.lines.push_back(whenText(start, readable, now, texts.date));
    return detail;
}

}  // namespace

AlarmDetail alarmDetail(const AlarmStore& store, int listRow, const SystemTime& now,
                        const std::vector<MissedAlarm>& missed, const TimeTexts& texts) {
    int row = listRow - 1;
    if (row >= 1 && row <= store.rowCount()) {
        AlarmDetail detail = describe(store, row, text::Alarm, now, texts);
        std::optional<std::wstring> city = store.cityName(row);
        detail.lines.push_back(city ? *city : core::languageString(text::DeviceTime));
        if (const MissedAlarm* miss = lastMiss(missed, store.name(row))) {
            detail.lines.push_back(core::languageString(text::Expired) + L" : " +
                                   texts.date(miss->due) + L" " + texts.time(miss->due));
        }
        return detail;
    }
    if (row == 0) {
        if (int next = store.nextAlarm(); next > 0)
            return describe(store, next, text::NextAlarm, now, texts);
    }
    return {L"", {core::languageString(text::NoAlarm)}};
}

AlarmDetailPanel::AlarmDetailPanel() {
    isFocusable = false;
}

AlarmDetailPanel::~AlarmDetailPanel() {
    gfx::deleteFont(clockFont_);
}

void AlarmDetailPanel::setDetail(AlarmDetail detail) {
    if (detail.time == detail_.time && detail.lines == detail_.lines)
        return;
    detail_ = std::move(detail);
    invalidate();
}

void AlarmDetailPanel::place(const Rect& r, DeviceContext* dc) {
    if (!clockFont_)
        clockFont_ = gfx::createFont(kClockPoints, gfx::FontWeightBold);
    ui::Control::place(r, dc);
}

void AlarmDetailPanel::paint(DeviceContext& dc, const Rect&) {
    const gfx::Theme& t = theme();
    int unit = ui::layoutUnit();
    dc.fillRect(rect, kPanelBackground);
    dc.frameRect(rect, ui::kFrameColour);
    ui::ClipScope clip(dc, rect);
    int left = rect.left + 6 * unit, right = rect.right - 6 * unit;
    int top = rect.top + 3 * unit;
    int lineHeight = gfx::textHeight(dc, ui::smallFont()) + unit;
    int lines = static_cast<int>(detail_.lines.size());
    int y = top;
    if (!detail_.time.empty()) {
        const FontRef& font = clockFont_ ? clockFont_ : ui::smallFont(true);
        // A panel too low for the time above the lines puts it beside them.
        bool beside = top + kClockHeight * unit + lines * lineHeight > rect.bottom;
        int width = gfx::textWidth(font, detail_.time);
        Rect clock{left, top, beside ? left + width : right, top + kClockHeight * unit};
        ui::drawClippedText(dc, detail_.time, clock, dt::Left | dt::VCenter | dt::SingleLine,
                            t.mainColour, font);
        if (beside)
            left = clock.right + 8 * unit;
        else
            y = clock.bottom;
    }
    bool first = true;
    for (const std::wstring& line : detail_.lines) {
        if (y >= rect.bottom)
            break;
        Rect box{left, y, right, y + lineHeight};
        bool bold = first && !detail_.time.empty();
        ui::drawClippedText(
            dc, line, box, dt::Left | dt::VCenter | dt::SingleLine | dt::NoPrefix | dt::EndEllipsis,
            bold ? ui::kPanelTextColour : kSecondaryTextColour, ui::smallFont(bold));
        y = box.bottom;
        first = false;
    }
}

}  // namespace alarms
