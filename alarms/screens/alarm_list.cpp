#include "alarms/screens/alarm_list.h"

#include <algorithm>

#include "alarms/alarm_store.h"
#include "alarms/screens/alarm_texts.h"
#include "core/language.h"
#include "gfx/drawing.h"
#include "gfx/fonts.h"
#include "ui/control_paint.h"

namespace alarms {

using namespace platform;

namespace {

namespace text {
constexpr int NewAlarm = 92, TapToAdd = 97;
}

// Layout pixels.
constexpr int kRowHeight = 36;
constexpr int kMinTimeWidth = 40;
constexpr int kClockPoints = 12;
constexpr Colour kSeparatorColour = 0xE0E0E0;
constexpr Colour kSecondaryTextColour = 0x505050;
constexpr std::uint32_t kLine = dt::SingleLine | dt::NoPrefix | dt::EndEllipsis;

AlarmState stateOf(const AlarmStore& store, int row) {
    if (store.handle(row) == 0)
        return AlarmState::Off;
    return store.isArmed(row) ? AlarmState::Armed : AlarmState::Expired;
}

}  // namespace

std::vector<AlarmRowText> alarmRows(const AlarmStore& store, const TimeTexts& texts) {
    std::vector<AlarmRowText> rows;
    rows.push_back(
        {L"", core::languageString(text::NewAlarm), core::languageString(text::TapToAdd)});
    for (int row = 1; row <= store.rowCount(); ++row) {
        AlarmRecord record = store.record(row);
        SystemTime at{2000, 1, 6, 1};
        at.hour = static_cast<std::uint16_t>(record.hour());
        at.minute = static_cast<std::uint16_t>(record.minute());
        RepeatFields repeat{static_cast<int>(record.kind), record.dayMask, record.startDate,
                            record.dayOfMonth, record.month};
        rows.push_back(
            {texts.time(at),
             record.name + stateSuffix(stateOf(store, row), store.cityName(row).value_or(L"")),
             repeatText(repeat, texts.date)});
    }
    return rows;
}

void AlarmListModel::setRows(std::vector<AlarmRowText> rows) {
    rows_ = std::move(rows);
    rowsChanged();
}

std::wstring AlarmListModel::rowText(int row) const {
    const AlarmRowText& r = this->row(row);
    return r.time.empty() ? r.title : r.time + L" " + r.title;
}

AlarmList::AlarmList() : ui::ListControl({.pressOnReselect = false, .enterOnRelease = false}) {
    setModel(&model_);
}

AlarmList::~AlarmList() {
    gfx::deleteFont(clockFont_);
}

void AlarmList::setRows(std::vector<AlarmRowText> rows) {
    // One column for the times, as wide as the widest of them.
    if (!clockFont_)
        clockFont_ = gfx::createFont(kClockPoints, gfx::FontWeightBold);
    timeWidth_ = kMinTimeWidth * ui::layoutUnit();
    for (const AlarmRowText& row : rows)
        timeWidth_ = std::max(timeWidth_, gfx::textWidth(clockFont_, row.time));
    model_.setRows(std::move(rows));
    if (currentRow() == 0 && rowCount() > 0)
        selectRow(1, false);
    invalidate();
}

void AlarmList::place(const Rect& rect, DeviceContext* dc) {
    if (!clockFont_)
        clockFont_ = gfx::createFont(kClockPoints, gfx::FontWeightBold);
    ui::ListControl::place(rect, dc);
}

int AlarmList::rowHeight() const {
    return kRowHeight * ui::layoutUnit();
}

Rect AlarmList::rowRect(int row) const {
    Rect rows = rowsRect();
    int top = rows.top + (row - firstVisibleRow()) * rowHeight();
    Rect line{rows.left, top, rows.right, top + rowHeight()};
    if (row < firstVisibleRow() || line.top >= rows.bottom)
        return {};
    line.bottom = std::min(line.bottom, rows.bottom);
    return line;
}

void AlarmList::drawRow(DeviceContext& dc, const Rect& line, int row, bool current) {
    const gfx::Theme& t = theme();
    int unit = ui::layoutUnit();
    dc.fillRect(line, current ? t.mainColour : ui::kPanelColour);
    dc.fillRect({line.left, line.bottom - 1, line.right, line.bottom}, kSeparatorColour);
    const AlarmRowText& r = model_.row(row);
    Colour main = current ? t.selectedTextColour : ui::kPanelTextColour;
    Colour secondary = current ? t.selectedTextColour : kSecondaryTextColour;
    int left = line.left + 4 * unit;
    if (!r.time.empty()) {
        Rect clock{left, line.top, left + timeWidth_, line.bottom};
        ui::drawClippedText(dc, r.time, clock, dt::Left | dt::VCenter | kLine, main,
                            clockFont_ ? clockFont_ : ui::smallFont(true));
        left = clock.right + 4 * unit;
    }
    int middle = line.top + line.height() / 2;
    Rect title{left, line.top + 2 * unit, line.right - 3 * unit, middle};
    ui::drawClippedText(dc, r.title, title, dt::Left | dt::VCenter | kLine, main,
                        ui::smallFont(true));
    Rect detail{left, middle, line.right - 3 * unit, line.bottom - 2 * unit};
    ui::drawClippedText(dc, r.detail, detail, dt::Left | dt::VCenter | kLine, secondary,
                        ui::smallFont());
}

}  // namespace alarms
