#include "worldtime/screens/planner_screen.h"

#include <memory>
#include <vector>

#include "core/format.h"
#include "core/language.h"
#include "core/settings.h"
#include "core/settings_keys.h"
#include "core/time_text.h"
#include "gfx/display_metrics.h"
#include "gfx/drawing.h"
#include "platform/api/calendar.h"
#include "platform/api/locale.h"
#include "platform/api/process.h"
#include "ui/date_time_picker.h"
#include "ui/edit_field.h"
#include "ui/label.h"
#include "ui/layout.h"
#include "ui/text_button.h"
#include "worldtime/date_helpers.h"
#include "worldtime/screens/planner_view.h"

namespace worldtime {

using namespace platform;

namespace {

using ui::LayoutRecord;
using namespace plannerId;
namespace lt = ui::layoutType;

constexpr int kHeadingString = 380, kHereString = 251, kMidnightString = 252, kNoonString = 253,
              kBookString = 455, kStartsString = 456, kOkString = 224, kCancelString = 18;
constexpr std::uint32_t kLine = dt::Left | dt::VCenter | dt::SingleLine | dt::EndEllipsis;
constexpr std::uint32_t kCentred = dt::Center | dt::VCenter | dt::SingleLine | dt::EndEllipsis;
constexpr Colour kPanelColour = rgb(0, 0, 0);
constexpr int kPanelAlpha = 200;

// Layout pixels for a screen 240 (portrait, square) or 320 (landscape) wide; the grid and the
// panel take the height that is left.
struct PlannerLayout {
    int width = 240;
    int height = 268;
};

PlannerLayout currentLayout(WindowHandle window) {
    const Rect client = clientRect(window);
    const auto& m = gfx::displayMetrics();
    PlannerLayout layout;
    layout.width = m.scaleX > 0 ? static_cast<int>(client.width() / m.scaleX) : client.width();
    layout.height = m.scaleY > 0 ? static_cast<int>(client.height() / m.scaleY) : client.height();
    return layout;
}

// The rows above the grid: the heading, the date chooser and the day buttons.
constexpr int kGridTop = 72;

std::vector<LayoutRecord> records(const PlannerLayout& l) {
    const auto w = static_cast<std::int16_t>(l.width);
    const auto h = static_cast<std::int16_t>(l.height);
    const auto half = static_cast<std::int16_t>((l.width - 12) / 2);
    const auto panelTop = static_cast<std::int16_t>((h + kGridTop) / 2 - 50);
    return {
        {Heading, lt::Label, 6, 0, static_cast<std::int16_t>(w - 12), 22, 1, kHeadingString, kLine,
         99},
        {DatePicker, lt::DateTimePicker, 4, 25, static_cast<std::int16_t>(w - 8), 21, 1,
         ui::pickerKind::Date, 0, 99},
        {PreviousDay, lt::TextButton, 4, 49, half, 20, 1, 0, 0, 99},
        {NextDay, lt::TextButton, static_cast<std::int16_t>(8 + half), 49, half, 20, 1, 0, 0, 99},
        {Book, lt::TextButton, 4, static_cast<std::int16_t>(h - 24),
         static_cast<std::int16_t>(w - 8), 21, 1, kBookString, 0, 99},
        {PanelTitle, lt::Label, 12, panelTop, static_cast<std::int16_t>(w - 24), 20, 0, kBookString,
         kCentred, 99},
        {PanelStart, lt::Label, 12, static_cast<std::int16_t>(panelTop + 22),
         static_cast<std::int16_t>(w - 24), 18, 0, 0, kCentred, 99},
        {Subject, lt::EditField, 12, static_cast<std::int16_t>(panelTop + 46),
         static_cast<std::int16_t>(w - 24), 20, 0, 0, es::AutoHScroll, 99},
    };
}

const ui::MenuEntry kMenu[] = {
    {ui::menuKind::Left, ui::menuParent::SoftKey, ui::command::LeftSoftKey, 16},
    {ui::menuKind::Right, ui::menuParent::SoftKey, ui::command::RightSoftKey, 17},
};
const ui::MenuEntry kBookingMenu[] = {
    {ui::menuKind::Left, ui::menuParent::SoftKey, ui::command::LeftSoftKey, kOkString},
    {ui::menuKind::Right, ui::menuParent::SoftKey, ui::command::RightSoftKey, kCancelString},
};

struct SavedState {
    SystemTime date;
    int row = 1;
    int firstFavourite = 1;
};

SystemTime dateOnly(const SystemTime& t) {
    SystemTime d{t.year, t.month, 0, t.day, 0, 0, 0, 0};
    d.dayOfWeek = static_cast<std::uint16_t>(dayOfWeekOf(t.year, t.month, t.day));
    return d;
}

}  // namespace

std::wstring meetingStartText(int hour, int clockFormat) {
    if (hour == 0)
        return core::languageString(kMidnightString);
    if (hour == 12)
        return core::languageString(kNoonString);
    SystemTime t{2001, 1, 1, 1, static_cast<std::uint16_t>(hour), 0, 0, 0};
    return core::clockTimeText(t, clockFormat);
}

PlannerScreen::PlannerScreen(ui::ModuleHost& host, Favourites& favourites)
    : ui::Module(host), host_(host), favourites_(favourites) {
    date_ = dateOnly(deviceLocalTime());
}

PlannerScreen::~PlannerScreen() {
    if (host_.mainWindow())
        killTimer(host_.mainWindow(), kPlannerScrollTimer);
}

void PlannerScreen::build() {
    const PlannerLayout layout = currentLayout(host_.mainWindow());
    headingBar_ = gfx::scaleRect({0, 0, layout.width, 22});
    const int panelTop = (layout.height + kGridTop) / 2 - 56;
    panel_ = gfx::scaleRect({6, panelTop, layout.width - 6, panelTop + 80});

    auto view = std::make_unique<PlannerView>();
    view->id = Grid;
    view->onScroll = [this] {
        setTimer(host_.mainWindow(), kPlannerScrollTimer, kPlannerScrollMs);
    };
    view_ = static_cast<PlannerView*>(&addControl(std::move(view)));
    view_->place(gfx::scaleRect({0, kGridTop, layout.width, layout.height - 26}), nullptr);
    view_->show(true, false);
    const auto layoutRecords = records(layout);
    ui::buildLayout(*this, layoutRecords);

    auto* heading = findControl<ui::Label>(Heading);
    heading->setBold(true);
    heading->setColour(host_.theme().selectedTextColour);
    for (int id : {PanelTitle, PanelStart})
        findControl<ui::Label>(id)->setColour(rgb(255, 255, 255));
    findControl<ui::Label>(PanelTitle)->setBold(true);
    subject_ = findControl<ui::EditField>(Subject);
    if (subject_)
        subject_->setLimit(kMaxMeetingSubject);
    refresh();
    // The grid opens on the present hour when it shows today.
    const int present = view_->grid().presentRow;
    view_->select(present > 0 ? present : 1, false);
    setFocusedControl(view_, false);
}

void PlannerScreen::setLabel(int id, const std::wstring& text) {
    if (auto* label = findControl<ui::Label>(id))
        label->setText(text);
}

void PlannerScreen::refresh() {
    const int clockFormat = core::settings::read(core::keys::OptTimeFormat);
    view_->setGrid(
        plannerGrid(favourites_.table(), date_, static_cast<std::int64_t>(deviceUtcFileTime())),
        clockFormat, core::languageString(kMidnightString), core::languageString(kNoonString),
        core::languageString(kHereString));
    if (auto* picker = findControl<ui::DateTimePicker>(DatePicker)) {
        const SystemTime shown = picker->time();
        if (shown.year != date_.year || shown.month != date_.month || shown.day != date_.day)
            picker->setTime(date_);
    }
    auto dayText = [&](int days) {
        auto ticks = fileTicks(date_);
        auto day = ticks ? fromFileTicks(*ticks + days * kTicksPerDay) : std::nullopt;
        return day ? formatDate(*day, L"ddd',' MMM dd").value_or(L"") : std::wstring();
    };
    if (auto* b = findControl<ui::TextButton>(PreviousDay))
        b->setText(L"\u25C0 " + dayText(-1));
    if (auto* b = findControl<ui::TextButton>(NextDay))
        b->setText(dayText(1) + L" \u25B6");
    invalidate(false);
}

void PlannerScreen::setDate(const SystemTime& date) {
    if (!fileTicks(dateOnly(date)))
        return;
    date_ = dateOnly(date);
    refresh();
}

void PlannerScreen::stepDay(int days) {
    auto ticks = fileTicks(date_);
    auto day = ticks ? fromFileTicks(*ticks + days * kTicksPerDay) : std::nullopt;
    if (day)
        setDate(*day);
}

std::wstring PlannerScreen::startText() const {
    const int row = view_->selectedRow();
    const auto& cells = view_->grid().columns;
    const int hour =
        cells.empty() ? row - 1 : cells[0].cells[static_cast<std::size_t>(row - 1)].local.hour;
    return core::formatText(
        core::languageString(kStartsString),
        meetingStartText(hour, core::settings::read(core::keys::OptTimeFormat)));
}

void PlannerScreen::showPanelControls(bool visible) {
    for (int id : {PanelTitle, PanelStart, Subject}) {
        if (auto* c = findControl(id))
            c->show(visible, false);
    }
    for (int id : {PreviousDay, NextDay, Book, DatePicker}) {
        if (auto* c = findControl(id))
            c->isEnabled = !visible;
    }
}

void PlannerScreen::openBooking() {
    if (booking_)
        return;
    booking_ = true;
    setLabel(PanelStart, startText());
    if (subject_)
        subject_->setText(L"");
    showPanelControls(true);
    host_.setMenuBar(kBookingMenu);
    if (subject_)
        setFocusedControl(subject_, false);
    invalidate(false);
}

void PlannerScreen::closeBooking() {
    if (!booking_)
        return;
    booking_ = false;
    showPanelControls(false);
    host_.setMenuBar(kMenu);
    setFocusedControl(view_, false);
    invalidate(false);
}

AppointmentId PlannerScreen::book() {
    const std::wstring subject = subject_ ? subject_->text() : std::wstring();
    auto meeting = plannedMeeting(view_->grid(), view_->selectedRow(), subject);
    AppointmentId id = meeting ? addAppointment(*meeting) : 0;
    closeBooking();
    return id;
}

bool PlannerScreen::openCalendar() const {
    // A calendar program that does not start is not reported: there is nothing to put right.
    return startProgram(kCalendarProgram, calendarCommandLine(date_, false)).has_value();
}

void PlannerScreen::paint(DeviceContext& dc, const Rect& invalid) {
    if (headingBar_.intersects(invalid)) {
        gfx::gradientBar(dc, headingBar_.left, headingBar_.top, headingBar_.right,
                         headingBar_.bottom, host_.theme().mainColour);
    }
    if (!booking_) {
        ui::Module::paint(dc, invalid);
        return;
    }
    // The panel lies over the grid: paint everything but its controls, darken, then them.
    for (const auto& control : controls()) {
        const bool onPanel =
            control->id == PanelTitle || control->id == PanelStart || control->id == Subject;
        if (!onPanel && control->isVisible && control->isLive(currentPage))
            control->paint(dc, invalid);
    }
    blendRect(dc, panel_, kPanelColour, kPanelAlpha);
    for (int id : {PanelTitle, PanelStart, Subject}) {
        if (auto* c = findControl(id); c && c->isVisible)
            c->paint(dc, invalid);
    }
}

bool PlannerScreen::controlPressed(ui::Control& control) {
    switch (control.id) {
        case PreviousDay:
            stepDay(-1);
            return true;
        case NextDay:
            stepDay(1);
            return true;
        case Book:
            openBooking();
            return true;
        default:
            return false;
    }
}

void PlannerScreen::controlChanged(ui::Control& control) {
    if (control.id == DatePicker) {
        const SystemTime chosen = static_cast<ui::DateTimePicker&>(control).time();
        if (chosen.year != date_.year || chosen.month != date_.month || chosen.day != date_.day)
            setDate(chosen);
        return;
    }
    ui::Module::controlChanged(control);
}

bool PlannerScreen::command(std::uint32_t commandId, std::intptr_t) {
    if (booking_) {
        if (commandId == ui::command::LeftSoftKey) {
            book();
            return true;
        }
        if (commandId == ui::command::RightSoftKey) {
            closeBooking();
            return true;
        }
        return false;
    }
    if (commandId == ui::command::LeftSoftKey) {
        host_.showMainMenu(true);
        return true;
    }
    if (commandId == ui::command::RightSoftKey)
        return host_.back();
    return false;
}

bool PlannerScreen::key(std::uint32_t message, std::uint32_t keyCode, LParam flags) {
    if (booking_) {
        if (keyCode == vk::Return && message == wm::KeyDown) {
            book();
            return true;
        }
        if (keyCode == vk::Escape && message == wm::KeyDown) {
            closeBooking();
            return true;
        }
        return ui::Module::key(message, keyCode, flags);
    }
    if (keyCode == vk::Return) {
        if (message == wm::KeyDown)
            openBooking();
        return true;
    }
    if (view_->key(message, keyCode, flags))
        return true;
    return ui::Module::key(message, keyCode, flags);
}

void PlannerScreen::pointer(std::uint32_t message, WParam keys, Point point) {
    if (booking_) {
        // Taps outside the panel leave it open; those on its controls reach them.
        if (panel_.contains(point))
            ui::Module::pointer(message, keys, point);
        return;
    }
    if (message == wm::LButtonDown && headingBar_.contains(point)) {
        openCalendar();
        return;
    }
    ui::Module::pointer(message, keys, point);
}

void PlannerScreen::timer(std::uintptr_t id) {
    if (id == kPlannerScrollTimer) {
        if (!view_->scroll().step())
            killTimer(host_.mainWindow(), kPlannerScrollTimer);
        view_->invalidate();
        return;
    }
    ui::Module::timer(id);
}

void PlannerScreen::skinChanged(bool redraw) {
    if (auto* heading = findControl<ui::Label>(Heading))
        heading->setColour(host_.theme().selectedTextColour);
    if (redraw)
        invalidate(false);
}

std::span<const ui::MenuEntry> PlannerScreen::menuEntries() const {
    if (booking_)
        return kBookingMenu;
    return kMenu;
}

std::any PlannerScreen::saveState() const {
    return SavedState{date_, view_ ? view_->selectedRow() : 1, view_ ? view_->firstFavourite() : 1};
}

void PlannerScreen::restoreState(const std::any& state) {
    if (const auto* saved = std::any_cast<SavedState>(&state)) {
        setDate(saved->date);
        view_->select(saved->row, false);
        view_->showFavouritesFrom(saved->firstFavourite);
    }
}

}  // namespace worldtime
