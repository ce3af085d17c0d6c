#pragma once
// The alarm list (module 41): every alarm with its time, name, state and repeat, and beside
// it the detail panel. The first row adds an alarm; a tap on a row, or Enter, opens the
// editor (module 42) for it. The Options menu adds, edits, deletes, and skips the pending
// occurrence of (or turns off) the selected alarm. A 5-second timer keeps states and the
// panel current.

#include <any>
#include <cstdint>
#include <memory>
#include <vector>

#include "alarms/screens/alarm_list.h"
#include "alarms/screens/alarm_screens_state.h"
#include "ui/module.h"

namespace alarms {

class AlarmList;
class AlarmDetailPanel;

namespace alarmListId {
constexpr int List = 1, Detail = 2;
}
namespace alarmListCommand {
constexpr std::uint32_t New = 120, Edit = 121, Delete = 122, SkipOrOff = 123;
}

class AlarmListScreen final : public ui::Module {
  public:
    AlarmListScreen(ui::ModuleHost& host, std::shared_ptr<AlarmScreensState> state);
    ~AlarmListScreen() override;

    void build() override;
    bool command(std::uint32_t commandId, std::intptr_t data) override;
    void timer(std::uintptr_t id) override;
    void startTimers() override;
    std::span<const ui::MenuEntry> menuEntries() const override;

    // Reads the store again and shows it; the selection stays on its row while it exists.
    void refresh();
    // Opens the editor for a list row (1 a new alarm).
    void openEditor(int listRow);
    // The selected alarm's row in the store, 0 for the new-alarm row.
    int selectedAlarm() const;

    AlarmList& list() const { return *list_; }
    AlarmDetailPanel& detail() const { return *detail_; }

  private:
    TimeTexts timeTexts() const;
    void showDetail();
    void refreshMenu();
    void deleteSelected();
    void skipSelected();
    void updateReadout();

    ui::ModuleHost& host_;
    std::shared_ptr<AlarmScreensState> state_;
    AlarmList* list_ = nullptr;
    AlarmDetailPanel* detail_ = nullptr;
    std::vector<ui::MenuEntry> menu_;
};

}  // namespace alarms
