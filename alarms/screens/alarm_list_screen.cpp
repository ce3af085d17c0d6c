#include "alarms/screens/alarm_list_screen.h"

#include "alarms/screens/alarm_detail.h"
#include "alarms/screens/alarm_list.h"
#include "core/language.h"
#include "core/message_box.h"
#include "gfx/display_metrics.h"
#include "platform/api/shell.h"
#include "ui/module_ids.h"

namespace alarms {

using namespace platform;

namespace {

namespace text {
constexpr int Menu = 16, Back = 17, Options = 375, NewAlarm = 92, Edit = 93, Delete = 94,
              SkipOrOff = 95, DeleteQuestion = 96;
}

// Where the list and the panel go, in layout pixels: the panel below the list on portrait
// and square screens, beside it on landscape ones.
struct Places {
    Rect list;
    Rect detail;
};

Places placesForShape() {
    if (gfx::isLandscape())
        return {{2, 2, 186, 186}, {188, 2, 318, 186}};
    if (gfx::displayMetrics().isSquare)
        return {{2, 2, 238, 118}, {2, 120, 238, 186}};
    return {{2, 2, 238, 166}, {2, 168, 238, 266}};
}

}  // namespace

AlarmListScreen::AlarmListScreen(ui::ModuleHost& host, std::shared_ptr<AlarmScreensState> state)
    : ui::Module(host), host_(host), state_(std::move(state)) {}

AlarmListScreen::~AlarmListScreen() {
    if (host_.mainWindow())
        killTimer(host_.mainWindow(), kRefreshTimer);
    state_->readout.clear();
}

void AlarmListScreen::build() {
    Places places = placesForShape();
    auto list = std::make_unique<AlarmList>();
    list->id = alarmListId::List;
    list->setOptions({.enterOnRelease = true});
    list->onSelectionChange = [this](ui::ListControl&, int row) {
        state_->listRow = row;
        showDetail();
        refreshMenu();
        updateReadout();
    };
    list->onActivate = [this](ui::ListControl&, int row) {
        openEditor(row);
        return true;
    };
    list_ = static_cast<AlarmList*>(&addControl(std::move(list)));
    list_->place(gfx::scaleRect(places.list), nullptr);
    list_->show(true, false);

    auto detail = std::make_unique<AlarmDetailPanel>();
    detail->id = alarmListId::Detail;
    detail_ = static_cast<AlarmDetailPanel*>(&addControl(std::move(detail)));
    detail_->place(gfx::scaleRect(places.detail), nullptr);
    detail_->show(true, false);
    rebuildIdIndex();
    setFocusedControl(list_, false);
    refresh();
}

TimeTexts AlarmListScreen::timeTexts() const {
    return {[this](const SystemTime& t) { return host_.timeText(t); },
            [this](const SystemTime& t) { return host_.dateText(t); }};
}

void AlarmListScreen::refresh() {
    state_->store().reload();
    list_->setRows(alarmRows(state_->store(), timeTexts()));
    int row = std::clamp(state_->listRow, 1, list_->rowCount());
    list_->selectRow(row, false);
    state_->listRow = row;
    showDetail();
    refreshMenu();
    updateReadout();
}

void AlarmListScreen::showDetail() {
    detail_->setDetail(alarmDetail(state_->store(), list_->currentRow(), deviceLocalTime(),
                                   missedAlarms(), timeTexts()));
}

int AlarmListScreen::selectedAlarm() const {
    int row = list_->currentRow() - 1;
    return row >= 1 && row <= state_->store().rowCount() ? row : 0;
}

void AlarmListScreen::refreshMenu() {
    using ui::MenuEntry;
    namespace kind = ui::menuKind;
    namespace parent = ui::menuParent;
    int alarm = selectedAlarm();
    bool armed = alarm > 0 && state_->store().handle(alarm) != 0;
    menu_ = {
        {kind::Left, parent::SoftKey, ui::command::LeftSoftKey, text::Menu},
        {kind::Right, parent::SoftKey, ui::command::RightSoftKey, text::Options},
        {kind::Right, 0, alarmListCommand::New, text::NewAlarm},
        {kind::Right, 0, alarmListCommand::Edit, text::Edit},
        {kind::Right, 0, alarmListCommand::Delete, text::Delete},
        {kind::Right, 0, alarmListCommand::SkipOrOff, text::SkipOrOff},
        {kind::Right, 0, ui::kSeparatorCommand, 0},
        {kind::Right, 0, ui::command::Back, text::Back},
    };
    menu_[3].enabled = alarm > 0;
    menu_[4].enabled = alarm > 0;
    menu_[5].enabled = armed;
    if (isActive)
        host_.setMenuBar(menu_);
}

std::span<const ui::MenuEntry> AlarmListScreen::menuEntries() const {
    return menu_;
}

void AlarmListScreen::openEditor(int listRow) {
    int alarm = listRow - 1;
    if (alarm >= 1 && alarm <= state_->store().rowCount() &&
        state_->store().select(state_->store().name(alarm))) {
        state_->listRow = listRow;
    } else {
        state_->store().clearSelection();
        state_->listRow = 1;
    }
    // Posted: the switch destroys this screen, which is still on the stack.
    host_.requestModuleLater(ui::moduleId::AlarmEdit);
}

void AlarmListScreen::deleteSelected() {
    int alarm = selectedAlarm();
    if (alarm == 0)
        return;
    std::wstring name = state_->store().name(alarm);
    std::wstring question = core::languageString(text::DeleteQuestion) + name + L" ?";
    if (core::showMessageBox(question, host_.programName(), mb::YesNo | mb::IconQuestion) !=
        id::Yes) {
        return;
    }
    if (state_->store().select(name))
        state_->store().remove();
    refresh();
}

void AlarmListScreen::skipSelected() {
    int alarm = selectedAlarm();
    if (alarm == 0 || state_->store().handle(alarm) == 0)
        return;
    if (state_->store().select(state_->store().name(alarm)))
        state_->store().skipOrOff();
    refresh();
    invalidate(false);
}

bool AlarmListScreen::command(std::uint32_t commandId, std::intptr_t) {
    switch (commandId) {
        case ui::command::LeftSoftKey:
            host_.showMainMenu(true);
            return true;
        case alarmListCommand::New:
            openEditor(1);
            return true;
        case alarmListCommand::Edit:
            if (selectedAlarm() > 0)
                openEditor(list_->currentRow());
            return true;
        case alarmListCommand::Delete:
            deleteSelected();
            return true;
        case alarmListCommand::SkipOrOff:
            skipSelected();
            return true;
        default:
            return false;
    }
}

void AlarmListScreen::timer(std::uintptr_t id) {
    if (id != kRefreshTimer) {
        ui::Module::timer(id);
        return;
    }
    refresh();
    list_->invalidate();
}

void AlarmListScreen::startTimers() {
    setTimer(host_.mainWindow(), kRefreshTimer, kRefreshTimerMs);
}

void AlarmListScreen::updateReadout() {
    std::wstring text;
    const auto& rows = list_->rows().rows();
    for (std::size_t i = 1; i < rows.size(); ++i) {
        text += rows[i].time + L" " + rows[i].title + L" | " + rows[i].detail + L";\n";
    }
    text += L"selected " + std::to_wstring(list_->currentRow());
    for (const std::wstring& line : detail_->detail().lines) text += L"; " + line;
    state_->readout = text;
}

}  // namespace alarms
