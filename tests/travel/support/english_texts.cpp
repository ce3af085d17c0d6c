#include "tests/travel/support/english_texts.h"

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/api/device.h"

namespace travel::test {

TextSource englishTexts() {
    auto lines = std::make_shared<std::vector<std::wstring>>();
    std::ifstream in(VORN_SOURCE_DIR "/data/lang/lang.0409.mui.txt", std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (lines->empty() && line.rfind("\xEF\xBB\xBF", 0) == 0)
            line.erase(0, 3);
        lines->push_back(platform::fromUtf8(line));
    }
    return [lines](int number) {
        return number >= 1 && static_cast<std::size_t>(number) <= lines->size()
                   ? (*lines)[static_cast<std::size_t>(number) - 1]
                   : std::wstring(L"NotLoaded");
    };
}

platform::SystemTime at(int year, int month, int day, int hour, int minute) {
    platform::SystemTime t;
    t.year = static_cast<std::uint16_t>(year);
    t.month = static_cast<std::uint16_t>(month);
    t.day = static_cast<std::uint16_t>(day);
    t.dayOfWeek = static_cast<std::uint16_t>(platform::dayOfWeekOf(year, month, day));
    t.hour = static_cast<std::uint16_t>(hour);
    t.minute = static_cast<std::uint16_t>(minute);
    return t;
}

}  // namespace travel::test
