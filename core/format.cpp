#include "core/format.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "platform/api/device.h"

namespace core {
namespace {

struct Conversion {
    std::string flags;
    std::optional<int> width;      // negative from "*" means left-justified
    std::optional<int> precision;  // none when not given or negative from "*"
    bool widthFromArgument = false;
    bool precisionFromArgument = false;
    wchar_t type = 0;
};

bool isFlag(wchar_t c) {
    return c == L'-' || c == L'+' || c == L' ' || c == L'0' || c == L'#';
}
bool isDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

int readNumber(std::wstring_view format, std::size_t& i) {
    int value = 0;
    for (; i < format.size() && isDigit(format[i]); ++i) {
        value = std::min(value * 10 + (format[i] - L'0'), kMaxFormatWidth);
    }
    return value;
}

void skipLengthModifier(std::wstring_view format, std::size_t& i) {
    static constexpr std::wstring_view kLong[] = {L"I64", L"I32", L"hh", L"ll"};
    for (std::wstring_view m : kLong) {
        if (format.substr(i, m.size()) == m) {
            i += m.size();
            return;
        }
    }
    if (i < format.size() &&
        std::wstring_view(L"hlLjztqIw").find(format[i]) != std::wstring_view::npos) {
        ++i;
    }
}

// Parses the conversion after a "%" at format[i - 1]; i ends after the type character. No
// type when the format ends first.
Conversion parseConversion(std::wstring_view format, std::size_t& i) {
    Conversion c;
    while (i < format.size() && isFlag(format[i])) c.flags += static_cast<char>(format[i++]);
    if (i < format.size() && format[i] == L'*') {
        c.widthFromArgument = true;
        ++i;
    } else if (i < format.size() && isDigit(format[i])) {
        c.width = readNumber(format, i);
    }
    if (i < format.size() && format[i] == L'.') {
        ++i;
        if (i < format.size() && format[i] == L'*') {
            c.precisionFromArgument = true;
            ++i;
        } else {
            c.precision = readNumber(format, i);
        }
    }
    skipLengthModifier(format, i);
    if (i < format.size())
        c.type = format[i++];
    return c;
}

bool isInteger(const FormatArg& a) {
    return a.kind() == FormatArg::Kind::Signed || a.kind() == FormatArg::Kind::Unsigned ||
           a.kind() == FormatArg::Kind::Character;
}

std::int64_t asSigned(const FormatArg& a) {
    if (a.kind() == FormatArg::Kind::Signed)
        return a.signedValue();
    return static_cast<std::int64_t>(std::min<std::uint64_t>(a.unsignedValue(), INT64_MAX));
}

// The value as the argument's own unsigned type holds it, as %u and %x print it.
std::uint64_t asUnsigned(const FormatArg& a) {
    std::uint64_t v = a.kind() == FormatArg::Kind::Signed
                          ? static_cast<std::uint64_t>(a.signedValue())
                          : a.unsignedValue();
    return a.bits() >= 64 ? v : v & ((std::uint64_t{1} << a.bits()) - 1);
}

std::string printfSpec(const Conversion& c, std::string_view length, char type) {
    std::string spec = "%" + c.flags;
    if (c.width) {
        if (*c.width < 0)
            spec += '-';
        spec += std::to_string(std::min(std::abs(*c.width), kMaxFormatWidth));
    }
    if (c.precision)
        spec += "." + std::to_string(std::min(*c.precision, kMaxFormatWidth));
    spec += length;
    spec += type;
    return spec;
}

template <typename T>
void appendPrintf(std::wstring& out, const std::string& spec, T value) {
    char small[128];
    int n = std::snprintf(small, sizeof small, spec.c_str(), value);
    if (n < 0)
        return;
    std::string text;
    if (static_cast<std::size_t>(n) < sizeof small) {
        text.assign(small, static_cast<std::size_t>(n));
    } else {
        text.resize(static_cast<std::size_t>(n) + 1);
        std::snprintf(text.data(), text.size(), spec.c_str(), value);
        text.resize(static_cast<std::size_t>(n));
    }
    out.append(text.begin(), text.end());
}

void appendPadded(std::wstring& out, const Conversion& c, std::wstring_view text) {
    int width = c.width ? std::min(std::abs(*c.width), kMaxFormatWidth) : 0;
    bool left = (c.width && *c.width < 0) || c.flags.find('-') != std::string::npos;
    std::size_t pad = static_cast<std::size_t>(width) > text.size() ? width - text.size() : 0;
    if (!left)
        out.append(pad, L' ');
    out.append(text);
    if (left)
        out.append(pad, L' ');
}

wchar_t characterOf(const FormatArg& a) {
    std::uint64_t v = a.kind() == FormatArg::Kind::Signed
                          ? static_cast<std::uint64_t>(a.signedValue())
                          : a.unsignedValue();
    bool valid = v <= 0x10FFFF && !(v >= 0xD800 && v <= 0xDFFF);
    return valid ? static_cast<wchar_t>(v) : static_cast<wchar_t>(0xFFFD);
}

// Appends the converted argument; false when the argument does not suit the conversion.
bool convert(std::wstring& out, const Conversion& c, const FormatArg& a) {
    switch (c.type) {
        case L'd':
        case L'i':
            if (!isInteger(a))
                return false;
            appendPrintf(out, printfSpec(c, "ll", 'd'), static_cast<long long>(asSigned(a)));
            return true;
        case L'u':
        case L'o':
        case L'x':
        case L'X':
            if (!isInteger(a))
                return false;
            appendPrintf(out, printfSpec(c, "ll", static_cast<char>(c.type)),
                         static_cast<unsigned long long>(asUnsigned(a)));
            return true;
        case L'f':
        case L'F':
        case L'e':
        case L'E':
        case L'g':
        case L'G':
        case L'a':
        case L'A': {
            double v;
            if (a.kind() == FormatArg::Kind::Real) {
                v = a.realValue();
            } else if (a.kind() == FormatArg::Kind::Signed) {
                v = static_cast<double>(a.signedValue());
            } else if (a.kind() == FormatArg::Kind::Unsigned) {
                v = static_cast<double>(a.unsignedValue());
            } else {
                return false;
            }
            appendPrintf(out, printfSpec(c, "", static_cast<char>(c.type)), v);
            return true;
        }
        case L'c':
        case L'C': {
            if (!isInteger(a))
                return false;
            wchar_t ch = characterOf(a);
            // A NUL would end the text on the handheld; it prints nothing here either.
            appendPadded(out, c, ch ? std::wstring_view(&ch, 1) : std::wstring_view());
            return true;
        }
        case L's':
        case L'S': {
            std::wstring converted;
            std::wstring_view text;
            if (a.kind() == FormatArg::Kind::WideText) {
                text = a.wideText();
            } else if (a.kind() == FormatArg::Kind::Utf8Text) {
                converted = platform::fromUtf8(a.utf8Text());
                text = converted;
            } else {
                return false;
            }
            if (c.precision)
                text = text.substr(0, static_cast<std::size_t>(*c.precision));
            appendPadded(out, c, text);
            return true;
        }
        default:
            return false;
    }
}

bool isKnownType(wchar_t t) {
    return t != 0 && std::wstring_view(L"diuoxXfFeEgGaAcCsS").find(t) != std::wstring_view::npos;
}

}  // namespace

std::wstring formatTextList(std::wstring_view format, std::span<const FormatArg> args) {
    std::wstring out;
    out.reserve(format.size() + 16 * args.size());
    std::size_t next = 0;
    auto takeArgument = [&]() -> const FormatArg* {
        return next < args.size() ? &args[next++] : nullptr;
    };
    std::size_t i = 0;
    while (i < format.size()) {
        std::size_t start = i;
        std::size_t percent = format.find(L'%', i);
        if (percent == std::wstring_view::npos) {
            out.append(format.substr(i));
            break;
        }
        out.append(format.substr(start, percent - start));
        i = percent + 1;
        if (i < format.size() && format[i] == L'%') {
            out += L'%';
            ++i;
            continue;
        }
        Conversion c = parseConversion(format, i);
        std::wstring_view text = format.substr(percent, i - percent);
        // Unknown conversions (and %n, %p) print as written and take no argument.
        if (!isKnownType(c.type)) {
            out.append(text);
            continue;
        }
        bool ok = true;
        if (c.widthFromArgument) {
            const FormatArg* w = takeArgument();
            ok = w && isInteger(*w);
            if (ok)
                c.width = static_cast<int>(
                    std::clamp<std::int64_t>(asSigned(*w), -kMaxFormatWidth, kMaxFormatWidth));
        }
        if (c.precisionFromArgument) {
            const FormatArg* p = takeArgument();
            ok = ok && p && isInteger(*p);
            if (ok && asSigned(*p) >= 0)
                c.precision =
                    static_cast<int>(std::min<std::int64_t>(asSigned(*p), kMaxFormatWidth));
        }
        const FormatArg* value = takeArgument();
        if (!ok || !value || !convert(out, c, *value))
            out.append(text);
    }
    return out;
}

}  // namespace core
