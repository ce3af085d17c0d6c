#pragma once
// The detail panel beside the alarm list: with the new-alarm row selected, the alarm that
// rings next (or "No alarm is set."); with an alarm selected, that alarm: its time, name,
// message, when it rings, its city, and when it last rang while the device could not ring it.

#include <string>
#include <vector>

#include "alarms/alarm_store.h"
#include "alarms/screens/alarm_list.h"
#include "platform/api/draw.h"
#include "ui/control.h"

namespace alarms {

struct AlarmDetail {
    std::wstring time;                // large; empty when no alarm is described
    std::vector<std::wstring> lines;  // below it, in order
};

// listRow counts as the list does: 1 the new-alarm row, N + 1 alarm N.
AlarmDetail alarmDetail(const AlarmStore& store, int listRow, const platform::SystemTime& now,
                        const std::vector<MissedAlarm>& missed, const TimeTexts& texts);

class AlarmDetailPanel final : public ui::Control {
  public:
    AlarmDetailPanel();
    ~AlarmDetailPanel() override;

    void setDetail(AlarmDetail detail);
    const AlarmDetail& detail() const { return detail_; }

    void place(const platform::Rect& rect, platform::DeviceContext* dc) override;
    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;

  private:
    AlarmDetail detail_;
    platform::FontRef clockFont_;
};

}  // namespace alarms
