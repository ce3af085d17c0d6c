#include "alarms/screens/counters_screen.h"

#include <algorithm>
#include <chrono>
#include <string>

#include "alarms/backlight_hold.h"
#include "alarms/settings_keys.h"
#include "core/settings_file.h"
#include "core/settings_key.h"
#include "gfx/fonts.h"
#include "platform/api/clock.h"
#include "platform/api/power.h"
#include "ui/module_ids.h"

namespace alarms {

using namespace platform;

namespace {

// Every 21st timer message keeps the device from idling.
constexpr int kIdleResetEvery = 21;

constexpr int kMenuString = 16, kBackString = 17, kOptionsString = 672, kRunOneString = 148,
              kRunAllString = 149, kStopString = 150, kStartString = 151, kLapString = 155,
              kResetString = 750, kDoneString = 751, kOneCounterString = 752,
              kKeepAwakeString = 756, kCountersShownString = 757;

std::wstring presetKey(int counter) {
    return L"counter_time" + std::to_wstring(counter);
}

// A tick while the screen is away: a counter that ran out rings and brings its screen back.
void awayTick(CounterState& state) {
    if (state.timers.tick(counterClockNow()) > 0) {
        ringCounters(state);
        state.host->requestModuleLater(ui::moduleId::Countdown);
    }
    if (!state.timers.anyCounterRunning())
        state.ticker.stop();
}

}  // namespace

void ringCounters(CounterState& state) {
    state.ringing = true;
    state.player.play(state.host->mainPath() + L"sounds\\Alarm1.wav", -1, 0);
    holdBacklight(true);
}

std::int64_t counterClockNow() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steadyNow().time_since_epoch()).count();
}

CountersScreen::CountersScreen(ui::ModuleHost& host, std::shared_ptr<CounterState> state,
                               CounterPage page)
    : ui::Module(host), host_(host), state_(std::move(state)), page_(page) {
    state_->host = &host_;
    ++state_->liveScreens;
    state_->ticker.stop();
}

CountersScreen::~CountersScreen() {
    // A turn of the screen builds the new screen before this one goes: it owns the timer.
    bool last = --state_->liveScreens == 0;
    WindowHandle window = host_.mainWindow();
    if (last && window)
        killTimer(window, kCounterTimer);
    // The counts go on while the screen is away, and a counter that runs out then still
    // rings; a ringing alarm stops as the user leaves it.
    if (last && state_->ringing) {
        state_->ringing = false;
        holdBacklight(false);
        state_->player.stop();
    }
    if (last && window && isWindow(window) && state_->timers.anyCounterRunning()) {
        CounterState* state = state_.get();
        state_->ticker.start(window, kCounterTimerMs, [state] { awayTick(*state); });
    }
    gfx::deleteFont(bigFont_);
    gfx::deleteFont(rowFont_);
}

void CountersScreen::loadSettings() {
    if (state_->loaded)
        return;
    state_->loaded = true;
    TimerSet& timers = state_->timers;
    for (int i = 1; i <= kCounterCount; ++i)
        timers.setPreset(i, core::iniNumber(presetKey(i), i == 1 ? 10000 : 0));
    timers.setCounterNumber(core::iniNumber(L"counternumber", 2));
    if (core::readSetting(keys::CounterStopSleep.name, core::byteLimit::Number) == std::nullopt)
        core::settings::write(keys::CounterStopSleep, 1);
}

void CountersScreen::build() {
    loadSettings();
    loadPictures();
    bigFont_ = gfx::createFont(page_ == CounterPage::Stopwatch ? 26 : 20, gfx::FontWeightBold);
    rowFont_ = gfx::createFont(18, gfx::FontWeightBold);
    refreshMenu();
}

void CountersScreen::startTimers() {
    runTimer(state_->timers.anyRunning());
}

void CountersScreen::runTimer(bool on) {
    if (on == timerOn_ || !host_.mainWindow())
        return;
    timerOn_ = on;
    if (on)
        setTimer(host_.mainWindow(), kCounterTimer, kCounterTimerMs);
    else
        killTimer(host_.mainWindow(), kCounterTimer);
}

void CountersScreen::timer(std::uintptr_t id) {
    if (id == kCounterTimer) {
        tick();
        return;
    }
    ui::Module::timer(id);
}

void CountersScreen::tick() {
    if (++state_->timerMessages >= kIdleResetEvery) {
        state_->timerMessages = 0;
        if (core::settings::read(keys::CounterStopSleep) == 1)
            systemIdleTimerReset();
    }
    TimerSet& timers = state_->timers;
    if (timers.tick(counterClockNow()) > 0)
        ring();
    if (!timers.anyRunning()) {
        runTimer(false);
        refreshMenu();
    }
    invalidate(false);
}

void CountersScreen::ring() {
    ringCounters(*state_);
}

void CountersScreen::stopRinging() {
    state_->ringing = false;
    holdBacklight(false);
    state_->player.stop();
    command(counterCommand::ResetCounter, 0);
    invalidate(false);
}

void CountersScreen::startStop() {
    TimerSet& timers = state_->timers;
    std::int64_t now = counterClockNow();
    if (page_ == CounterPage::Stopwatch) {
        if (timers.slot(kStopwatchSlot).running)
            timers.stopStopwatch(now);
        else
            timers.startStopwatch(now);
    } else if (timers.anyCounterRunning()) {
        timers.stopCounter(now);
    } else {
        timers.startCounter(now);
    }
    runTimer(timers.anyRunning());
    refreshMenu();
    invalidate(false);
}

void CountersScreen::editPreset(int counter) {
    if (counter < 1 || counter > state_->timers.counterNumber())
        return;
    state_->timers.select(counter);
    editedCounter_ = counter;
    picker_.setValue(state_->timers.slot(counter).presetMs);
    editing_ = true;
    refreshMenu();
    invalidate(false);
}

void CountersScreen::confirmPreset() {
    editing_ = false;
    state_->timers.setPreset(editedCounter_, picker_.valueMs());
    core::setIniNumber(presetKey(editedCounter_), static_cast<int>(picker_.valueMs()));
    core::saveIniFile();
    refreshMenu();
    invalidate(false);
}

bool CountersScreen::command(std::uint32_t commandId, std::intptr_t) {
    TimerSet& timers = state_->timers;
    bool stopwatch = page_ == CounterPage::Stopwatch;
    switch (commandId) {
        case counterCommand::StartStop:
            startStop();
            return true;
        case counterCommand::ResetStopwatch:
            if (timers.anyRunning() || !timers.resetStopwatch())
                return true;
            break;
        case counterCommand::ResetCounter:
            if (timers.runAll()) {
                timers.resetCounters();
                state_->ringing = false;
                holdBacklight(false);
            } else {
                timers.resetCounter(timers.selected());
            }
            break;
        case counterCommand::RunAll:
            timers.setRunAll(!timers.runAll());
            break;
        case counterCommand::KeepAwake:
            core::settings::write(keys::CounterStopSleep,
                                  core::settings::read(keys::CounterStopSleep) == 1 ? 0 : 1);
            break;
        case ui::command::LeftSoftKey:
            if (stopwatch && timers.slot(kStopwatchSlot).running) {
                startStop();
            } else if (!stopwatch && editing_) {
                confirmPreset();
            } else {
                host_.showMainMenu(true);
            }
            return true;
        case ui::command::RightSoftKey:
            if (stopwatch)
                timers.lap(counterClockNow());
            break;
        case ui::command::Back:
            // Back closes the picker; otherwise the program goes back.
            if (!editing_)
                return false;
            editing_ = false;
            break;
        default:
            if (commandId >= counterCommand::ShowOne && commandId <= counterCommand::ShowFour) {
                timers.setCounterNumber(static_cast<int>(commandId - counterCommand::ShowOne) + 1);
                if (timers.counterNumber() < 2)
                    timers.setRunAll(false);
                core::setIniNumber(L"counternumber", timers.counterNumber());
                core::saveIniFile();
                break;
            }
            return false;
    }
    refreshMenu();
    invalidate(false);
    return true;
}

bool CountersScreen::key(std::uint32_t message, std::uint32_t keyCode, LParam) {
    bool ours = keyCode == vk::Left || keyCode == vk::Right || keyCode == vk::Return ||
                keyCode == vk::Up || keyCode == vk::Down;
    if (!ours)
        return false;
    // A key acts on its release, when its press came to this screen too.
    if (message == wm::KeyDown) {
        keyDown_ = keyCode;
    } else if (message == wm::KeyUp && keyDown_ == keyCode) {
        keyDown_ = 0;
        keyReleased(keyCode);
    }
    return true;
}

void CountersScreen::keyReleased(std::uint32_t keyCode) {
    if (keyCode == vk::Return && state_->ringing) {
        stopRinging();
        return;
    }
    if (page_ == CounterPage::Counters) {
        counterKey(keyCode);
        return;
    }
    TimerSet& timers = state_->timers;
    if (keyCode == vk::Left) {
        startStop();
    } else if (keyCode == vk::Right) {
        if (timers.slot(kStopwatchSlot).running)
            timers.lap(counterClockNow());
        else
            timers.resetStopwatch();
        refreshMenu();
        invalidate(false);
    }
}

bool CountersScreen::counterKey(std::uint32_t keyCode) {
    TimerSet& timers = state_->timers;
    if (editing_) {
        if (keyCode == vk::Up || keyCode == vk::Down)
            picker_.step(keyCode == vk::Up ? 1 : -1);
        else if (keyCode == vk::Left || keyCode == vk::Right)
            picker_.moveSelection(keyCode == vk::Right ? 1 : -1);
        else
            confirmPreset();
    } else if (keyCode == vk::Up || keyCode == vk::Down) {
        if (!timers.anyCounterRunning())
            timers.select(timers.selected() + (keyCode == vk::Down ? 1 : -1));
        refreshMenu();
    } else if (keyCode == vk::Return) {
        if (!timers.anyCounterRunning())
            editPreset(timers.selected());
    } else {
        startStop();
    }
    invalidate(false);
    return true;
}

void CountersScreen::pointer(std::uint32_t message, WParam, Point point) {
    // A tap acts on its release, when it began on this screen.
    if (message == wm::LButtonDown)
        pointerDown_ = true;
    if (message != wm::LButtonUp || !pointerDown_)
        return;
    pointerDown_ = false;
    if (state_->ringing) {
        stopRinging();
        return;
    }
    if (page_ == CounterPage::Counters) {
        counterTap(point);
        return;
    }
    if (startButton().contains(point))
        keyReleased(vk::Left);
    else if (resetButton().contains(point))
        keyReleased(vk::Right);
}

void CountersScreen::counterTap(Point point) {
    if (editing_) {
        for (int place = 0; place < PresetPicker::kDigits; ++place) {
            if (digitCell(place).contains(point)) {
                picker_.select(place);
            } else if (stepArea(place, true).contains(point)) {
                picker_.select(place);
                picker_.step(1);
            } else if (stepArea(place, false).contains(point)) {
                picker_.select(place);
                picker_.step(-1);
            }
        }
        invalidate(false);
        return;
    }
    if (state_->timers.anyCounterRunning())
        return;
    for (int counter = 1; counter <= state_->timers.counterNumber(); ++counter) {
        if (counterRow(counter).contains(point)) {
            editPreset(counter);
            return;
        }
    }
}

void CountersScreen::refreshMenu() {
    namespace kind = ui::menuKind;
    namespace parent = ui::menuParent;
    const TimerSet& timers = state_->timers;
    bool stopwatchRuns = timers.slot(kStopwatchSlot).running;
    bool awake = core::settings::read(keys::CounterStopSleep) == 1;
    menu_.clear();
    if (page_ == CounterPage::Stopwatch) {
        auto left = static_cast<std::uint32_t>(stopwatchRuns ? kStopString : kMenuString);
        menu_.push_back({kind::Left, parent::SoftKey, ui::command::LeftSoftKey, left});
        menu_.push_back({kind::Right, parent::SoftKey, ui::command::RightSoftKey, kOptionsString});
        if (stopwatchRuns) {
            menu_.push_back({kind::Right, 0, counterCommand::StartStop, kStopString});
            menu_.push_back({kind::Right, 0, ui::command::RightSoftKey, kLapString});
        } else {
            menu_.push_back({kind::Right, 0, counterCommand::StartStop, kStartString});
            if (!timers.anyRunning())
                menu_.push_back({kind::Right, 0, counterCommand::ResetStopwatch, kResetString});
        }
    } else {
        auto left = static_cast<std::uint32_t>(editing_ ? kDoneString : kMenuString);
        menu_.push_back({kind::Left, parent::SoftKey, ui::command::LeftSoftKey, left});
        menu_.push_back({kind::Right, parent::SoftKey, ui::command::RightSoftKey, kOptionsString});
        bool runs = timers.anyCounterRunning();
        menu_.push_back({kind::Right, 0, counterCommand::StartStop,
                         static_cast<std::uint32_t>(runs ? kStopString : kStartString)});
        menu_.push_back({kind::Right, 0, counterCommand::ResetCounter, kResetString});
        if (timers.counterNumber() >= 2) {
            menu_.push_back(
                {kind::Right, 0, counterCommand::RunAll,
                 static_cast<std::uint32_t>(timers.runAll() ? kRunOneString : kRunAllString)});
        }
        menu_.push_back({kind::Right, parent::RightSubMenu1, 0, kCountersShownString});
        for (int n = 1; n <= kCounterCount; ++n) {
            ui::MenuEntry entry{kind::Right, parent::RightSubMenu1Items,
                                static_cast<std::uint16_t>(counterCommand::ShowOne + n - 1),
                                static_cast<std::uint32_t>(kOneCounterString + n - 1)};
            entry.checked = n == timers.counterNumber();
            menu_.push_back(entry);
        }
    }
    menu_.push_back({kind::Right, 0, ui::kSeparatorCommand, 0});
    ui::MenuEntry keepAwake{kind::Right, 0, counterCommand::KeepAwake, kKeepAwakeString};
    keepAwake.checked = awake;
    menu_.push_back(keepAwake);
    menu_.push_back({kind::Right, 0, ui::command::Back, kBackString});
    if (isActive)
        host_.setMenuBar(menu_);
}

std::span<const ui::MenuEntry> CountersScreen::menuEntries() const {
    return menu_;
}

namespace {

struct EditState {
    bool ringing = false;
    bool editing = false;
    int counter = 1;
    PresetPicker picker;
};

}  // namespace

std::any CountersScreen::saveState() const {
    return EditState{state_->ringing, editing_, editedCounter_, picker_};
}

void CountersScreen::restoreState(const std::any& state) {
    const auto* edit = std::any_cast<EditState>(&state);
    if (!edit)
        return;
    // The old screen stopped the sound as it went; the message and the light stay.
    if (edit->ringing) {
        state_->ringing = true;
        holdBacklight(true);
        invalidate(false);
    }
    if (!edit->editing)
        return;
    editPreset(edit->counter);
    picker_ = edit->picker;
    invalidate(false);
}

}  // namespace alarms
