// The calendar program's command line: any text must be read or refused without a crash, and
// a line that is read names a real day.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/api/device.h"
#include "programs/poutlook/calendar_command.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring line =
        platform::fromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    const platform::SystemTime today{2027, 3, 0, 28, 0, 0, 0, 0};
    if (auto command = poutlook::parseCalendarCommand(line, today)) {
        const auto& d = command->date;
        if (d.month < 1 || d.month > 12 || d.day < 1 ||
            d.day > platform::daysInMonth(d.year, d.month))
            std::abort();
    }
    if (auto minutes = poutlook::parseClockTime(line)) {
        if (*minutes < 0 || *minutes >= 24 * 60)
            std::abort();
    }
    return 0;
}
