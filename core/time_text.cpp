#include "core/time_text.h"

#include "platform/api/locale.h"

namespace core {

std::wstring withoutSeconds(std::wstring_view picture) {
    std::wstring out;
    std::size_t i = 0;
    while (i < picture.size()) {
        wchar_t c = picture[i];
        if (c == L'\'') {
            // Quoted literal text is copied as it stands, quotes included.
            std::size_t end = picture.find(L'\'', i + 1);
            end = end == std::wstring_view::npos ? picture.size() : end + 1;
            out.append(picture.substr(i, end - i));
            i = end;
            continue;
        }
        if (c == L's') {
            // Drop the separator written before the seconds (":" or "." and spaces).
            while (!out.empty() && out.back() != L'm' && out.back() != L'\'' &&
                   out.back() != L'h' && out.back() != L'H')
                out.pop_back();
            while (i < picture.size() && picture[i] == L's') ++i;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

std::wstring clockTimePicture(int format) {
    switch (format) {
        case timeFormat::TwelveHour:
            return L"h:mm tt";
        case timeFormat::TwentyFourHour:
            return L"HH:mm";
        default:
            return withoutSeconds(platform::timePicture());
    }
}

std::wstring clockTimeText(const platform::SystemTime& time, int format) {
    return platform::formatTime(time, clockTimePicture(format)).value_or(L"");
}

std::wstring shortDateText(const platform::SystemTime& time) {
    return platform::formatDate(time, platform::shortDatePicture()).value_or(L"");
}

}  // namespace core
