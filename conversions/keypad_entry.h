#pragma once
// What the amount keypad holds while a person types: the entry text and the placeholder (the
// value of the row being edited, shown until the first key). Each key edits the entry; done
// reads it as a number, and an entry that is no number ("-", ".") converts nothing.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace conversions {

enum class KeypadKey {
    Digit0,
    Digit1,
    Digit2,
    Digit3,
    Digit4,
    Digit5,
    Digit6,
    Digit7,
    Digit8,
    Digit9,
    Point,
    Backspace,
    Clear,
    Sign,
    Done,
    Cancel
};

// What a key did to the keypad.
enum class KeypadOutcome { Edited, Done, Cancelled };

class KeypadEntry {
  public:
    // A longer entry would not fit the display and means nothing as an amount.
    static constexpr std::size_t kMaxLength = 15;

    void open(std::wstring_view placeholder);
    KeypadOutcome press(KeypadKey key);

    const std::wstring& entry() const { return entry_; }
    const std::wstring& placeholder() const { return placeholder_; }
    // What the display shows: the entry, or the placeholder while it is empty.
    const std::wstring& shown() const { return entry_.empty() ? placeholder_ : entry_; }
    // The entry as an amount after done; none when it is empty or no number.
    std::optional<double> amount() const;

  private:
    void append(wchar_t c);

    std::wstring entry_;
    std::wstring placeholder_;
};

// The keypad key of a hardware key: digits, Backspace, Enter as done, the star key (and "*",
// the virtual keys 46 and 222) as ".", the hash key as "+-". keyDown tells a key-down code
// from a typed character. None for any other key.
std::optional<KeypadKey> keypadKeyOf(std::uint32_t code, bool keyDown);

}  // namespace conversions
