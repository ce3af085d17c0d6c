// Drives the edit field's text model with arbitrary operations: typing, erasing, selecting,
// replacing, limits and modes, and lays the result out into lines. The caret and the
// selection must stay inside the text and off the middle of a line end, the limit must hold
// for typing, and the lines must cover the text in order.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/controls/edit_layout.h"
#include "platform/controls/edit_text.h"

namespace {

bool onLineEnd(const std::wstring& text, std::size_t at) {
    return at > 0 && at < text.size() && text[at - 1] == L'\r' && text[at] == L'\n';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace platform::controls;
    EditText e;
    std::size_t i = 0;
    auto next = [&]() -> std::uint8_t { return i < size ? data[i++] : 0; };
    while (i < size) {
        std::uint8_t op = next();
        std::size_t before = e.text().size();
        bool typed = false;
        switch (op % 9) {
            case 0: {
                std::wstring s;
                for (int n = next() % 8; n > 0; --n) s += static_cast<wchar_t>(next() % 0x90);
                typed = e.type(s);
                break;
            }
            case 1:
                e.erasePrevious();
                break;
            case 2:
                e.eraseNext();
                break;
            case 3:
                e.select(next(), next());
                break;
            case 4:
                e.moveCaret(next(), next() & 1);
                break;
            case 5:
                e.setLimit(next() % 40);
                break;
            case 6:
                e.setMultiline(next() & 1);
                break;
            case 7:
                e.setNumbersOnly(next() & 1);
                break;
            default:
                e.replaceSelection(L"x\r\ny");
                break;
        }
        const std::wstring& t = e.text();
        if (e.caret() > t.size() || e.anchor() > t.size())
            __builtin_trap();
        if (onLineEnd(t, e.caret()) || onLineEnd(t, e.anchor()))
            __builtin_trap();
        if (typed && e.limit() != 0 && t.size() > before && t.size() > e.limit())
            __builtin_trap();
        if (e.previousPosition(e.caret()) > e.caret())
            __builtin_trap();
    }
    // Lines in order, inside the text, at a few widths (one pixel a character).
    MeasureText measure = [](std::wstring_view s) { return static_cast<int>(s.size()); };
    for (int width : {1, 5, 40}) {
        auto lines = layoutLines(e.text(), true, width, measure);
        std::size_t last = 0;
        for (const auto& line : lines) {
            if (line.start < last || line.end < line.start || line.end > e.text().size()) {
                __builtin_trap();
            }
            last = line.end;
            positionAtX(e.text(), line, width / 2, measure);
        }
        lineOf(lines, e.caret());
    }
    return 0;
}
