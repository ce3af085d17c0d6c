#pragma once
// The date/time picker (layout type 8): a native "SysDateTimePick32" child window showing a
// time ("HH:mm", kind 1) or a long date with a drop-down month calendar (kind 2), starting at
// the device's local time. Its change notifications come back to this control, which tells
// the owner.

#include "platform/api/clock.h"
#include "ui/native_control.h"

namespace ui {

namespace pickerKind {
constexpr int Time = 1, Date = 2;
}

class DateTimePicker : public NativeControl {
  public:
    DateTimePicker(ModuleHost& host, int pickerKind);

    int pickerKind() const { return pickerKind_; }
    platform::SystemTime time() const;
    // False for a time that is not valid.
    bool setTime(const platform::SystemTime& time);
    // How many changes the picker has reported.
    int changeCount() const { return changes_; }
    // The date kind's drop-down month calendar is open (it has the keys meanwhile).
    bool calendarOpen() const;

    bool nativeNotify(const platform::NotifyHeader& header) override;

  protected:
    bool handsBack(std::uint32_t message, std::uint32_t keyCode) const override;

  private:
    int pickerKind_;
    int changes_ = 0;
};

}  // namespace ui
