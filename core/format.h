#pragma once
// printf-style formatting for language strings used as formats. The arguments carry their
// kind, and every conversion is checked against its argument: a conversion without a
// matching argument (wrong kind, or none left) is printed as its own text ("%d") instead of
// reading memory it should not, so a translated string with a wrong or extra conversion
// shows its mistake rather than crashing.
//
// Supported: %d %i %u %o %x %X (integers), %c %C (characters, or integers as code points),
// %s %S %ls %hs (text, wide or UTF-8), %f %F %e %E %g %G %a %A (numbers; integers are
// widened), %% ; flags "-+ 0#", width and precision as digits or "*", and the length
// modifiers h hh l ll L j z t q I I32 I64 w, which are accepted and ignored because the
// argument knows its own size. Width and precision are capped at kMaxFormatWidth.

#include <array>
#include <concepts>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace core {

constexpr int kMaxFormatWidth = 1024;

// Integers print as numbers; bool has no conversion, and the character types print as
// characters.
template <typename T>
concept FormatInteger = std::integral<T> && !std::same_as<T, bool> && !std::same_as<T, char> &&
                        !std::same_as<T, wchar_t>;

class FormatArg {
  public:
    enum class Kind { Signed, Unsigned, Real, Character, WideText, Utf8Text };

    template <FormatInteger T>
    FormatArg(T value)
        : kind_(std::is_signed_v<T> ? Kind::Signed : Kind::Unsigned),
          bits_(static_cast<int>(sizeof(T) * 8)) {
        if constexpr (std::is_signed_v<T>) {
            signed_ = value;
        } else {
            unsigned_ = value;
        }
    }
    template <std::floating_point T>
    FormatArg(T value) : kind_(Kind::Real), real_(static_cast<double>(value)) {}
    FormatArg(wchar_t c) : kind_(Kind::Character), unsigned_(static_cast<std::uint32_t>(c)) {}
    FormatArg(char c) : kind_(Kind::Character), unsigned_(static_cast<unsigned char>(c)) {}
    FormatArg(const wchar_t* text) : kind_(Kind::WideText), wide_(text ? text : L"(null)") {}
    FormatArg(std::wstring_view text) : kind_(Kind::WideText), wide_(text) {}
    FormatArg(const std::wstring& text) : kind_(Kind::WideText), wide_(text) {}
    FormatArg(const char* text) : kind_(Kind::Utf8Text), narrow_(text ? text : "(null)") {}
    FormatArg(std::string_view text) : kind_(Kind::Utf8Text), narrow_(text) {}
    FormatArg(const std::string& text) : kind_(Kind::Utf8Text), narrow_(text) {}

    Kind kind() const { return kind_; }
    int bits() const { return bits_; }
    std::int64_t signedValue() const { return signed_; }
    std::uint64_t unsignedValue() const { return unsigned_; }
    double realValue() const { return real_; }
    std::wstring_view wideText() const { return wide_; }
    std::string_view utf8Text() const { return narrow_; }

  private:
    Kind kind_;
    int bits_ = 64;
    std::int64_t signed_ = 0;
    std::uint64_t unsigned_ = 0;
    double real_ = 0;
    std::wstring_view wide_;
    std::string_view narrow_;
};

std::wstring formatTextList(std::wstring_view format, std::span<const FormatArg> args);

template <typename... Args>
std::wstring formatText(std::wstring_view format, const Args&... args) {
    const std::array<FormatArg, sizeof...(Args)> list{FormatArg(args)...};
    return formatTextList(format, list);
}

}  // namespace core
