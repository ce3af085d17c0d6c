#pragma once
// The stopwatch and countdown screen (modules 44 and 43): one module with two pages, the
// stopwatch with its laps and the four countdown counters with their presets. Counting
// lives in a CounterState that outlives the screen, so what runs keeps its time while the
// user is elsewhere; the screen brings it up to date on a 50 ms timer while anything runs,
// and while it is away a ticker of its own does so for the counters, so they ring on time.

#include <cstdint>
#include <memory>
#include <string>

#include "alarms/screens/counters_picker.h"
#include "alarms/screens/counters_ticker.h"
#include "alarms/sound_loop_player.h"
#include "alarms/timer_set.h"
#include "gfx/targa.h"
#include "ui/module.h"

namespace alarms {

// The counting timer of the screen.
constexpr std::uintptr_t kCounterTimer = 4110;
constexpr std::uint32_t kCounterTimerMs = 50;

namespace counterCommand {
constexpr std::uint32_t StartStop = 101, ResetStopwatch = 102, ResetCounter = 103, RunAll = 104,
                        ShowOne = 110, ShowFour = 113, KeepAwake = 117;
}

// What the screen keeps for the whole run of the program.
struct CounterState {
    TimerSet timers;
    SoundLoopPlayer player;
    // Counts while the screen is away; the host is the program's, for the whole run.
    CounterTicker ticker;
    ui::ModuleHost* host = nullptr;
    // Counter screens alive (a turn of the screen builds the new one before the old goes).
    int liveScreens = 0;
    bool ringing = false;
    bool loaded = false;
    int timerMessages = 0;
};

// A counter ran out: the alarm sound plays once and the screen stays lit until the user
// stops the ringing.
void ringCounters(CounterState& state);

enum class CounterPage { Stopwatch = 1, Counters = 2 };

// The present moment of the steady clock the counts run on, in milliseconds.
std::int64_t counterClockNow();

class CountersScreen final : public ui::Module {
  public:
    CountersScreen(ui::ModuleHost& host, std::shared_ptr<CounterState> state, CounterPage page);
    ~CountersScreen() override;

    void build() override;
    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;
    bool command(std::uint32_t commandId, std::intptr_t data) override;
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
    void pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;
    void timer(std::uintptr_t id) override;
    void startTimers() override;
    std::span<const ui::MenuEntry> menuEntries() const override;
    // A preset being edited and the ringing survive the screen being built again (a turn of
    // the screen).
    std::any saveState() const override;
    void restoreState(const std::any& state) override;

    CounterPage page() const { return page_; }
    const TimerSet& timers() const { return state_->timers; }
    bool ringing() const { return state_->ringing; }
    bool editing() const { return editing_; }
    const PresetPicker& picker() const { return picker_; }
    // Opens the picker on the selected counter's preset.
    void editPreset(int counter);
    void stopRinging();
    // One timer message: brings the counts up to date, rings for a counter that ran out.
    void tick();

    // Where taps land, for the page shown.
    platform::Rect startButton() const;
    platform::Rect resetButton() const;
    platform::Rect counterRow(int counter) const;
    platform::Rect digitCell(int place) const;
    platform::Rect stepArea(int place, bool up) const;

  private:
    void loadSettings();
    void loadPictures();
    void startStop();
    void confirmPreset();
    void ring();
    void runTimer(bool on);
    void refreshMenu();
    void keyReleased(std::uint32_t keyCode);
    bool counterKey(std::uint32_t keyCode);
    void counterTap(platform::Point point);
    platform::Rect contentRect() const;

    void paintHeading(platform::DeviceContext& dc, int stringNumber) const;
    void paintStopwatch(platform::DeviceContext& dc) const;
    void paintLaps(platform::DeviceContext& dc, const platform::Rect& area) const;
    void paintCounters(platform::DeviceContext& dc) const;
    void paintRinging(platform::DeviceContext& dc) const;
    void paintPicker(platform::DeviceContext& dc) const;

    ui::ModuleHost& host_;
    std::shared_ptr<CounterState> state_;
    CounterPage page_;
    PresetPicker picker_;
    bool editing_ = false;
    int editedCounter_ = 1;
    bool timerOn_ = false;
    std::uint32_t keyDown_ = 0;
    bool pointerDown_ = false;
    std::vector<ui::MenuEntry> menu_;
    gfx::TargaPixels startPicture_, stopPicture_, resetPicture_, upPicture_, downPicture_;
    platform::FontRef bigFont_;
    platform::FontRef rowFont_;
};

}  // namespace alarms
