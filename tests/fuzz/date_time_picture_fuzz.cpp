// Feeds arbitrary date/time pictures (what DTM_SETFORMAT hands the picker) to the picture
// parser, then formats and steps every field of the result on a time taken from the input.
// Parsing must lose no characters, and stepping must always leave a valid time.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/api/clock.h"
#include "platform/controls/date_time_fields.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace platform;
    if (size < 6)
        return 0;
    SystemTime t;
    t.year = static_cast<std::uint16_t>(1601 + (data[0] | (data[1] << 8)) % 8399);
    t.month = static_cast<std::uint16_t>(1 + data[2] % 12);
    t.day = static_cast<std::uint16_t>(1 + data[3] % daysInMonth(t.year, t.month));
    t.hour = static_cast<std::uint16_t>(data[4] % 24);
    t.minute = static_cast<std::uint16_t>(data[5] % 60);
    std::wstring picture;
    for (std::size_t i = 6; i + 1 < size && picture.size() < 256; i += 2) {
        picture += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    }
    auto fields = controls::parsePicture(picture);
    std::size_t letters = 0;
    for (const auto& f : fields) {
        letters += f.picture.size();
        controls::fieldText(f, t);
        for (int direction : {1, -1}) {
            SystemTime stepped = controls::stepField(t, f.kind, direction);
            if (!isValidSystemTime(stepped))
                __builtin_trap();
        }
        SystemTime typed = t;
        controls::setFieldNumber(typed, f.kind, static_cast<int>(letters % 3000));
        if (!isValidSystemTime(typed))
            __builtin_trap();
    }
    // Quotes are dropped (and '' becomes one), so the fields never hold more than the picture.
    if (letters > picture.size())
        __builtin_trap();
    return 0;
}
