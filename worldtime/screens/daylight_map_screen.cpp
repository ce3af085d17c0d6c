#include "worldtime/screens/daylight_map_screen.h"

#include <memory>
#include <vector>

#include "gfx/display_metrics.h"
#include "gfx/drawing.h"
#include "ui/control_paint.h"
#include "ui/label.h"
#include "ui/layout.h"
#include "ui/module_ids.h"
#include "worldtime/cities.h"
#include "worldtime/screens/daylight_map_view.h"

namespace worldtime {

using namespace platform;

namespace {

using ui::LayoutRecord;
using ui::layoutType::Label;
using namespace daylightMapId;

constexpr std::uint32_t kLine = dt::Left | dt::VCenter | dt::SingleLine | dt::EndEllipsis;
constexpr std::uint32_t kWrapped = dt::Left | dt::WordBreak;
constexpr std::uint32_t kNote = dt::Center | dt::WordBreak;

// One layout per display shape, in layout pixels: the map's place, the bar behind the city's
// name, and the panel's labels. Portrait has the panel below the map with date and time in
// two fields; landscape has it beside the map; the square screen, short of height, shows date
// and time on one line and leaves out the next change of the clocks.
struct MapLayout {
    Rect map;
    Rect nameBar;
    bool compact;
    std::vector<LayoutRecord> labels;
    int timePoints;  // the time's own font size; 0 for the small bold font
};

const MapLayout& portraitLayout() {
    static const MapLayout layout{
        {0, 0, 240, 120},
        {0, 120, 240, 140},
        false,
        {
            {Name, Label, 6, 120, 228, 20, 1, 0, kLine, 99},
            {Time, Label, 6, 141, 228, 26, 1, 0, kLine, 99},
            {Date, Label, 6, 166, 228, 17, 1, 0, kLine, 99},
            {Coordinates, Label, 6, 184, 228, 17, 1, 0, kLine, 99},
            {Sunrise, Label, 6, 202, 228, 17, 1, 0, kLine, 99},
            {Sunset, Label, 6, 219, 228, 17, 1, 0, kLine, 99},
            {Change, Label, 6, 237, 228, 31, 1, 0, kWrapped, 99},
            {Empty, Label, 12, 150, 216, 60, 0, 711, kNote, 99},
        },
        14,
    };
    return layout;
}

const MapLayout& landscapeLayout() {
    // The map takes the left three quarters; the city's name, time and date stand beside it
    // and the coordinates, sunrise and sunset run under it across the whole width.
    static const MapLayout layout{
        {0, 0, 240, 120},
        {240, 0, 320, 44},
        false,
        {
            {Name, Label, 243, 2, 75, 40, 1, 0, kWrapped, 99},
            {Time, Label, 243, 48, 75, 24, 1, 0, kLine, 99},
            {Date, Label, 243, 74, 75, 17, 1, 0, kLine, 99},
            {Coordinates, Label, 6, 126, 308, 17, 1, 0, kLine, 99},
            {Sunrise, Label, 6, 146, 150, 17, 1, 0, kLine, 99},
            {Sunset, Label, 164, 146, 150, 17, 1, 0,
             dt::Right | dt::VCenter | dt::SingleLine | dt::EndEllipsis, 99},
            {Change, Label, 6, 166, 308, 17, 1, 0, kLine, 99},
            {Empty, Label, 246, 48, 70, 100, 0, 711, kWrapped, 99},
        },
        12,
    };
    return layout;
}

const MapLayout& squareLayout() {
    static const MapLayout layout{
        {0, 0, 240, 120},
        {0, 120, 240, 138},
        true,
        {
            {Name, Label, 6, 120, 228, 18, 1, 0, kLine, 99},
            {Time, Label, 6, 139, 228, 16, 1, 0, kLine, 99},
            {Coordinates, Label, 6, 155, 228, 16, 1, 0, kLine, 99},
            {Sunrise, Label, 6, 171, 112, 16, 1, 0, kLine, 99},
            {Sunset, Label, 122, 171, 112, 16, 1, 0,
             dt::Right | dt::VCenter | dt::SingleLine | dt::EndEllipsis, 99},
            {Empty, Label, 12, 139, 216, 48, 0, 711, kNote, 99},
        },
        0,
    };
    return layout;
}

const MapLayout& currentLayout() {
    if (gfx::displayMetrics().isSquare)
        return squareLayout();
    if (gfx::isLandscape())
        return landscapeLayout();
    return portraitLayout();
}

const ui::MenuEntry kMenu[] = {
    {ui::menuKind::Left, ui::menuParent::SoftKey, ui::command::LeftSoftKey, 16},
    {ui::menuKind::Right, ui::menuParent::SoftKey, ui::command::RightSoftKey, 375},
    {ui::menuKind::Right, 0, 241, 241},
    {ui::menuKind::Right, 0, ui::kSeparatorCommand, 0},
    {ui::menuKind::Right, 0, ui::command::Back, 17},
};
constexpr std::uint32_t kCitiesCommand = 241;

}  // namespace

DaylightMapScreen::DaylightMapScreen(ui::ModuleHost& host, Favourites& favourites)
    : ui::Module(host), host_(host), favourites_(favourites) {}

DaylightMapScreen::~DaylightMapScreen() {
    if (host_.mainWindow()) {
        killTimer(host_.mainWindow(), kPulseTimer);
        killTimer(host_.mainWindow(), kMinuteTimer);
    }
}

void DaylightMapScreen::build() {
    const MapLayout& layout = currentLayout();
    compact_ = layout.compact;
    nameBar_ = gfx::scaleRect(layout.nameBar);

    auto view = std::make_unique<DaylightMapView>();
    view->id = Map;
    view->onCityTapped = [this](int row) { makeCurrent(row); };
    map_ = static_cast<DaylightMapView*>(&addControl(std::move(view)));
    map_->place(gfx::scaleRect(layout.map), nullptr);
    map_->show(true, false);
    ui::buildLayout(*this, layout.labels);

    auto* name = findControl<ui::Label>(Name);
    name->setBold(true);
    name->setColour(host_.theme().selectedTextColour);
    auto* time = findControl<ui::Label>(Time);
    if (layout.timePoints > 0) {
        time->setOwnFont(layout.timePoints, true);
    } else {
        time->setBold(true);
    }

    map_->load(host_.mainPath(), gfx::displayMetrics().scaleX);
    refresh();
}

void DaylightMapScreen::refresh() {
    map_->update(deviceUtcTime());
    core::RecordTable& favourites = favourites_.table();
    std::vector<MapCity> cities;
    for (int row = 1; row <= favourites.rowCount(); ++row) {
        cities.push_back({cityLatitude(favourites, row), cityLongitude(favourites, row)});
    }
    map_->setCities(std::move(cities), favourites.currentRow());
    refreshPanel();
    minuteCheck_.changed(deviceLocalTime());
}

void DaylightMapScreen::setText(int id, const std::wstring& text) {
    if (auto* label = findControl<ui::Label>(id))
        label->setText(text);
}

void DaylightMapScreen::refreshPanel() {
    core::RecordTable& favourites = favourites_.table();
    int row = favourites.currentRow();
    bool empty = row < 1 || row > favourites.rowCount();
    if (ui::Control* note = findControl(Empty))
        note->show(empty, true);
    if (empty) {
        for (int id : {Name, Time, Date, Coordinates, Sunrise, Sunset, Change}) setText(id, L"");
        return;
    }
    auto utc = static_cast<std::int64_t>(deviceUtcFileTime());
    CityPanel panel = cityPanel(favourites, row, utc, showCountry());
    setText(Name, panel.label);
    std::wstring date = host_.dateText(panel.local);
    std::wstring time = host_.timeText(panel.local);
    if (compact_) {
        setText(Time, date + L" " + time);
    } else {
        setText(Time, time);
        setText(Date, date);
    }
    setText(Coordinates, panel.coordinates);
    setText(Sunrise, panel.sun.sunrise);
    setText(Sunset, panel.sun.sunset);
    setText(Change, clockChangeLine(
                        panel.change, [this](const SystemTime& t) { return host_.dateText(t); },
                        [this](const SystemTime& t) { return host_.timeText(t); }));
}

bool DaylightMapScreen::makeCurrent(int row) {
    core::RecordTable& favourites = favourites_.table();
    if (row < 1 || row > favourites.rowCount())
        return false;
    if (row != favourites.currentRow()) {
        // The old ring's patch goes back to the plain map.
        invalidateRect(map_->ringRect());
        CityDatabase(host_.mainPath(), host_.downloadPath(), favourites).setCurrentFavourite(row);
    }
    refresh();
    return true;
}

void DaylightMapScreen::paint(DeviceContext& dc, const Rect& invalid) {
    if (nameBar_.intersects(invalid)) {
        gfx::gradientBar(dc, nameBar_.left, nameBar_.top, nameBar_.right, nameBar_.bottom,
                         host_.theme().mainColour);
    }
    ui::Module::paint(dc, invalid);
}

bool DaylightMapScreen::command(std::uint32_t commandId, std::intptr_t) {
    switch (commandId) {
        case ui::command::LeftSoftKey:
            host_.showMainMenu(true);
            return true;
        case kCitiesCommand:
            // Posted: the switch destroys this screen, which is still on the stack.
            host_.requestModuleLater(ui::moduleId::CityList);
            return true;
        default:
            return false;
    }
}

bool DaylightMapScreen::key(std::uint32_t message, std::uint32_t keyCode, LParam) {
    if (keyCode != vk::Left && keyCode != vk::Right)
        return false;
    int count = favourites_.table().rowCount();
    if (message == wm::KeyDown && count > 1) {
        // Left and Right step through the favourites, round from the last to the first.
        int row = favourites_.table().currentRow();
        int next = keyCode == vk::Right ? row % count + 1 : (row + count - 2) % count + 1;
        makeCurrent(next);
    }
    return true;
}

void DaylightMapScreen::timer(std::uintptr_t id) {
    if (id == kPulseTimer) {
        // Under the main menu the ring is hidden; it stands still meanwhile.
        if (!host_.isMainMenuOpen())
            map_->advancePulse();
        return;
    }
    if (id == kMinuteTimer) {
        if (minuteCheck_.changed(deviceLocalTime()))
            refresh();
        return;
    }
    ui::Module::timer(id);
}

void DaylightMapScreen::startTimers() {
    setTimer(host_.mainWindow(), kPulseTimer, kPulseTimerMs);
    setTimer(host_.mainWindow(), kMinuteTimer, kMinuteTimerMs);
}

void DaylightMapScreen::skinChanged(bool redraw) {
    if (auto* name = findControl<ui::Label>(Name))
        name->setColour(host_.theme().selectedTextColour);
    if (redraw)
        invalidate(false);
}

std::span<const ui::MenuEntry> DaylightMapScreen::menuEntries() const {
    return kMenu;
}

}  // namespace worldtime
