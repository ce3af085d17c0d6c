// Painting of the edit field.

#include "platform/controls/edit_state.h"

namespace platform::controls {
namespace {

constexpr Colour kTextColour = rgb(0, 0, 0);
constexpr Colour kFieldColour = rgb(255, 255, 255);
constexpr Colour kReadOnlyColour = rgb(236, 236, 236);
constexpr Colour kDisabledText = rgb(128, 128, 128);
constexpr Colour kBorderColour = rgb(110, 110, 110);
constexpr Colour kSelectionColour = rgb(51, 102, 204);
constexpr Colour kSelectionText = rgb(255, 255, 255);

void drawSegment(DeviceContext& dc, Edit& e, int x, int y, std::wstring_view s, bool selected,
                 Colour text) {
    std::wstring shown = (e.style & es::Password) ? std::wstring(s.size(), L'*') : std::wstring(s);
    if (selected) {
        dc.fillRect(rectOfSize(x, y, e.measure(s), e.lineHeight()), kSelectionColour);
        dc.setTextColour(kSelectionText);
    } else {
        dc.setTextColour(text);
    }
    dc.textOut(x, y, shown);
}

void drawLine(DeviceContext& dc, Edit& e, const EditLine& line, int x, int y, Colour text,
              bool showSelection) {
    const std::wstring& all = e.text.text();
    std::size_t selStart =
        showSelection ? std::clamp(e.text.selectionStart(), line.start, line.end) : line.end;
    std::size_t selEnd =
        showSelection ? std::clamp(e.text.selectionEnd(), line.start, line.end) : line.end;
    std::size_t cuts[4] = {line.start, selStart, selEnd, line.end};
    for (int i = 0; i < 3; ++i) {
        if (cuts[i + 1] <= cuts[i])
            continue;
        std::wstring_view part(all.data() + cuts[i], cuts[i + 1] - cuts[i]);
        int at = x + e.measure(std::wstring_view(all.data() + line.start, cuts[i] - line.start));
        drawSegment(dc, e, at, y, part, i == 1, text);
    }
}

}  // namespace

void paintEdit(Edit& e) {
    PaintSession session(e.window);
    DeviceContext& dc = session.dc();
    Rect client = clientRect(e.window);
    bool enabled = isWindowEnabled(e.window);
    Colour fill = e.text.readOnly() ? kReadOnlyColour : kFieldColour;
    dc.setTextColour(enabled ? kTextColour : kDisabledText);
    dc.setBackgroundColour(fill);
    LResult answer = 0;
    if (WindowHandle parent = parentWindow(e.window)) {
        answer = sendMessage(parent, wm::CtlColorEdit, reinterpret_cast<WParam>(&dc),
                             static_cast<LParam>(e.window));
    }
    Colour text = dc.textColour();
    if (auto brush = brushOfAnswer(answer)) {
        fill = *brush;
    } else {
        text = enabled ? kTextColour : kDisabledText;
    }
    dc.fillRect(client, fill);
    if (e.border())
        dc.frameRect(client, kBorderColour);

    Rect area = e.textArea();
    Rect outer = dc.clip();
    Rect textClip{area.left, e.border(), area.right, client.bottom - e.border()};
    dc.setClip(textClip.intersect(outer));
    dc.selectFont(e.font);
    dc.setBackgroundMode(BackgroundMode::Transparent);
    bool focused = focusWindow() == e.window;
    bool showSelection = focused || (e.style & es::NoHideSel);
    auto lines = e.lines();
    int h = e.lineHeight();
    int x0 = area.left - e.scrollX;
    if (!e.multiline()) {
        int width = e.measure(e.text.text());
        if (e.style & es::Center)
            x0 = area.left + std::max(0, (area.width() - width) / 2);
        if (e.style & es::Right)
            x0 = area.left + std::max(0, area.width() - width);
    }
    for (std::size_t i = e.firstLine; i < lines.size(); ++i) {
        int y = area.top + static_cast<int>(i - e.firstLine) * h;
        if (y >= area.bottom)
            break;
        drawLine(dc, e, lines[i], x0, y, text, showSelection);
    }
    if (focused && !e.text.hasSelection()) {
        std::size_t line = lineOf(lines, e.text.caret());
        if (line >= e.firstLine) {
            int x = x0 + xOfPosition(e.text.text(), lines[line], e.text.caret(), e.measurer());
            int y = area.top + static_cast<int>(line - e.firstLine) * h;
            dc.fillRect(rectOfSize(x, y, std::max(1, h / 14), h), text);
        }
    }
    dc.setClip(outer);
}

}  // namespace platform::controls
