#include "worldtime/screens/moon_screen.h"

#include <cmath>
#include <memory>
#include <vector>

#include "core/format.h"
#include "core/language.h"
#include "gfx/display_metrics.h"
#include "gfx/drawing.h"
#include "ui/label.h"
#include "ui/layout.h"
#include "worldtime/cities.h"
#include "worldtime/date_helpers.h"
#include "worldtime/screens/moon_view.h"
#include "worldtime/screens/screen_timers.h"
#include "worldtime/zones.h"

namespace worldtime {

using namespace platform;

namespace {

using ui::LayoutRecord;
using ui::layoutType::Label;
using namespace moonId;

constexpr std::uint32_t kLine = dt::Left | dt::VCenter | dt::SingleLine | dt::EndEllipsis;
constexpr std::uint32_t kRightLine = dt::Right | dt::VCenter | dt::SingleLine | dt::EndEllipsis;
constexpr std::uint32_t kCentred = dt::Center | dt::VCenter | dt::SingleLine | dt::EndEllipsis;
constexpr std::uint32_t kWrapped = dt::Left | dt::WordBreak;

constexpr int kLitString = 364, kNewMoonString = 362, kFullMoonString = 363, kAgeString = 359,
              kDistanceString = 360, kLastString = 365, kNextString = 366, kHeadingString = 367,
              kJanuaryString = 629;

// One layout per display shape, in layout pixels: the heading bar, the picture and the
// labels. Portrait stacks the texts under the moon; landscape and square put the moon at
// the left with the phase beside it.
struct MoonLayout {
    Rect heading;
    Rect picture;
    std::vector<LayoutRecord> labels;
};

const MoonLayout& portraitLayout() {
    static const MoonLayout layout{
        {0, 0, 240, 22},
        {50, 26, 190, 166},
        {
            {Heading, Label, 6, 0, 228, 22, 1, 0, kLine, 99},
            {Lit, Label, 6, 168, 228, 18, 1, 0, kCentred, 99},
            {Age, Label, 6, 188, 228, 17, 1, 0, kCentred, 99},
            {Distance, Label, 6, 206, 228, 17, 1, 0, kCentred, 99},
            {LastCaption, Label, 6, 228, 100, 17, 1, kLastString, kLine, 99},
            {LastDate, Label, 100, 228, 134, 17, 1, 0, kRightLine, 99},
            {NextCaption, Label, 6, 246, 100, 17, 1, kNextString, kLine, 99},
            {NextDate, Label, 100, 246, 134, 17, 1, 0, kRightLine, 99},
        },
    };
    return layout;
}

const MoonLayout& landscapeLayout() {
    static const MoonLayout layout{
        {0, 0, 320, 22},
        {6, 28, 154, 176},
        {
            {Heading, Label, 6, 0, 308, 22, 1, 0, kLine, 99},
            {Lit, Label, 162, 28, 152, 18, 1, 0, kLine, 99},
            {Age, Label, 162, 48, 152, 30, 1, 0, kWrapped, 99},
            {Distance, Label, 162, 80, 152, 17, 1, 0, kLine, 99},
            {LastCaption, Label, 162, 104, 152, 17, 1, kLastString, kLine, 99},
            {LastDate, Label, 162, 120, 152, 17, 1, 0, kLine, 99},
            {NextCaption, Label, 162, 142, 152, 17, 1, kNextString, kLine, 99},
            {NextDate, Label, 162, 158, 152, 17, 1, 0, kLine, 99},
        },
    };
    return layout;
}

const MoonLayout& squareLayout() {
    static const MoonLayout layout{
        {0, 0, 240, 22},
        {4, 26, 108, 130},
        {
            {Heading, Label, 6, 0, 228, 22, 1, 0, kLine, 99},
            {Lit, Label, 112, 28, 124, 18, 1, 0, kLine, 99},
            {Age, Label, 112, 48, 124, 44, 1, 0, kWrapped, 99},
            {Distance, Label, 112, 84, 124, 30, 1, 0, kWrapped, 99},
            {LastCaption, Label, 6, 134, 100, 17, 1, kLastString, kLine, 99},
            {LastDate, Label, 100, 134, 134, 17, 1, 0, kRightLine, 99},
            {NextCaption, Label, 6, 152, 100, 17, 1, kNextString, kLine, 99},
            {NextDate, Label, 100, 152, 134, 17, 1, 0, kRightLine, 99},
        },
    };
    return layout;
}

const MoonLayout& currentLayout() {
    if (gfx::displayMetrics().isSquare)
        return squareLayout();
    if (gfx::isLandscape())
        return landscapeLayout();
    return portraitLayout();
}

const ui::MenuEntry kMenu[] = {
    {ui::menuKind::Left, ui::menuParent::SoftKey, ui::command::LeftSoftKey, 16},
    {ui::menuKind::Right, ui::menuParent::SoftKey, ui::command::RightSoftKey, 17},
};

}  // namespace

std::wstring moonLitText(double illuminated) {
    int percent = static_cast<int>(std::clamp(illuminated, 0.0, 1.0) * 100);
    if (percent == 0)
        return core::languageString(kNewMoonString);
    if (percent == 100)
        return core::languageString(kFullMoonString);
    return core::formatText(core::languageString(kLitString), percent);
}

std::wstring moonAgeText(double ageDays) {
    double days = std::floor(ageDays);
    double fraction = ageDays - days;
    int hours = static_cast<int>(fraction * 24);
    int minutes = static_cast<int>(fraction * 1440) % 60;
    return core::formatText(core::languageString(kAgeString), static_cast<int>(days), hours,
                            minutes);
}

std::wstring newMoonDateText(const SystemTime& local) {
    int month = std::clamp<int>(local.month, 1, 12);
    return core::formatText(L"%d %s %02d %02d:%02d", static_cast<int>(local.day),
                            core::languageString(kJanuaryString + month - 1),
                            static_cast<int>(local.year), static_cast<int>(local.hour),
                            static_cast<int>(local.minute));
}

MoonScreen::MoonScreen(ui::ModuleHost& host, Favourites& favourites)
    : ui::Module(host), host_(host), favourites_(favourites) {}

MoonScreen::~MoonScreen() {
    if (host_.mainWindow())
        killTimer(host_.mainWindow(), kMinuteTimer);
}

void MoonScreen::build() {
    const MoonLayout& layout = currentLayout();
    headingBar_ = gfx::scaleRect(layout.heading);

    auto view = std::make_unique<MoonView>();
    view->id = Picture;
    view->onTap = [this] { setDayShift(0); };
    view_ = static_cast<MoonView*>(&addControl(std::move(view)));
    view_->place(gfx::scaleRect(layout.picture), nullptr);
    view_->show(true, false);
    view_->load(host_.mainPath());
    ui::buildLayout(*this, layout.labels);

    auto* heading = findControl<ui::Label>(Heading);
    heading->setBold(true);
    heading->setColour(host_.theme().selectedTextColour);
    findControl<ui::Label>(Lit)->setBold(true);
    for (int id : {LastCaption, NextCaption}) findControl<ui::Label>(id)->setBold(true);
    refresh();
}

void MoonScreen::setText(int id, const std::wstring& text) {
    if (auto* label = findControl<ui::Label>(id))
        label->setText(text);
}

std::wstring MoonScreen::newMoonText(double julianDate) const {
    // The new moons stand in the current favourite's time, as the city the user looks at.
    const core::RecordTable& favourites = favourites_.table();
    int row = favourites.currentRow();
    if (row >= 1 && row <= favourites.rowCount()) {
        ZoneInfo zone = zoneInfo(cityZone(favourites, row));
        return newMoonDateText(localTimeOf(julianDate, &zone));
    }
    return newMoonDateText(localTimeOf(julianDate, nullptr));
}

void MoonScreen::refresh() {
    // The moon is computed for the UTC moment; the device's local time is only shown.
    auto utcTicks = static_cast<std::int64_t>(deviceUtcFileTime()) + dayShift_ * kTicksPerDay;
    SystemTime utc = fromFileTicks(utcTicks).value_or(deviceUtcTime());
    report_ = moonReport(utc);
    view_->setPhase(report_.state.phase);
    SystemTime local = utcToLocal(utc).value_or(utc);
    setText(Heading, core::formatText(core::languageString(kHeadingString), host_.dateText(local)));
    setText(Lit, moonLitText(report_.state.illuminated));
    setText(Age, moonAgeText(report_.state.ageDays));
    setText(Distance, core::formatText(core::languageString(kDistanceString),
                                       static_cast<int>(std::lround(report_.state.distanceKm))));
    setText(LastDate, newMoonText(report_.newMoons.last));
    setText(NextDate, newMoonText(report_.newMoons.next));
    minuteCheck_.changed(deviceLocalTime());
}

void MoonScreen::setDayShift(int days) {
    // A century either way is as far as the theory is meant to reach.
    dayShift_ = std::clamp(days, -36525, 36525);
    refresh();
}

void MoonScreen::paint(DeviceContext& dc, const Rect& invalid) {
    if (headingBar_.intersects(invalid)) {
        gfx::gradientBar(dc, headingBar_.left, headingBar_.top, headingBar_.right,
                         headingBar_.bottom, host_.theme().mainColour);
    }
    ui::Module::paint(dc, invalid);
}

bool MoonScreen::command(std::uint32_t commandId, std::intptr_t) {
    if (commandId == ui::command::LeftSoftKey) {
        host_.showMainMenu(true);
        return true;
    }
    if (commandId == ui::command::RightSoftKey)
        return host_.back();
    return false;
}

bool MoonScreen::key(std::uint32_t message, std::uint32_t keyCode, LParam) {
    if (keyCode != vk::Left && keyCode != vk::Right && keyCode != vk::Return)
        return false;
    if (message == wm::KeyDown) {
        if (keyCode == vk::Return)
            setDayShift(0);
        else
            setDayShift(dayShift_ + (keyCode == vk::Right ? 1 : -1));
    }
    return true;
}

void MoonScreen::timer(std::uintptr_t id) {
    if (id == kMinuteTimer) {
        if (minuteCheck_.changed(deviceLocalTime()))
            refresh();
        return;
    }
    ui::Module::timer(id);
}

void MoonScreen::startTimers() {
    setTimer(host_.mainWindow(), kMinuteTimer, kMinuteTimerMs);
}

void MoonScreen::skinChanged(bool redraw) {
    if (auto* heading = findControl<ui::Label>(Heading))
        heading->setColour(host_.theme().selectedTextColour);
    if (redraw)
        invalidate(false);
}

std::span<const ui::MenuEntry> MoonScreen::menuEntries() const {
    return kMenu;
}

std::any MoonScreen::saveState() const {
    return dayShift_;
}

void MoonScreen::restoreState(const std::any& state) {
    if (const int* days = std::any_cast<int>(&state))
        setDayShift(*days);
}

}  // namespace worldtime
