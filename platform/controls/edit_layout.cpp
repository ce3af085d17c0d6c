#include "platform/controls/edit_layout.h"

#include <algorithm>

namespace platform::controls {
namespace {

// Breaks one paragraph (text without line ends) into lines that fit the width.
void wrapParagraph(const std::wstring& text, std::size_t start, std::size_t end, int width,
                   const MeasureText& measure, std::vector<EditLine>& out) {
    std::size_t lineStart = start;
    while (true) {
        std::wstring_view rest(text.data() + lineStart, end - lineStart);
        if (measure(rest) <= width || rest.size() <= 1) {
            out.push_back({lineStart, end});
            return;
        }
        // The longest prefix that fits, found by halving.
        std::size_t low = 1, high = rest.size();
        while (low < high) {
            std::size_t mid = (low + high + 1) / 2;
            if (measure(rest.substr(0, mid)) <= width) {
                low = mid;
            } else {
                high = mid - 1;
            }
        }
        std::size_t fit = low;
        // Prefer to break after the last space inside what fits; the space stays on the line.
        std::size_t space = rest.substr(0, fit + 1).find_last_of(L' ');
        std::size_t take = (space != std::wstring_view::npos && space > 0) ? space + 1 : fit;
        out.push_back({lineStart, lineStart + take});
        lineStart += take;
        if (lineStart >= end)
            return;
    }
}

}  // namespace

std::vector<EditLine> layoutLines(const std::wstring& text, bool multiline, int width,
                                  const MeasureText& measure) {
    std::vector<EditLine> lines;
    if (!multiline) {
        lines.push_back({0, text.size()});
        return lines;
    }
    std::size_t start = 0;
    while (true) {
        std::size_t lf = text.find(L'\n', start);
        std::size_t end = lf == std::wstring::npos ? text.size() : lf;
        std::size_t contentEnd = (end > start && text[end - 1] == L'\r') ? end - 1 : end;
        if (contentEnd == start) {
            lines.push_back({start, start});
        } else {
            wrapParagraph(text, start, contentEnd, std::max(1, width), measure, lines);
        }
        if (lf == std::wstring::npos)
            break;
        start = lf + 1;
    }
    return lines;
}

std::size_t lineOf(const std::vector<EditLine>& lines, std::size_t position) {
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (position < lines[i + 1].start)
            return i;
    }
    return lines.empty() ? 0 : lines.size() - 1;
}

int xOfPosition(const std::wstring& text, const EditLine& line, std::size_t position,
                const MeasureText& measure) {
    std::size_t at = std::clamp(position, line.start, line.end);
    return measure(std::wstring_view(text.data() + line.start, at - line.start));
}

std::size_t positionAtX(const std::wstring& text, const EditLine& line, int x,
                        const MeasureText& measure) {
    if (x <= 0)
        return line.start;
    int previous = 0;
    for (std::size_t at = line.start + 1; at <= line.end; ++at) {
        int right = measure(std::wstring_view(text.data() + line.start, at - line.start));
        if (x < right)
            return (x - previous) * 2 < right - previous ? at - 1 : at;
        previous = right;
    }
    return line.end;
}

}  // namespace platform::controls
