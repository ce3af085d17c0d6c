#include "alarmprogram/ring_plan.h"

namespace alarmprogram {

RingPlan planRinging(const ParsedCommandLine& command,
                     const std::optional<alarms::AlarmRecord>& record,
                     const std::wstring& installFolder, const PreviewSettings& preview) {
    RingPlan plan;
    switch (command.command) {
        case Command::Alarm:
        case Command::Snooze:
            // An alarm that is not in the store shows an empty window and rings nothing.
            if (!record)
                break;
            plan.message =
                record->message.empty() ? std::wstring(kDefaultAlarmMessage) : record->message;
            plan.sound = record->soundPath;
            plan.volumeChoice = record->volume;
            plan.seconds = alarms::ringingSeconds(record->ringTime);
            plan.snoozeName = record->name;
            plan.snoozeMinutes = alarms::snoozeMinutes(record->snooze);
            break;
        case Command::Quick:
            plan.message = std::wstring(kQuickAlarmMessage);
            plan.sound = installFolder + std::wstring(kQuickAlarmSound);
            plan.volumeChoice = 0;
            plan.seconds = kQuickRingSeconds;
            plan.snoozeQuick = true;
            plan.snoozeMinutes = alarms::kQuickSnoozeMinutes;
            break;
        case Command::PlaySound:
            plan.sound = preview.sound;
            plan.volumeChoice = preview.volume;
            plan.seconds = kPreviewRingSeconds;
            break;
        case Command::Unknown:
            break;
    }
    return plan;
}

}  // namespace alarmprogram
