#pragma once
// The alarm editor (module 42): one alarm field by field. The repeat kind decides which of
// the date, the day boxes, the day of the month and the month apply; the sound can be heard
// through the ringing player before saving. Save (left soft key) checks the time and the
// days and the name, writes and arms the alarm and returns to the list; Cancel returns
// without storing anything.

#include <any>
#include <cstdint>
#include <memory>

#include "alarms/alarm_record.h"
#include "alarms/screens/alarm_screens_state.h"
#include "ui/module.h"

namespace ui {
class DropDown;
class EditField;
class DateTimePicker;
class TextButton;
}  // namespace ui

namespace alarms {

class AlarmPlayer;
class DayBoxes;
class EditorScrollBar;

// Why the editor refused to save.
enum class EditorRefusal { None, PastOrNoDays, DuplicateName, InvalidName, NotStored };

class AlarmEditorScreen final : public ui::Module {
  public:
    AlarmEditorScreen(ui::ModuleHost& host, std::shared_ptr<AlarmScreensState> state);
    ~AlarmEditorScreen() override;

    void build() override;
    bool command(std::uint32_t commandId, std::intptr_t data) override;
    void controlChanged(ui::Control& control) override;
    bool controlPressed(ui::Control& control) override;
    void timer(std::uintptr_t id) override;
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
    void scrollBy(int dy) override;
    void show(bool visible, bool focusFirst) override;
    std::span<const ui::MenuEntry> menuEntries() const override;
    std::any saveState() const override;
    void restoreState(const std::any& state) override;

    // True when the editor adds an alarm rather than changing one.
    bool isNew() const { return isNew_; }
    // The record as the controls describe it.
    AlarmRecord collect() const;
    // Shows a record in every control.
    void fill(const AlarmRecord& record);
    // The repeat kind's effect on the other controls (also applied when the list changes).
    void applyKind(int kind);
    // Checks, stores and arms the alarm, then returns to the list; the refusal shown when not.
    EditorRefusal save();
    void cancel();
    // Starts or stops the sound preview.
    void togglePreview();
    bool previewPlaying() const;

    ui::DropDown* list(int id) const;
    DayBoxes& days() const { return *days_; }

  private:
    void fillLists();
    int selection(int id) const;
    void select(int id, int row);
    // The alarm's moment for a one-off alarm, in device time; nothing when it is not a real
    // moment.
    std::optional<platform::SystemTime> oneOffMoment(const AlarmRecord& record) const;
    bool timeAndDaysAccepted(const AlarmRecord& record) const;
    void stopPreview();
    void placeScrollBar();
    void returnToList();

    ui::ModuleHost& host_;
    std::shared_ptr<AlarmScreensState> state_;
    bool isNew_ = true;
    std::wstring editedName_;
    DayBoxes* days_ = nullptr;
    EditorScrollBar* scrollBar_ = nullptr;
    int contentHeight_ = 0;
    std::unique_ptr<AlarmPlayer> player_;
    bool previewing_ = false;
};

}  // namespace alarms
