#pragma once
// What a start of the alarm program rings: the message, the sound, its volume choice and for
// how long, and how long a snooze lasts. Decided from the command line and, for an alarm, its
// record in the store.

#include <optional>
#include <string>

#include "alarmprogram/command_line.h"
#include "alarms/alarm_record.h"

namespace alarmprogram {

// The message of an alarm without one, and of the quick alarm.
constexpr std::wstring_view kDefaultAlarmMessage = L"Vorn Roamer Alarm";
constexpr std::wstring_view kQuickAlarmMessage = L"Vorn Roamer Quick Set Alarm !";
constexpr std::wstring_view kQuickAlarmSound = L"alarm\\alarm_quicksetalarm.wav";
constexpr int kQuickRingSeconds = 300;
constexpr int kPreviewRingSeconds = 10;

// The sound preview's settings (AlarmSound, AlarmVol).
struct PreviewSettings {
    std::wstring sound;
    int volume = 1;
};

struct RingPlan {
    std::wstring message;
    std::wstring sound;  // empty: nothing rings
    int volumeChoice = 0;
    int seconds = 0;
    // The snooze notification: "/ALMSZ " + snoozeName, or the quick alarm's "/QUICK" when
    // snoozeQuick; no snooze at all when neither (nothing was found to ring).
    std::wstring snoozeName;
    bool snoozeQuick = false;
    int snoozeMinutes = 0;

    bool canSnooze() const { return snoozeQuick || !snoozeName.empty(); }
};

// record: the alarm the command line names, nothing when it is not in the store (or the store
// could not be read). installFolder ends with a backslash.
RingPlan planRinging(const ParsedCommandLine& command,
                     const std::optional<alarms::AlarmRecord>& record,
                     const std::wstring& installFolder, const PreviewSettings& preview);

}  // namespace alarmprogram
