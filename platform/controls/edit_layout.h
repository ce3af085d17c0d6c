#pragma once
// Where the text of an edit field goes: lines (wrapped at spaces in a multi-line field), the
// x position of a caret position, and the position nearest to a point. Widths come from a
// measuring function so the rules can be checked without fonts.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::controls {

using MeasureText = std::function<int(std::wstring_view)>;

struct EditLine {
    std::size_t start = 0;
    std::size_t end = 0;  // the line break (or the wrap point) is not part of the line
};

// A single-line field has one line with the whole text. A multi-line field breaks at "\r\n"
// and wraps words that do not fit into width; a word wider than the whole line is split.
std::vector<EditLine> layoutLines(const std::wstring& text, bool multiline, int width,
                                  const MeasureText& measure);

// The line holding a position (a position at a wrap point belongs to the next line).
std::size_t lineOf(const std::vector<EditLine>& lines, std::size_t position);

// The x offset of a position from the start of its line.
int xOfPosition(const std::wstring& text, const EditLine& line, std::size_t position,
                const MeasureText& measure);

// The position on a line nearest to x (measured from the start of the line).
std::size_t positionAtX(const std::wstring& text, const EditLine& line, int x,
                        const MeasureText& measure);

}  // namespace platform::controls
