#include "worldtime/screens/dial_code_list.h"

#include "core/format.h"
#include "core/language.h"
#include "ui/control_paint.h"
#include "ui/keypad_letters.h"
#include "worldtime/dial_codes.h"

namespace worldtime {

using namespace platform;

namespace {

constexpr int kGroupCount = 10;
constexpr int kRowHeight = 34;  // layout pixels
constexpr Colour kSeparatorColour = 0xE0E0E0;
constexpr Colour kSecondaryTextColour = 0x505050;
constexpr std::uint32_t kLine = dt::SingleLine | dt::NoPrefix | dt::EndEllipsis | dt::VCenter;
constexpr int kCallingCodeString = 255, kExitPrefixString = 256;

// What a group's cell shows: its letters ("yzz" holds y and z), "all" for the last.
std::wstring_view groupLabel(int group) {
    if (group == kAllLettersGroup)
        return L"all";
    return dialLetterGroup(group);
}

}  // namespace

LetterGroupBar::LetterGroupBar() {
    isFocusable = false;
}

bool LetterGroupBar::setGroup(int group) {
    if (group < 1 || group > kGroupCount)
        return false;
    if (group != group_) {
        group_ = group;
        invalidate();
    }
    return true;
}

Rect LetterGroupBar::cellRect(int group) const {
    int width = rect.width();
    int left = rect.left + width * (group - 1) / kGroupCount;
    int right = rect.left + width * group / kGroupCount;
    return Rect{left, rect.top, right, rect.bottom};
}

void LetterGroupBar::paint(DeviceContext& dc, const Rect& invalid) {
    if (!isVisible || !rect.intersects(invalid))
        return;
    const gfx::Theme& t = theme();
    int unit = ui::layoutUnit();
    for (int group = 1; group <= kGroupCount; ++group) {
        Rect cell = cellRect(group);
        Rect face{cell.left + unit, cell.top + unit, cell.right - unit, cell.bottom - unit};
        bool chosen = group == group_;
        if (chosen) {
            dc.fillRect(face, t.mainColour);
        } else {
            ui::drawButtonFace(dc, face, t, false);
        }
        ui::drawClippedText(dc, groupLabel(group), face, dt::Center | kLine,
                            chosen ? t.selectedTextColour : ui::kPanelTextColour,
                            ui::smallFont(chosen));
    }
}

bool LetterGroupBar::pointer(std::uint32_t message, WParam, Point point) {
    if (!rect.contains(point))
        return false;
    if (message == wm::LButtonDown) {
        for (int group = 1; group <= kGroupCount; ++group) {
            if (cellRect(group).contains(point)) {
                if (onChoose)
                    onChoose(group);
                break;
            }
        }
    }
    return true;
}

DialCodeList::DialCodeList() {
    isFocusable = true;
}

int DialCodeList::rowHeight() const {
    return kRowHeight * ui::layoutUnit();
}

bool DialCodeList::key(std::uint32_t message, std::uint32_t keyCode, LParam flags) {
    if (keyCode == vk::Left || keyCode == vk::Right) {
        if (message == wm::KeyDown && onGroupStep)
            onGroupStep(keyCode == vk::Right ? 1 : -1);
        return true;
    }
    if (onInitial && message == wm::KeyDown) {
        if (keyCode >= vk::Digit0 && keyCode <= vk::Digit0 + 9) {
            onInitial(ui::keypadCharacter(static_cast<int>(keyCode - vk::Digit0)));
            return true;
        }
        if (keyCode >= vk::LetterA && keyCode <= vk::LetterA + 25) {
            ui::resetKeypadDigit();
            onInitial(static_cast<wchar_t>(L'a' + (keyCode - vk::LetterA)));
            return true;
        }
    }
    return ui::LetterList::key(message, keyCode, flags);
}

void DialCodeList::drawRow(DeviceContext& dc, const Rect& line, int row, bool current) {
    const core::RecordTable* rows = table();
    if (!rows || row < 1 || row > rows->rowCount())
        return;
    const gfx::Theme& t = theme();
    int unit = ui::layoutUnit();
    if (current) {
        dc.fillRect(line, t.mainColour);
    } else {
        dc.fillRect(Rect{line.left + 4 * unit, line.bottom - 1, line.right - 4 * unit, line.bottom},
                    kSeparatorColour);
    }
    Colour main = current ? t.selectedTextColour : ui::kPanelTextColour;
    Colour secondary = current ? t.selectedTextColour : kSecondaryTextColour;
    int middle = line.top + line.height() / 2;
    Rect name{line.left + 4 * unit, line.top + unit, line.right - 4 * unit, middle};
    ui::drawClippedText(dc, rows->fieldText(row, dialField::Country), name, dt::Left | kLine, main,
                        ui::smallFont(true));
    Rect codes{name.left, middle, name.right, line.bottom - unit};
    std::wstring calling = core::formatText(core::languageString(kCallingCodeString),
                                            rows->fieldText(row, dialField::CallingCode));
    std::wstring exit = core::formatText(core::languageString(kExitPrefixString),
                                         rows->fieldText(row, dialField::ExitPrefix));
    ui::drawClippedText(dc, calling, codes, dt::Left | kLine, secondary, ui::smallFont());
    ui::drawClippedText(dc, exit, codes, dt::Right | kLine, secondary, ui::smallFont());
}

}  // namespace worldtime
