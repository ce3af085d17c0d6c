#include "conversions/keypad_entry.h"

#include "conversions/unit_table.h"

namespace conversions {

namespace {

// The handheld reports its star and hash keys as F8 and F9.
constexpr std::uint32_t kStarKey = 0x77, kHashKey = 0x78;
constexpr std::uint32_t kBackKey = 0x08, kReturnKey = 0x0D, kDeleteKey = 46, kQuoteKey = 222;

}  // namespace

void KeypadEntry::open(std::wstring_view placeholder) {
    entry_.clear();
    placeholder_ = std::wstring(placeholder);
}

void KeypadEntry::append(wchar_t c) {
    if (entry_.size() < kMaxLength)
        entry_ += c;
}

KeypadOutcome KeypadEntry::press(KeypadKey key) {
    placeholder_ = L"0";
    switch (key) {
        case KeypadKey::Digit0:
            if (!entry_.empty())
                append(L'0');
            break;
        case KeypadKey::Point:
            if (entry_.find(L'.') == std::wstring::npos)
                append(L'.');
            break;
        case KeypadKey::Backspace:
            if (!entry_.empty())
                entry_.pop_back();
            break;
        case KeypadKey::Clear:
            entry_.clear();
            break;
        case KeypadKey::Sign:
            if (entry_.find(L'-') != std::wstring::npos)
                entry_.erase(0, 1);
            else if (!entry_.empty())
                entry_.insert(entry_.begin(), L'-');
            break;
        case KeypadKey::Done:
            return KeypadOutcome::Done;
        case KeypadKey::Cancel:
            return KeypadOutcome::Cancelled;
        default:
            append(static_cast<wchar_t>(L'0' + static_cast<int>(key)));
            break;
    }
    return KeypadOutcome::Edited;
}

std::optional<double> KeypadEntry::amount() const {
    if (entry_.empty())
        return std::nullopt;
    return parseAmount(entry_);
}

std::optional<KeypadKey> keypadKeyOf(std::uint32_t code, bool keyDown) {
    if (!keyDown) {
        // Typed characters: the digit keys already came as key-downs.
        if (code == L'*' || code == L'.')
            return KeypadKey::Point;
        if (code == L'#')
            return KeypadKey::Sign;
        return std::nullopt;
    }
    if (code >= L'0' && code <= L'9')
        return static_cast<KeypadKey>(code - L'0');
    switch (code) {
        case kBackKey:
            return KeypadKey::Backspace;
        case kReturnKey:
            return KeypadKey::Done;
        case kStarKey:
        case kDeleteKey:
        case kQuoteKey:
            return KeypadKey::Point;
        case kHashKey:
            return KeypadKey::Sign;
        default:
            return std::nullopt;
    }
}

}  // namespace conversions
