#include "commsprogram/request_line.h"

#include <cwctype>

#include "weather/weather_files.h"

namespace commsprogram {
namespace {

std::wstring_view trim(std::wstring_view text) {
    while (!text.empty() && std::iswspace(text.front())) text.remove_prefix(1);
    while (!text.empty() && std::iswspace(text.back())) text.remove_suffix(1);
    return text;
}

// A decimal mask of at most eight digits; nothing for anything else.
std::optional<int> parseMask(std::wstring_view text) {
    text = trim(text);
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    int value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + (c - L'0');
    }
    return value & maskBit::All;
}

// Takes "--replay DIR" out of the line; DIR runs to the end of the line or the next " /".
std::wstring takeReplay(std::wstring& line) {
    constexpr std::wstring_view kOption = L"--replay ";
    std::size_t at = line.find(kOption);
    if (at == std::wstring::npos)
        return {};
    std::size_t start = at + kOption.size();
    std::size_t end = line.find(L" /", start);
    std::wstring folder(trim(std::wstring_view(line).substr(start, end - start)));
    line.erase(at, (end == std::wstring::npos ? line.size() : end) - at);
    return folder;
}

}  // namespace

std::optional<Request> parseRequest(std::wstring_view text) {
    if (text.size() > 1024)
        return std::nullopt;
    std::wstring line(text);
    Request request;
    request.replay = takeReplay(line);
    std::wstring_view rest = trim(line);
    if (rest.empty() || rest == L"AppRunAtRs232Detect") {
        request.kind = RequestKind::Docking;
        return request;
    }
    auto verb = [&](std::wstring_view name) {
        if (rest.substr(0, name.size()) != name)
            return false;
        std::wstring_view after = rest.substr(name.size());
        if (!after.empty() && !std::iswspace(after.front()) && after.front() != L'$')
            return false;
        rest = trim(after);
        return true;
    };
    if (verb(L"/citylookup")) {
        request.kind = RequestKind::CityLookup;
    } else if (verb(L"/currency")) {
        request.kind = RequestKind::Currency;
    } else if (verb(L"/flighthistory")) {
        request.kind = RequestKind::FlightHistory;
    } else if (verb(L"/schedule")) {
        request.kind = RequestKind::Schedule;
    } else if (verb(L"/retry")) {
        request.kind = RequestKind::Retry;
    } else if (verb(L"/manual")) {
        request.kind = RequestKind::Weather;
        constexpr std::wstring_view kCity = L"$$city";
        if (rest.substr(0, kCity.size()) == kCity) {
            std::size_t end = rest.find(L"$$", kCity.size());
            if (end == std::wstring_view::npos)
                return std::nullopt;
            std::wstring code(trim(rest.substr(kCity.size(), end - kCity.size())));
            if (!weather::isSafeKey(code))
                return std::nullopt;
            request.city = code;
            rest = rest.substr(end + 2);
        }
        std::optional<int> mask = parseMask(rest);
        if (!mask)
            return std::nullopt;
        request.mask = *mask;
        return request;
    } else {
        return std::nullopt;
    }
    if (!rest.empty())
        return std::nullopt;
    return request;
}

}  // namespace commsprogram
