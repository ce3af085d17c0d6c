#include "home/screens/home_screen.h"

#include <algorithm>
#include <cmath>

#include "alarms/quick_alarm.h"
#include "core/comms.h"
#include "core/format.h"
#include "core/language.h"
#include "core/message_box.h"
#include "core/settings_file.h"
#include "gfx/blend.h"
#include "gfx/display_metrics.h"
#include "gfx/drawing.h"
#include "gfx/theme.h"
#include "home/screens/alarm_time_picker.h"
#include "home/screens/home_controls.h"
#include "home/screens/home_screen_texts.h"
#include "platform/api/locale.h"
#include "platform/api/notifications.h"
#include "ui/control_paint.h"
#include "ui/drop_down.h"
#include "ui/label.h"
#include "ui/layout.h"
#include "ui/module_ids.h"
#include "ui/text_button.h"
#include "weather/units.h"
#include "weather/weather_data.h"
#include "weather/weather_files.h"
#include "worldtime/cities.h"
#include "worldtime/city_clock.h"
#include "worldtime/screens/city_lists.h"
#include "worldtime/screens/month_calendar_view.h"

namespace home {

using namespace platform;
using ui::menuKind::Context;
using ui::menuKind::Left;
using ui::menuKind::Right;
using ui::menuParent::SoftKey;

namespace {

namespace text = homeText;

constexpr std::wstring_view kModeKey = L"homemode";
constexpr std::array<std::wstring_view, 4> kModePictures = {L"home_time.tga", L"home_calendar.tga",
                                                            L"home_weather.tga", L"home_alarm.tga"};
constexpr Colour kOnPanelText = rgb(32, 32, 32);
constexpr double kCurrentLevel = 1.0, kOtherLevel = 0.3, kFadeStep = 0.1;
// The page moves by this much (layout pixels) as the task bar comes and goes.
constexpr int kFullScreenShift = 26;

struct SavedState {
    int year = 0;
    int month = 0;
    int day = 0;
    bool pending = false;
};

std::unique_ptr<ui::Control> makeOwnControl(const ui::LayoutRecord& record,
                                            const std::wstring& mainPath) {
    switch (record.type) {
        case homeLayoutType::ModeButton:
            return std::make_unique<HomeModeButton>();
        case homeLayoutType::CityClock:
            return std::make_unique<CityClockControl>();
        case homeLayoutType::MonthCalendar:
            return std::make_unique<worldtime::MonthCalendarView>();
        case homeLayoutType::WeatherSummary:
            return std::make_unique<WeatherSummaryPanel>(mainPath);
        case homeLayoutType::QuickAlarmPanel:
            return std::make_unique<QuickAlarmPanel>(mainPath);
        case homeLayoutType::BusyIndicator:
            return std::make_unique<worldtime::BusyIndicator>(mainPath);
        default:
            return nullptr;
    }
}

SystemTime nowToTheMinute() {
    SystemTime now = deviceLocalTime();
    now.second = 0;
    now.milliseconds = 0;
    return now;
}

// The month's name for a month button: in full when it fits the button, else abbreviated
// (a square screen's buttons are narrow).
std::wstring monthCaption(int index, const ui::TextButton& button) {
    SystemTime first{static_cast<std::uint16_t>(index / 12),
                     static_cast<std::uint16_t>(index % 12 + 1), 0, 1};
    std::wstring full = formatDate(first, L"MMMM").value_or(L"");
    int room = button.rect.width() - 6 * ui::layoutUnit();
    if (gfx::textWidth(ui::smallFont(), full) <= room)
        return full;
    return formatDate(first, L"MMM").value_or(full);
}

}  // namespace

HomeModeScreen::HomeModeScreen(ui::ModuleHost& host, worldtime::Favourites& favourites,
                               std::shared_ptr<HomeReadout> readout)
    : ui::Module(host),
      host_(host),
      favourites_(favourites),
      readout_(std::move(readout)),
      request_({[this](bool busy) { setBusy(busy); }, [this](bool) { refreshWeather(); }}) {}

HomeModeScreen::~HomeModeScreen() {
    if (readout_)
        readout_->text.clear();
    stopTimer(kTickTimer);
    stopTimer(kBusyTimer);
    stopTimer(kFadeTimer);
    // The next screen is not made for full-screen display: the bars come back.
    if (fullScreen_ && host_.mainWindow())
        host_.setFullScreen(false);
}

void HomeModeScreen::build() {
    kind_ = homeLayoutKind();
    const std::wstring& mainPath = host_.mainPath();
    ui::buildLayout(*this, homeLayout(kind_),
                    [&mainPath](const ui::LayoutRecord& r) { return makeOwnControl(r, mainPath); });
    placeFromLayout();
    // The clock lines' own fonts, which the labels delete when they go.
    line1_->setOwnFont(clockLinePoints(kind_, 1), true);
    line2_->setOwnFont(clockLinePoints(kind_, 2), true);

    cities_->setTable(&favourites_.table());
    cities_->setLabelField(worldtime::cityField::Name);
    mode_ =
        std::clamp(core::iniNumber(kModeKey, homeMode::Clock), homeMode::Clock, homeMode::Alarm);

    setUpModeButtons();
    refreshCity();
    refreshMode();
    updateMenu();
}

void HomeModeScreen::placeFromLayout() {
    using namespace homeControl;
    cities_ = findControl<ui::DropDown>(Cities);
    clock_ = findControl<CityClockControl>(Clock);
    line1_ = findControl<ui::Label>(ClockLine1);
    line2_ = findControl<ui::Label>(ClockLine2);
    previousMonth_ = findControl<ui::TextButton>(PreviousMonth);
    nextMonth_ = findControl<ui::TextButton>(NextMonth);
    alarmButton_ = findControl<ui::TextButton>(SetAlarm);
    nowLine_ = findControl<ui::Label>(NowLine);
    alarmStatus_ = findControl<ui::Label>(AlarmStatus);
    updateButton_ = findControl<ui::TextButton>(Update);
    busyIndicator_ = findControl<worldtime::BusyIndicator>(Busy);
    calendar_ = findControl<worldtime::MonthCalendarView>(Calendar);
    weather_ = findControl<WeatherSummaryPanel>(WeatherPanel);
    alarm_ = findControl<QuickAlarmPanel>(AlarmPanel);
    for (int i = 0; i < 4; ++i)
        modeButtons_[static_cast<std::size_t>(i)] = findControl<HomeModeButton>(TimeMode + i);

    line1_->setColour(host_.theme().selectedTextColour);
    line2_->setColour(host_.theme().textColour);
    nowLine_->setBold(true);
    // The current-time line stands on the quick-alarm panel's light face.
    nowLine_->setColour(kOnPanelText);
    alarmStatus_->setColour(host_.theme().selectedTextColour);
    // The theme's clock face and digits, through the process's resized pictures: a screen
    // built again finds them at their size.
    clock_->loadFace = [this](int size) {
        SizedPicture face;
        face.load(host_.decorations().pathOf(gfx::DecorationClockFace));
        return face.at(size, size);
    };
    alarm_->loadDigits = [this](int width, int height) {
        SizedPicture digits;
        digits.load(host_.decorations().pathOf(gfx::DecorationDigits));
        return digits.at(width, height);
    };
    alarm_->onPicked = [this] { refreshQuickAlarm(); };
    weather_->setSummary({});
}

void HomeModeScreen::setUpModeButtons() {
    std::wstring overlay = gfx::themePath(host_.mainPath(), L"butt_overlay.tga");
    std::wstring pictures = host_.mainPath() + L"graphics2\\";
    for (std::size_t i = 0; i < modeButtons_.size(); ++i) {
        modeButtons_[i]->setPictures(pictures + std::wstring(kModePictures[i]), overlay);
        modeButtons_[i]->onFocus = [this, i](HomeModeButton&) {
            if (!settingFocus_)
                chooseMode(static_cast<int>(i) + 1);
        };
    }
}

// Applying the mode: what is shown, the buttons' levels, the focus and the quick alarm.
void HomeModeScreen::refreshMode() {
    // The calendar reads its month (and the device's appointments) when it is first shown.
    if (mode_ == homeMode::Calendar && calendar_->grid().month == 0)
        showToday();
    applyVisibility();
    focusModeButton();
    refreshModeButtons();
    loadQuickAlarmState();
    refreshQuickAlarm();
    refreshNowLine();
    if (mode_ == homeMode::Clock)
        refreshClockTexts();
    if (mode_ == homeMode::Weather)
        refreshWeather();
    updateReadout();
    invalidate(false);
}

void HomeModeScreen::applyVisibility() {
    using namespace homeMode;
    const bool landscape = kind_ == HomeLayoutKind::Landscape;
    cities_->show(mode_ == Clock && !fullScreen_, false);
    clock_->show(mode_ == Clock, false);
    line1_->show(mode_ == Clock, false);
    line2_->show(mode_ == Clock && !landscape, false);
    calendar_->show(mode_ == Calendar, false);
    // The month buttons stand at the ends of the calendar's own heading.
    previousMonth_->show(mode_ == Calendar, false);
    nextMonth_->show(mode_ == Calendar, false);
    weather_->show(mode_ == Weather, false);
    updateButton_->show(mode_ == Weather, false);
    alarm_->show(mode_ == Alarm, false);
    alarmButton_->show(mode_ == Alarm, false);
    nowLine_->show(mode_ == Alarm, false);
    alarmStatus_->show(mode_ == Alarm, false);
    busyIndicator_->show(busy_, false);
    updateButton_->setText(core::languageString(busy_ ? text::CancelCaption : text::UpdateCaption));
    for (std::size_t i = 0; i < modeButtons_.size(); ++i)
        modeButtons_[i]->setCurrent(static_cast<int>(i) + 1 == mode_);
}

void HomeModeScreen::refreshModeButtons() {
    for (std::size_t i = 0; i < modeButtons_.size(); ++i) {
        HomeModeButton* button = modeButtons_[i];
        bool current = static_cast<int>(i) + 1 == mode_;
        button->setLevel(current ? (button->hasFocus() ? kCurrentLevel : 0.0) : kOtherLevel);
    }
}

void HomeModeScreen::focusModeButton() {
    settingFocus_ = true;
    setFocusedControl(modeButtons_[static_cast<std::size_t>(mode_ - 1)], false);
    settingFocus_ = false;
    syncFocus();
}

// What follows the focus: the picker is edited while button 11 has it, the calendar shows
// whether it holds it, and the mode buttons' levels.
void HomeModeScreen::syncFocus() {
    alarm_->setEditing(focusedControl() == alarmButton_);
    if (alarm_->isEditing())
        alarm_->setLevel(1.0);
    calendar_->invalidate();
    if (!fullScreen_)
        refreshModeButtons();
}

void HomeModeScreen::chooseMode(int mode) {
    mode = std::clamp(mode, homeMode::Clock, homeMode::Alarm);
    if (mode == mode_) {
        syncFocus();
        return;
    }
    mode_ = mode;
    core::setIniNumber(kModeKey, mode_);
    core::saveIniFile();
    refreshMode();
    invalidate(true);
    updateMenu();
}

// The quick alarm: the time of a pending one comes from its notification; one whose
// notification went (it rang, or something cleared it) is cancelled here.
void HomeModeScreen::loadQuickAlarmState() {
    SystemTime time = nowToTheMinute();
    if (alarms::quickAlarmSet()) {
        std::optional<NotificationRecord> record = userNotification(alarms::quickAlarmHandle());
        if (record)
            time = record->start;
        else
            alarms::cancelQuickAlarm();
    }
    alarm_->picker().setTime(time.hour, time.minute);
}

void HomeModeScreen::refreshQuickAlarm() {
    const bool set = alarms::quickAlarmSet();
    alarmButton_->setText(core::languageString(set ? text::CancelAlarm : text::SetAlarm));
    if (set) {
        bool today = ringsToday(deviceLocalTime(), alarm_->picker().valueMs());
        alarmStatus_->setText(core::languageString(today ? text::RingsToday : text::RingsTomorrow));
    } else {
        alarmStatus_->setText(L"");
    }
    alarm_->setLevel(set && !alarm_->isEditing() ? 0.5 : 1.0);
    updateReadout();
}

void HomeModeScreen::refreshNowLine() {
    SystemTime now = deviceLocalTime();
    nowLine_->setText(core::languageString(text::Now) + formatTime(now, L"HH:mm").value_or(L""));
}

void HomeModeScreen::pressAlarmButton() {
    if (alarms::quickAlarmSet()) {
        alarms::cancelQuickAlarm();
        refreshMode();
        return;
    }
    const AlarmTimePicker& picker = alarm_->picker();
    std::optional<SystemTime> moment =
        quickAlarmMoment(deviceLocalTime(), picker.hour(), picker.minute());
    if (!moment || !alarms::setQuickAlarm(*moment))
        core::showExclamation(L"Alarm Set Error", host_.programName());
    refreshQuickAlarm();
}

int HomeModeScreen::cityRow() const {
    const core::RecordTable& table = favourites_.table();
    int row = table.currentRow();
    return row >= 1 && row <= table.rowCount() ? row : 0;
}

std::wstring HomeModeScreen::cityField(int field) const {
    int row = cityRow();
    return row ? std::wstring(favourites_.table().fieldText(row, field)) : std::wstring();
}

void HomeModeScreen::refreshClockTexts() {
    FileTime utc = deviceUtcFileTime();
    int row = cityRow();
    worldtime::CityClock clock = row ? worldtime::cityClock(favourites_.table(), row, utc)
                                     : worldtime::cityClock(0, L"", utc);
    clock_->setTime(clock.local);
    std::wstring time = host_.timeText(clock.local);
    std::wstring date = host_.dateText(clock.local);
    if (kind_ == HomeLayoutKind::Landscape) {
        line1_->setText(core::formatText(L"%s, %s", time, date));
        line2_->setText(L"");
    } else {
        line1_->setText(time);
        line2_->setText(date);
    }
}

void HomeModeScreen::refreshCity() {
    refreshClockTexts();
    refreshWeatherIcon();
    refreshWeather();
    cities_->invalidate();
    updateReadout();
}

void HomeModeScreen::stepCity(int step) {
    core::RecordTable& table = favourites_.table();
    int count = table.rowCount();
    if (count < 1)
        return;
    int row = cityRow();
    row = row < 1 ? 1 : (row - 1 + step % count + count) % count + 1;
    table.setCurrentRow(row);
    refreshCity();
    invalidate(true);
}

void HomeModeScreen::stepMonth(int step) {
    const worldtime::MonthGrid& grid = calendar_->grid();
    int index = grid.year * 12 + (grid.month - 1) + step;
    int year = index / 12;
    int month = index % 12 + 1;
    if (year < 1601 || year > 30826)
        return;
    SystemTime today = deviceLocalTime();
    bool thisMonth = today.year == year && today.month == month;
    calendar_->showMonth(year, month, thisMonth ? today.day : 1);
    refreshMonthCaptions();
    updateReadout();
}

void HomeModeScreen::showToday() {
    SystemTime today = deviceLocalTime();
    calendar_->showMonth(today.year, today.month, today.day);
    refreshMonthCaptions();
}

void HomeModeScreen::refreshMonthCaptions() {
    const worldtime::MonthGrid& grid = calendar_->grid();
    int index = grid.year * 12 + (grid.month - 1);
    previousMonth_->setText(monthCaption(index - 1, *previousMonth_));
    nextMonth_->setText(monthCaption(index + 1, *nextMonth_));
}

void HomeModeScreen::show(bool visible, bool focusFirst) {
    settingFocus_ = true;
    ui::Module::show(visible, focusFirst);
    settingFocus_ = false;
    if (visible) {
        refreshMode();
    } else {
        stopTimer(kTickTimer);
        stopTimer(kFadeTimer);
    }
}

void HomeModeScreen::paint(DeviceContext& dc, const Rect& invalid) {
    ui::Module::paint(dc, invalid);
    if (mode_ != homeMode::Clock || weatherIcon_.width <= 0 || !clock_->isVisible)
        return;
    // Today's weather of the city beside its clock.
    const int u = ui::layoutUnit();
    Rect spot{clock_->rect.right + 6 * u, clock_->rect.top, 0, 0};
    gfx::drawTarga(dc, weatherIcon_, spot.left, spot.top);
}

void HomeModeScreen::startTick() {
    if (WindowHandle window = host_.mainWindow())
        setTimer(window, kTickTimer, kTickMs);
}

void HomeModeScreen::stopTimer(std::uintptr_t id) {
    if (WindowHandle window = host_.mainWindow())
        killTimer(window, id);
}

void HomeModeScreen::timer(std::uintptr_t id) {
    if (host_.isMainMenuOpen())
        return;
    switch (id) {
        case kTickTimer:
            if (mode_ == homeMode::Clock) {
                refreshClockTexts();
            } else if (mode_ == homeMode::Alarm) {
                refreshNowLine();
                if (alarms::quickAlarmSet() && !alarm_->isEditing()) {
                    alarm_->setLevel(alarm_->level() < 1.0 ? 1.0 : 0.5);
                } else {
                    alarm_->setLevel(1.0);
                }
            }
            return;
        case kBusyTimer:
            busyIndicator_->step();
            request_.withdrawIfGone();
            return;
        case kFadeTimer:
            fadeStep();
            return;
        default:
            ui::Module::timer(id);
    }
}

void HomeModeScreen::startTimers() {
    refreshMode();
    refreshClockTexts();
    refreshWeatherIcon();
    startTick();
    // A download that started before this screen shows its indicator too.
    if (core::isCommsRunning())
        request_.report(core::commsReport::Started, 0);
    updateMenu();
}

void HomeModeScreen::activationChanged(bool deactivated) {
    if (deactivated) {
        stopTimer(kTickTimer);
        return;
    }
    if (isActive)
        startTimers();
}

void HomeModeScreen::toggleFullScreen() {
    fullScreen_ = !fullScreen_;
    const int shift = static_cast<int>(kFullScreenShift * gfx::displayMetrics().scaleY);
    // The window grows over the task bar: the page moves down by as much, so that what
    // stays on screen does not jump.
    moveControls(fullScreen_ ? shift : -shift);
    applyVisibility();
    host_.setFullScreen(fullScreen_);
    if (fullScreen_) {
        if (WindowHandle window = host_.mainWindow())
            setTimer(window, kFadeTimer, kFadeMs);
    } else {
        refreshModeButtons();
    }
    updateReadout();
    invalidate(false);
}

void HomeModeScreen::moveControls(int dy) {
    for (const auto& control : controls()) control->place(control->rect.offset(0, dy), nullptr);
}

void HomeModeScreen::fadeStep() {
    if (!fullScreen_) {
        stopTimer(kFadeTimer);
        refreshModeButtons();
        invalidate(false);
        return;
    }
    bool done = true;
    for (HomeModeButton* button : modeButtons_) {
        // In whole tenths, so that ten steps reach nothing exactly.
        button->setLevel(std::max(0.0, std::round((button->level() - kFadeStep) * 10) / 10));
        done = done && button->level() <= 0.0;
    }
    if (done)
        stopTimer(kFadeTimer);
}

std::any HomeModeScreen::saveState() const {
    SavedState state;
    const worldtime::MonthGrid& grid = calendar_->grid();
    state.year = grid.year;
    state.month = grid.month;
    int cell = calendar_->selectedCell();
    state.day = cell >= 0 ? grid.cells[static_cast<std::size_t>(cell)].day : 0;
    state.pending = request_.pending();
    return state;
}

void HomeModeScreen::restoreState(const std::any& state) {
    const auto* saved = std::any_cast<SavedState>(&state);
    if (!saved)
        return;
    request_.carryOn(saved->pending);
    if (saved->month >= 1) {
        calendar_->showMonth(saved->year, saved->month, saved->day);
        refreshMonthCaptions();
    }
    updateReadout();
}

void HomeModeScreen::updateReadout() {
    if (!readout_ || !calendar_)
        return;
    const AlarmTimePicker& picker = alarm_->picker();
    std::wstring text =
        L"mode " + std::to_wstring(mode_) + L"; city " + cityField(worldtime::cityField::Name) +
        L"; clock " + line1_->text() + L"; calendar " + calendar_->headingText() + L"; alarm " +
        (alarms::quickAlarmSet() ? L"set" : L"off") + L" " + std::to_wstring(picker.hour() / 10) +
        std::to_wstring(picker.hour() % 10) + L":" + std::to_wstring(picker.minute() / 10) +
        std::to_wstring(picker.minute() % 10) + L"; status " + alarmStatus_->text() + L"; busy " +
        (busy_ ? L"1" : L"0") + L"; full screen " + (fullScreen_ ? L"1" : L"0");
    readout_->text = std::move(text);
}

}  // namespace home
