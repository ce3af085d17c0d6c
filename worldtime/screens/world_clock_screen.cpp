#include "worldtime/screens/world_clock_screen.h"

#include <memory>

#include "core/record_table.h"
#include "gfx/decoration_pictures.h"
#include "gfx/display_metrics.h"
#include "gfx/drawing.h"
#include "gfx/resample.h"
#include "ui/control_paint.h"
#include "ui/label.h"
#include "ui/layout.h"
#include "ui/module_ids.h"
#include "weather/weather_data.h"
#include "weather/weather_files.h"
#include "worldtime/cities.h"
#include "worldtime/daylight_map.h"
#include "worldtime/screens/world_clock_list.h"

namespace worldtime {

using namespace platform;

namespace {

constexpr std::uint32_t kTitleFormat = dt::Left | dt::VCenter | dt::SingleLine;
constexpr std::uint32_t kNoteFormat = dt::Center | dt::WordBreak;
constexpr int kTitleHeight = 20;
constexpr std::wstring_view kMoveUpFile = L"graphics2\\select_up.tga";

// Client areas: 240 x 268 portrait, 320 x 188 landscape, 240 x 188 square (layout pixels).
struct Shape {
    int width;
    int height;
};

std::vector<ui::LayoutRecord> layoutFor(Shape s) {
    using namespace worldClockId;
    using ui::layoutType::Label;
    using ui::layoutType::TextButton;
    auto w = static_cast<std::int16_t>(s.width);
    auto h = static_cast<std::int16_t>(s.height);
    return {
        {Title, Label, 6, 0, static_cast<std::int16_t>(w - 12), kTitleHeight, 1, 649, kTitleFormat,
         99},
        {Empty, Label, 12, 40, static_cast<std::int16_t>(w - 24), 48, 0, 711, kNoteFormat, 99},
        {Cities, TextButton, static_cast<std::int16_t>((w - 96) / 2), 96, 96, 24, 0, 241, 0, 99},
        // The list's place; the list itself is made by the screen.
        {List, 0, 2, kTitleHeight + 2, static_cast<std::int16_t>(w - 4),
         static_cast<std::int16_t>(h - kTitleHeight - 4), 1, 0, 0, 99},
    };
}

Shape currentShape() {
    if (gfx::displayMetrics().isSquare)
        return {240, 188};
    if (gfx::isLandscape())
        return {320, 188};
    return {240, 268};
}

const ui::MenuEntry kMenu[] = {
    {ui::menuKind::Left, ui::menuParent::SoftKey, ui::command::LeftSoftKey, 16},
    {ui::menuKind::Right, ui::menuParent::SoftKey, ui::command::RightSoftKey, 375},
    {ui::menuKind::Right, 0, worldClockCommand::MoveUp, 707},
    {ui::menuKind::Right, 0, worldClockCommand::MakeCurrent, 709},
    {ui::menuKind::Right, 0, ui::kSeparatorCommand, 0},
    {ui::menuKind::Right, 0, worldClockCommand::Cities, 241},
    {ui::menuKind::Right, 0, ui::kSeparatorCommand, 0},
    {ui::menuKind::Right, 0, ui::command::Back, 17},
};

gfx::TargaPixels loadPicture(std::wstring_view mainPath, std::wstring_view file, int size) {
    std::unique_ptr<gfx::TargaPixels> pixels;
    if (gfx::loadTarga(core::joinDevicePath(mainPath, file), pixels) != gfx::TargaStatus::Loaded)
        return {};
    return gfx::resampleTarga(*pixels, size, size);
}

}  // namespace

WorldClockScreen::WorldClockScreen(ui::ModuleHost& host, Favourites& favourites)
    : ui::Module(host), host_(host), favourites_(favourites) {}

WorldClockScreen::~WorldClockScreen() {
    if (host_.mainWindow())
        killTimer(host_.mainWindow(), kMinuteTimer);
}

void WorldClockScreen::build() {
    std::vector<ui::LayoutRecord> records = layoutFor(currentShape());
    ui::LayoutRecord listPlace = records.back();
    records.pop_back();
    ui::buildLayout(*this, records);
    auto* title = findControl<ui::Label>(worldClockId::Title);
    title->setBold(true);
    title->setColour(host_.theme().selectedTextColour);

    auto list = std::make_unique<WorldClockList>();
    list->id = worldClockId::List;
    list->page = ui::kEveryPage;
    list->onMoveUp = [this](int row) { moveUp(row); };
    // Enter on a row makes that favourite the current city.
    list->onActivate = [this](ui::ListControl&, int row) { return makeCurrent(row); };
    list_ = static_cast<WorldClockList*>(&addControl(std::move(list)));
    list_->place(gfx::scaleRect({listPlace.x, listPlace.y, listPlace.x + listPlace.width,
                                 listPlace.y + listPlace.height}),
                 nullptr);
    list_->show(true, false);
    rebuildIdIndex();

    loadPictures();
    refresh();
    // The list opens on the current favourite.
    int current = favourites_.table().currentRow();
    if (current > 0)
        list_->selectRow(current, false);
}

std::any WorldClockScreen::saveState() const {
    return list_->currentRow();
}

void WorldClockScreen::restoreState(const std::any& state) {
    if (const int* row = std::any_cast<int>(&state); row && *row > 0)
        list_->selectRow(*row, false);
}

void WorldClockScreen::loadPictures() {
    int size = list_->clockSize();
    int unit = ui::layoutUnit();
    list_->setPictures(host_.decorations().picture(gfx::DecorationClockFace, size, size),
                       loadPicture(host_.mainPath(), kMoveUpFile, 20 * unit),
                       loadPicture(host_.mainPath(), kCityMarkerFile, 10 * unit));
    // The list's size may have changed with the screen.
    weatherPictures_.clear();
}

const gfx::TargaPixels& WorldClockScreen::weatherPicture(int icon) {
    auto found = weatherPictures_.find(icon);
    if (found != weatherPictures_.end())
        return found->second;
    const int size = list_->weatherIconSize();
    gfx::TargaPixels picture =
        loadPicture(host_.mainPath(), weather::conditionIconPath(icon), size);
    if (picture.width <= 0 && icon != weather::kNoReportIcon)
        picture = weatherPicture(weather::kNoReportIcon);
    return weatherPictures_.emplace(icon, std::move(picture)).first->second;
}

void WorldClockScreen::skinChanged(bool redraw) {
    if (auto* title = findControl<ui::Label>(worldClockId::Title))
        title->setColour(host_.theme().selectedTextColour);
    // The clock face may have changed with the look.
    loadPictures();
    if (redraw)
        invalidate(false);
}

void WorldClockScreen::refresh() {
    core::RecordTable& favourites = favourites_.table();
    auto utc = static_cast<std::int64_t>(deviceUtcFileTime());
    std::vector<ClockListRow> rows;
    int favourite = 0;
    for (WorldClockRow& row : worldClockRows(favourites, utc, showCountry())) {
        ClockListRow shown;
        ++favourite;
        shown.time = host_.timeText(row.local);
        shown.date = host_.dateText(row.local);
        shown.weatherIcon = weather::todayIconNumber(
            host_.downloadPath(), favourites.fieldText(favourite, cityField::Code));
        shown.weather = weatherPicture(shown.weatherIcon);
        shown.clock = std::move(row);
        rows.push_back(std::move(shown));
    }
    list_->setRows(std::move(rows), favourites.currentRow());
    minuteCheck_.changed(deviceLocalTime());
    showEmptyState();
}

void WorldClockScreen::showEmptyState() {
    bool empty = list_->rowCount() == 0;
    list_->show(!empty, true);
    for (int id : {worldClockId::Empty, worldClockId::Cities}) {
        if (ui::Control* c = findControl(id))
            c->show(empty, true);
    }
    ui::Control* focusOn = empty ? findControl(worldClockId::Cities) : list_;
    if (focusOn && focusedControl() != focusOn && focusOn->canTakeFocus())
        setFocusedControl(focusOn, true);
}

void WorldClockScreen::paint(DeviceContext& dc, const Rect& invalid) {
    Rect client = clientRect(host_.mainWindow());
    Rect bar{0, 0, client.right, static_cast<int>(kTitleHeight * gfx::displayMetrics().scaleY)};
    if (bar.intersects(invalid))
        gfx::gradientBar(dc, bar.left, bar.top, bar.right, bar.bottom, host_.theme().mainColour);
    ui::Module::paint(dc, invalid);
}

bool WorldClockScreen::moveUp(int row) {
    int moved = moveFavouriteUp(favourites_.table(), host_.mainPath(), row);
    if (moved == 0)
        return false;
    // The moved favourite stays selected in its new place.
    list_->selectRow(moved, false);
    refresh();
    return true;
}

bool WorldClockScreen::makeCurrent(int row) {
    core::RecordTable& favourites = favourites_.table();
    if (row < 1 || row > favourites.rowCount())
        return false;
    CityDatabase(host_.mainPath(), host_.downloadPath(), favourites).setCurrentFavourite(row);
    refresh();
    return true;
}

bool WorldClockScreen::command(std::uint32_t commandId, std::intptr_t) {
    switch (commandId) {
        case ui::command::LeftSoftKey:
            host_.showMainMenu(true);
            return true;
        case worldClockCommand::MoveUp:
            moveUp(list_->currentRow());
            return true;
        case worldClockCommand::MakeCurrent:
            makeCurrent(list_->currentRow());
            return true;
        case worldClockCommand::Cities:
            openCityList();
            return true;
        default:
            return false;
    }
}

void WorldClockScreen::openCityList() {
    // Posted, not switched at once: the switch destroys this screen and the control that
    // asked, which are still on the stack.
    host_.requestModuleLater(ui::moduleId::CityList);
}

bool WorldClockScreen::controlPressed(ui::Control& control) {
    if (control.id == worldClockId::Cities) {
        openCityList();
        return true;
    }
    return false;
}

bool WorldClockScreen::key(std::uint32_t message, std::uint32_t keyCode, LParam) {
    // Right moves the selected favourite up even while the focus is elsewhere.
    if (keyCode == vk::Right && list_->rowCount() > 0) {
        if (message == wm::KeyDown)
            moveUp(list_->currentRow());
        return true;
    }
    return false;
}

void WorldClockScreen::timer(std::uintptr_t id) {
    if (id != kMinuteTimer) {
        ui::Module::timer(id);
        return;
    }
    if (minuteCheck_.changed(deviceLocalTime()))
        refresh();
}

void WorldClockScreen::startTimers() {
    setTimer(host_.mainWindow(), kMinuteTimer, kMinuteTimerMs);
}

std::span<const ui::MenuEntry> WorldClockScreen::menuEntries() const {
    return kMenu;
}

}  // namespace worldtime
