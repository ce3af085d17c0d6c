#pragma once
// The text of an edit field and the editing rules: caret and selection, the length limit, the
// read-only and number modes. Line ends are "\r\n" as the handheld stores them; the caret
// never stands between the two characters. No windows or pixels here.

#include <cstddef>
#include <string>
#include <string_view>

namespace platform::controls {

class EditText {
  public:
    const std::wstring& text() const { return text_; }
    // Replaces the whole text (not limited, as on the handheld); the caret goes to the start.
    void setText(std::wstring_view text);

    std::size_t caret() const { return caret_; }
    std::size_t anchor() const { return anchor_; }
    std::size_t selectionStart() const { return caret_ < anchor_ ? caret_ : anchor_; }
    std::size_t selectionEnd() const { return caret_ < anchor_ ? anchor_ : caret_; }
    bool hasSelection() const { return caret_ != anchor_; }
    // Selects anchor .. caret, both clamped to the text and moved off the middle of a line end.
    void select(std::size_t anchor, std::size_t caret);
    // Moves the caret; with extend the anchor stays, else the selection collapses.
    void moveCaret(std::size_t to, bool extend);
    // The position one character before or after, stepping over "\r\n" as one.
    std::size_t previousPosition(std::size_t at) const;
    std::size_t nextPosition(std::size_t at) const;

    // 0 means no limit.
    void setLimit(std::size_t limit) { limit_ = limit; }
    std::size_t limit() const { return limit_; }
    void setReadOnly(bool on) { readOnly_ = on; }
    bool readOnly() const { return readOnly_; }
    void setNumbersOnly(bool on) { numbersOnly_ = on; }
    bool numbersOnly() const { return numbersOnly_; }
    // Only digits, as the number style asks.
    void setDigitsOnly(bool on) { digitsOnly_ = on; }
    void setMultiline(bool on) { multiline_ = on; }

    // Typing: replaces the selection by the characters the modes allow. False when nothing
    // changed (read-only, rejected characters, the limit reached).
    bool type(std::wstring_view characters);
    // Replaces the selection without the typing filters but within the limit (EM_REPLACESEL).
    bool replaceSelection(std::wstring_view replacement);
    // Backspace and Delete: the selection, else one character before or after the caret.
    bool erasePrevious();
    bool eraseNext();

  private:
    bool accepts(wchar_t c) const;
    std::size_t clampPosition(std::size_t at) const;
    bool replace(std::wstring_view replacement);

    std::wstring text_;
    std::size_t caret_ = 0;
    std::size_t anchor_ = 0;
    std::size_t limit_ = 0;
    bool readOnly_ = false;
    bool numbersOnly_ = false;
    bool digitsOnly_ = false;
    bool multiline_ = false;
};

}  // namespace platform::controls
