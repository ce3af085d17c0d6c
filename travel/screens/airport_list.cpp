#include "travel/screens/airport_list.h"

#include <algorithm>

#include "core/format.h"
#include "core/language.h"
#include "gfx/drawing.h"
#include "travel/airline_table.h"
#include "travel/airport_codes.h"
#include "ui/control_paint.h"
#include "ui/keypad_letters.h"

namespace travel {

using namespace platform;

namespace {

constexpr int kRowHeight = 32;  // layout pixels
constexpr int kCodeWidth = 34;
constexpr int kDetailLineHeight = 16;
constexpr int kDetailLabelWidth = 58;
constexpr Colour kSeparatorColour = 0xE0E0E0;
constexpr Colour kSecondaryTextColour = 0x505050;
constexpr Colour kDetailBackground = 0xF4F4F4;
constexpr std::uint32_t kLine = dt::SingleLine | dt::NoPrefix | dt::EndEllipsis | dt::VCenter;
constexpr int kRowNumberString = 223;
constexpr std::size_t kMaxTyped = 40;

}  // namespace

void AirportRowsModel::set(const core::RecordTable* all, std::vector<int> rows, int field) {
    all_ = all;
    rows_ = std::move(rows);
    field_ = field;
    current_ = rows_.empty() ? 0 : std::clamp(current_, 1, rowCount());
    rowsChanged();
}

int AirportRowsModel::tableRow(int row) const {
    if (!all_ || row < 1 || row > rowCount())
        return 0;
    return rows_[static_cast<std::size_t>(row - 1)];
}

std::wstring_view AirportRowsModel::field(int row, int column) const {
    int number = tableRow(row);
    return number == 0 ? std::wstring_view() : all_->fieldText(number, column);
}

std::wstring AirportRowsModel::rowText(int row) const {
    return std::wstring(field(row, field_));
}

void AirportRowsModel::setCurrentRow(int row) {
    if (row >= 0 && row <= rowCount())
        current_ = row;
}

AirportList::AirportList() {
    isFocusable = true;
}

void AirportList::setMode(CodesMode mode, int sortField) {
    mode_ = mode;
    sortField_ = sortField;
    typed_.clear();
    invalidate();
}

void AirportList::showRows(AirportRowsModel* rows) {
    rows_ = rows;
    setModel(rows);
}

int AirportList::rowHeight() const {
    return kRowHeight * ui::layoutUnit();
}

bool AirportList::key(std::uint32_t message, std::uint32_t keyCode, LParam flags) {
    if (keyCode == vk::Left || keyCode == vk::Right) {
        if (message == wm::KeyDown && onTabStep)
            onTabStep(keyCode == vk::Right ? 1 : -1);
        return true;
    }
    const bool digit = keyCode >= vk::Digit0 && keyCode <= vk::Digit0 + 9;
    const bool letter = keyCode >= vk::LetterA && keyCode <= vk::LetterA + 25;
    if (message == wm::KeyDown && onTyped && (digit || letter)) {
        if (digit) {
            // A digit stands for one letter of its group; pressing it again steps on.
            typed_.clear();
            wchar_t c = ui::keypadLetter(static_cast<int>(keyCode - vk::Digit0));
            if (c != 0)
                typed_ = c;
        } else {
            // Keyboard letters typed one after another narrow the jump: "zur" finds Zürich.
            ui::resetKeypadDigit();
            if (typed_.size() >= kMaxTyped)
                typed_.clear();
            typed_ += static_cast<wchar_t>(L'a' + (keyCode - vk::LetterA));
        }
        if (!typed_.empty())
            onTyped(typed_);
        return true;
    }
    if (message == wm::KeyDown && !digit && !letter) {
        typed_.clear();
        ui::resetKeypadDigit();
    }
    if (digit || letter)
        return true;
    return ui::LetterList::key(message, keyCode, flags);
}

void AirportList::drawRow(DeviceContext& dc, const Rect& line, int row, bool current) {
    const AirportRowsModel* rows = rows_;
    if (!rows || rows->tableRow(row) == 0)
        return;
    const gfx::Theme& t = theme();
    const int unit = ui::layoutUnit();
    if (current) {
        dc.fillRect(line, t.mainColour);
    } else {
        dc.fillRect(Rect{line.left + 4 * unit, line.bottom - 1, line.right - 4 * unit, line.bottom},
                    kSeparatorColour);
    }
    const Colour main = current ? t.selectedTextColour : ui::kPanelTextColour;
    const Colour secondary = current ? t.selectedTextColour : kSecondaryTextColour;
    const int middle = line.top + line.height() / 2;
    Rect top{line.left + 4 * unit, line.top + unit, line.right - 4 * unit, middle};
    Rect bottom{top.left, middle, top.right, line.bottom - unit};
    const std::wstring number = core::formatText(core::languageString(kRowNumberString), row);

    if (mode_ == CodesMode::Airlines) {
        ui::drawClippedText(dc, rows->field(row, airlineField::Name), top, dt::Left | kLine, main,
                            ui::smallFont(true));
        ui::drawClippedText(dc, rows->field(row, airlineField::Code), bottom, dt::Left | kLine,
                            secondary, ui::smallFont());
        ui::drawClippedText(dc, number, bottom, dt::Right | kLine, secondary, ui::smallFont());
        return;
    }
    Rect code{top.left, top.top, top.left + kCodeWidth * unit, top.bottom};
    Rect name{code.right, top.top, top.right, top.bottom};
    ui::drawClippedText(dc, rows->field(row, airportField::Code), code, dt::Left | kLine, main,
                        ui::smallFont(sortField_ == airportField::Code));
    ui::drawClippedText(dc, rows->field(row, airportField::Name), name, dt::Left | kLine, main,
                        ui::smallFont(sortField_ == airportField::Name));
    Rect numberRect{bottom.right - 44 * unit, bottom.top, bottom.right, bottom.bottom};
    Rect city{code.right, bottom.top, numberRect.left - 2 * unit, bottom.bottom};
    ui::drawClippedText(dc, rows->field(row, airportField::City), city, dt::Left | kLine,
                        sortField_ == airportField::City ? main : secondary,
                        ui::smallFont(sortField_ == airportField::City));
    ui::drawClippedText(dc, number, numberRect, dt::Right | kLine, secondary, ui::smallFont());
}

CodesDetail::CodesDetail() {
    isFocusable = false;
}

void CodesDetail::setLines(std::vector<std::pair<std::wstring, std::wstring>> lines) {
    if (lines == lines_)
        return;
    lines_ = std::move(lines);
    invalidate();
}

void CodesDetail::paint(DeviceContext& dc, const Rect& invalid) {
    if (!isVisible || !rect.intersects(invalid))
        return;
    const gfx::Theme& t = theme();
    const int unit = ui::layoutUnit();
    dc.fillRect(rect, kDetailBackground);
    dc.fillRect(Rect{rect.left, rect.top, rect.right, rect.top + unit}, t.mainColour);
    const int height = kDetailLineHeight * unit;
    // The label column fits the widest label (German labels are long). In a panel too narrow
    // for that (beside the list in landscape), each label goes on a line above its value.
    int labelWidth = kDetailLabelWidth * unit;
    for (const auto& line : lines_)
        labelWidth = std::max(labelWidth, gfx::textWidth(ui::smallFont(), line.first) + 6 * unit);
    const bool stacked = labelWidth > rect.width() / 2;
    const int left = rect.left + 4 * unit;
    const int right = rect.right - 4 * unit;
    int y = rect.top + 2 * unit;
    for (const auto& [label, value] : lines_) {
        if (y + (stacked ? 2 : 1) * height > rect.bottom)
            break;
        Rect labelRect{left, y, stacked ? right : left + labelWidth, y + height};
        if (stacked)
            y += height;
        Rect valueRect{stacked ? left + 4 * unit : labelRect.right, y, right, y + height};
        ui::drawClippedText(dc, label, labelRect, dt::Left | kLine, kSecondaryTextColour,
                            ui::smallFont());
        ui::drawClippedText(dc, value, valueRect, dt::Left | kLine, ui::kPanelTextColour,
                            ui::smallFont(true));
        y += height;
    }
}

}  // namespace travel
