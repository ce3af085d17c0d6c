#include "platform/controls/edit_text.h"

#include <algorithm>
#include <cwctype>

namespace platform::controls {

void EditText::setText(std::wstring_view text) {
    text_.assign(text);
    caret_ = anchor_ = 0;
}

std::size_t EditText::clampPosition(std::size_t at) const {
    at = std::min(at, text_.size());
    // Never between the two characters of a line end.
    if (at > 0 && at < text_.size() && text_[at - 1] == L'\r' && text_[at] == L'\n')
        --at;
    return at;
}

void EditText::select(std::size_t anchor, std::size_t caret) {
    anchor_ = clampPosition(anchor);
    caret_ = clampPosition(caret);
}

void EditText::moveCaret(std::size_t to, bool extend) {
    caret_ = clampPosition(to);
    if (!extend)
        anchor_ = caret_;
}

std::size_t EditText::previousPosition(std::size_t at) const {
    at = clampPosition(at);
    if (at == 0)
        return 0;
    if (at >= 2 && text_[at - 2] == L'\r' && text_[at - 1] == L'\n')
        return at - 2;
    return at - 1;
}

std::size_t EditText::nextPosition(std::size_t at) const {
    at = clampPosition(at);
    if (at >= text_.size())
        return text_.size();
    if (text_[at] == L'\r' && at + 1 < text_.size() && text_[at + 1] == L'\n')
        return at + 2;
    return at + 1;
}

bool EditText::accepts(wchar_t c) const {
    if (c == L'\r' || c == L'\n')
        return multiline_ && !numbersOnly_ && !digitsOnly_;
    if (c < 0x20 || c == 0x7F)
        return false;
    bool digit = c >= L'0' && c <= L'9';
    if (digitsOnly_)
        return digit;
    if (numbersOnly_)
        return digit || c == L'.' || c == L',' || c == L'-' || c == L'+';
    return true;
}

bool EditText::replace(std::wstring_view replacement) {
    std::size_t start = selectionStart();
    std::size_t end = selectionEnd();
    std::size_t newLength = text_.size() - (end - start) + replacement.size();
    if (limit_ != 0 && newLength > limit_ && newLength > text_.size()) {
        // Keep what fits, as the handheld does when typing meets the limit.
        std::size_t kept = text_.size() - (end - start);
        std::size_t room = limit_ > kept ? limit_ - kept : 0;
        replacement = replacement.substr(0, room);
        // A line end is never cut in half.
        if (!replacement.empty() && replacement.back() == L'\r')
            replacement.remove_suffix(1);
        if (replacement.empty() && start == end)
            return false;
    }
    text_.replace(start, end - start, replacement);
    caret_ = anchor_ = start + replacement.size();
    return true;
}

bool EditText::type(std::wstring_view characters) {
    if (readOnly_)
        return false;
    std::wstring allowed;
    wchar_t previous = 0;
    for (wchar_t c : characters) {
        // "\r\n", "\r" and "\n" each make one line end.
        bool secondHalf = c == L'\n' && previous == L'\r';
        previous = c;
        if (secondHalf)
            continue;
        if (c == L'\r' || c == L'\n') {
            if (accepts(c))
                allowed += L"\r\n";
            continue;
        }
        if (accepts(c))
            allowed += c;
    }
    if (allowed.empty())
        return false;
    return replace(allowed);
}

bool EditText::replaceSelection(std::wstring_view replacement) {
    if (replacement.empty() && !hasSelection())
        return false;
    return replace(replacement);
}

bool EditText::erasePrevious() {
    if (readOnly_)
        return false;
    if (!hasSelection()) {
        if (caret_ == 0)
            return false;
        anchor_ = previousPosition(caret_);
    }
    return replace({});
}

bool EditText::eraseNext() {
    if (readOnly_)
        return false;
    if (!hasSelection()) {
        if (caret_ >= text_.size())
            return false;
        anchor_ = nextPosition(caret_);
    }
    return replace({});
}

}  // namespace platform::controls
