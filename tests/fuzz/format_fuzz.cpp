// Formats arbitrary format strings with arbitrary argument lists: conversions that do not
// match their arguments must print as written, never crash or read what was not passed, and
// the output stays bounded.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/format.h"
#include "platform/api/device.h"

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

// Takes n bytes from the input, or fewer at its end.
struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::uint64_t take(std::size_t n) {
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < n && size; ++i, ++data, --size) v = (v << 8) | *data;
        return v;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in{data, size};
    const std::size_t count = in.take(1) % 8;
    std::vector<std::wstring> wide;
    std::vector<std::string> narrow;
    wide.reserve(count);
    narrow.reserve(count);
    std::vector<core::FormatArg> args;
    std::size_t textSizes = 0;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint64_t kind = in.take(1);
        std::uint64_t value = in.take(8);
        switch (kind % 9) {
            case 0:
                args.emplace_back(static_cast<int>(value));
                break;
            case 1:
                args.emplace_back(static_cast<long long>(value));
                break;
            case 2:
                args.emplace_back(static_cast<unsigned>(value));
                break;
            case 3:
                args.emplace_back(static_cast<std::uint64_t>(value));
                break;
            case 4: {
                double d;
                std::memcpy(&d, &value, sizeof d);  // NaN, infinities and huge values too
                args.emplace_back(d);
                break;
            }
            case 5:
                args.emplace_back(static_cast<wchar_t>(value & 0x7FFFFFFF));
                break;
            case 6:
                args.emplace_back(static_cast<char>(value));
                break;
            case 7:
                wide.push_back(std::wstring(value % 40, static_cast<wchar_t>(L'a' + value % 26)));
                textSizes += wide.back().size();
                args.emplace_back(wide.back());
                break;
            default:
                narrow.push_back(std::string(value % 40, '\xC3'));
                textSizes += narrow.back().size();
                args.emplace_back(narrow.back());
                break;
        }
    }
    std::wstring format =
        platform::fromUtf8(std::string_view(reinterpret_cast<const char*>(in.data), in.size));
    std::wstring out = core::formatTextList(format, args);
    // No conversion writes more than its capped width plus the longest number or text.
    std::size_t percents = static_cast<std::size_t>(std::count(format.begin(), format.end(), L'%'));
    check(out.size() <= format.size() + percents * (2 * core::kMaxFormatWidth + 400 + textSizes));
    return 0;
}
