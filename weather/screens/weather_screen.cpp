#include "weather/screens/weather_screen.h"

#include <algorithm>

#include "core/comms.h"
#include "core/format.h"
#include "core/language.h"
#include "core/message_box.h"
#include "core/settings_file.h"
#include "core/settings_key.h"
#include "core/settings_keys.h"
#include "gfx/theme.h"
#include "platform/api/shell.h"
#include "ui/control_paint.h"
#include "ui/edit_field.h"
#include "ui/label.h"
#include "ui/layout.h"
#include "ui/module_ids.h"
#include "weather/screen_texts.h"
#include "weather/screens/weather_controls.h"
#include "weather/screens/weather_layouts.h"
#include "weather/settings_keys.h"
#include "weather/weather_files.h"
#include "worldtime/cities.h"
#include "worldtime/screens/city_lists.h"
#include "worldtime/world_clock.h"

namespace weather {

using namespace platform;
using ui::menuKind::Left;
using ui::menuKind::Right;
using ui::menuParent::SoftKey;

namespace {

// String numbers of the screen's texts.
namespace text {
constexpr int Menu = 16, Cancel = 18, Ok = 224, Weather = 654, CancelUpdate = 137, UpdateMaps = 571,
              UpdateCity = 572, UpdateOutlook = 573, UpdateWeather = 574, Delete = 570,
              ShowFahrenheit = 575, ShowCelsius = 576, WindKilometres = 577, WindMiles = 578,
              ShowDayNames = 433, ShowDates = 434, Cities = 241, AskDeleteFiles = 579,
              AskDeleteFrames = 580, EditUserMap = 569, NotStarted = 713;
}

// A forecast file of more rows than this is shown up to here: no forecast the comms program
// writes comes near it, and every row costs a picture.
constexpr int kMaxListRows = 31;

constexpr std::wstring_view kModeKey = L"weathermode";

const ui::MenuEntry kEditKeys[] = {
    {Left, SoftKey, ui::command::LeftSoftKey, text::Ok},
    {Right, SoftKey, ui::command::RightSoftKey, text::Cancel},
};

struct SavedState {
    bool editing = false;
    std::wstring source;
    bool pending = false;
};

std::unique_ptr<ui::Control> makeOwnControl(const ui::LayoutRecord& record,
                                            std::wstring_view mainPath) {
    switch (record.type) {
        case weatherLayoutType::ModeButton:
            return std::make_unique<ModeButton>();
        case weatherLayoutType::ForecastList:
            return std::make_unique<ForecastList>();
        case weatherLayoutType::SummaryLine:
            return std::make_unique<SummaryLine>();
        case weatherLayoutType::ConditionsPanel:
            return std::make_unique<ConditionsPanel>(mainPath);
        case weatherLayoutType::MapPanel:
            return std::make_unique<MapPanel>();
        case weatherLayoutType::BusyIndicator:
            return std::make_unique<worldtime::BusyIndicator>(mainPath);
        default:
            return nullptr;
    }
}

}  // namespace

WeatherScreen::WeatherScreen(ui::ModuleHost& host, worldtime::Favourites& favourites,
                             std::shared_ptr<WeatherReadout> readout)
    : ui::Module(host),
      host_(host),
      favourites_(favourites),
      readout_(std::move(readout)),
      request_({[this](bool busy) { setBusy(busy); }, [this](bool) { reload(); }}) {}

WeatherScreen::~WeatherScreen() {
    if (readout_)
        readout_->text.clear();
    if (WindowHandle window = host_.mainWindow()) {
        killTimer(window, kBusyTimer);
        killTimer(window, kLoopTimer);
    }
}

void WeatherScreen::build() {
    const std::wstring& mainPath = host_.mainPath();
    ui::buildLayout(*this, weatherScreenLayout(),
                    [&mainPath](const ui::LayoutRecord& r) { return makeOwnControl(r, mainPath); });
    heading_ = findControl<ui::Label>(weatherControl::Heading);
    heading_->setBold(true);
    heading_->setColour(host_.theme().selectedTextColour);
    busyIndicator_ = findControl<worldtime::BusyIndicator>(weatherControl::Busy);
    listControl_ = findControl<ForecastList>(weatherControl::List);
    summary_ = findControl<SummaryLine>(weatherControl::Summary);
    panel_ = findControl<ConditionsPanel>(weatherControl::Panel);
    mapPanel_ = findControl<MapPanel>(weatherControl::Map);
    source_ = findControl<ui::EditField>(weatherControl::EditSource);
    source_->setLimit(kUserMapSourceLimit);
    findControl<ui::Label>(weatherControl::EditTitle)->setBold(true);
    findControl<ui::Label>(weatherControl::MapCaption)->setBold(true);

    std::wstring overlay = gfx::themePath(mainPath, L"butt_overlay.tga");
    std::wstring pictures = mainPath + L"graphics2\\";
    const std::array<std::pair<int, std::wstring_view>, 3> listPictures{{
        {weatherControl::SevenDay, L"weather_7day.tga"},
        {weatherControl::TwoDay, L"weather_2day.tga"},
        {weatherControl::Current, L"weather_curr.tga"},
    }};
    for (std::size_t i = 0; i < listPictures.size(); ++i) {
        listButtons_[i] = findControl<ModeButton>(listPictures[i].first);
        listButtons_[i]->setPictures(pictures + std::wstring(listPictures[i].second), overlay);
        listButtons_[i]->onFocus = [this, i](ModeButton&) {
            if (settingFocus_)
                return;
            if (i == 2) {
                // The current button hands the focus on to the panel.
                setFocusedControl(panel_, true);
                return;
            }
            setMode(static_cast<int>(i) + 1);
        };
    }
    const std::array<std::pair<int, std::wstring_view>, 4> mapPictures{{
        {weatherControl::ForecastMap, L"weather_forecast.tga"},
        {weatherControl::Satellite, L"weather_sat.tga"},
        {weatherControl::Radar, L"weather_rad.tga"},
        {weatherControl::UserMap, L"weather_user.tga"},
    }};
    for (std::size_t i = 0; i < mapPictures.size(); ++i) {
        mapButtons_[i] = findControl<ModeButton>(mapPictures[i].first);
        mapButtons_[i]->setPictures(pictures + std::wstring(mapPictures[i].second), overlay);
        mapButtons_[i]->onFocus = [this, i](ModeButton&) {
            if (!settingFocus_)
                setMapMode(static_cast<int>(i) + 1);
        };
    }
    listControl_->onSelectionChange = [this](ui::ListControl&, int) { updateSummary(); };
    panel_->onStep = [this](int step) { stepStation(step); };

    mode_ = std::clamp(core::iniNumber(kModeKey, listMode::Daily), 1, 4);
    mapMode_ = std::clamp(core::iniNumber(L"mapmode", mapMode::Forecast), 1, 4);
    placeForMode();
    reload();
}

void WeatherScreen::show(bool visible, bool focusFirst) {
    settingFocus_ = true;
    ui::Module::show(visible, focusFirst);
    if (visible && focusFirst)
        chooseModeButton();
    settingFocus_ = false;
    if (!visible)
        stopLoop();
}

// The focus starts on the button of the mode shown, which chooses nothing new.
void WeatherScreen::chooseModeButton() {
    ui::Control* first = nullptr;
    if (currentPage == weatherPage::Forecast && mode_ <= 2)
        first = listButtons_[static_cast<std::size_t>(mode_ - 1)];
    else if (currentPage == weatherPage::Forecast)
        first = listControl_;
    else if (currentPage == weatherPage::Maps)
        first = mapButtons_[static_cast<std::size_t>(mapMode_ - 1)];
    if (first)
        setFocusedControl(first, false);
}

void WeatherScreen::placeForMode() {
    settingFocus_ = true;
    setPage(mode_ == listMode::Maps ? weatherPage::Maps : weatherPage::Forecast);
    // The outlook has no buttons: its list takes their room.
    bool buttons = mode_ != listMode::Outlook;
    for (ModeButton* b : listButtons_) {
        b->show(buttons, false);
        b->setChosen(b == listButtons_[static_cast<std::size_t>(std::clamp(mode_, 1, 2) - 1)]);
    }
    for (std::size_t i = 0; i < mapButtons_.size(); ++i)
        mapButtons_[i]->setChosen(static_cast<int>(i) + 1 == mapMode_);
    Rect listRect = listControl_->rect;
    Rect buttonRect = listButtons_[0]->rect;
    // The list starts below the buttons, or where they stand in the outlook.
    bool buttonsAbove = buttonRect.right > listRect.left;
    if (buttonsAbove) {
        int top = buttons ? buttonRect.bottom + 4 * ui::layoutUnit() : buttonRect.top;
        listControl_->place({listRect.left, top, listRect.right, listRect.bottom}, nullptr);
    } else {
        int left = buttons ? buttonRect.right + 4 * ui::layoutUnit() : buttonRect.left;
        listControl_->place({left, listRect.top, listRect.right, listRect.bottom}, nullptr);
    }
    chooseModeButton();
    settingFocus_ = false;
    invalidate(false);
}

void WeatherScreen::setMode(int mode) {
    mode = std::clamp(mode, 1, 4);
    if (mode == mode_)
        return;
    mode_ = mode;
    core::setIniNumber(kModeKey, mode_);
    core::saveIniFile();
    placeForMode();
    reload();
    if (mode_ == listMode::Maps && isActive)
        startLoop();
    else
        stopLoop();
}

void WeatherScreen::reload() {
    list_.reset();
    current_.reset();
    map_.reset();
    units_ = unitsFromSettings();
    code_ = favouriteField(worldtime::cityField::Code);
    region_ = mapRegionOf(favourites_.table(), code_);
    heading_->setText(favouriteTitle());
    if (mode_ == listMode::Maps)
        loadMap();
    else
        loadForecast();
    updateMenu();
    updateReadout();
    invalidate(false);
}

void WeatherScreen::loadForecast() {
    const std::wstring& mainPath = host_.mainPath();
    list_ = std::make_unique<WeatherData>(listKindOf(mode_), code_, units_, host_.downloadPath());
    int count = std::min(listRowCount(*list_, mode_), kMaxListRows);
    bool dayNames = core::settings::read(core::keys::OptWeatherDays) != 0;
    std::vector<ForecastRow> rows;
    for (int row = 1; row <= count; ++row) {
        ListRowTexts texts = listRowTexts(*list_, mode_, row, dayNames);
        std::wstring icon =
            mode_ == listMode::Outlook ? bandIconPath(texts.icon) : conditionIconPath(texts.icon);
        rows.push_back({mainPath + icon, std::move(texts.temperature), std::move(texts.label)});
    }
    listControl_->setEmptyText(emptyListText(mode_));
    listControl_->setRows(std::move(rows));
    if (mode_ != listMode::Outlook && count > 0)
        list_->setCurrentRow(1);
    loadCurrent();
    updateSummary();
}

void WeatherScreen::loadCurrent() {
    if (mode_ == listMode::Outlook) {
        panel_->setContent(L"", outlookPanelLines(*list_), false);
        return;
    }
    current_ =
        std::make_unique<WeatherData>(fileKind::Current, code_, units_, host_.downloadPath());
    current_->selectStation(readStationRow(code_));
    std::wstring icon = host_.mainPath() + conditionIconPath(current_->iconNumber());
    panel_->setContent(icon, currentPanelLines(*current_), !current_->noData());
}

void WeatherScreen::updateSummary() {
    int row = listControl_->currentRow();
    if (!list_ || row < 1) {
        summary_->setText(L"");
        return;
    }
    if (mode_ != listMode::Outlook)
        list_->setCurrentRow(row);
    summary_->setText(summaryLine(*list_, mode_, row));
    updateReadout();
}

void WeatherScreen::stepStation(int step) {
    if (!current_ || current_->noData() || current_->rowCount() < 1)
        return;
    int rows = current_->rowCount();
    int row = current_->currentRow() + step;
    if (row < 1)
        row = rows;
    else if (row > rows)
        row = 1;
    current_->setCurrentRow(row);
    writeStationRow(code_, row);
    std::wstring icon = host_.mainPath() + conditionIconPath(current_->iconNumber());
    panel_->setContent(icon, currentPanelLines(*current_), true);
    updateReadout();
}

void WeatherScreen::updateReadout() {
    if (!readout_)
        return;
    std::wstring text =
        L"mode " + std::to_wstring(mode_) + L"; busy " + std::to_wstring(busy_ ? 1 : 0) + L"; rows";
    for (const ForecastRow& row : listControl_->rows().rows())
        text += L" " + row.temperature + L" " + row.label + L",";
    text += L"; summary " + summary_->text() + L"; panel";
    for (const std::wstring& line : panel_->lines()) text += L" " + line + L".";
    if (mode_ == listMode::Maps)
        text += L"; map " + mapPanel_->text();
    readout_->text = std::move(text);
}

std::wstring WeatherScreen::favouriteField(int field) const {
    const core::RecordTable& favourites = favourites_.table();
    int row = favourites.currentRow();
    if (row < 1 || row > favourites.rowCount())
        return {};
    return std::wstring(favourites.fieldText(row, field));
}

std::wstring WeatherScreen::favouriteTitle() const {
    std::wstring name = favouriteField(worldtime::cityField::Name);
    std::wstring country = favouriteField(worldtime::cityField::Country);
    if (worldtime::showCountry() && !country.empty() && !name.empty())
        return name + L", " + country;
    return name;
}

void WeatherScreen::controlChanged(ui::Control& control) {
    if (&control == listControl_)
        updateSummary();
}

bool WeatherScreen::controlPressed(ui::Control& control) {
    // Enter on a mode button chooses it as its focus does.
    for (std::size_t i = 0; i < listButtons_.size(); ++i) {
        if (&control == listButtons_[i]) {
            if (i == 2)
                setFocusedControl(panel_, true);
            else
                setMode(static_cast<int>(i) + 1);
            return true;
        }
    }
    for (std::size_t i = 0; i < mapButtons_.size(); ++i) {
        if (&control == mapButtons_[i]) {
            setMapMode(static_cast<int>(i) + 1);
            return true;
        }
    }
    return false;
}

bool WeatherScreen::key(std::uint32_t message, std::uint32_t keyCode, LParam) {
    if (message != wm::KeyDown)
        return false;
    bool sideways = keyCode == vk::Left || keyCode == vk::Right;
    // In the loops, left and right step the frames by hand; up and down go between buttons.
    if (sideways && mode_ == listMode::Maps && currentPage == weatherPage::Maps && map_ &&
        isFrameKind(map_->kind())) {
        stepLoop(keyCode == vk::Right);
        return true;
    }
    // Elsewhere left and right on a button move on to the next region of the screen.
    if (sideways && dynamic_cast<ModeButton*>(focusedControl())) {
        moveFocus(keyCode == vk::Right);
        return true;
    }
    return false;
}

int WeatherScreen::requestMask() const {
    if (mode_ == listMode::Maps)
        return kMapsMask;
    if (mode_ == listMode::Outlook)
        return kOutlookMask;
    return kForecastMask;
}

void WeatherScreen::update(bool thisCityOnly) {
    if (core::isCommsRunning()) {
        // While the comms program works the command cancels it.
        if (!thisCityOnly) {
            core::cancelComms();
            request_.withdrawn();
        }
        updateMenu();
        return;
    }
    if (thisCityOnly && (code_.empty() || favouriteField(worldtime::cityField::Name).empty()))
        return;
    std::wstring line = thisCityOnly
                            ? core::formatText(L"/manual $$city%s$$%d", code_, requestMask())
                            : core::formatText(L"/manual %d", requestMask());
    if (core::sendCommsRequest(line))
        request_.sent();
    else
        core::showExclamation(core::languageString(text::NotStarted), host_.programName());
    updateMenu();
}

void WeatherScreen::deleteOldData() {
    if (code_.empty())
        return;
    auto ask = [this](int question) {
        return core::showMessageBox(core::languageString(question), host_.programName(),
                                    mb::YesNo | mb::IconQuestion) == id::Yes;
    };
    stopLoop();
    map_.reset();
    if (ask(text::AskDeleteFiles))
        deleteFiles(host_.downloadPath(), code_);
    if (ask(text::AskDeleteFrames))
        deleteFrames(host_.downloadPath(), region_);
    reload();
    if (mode_ == listMode::Maps && isActive)
        startLoop();
    core::settings::write(core::keys::OptHomeLayoutReload, 1);
}

void WeatherScreen::toggleTemperatureUnit() {
    bool celsius = core::settings::read(core::keys::OptTempFormat) == 1;
    core::settings::write(core::keys::OptTempFormat, celsius ? 2 : 1);
    reload();
    core::settings::write(core::keys::OptHomeLayoutReload, 1);
}

void WeatherScreen::toggleWindUnit() {
    bool miles = core::settings::read(core::keys::OptWindFormat) == 1;
    core::settings::write(core::keys::OptWindFormat, miles ? 2 : 1);
    reload();
    core::settings::write(core::keys::OptHomeLayoutReload, 1);
}

void WeatherScreen::toggleDayLabels() {
    bool dayNames = core::settings::read(core::keys::OptWeatherDays) != 0;
    core::settings::write(core::keys::OptWeatherDays, dayNames ? 0 : 1);
    reload();
}

bool WeatherScreen::command(std::uint32_t commandId, std::intptr_t) {
    if (isEditing()) {
        if (commandId == ui::command::LeftSoftKey || commandId == ui::command::RightSoftKey) {
            leaveEditState(commandId == ui::command::LeftSoftKey);
            return true;
        }
        return false;
    }
    switch (commandId) {
        case ui::command::LeftSoftKey:
            // The main menu covers the screen; the loop rests meanwhile.
            stopLoop();
            host_.showMainMenu(true);
            return true;
        case weatherCommand::Update:
            update(false);
            return true;
        case weatherCommand::UpdateCity:
            update(true);
            return true;
        case weatherCommand::Delete:
            deleteOldData();
            return true;
        case weatherCommand::TemperatureUnit:
            toggleTemperatureUnit();
            return true;
        case weatherCommand::WindUnit:
            toggleWindUnit();
            return true;
        case weatherCommand::DayLabels:
            toggleDayLabels();
            return true;
        case weatherCommand::City:
            host_.requestModuleLater(ui::moduleId::CityList);
            return true;
        case weatherCommand::EditUserMap:
            if (mode_ == listMode::Maps)
                enterEditState();
            return true;
        default:
            return false;
    }
}

bool WeatherScreen::commsMessage(WindowHandle, std::uint32_t, WParam wParam, LParam lParam) {
    bool known = request_.report(wParam, lParam);
    // Whoever asked, files may have changed when the comms program ends.
    if (wParam == core::commsReport::Ended) {
        reload();
        if (mode_ == listMode::Maps && isActive)
            startLoop();
    }
    updateMenu();
    return known;
}

void WeatherScreen::setBusy(bool busy) {
    if (busy == busy_)
        return;
    busy_ = busy;
    busyIndicator_->animate(busy, kBusyTimer, kBusyIntervalMs);
    updateMenu();
    updateReadout();
}

void WeatherScreen::timer(std::uintptr_t id) {
    if (id == kBusyTimer) {
        busyIndicator_->step();
        if (request_.withdrawIfGone())
            reload();
    } else if (id == kLoopTimer) {
        stepLoop(false);
    } else {
        ui::Module::timer(id);
    }
}

void WeatherScreen::startTimers() {
    if (core::isCommsRunning())
        setBusy(true);
    if (mode_ == listMode::Maps)
        startLoop();
    updateMenu();
}

void WeatherScreen::updateMenu() {
    auto item = [](std::uint16_t commandId, std::uint32_t string, bool checked = false) {
        ui::MenuEntry entry{Right, 0, commandId, string};
        entry.checked = checked;
        return entry;
    };
    bool running = busy_ || core::isCommsRunning();
    int updateText = mode_ == listMode::Maps      ? text::UpdateMaps
                     : mode_ == listMode::Outlook ? text::UpdateOutlook
                                                  : text::UpdateWeather;
    bool celsius = core::settings::read(core::keys::OptTempFormat) == 1;
    bool miles = core::settings::read(core::keys::OptWindFormat) == 1;
    bool dayNames = core::settings::read(core::keys::OptWeatherDays) != 0;
    std::array<ui::MenuEntry, 16> entries{};
    std::size_t n = 0;
    entries[n++] = {Left, SoftKey, ui::command::LeftSoftKey, text::Menu};
    entries[n++] = {Right, SoftKey, ui::command::RightSoftKey, text::Weather};
    entries[n++] = item(weatherCommand::Update,
                        static_cast<std::uint32_t>(running ? text::CancelUpdate : updateText));
    // Updating one city needs an idle comms program and a favourite with a name.
    if (!running && !code_.empty() && !favouriteField(worldtime::cityField::Name).empty())
        entries[n++] = item(weatherCommand::UpdateCity, text::UpdateCity);
    entries[n++] = item(weatherCommand::Delete, text::Delete);
    entries[n++] = item(ui::kSeparatorCommand, 0);
    if (mode_ == listMode::Maps)
        entries[n++] = item(weatherCommand::EditUserMap, text::EditUserMap);
    entries[n++] =
        item(weatherCommand::TemperatureUnit, celsius ? text::ShowFahrenheit : text::ShowCelsius);
    entries[n++] = item(weatherCommand::WindUnit, miles ? text::WindKilometres : text::WindMiles);
    if (mode_ == listMode::Daily)
        entries[n++] =
            item(weatherCommand::DayLabels, dayNames ? text::ShowDates : text::ShowDayNames);
    entries[n++] = item(ui::kSeparatorCommand, 0);
    entries[n++] = item(weatherCommand::City, text::Cities);
    if (n == menuSize_ && std::equal(entries.begin(), entries.begin() + n, menu_.begin()))
        return;
    menu_ = entries;
    menuSize_ = n;
    if (isActive && !isEditing() && !host_.isMainMenuOpen())
        host_.setMenuBar(menuEntries());
}

std::span<const ui::MenuEntry> WeatherScreen::menuEntries() const {
    if (isEditing())
        return kEditKeys;
    return {menu_.data(), menuSize_};
}

std::any WeatherScreen::saveState() const {
    return SavedState{isEditing(), source_ ? source_->text() : std::wstring(), request_.pending()};
}

void WeatherScreen::restoreState(const std::any& state) {
    const auto* saved = std::any_cast<SavedState>(&state);
    if (!saved)
        return;
    request_.carryOn(saved->pending);
    if (saved->editing && mode_ == listMode::Maps) {
        enterEditState();
        source_->setText(saved->source);
    }
}

}  // namespace weather
