// The alarm program's command line, as the notification service (or anyone who starts the
// program) passes it: any text gives one of the commands, and a name only with the switches
// that carry one, never longer than the store keeps.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "alarmprogram/command_line.h"
#include "alarms/alarm_store.h"
#include "platform/api/device.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring line =
        platform::fromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    const auto parsed = alarmprogram::parseCommandLine(line);
    const bool named = parsed.command == alarmprogram::Command::Alarm ||
                       parsed.command == alarmprogram::Command::Snooze;
    if (!named && !parsed.alarmName.empty())
        std::abort();
    if (parsed.alarmName.size() > alarms::kMaxAlarmNameLength)
        std::abort();
    if (!parsed.alarmName.empty() && line.compare(7, std::wstring::npos, parsed.alarmName) != 0)
        std::abort();
    return 0;
}
