#include "travel/screens/itinerary_lists.h"

#include "gfx/blend.h"
#include "gfx/fonts.h"
#include "gfx/image_cache.h"
#include "platform/api/locale.h"
#include "ui/control_paint.h"

namespace travel {

using namespace platform;

namespace {

// Layout pixels.
constexpr int kTripRowHeight = 34;
constexpr int kAgendaRowHeight = 20;
constexpr int kIconSize = 16;
constexpr Colour kSeparatorColour = 0xE0E0E0;
constexpr Colour kSecondaryTextColour = 0x505050;
constexpr Colour kHeadingColour = 0xEFE4D8;  // a pale band behind the dates
constexpr std::uint32_t kLine = dt::SingleLine | dt::NoPrefix | dt::EndEllipsis | dt::VCenter;
constexpr std::wstring_view kNewTripTitle = L"New Trip";
constexpr std::wstring_view kNewTripIcon = L"list_new.tga";
constexpr std::wstring_view kReminderIcon = L"graphics2\\alarmon.tga";

}  // namespace

std::wstring_view agendaIcon(int kind) {
    switch (kind) {
        case 3:
            return L"listicons\\list_home.tga";
        case 6:
            return L"listicons\\list_family.tga";
        default:
            return L"listicons\\list_travel.tga";
    }
}

std::wstring tripListDate(const std::optional<SystemTime>& time) {
    if (!time)
        return L"??";
    return formatDate(*time, L"ddd',' MMM dd yyyy").value_or(L"??");
}

std::vector<TripRow> tripRows(const std::vector<TripSummary>& trips) {
    std::vector<TripRow> rows;
    rows.push_back({L"", std::wstring(kNewTripTitle), std::wstring(kNewTripIcon), L""});
    for (const TripSummary& t : trips) {
        TripRow row;
        row.name = t.name;
        const std::size_t colon = t.title.rfind(L':');
        row.title = colon == std::wstring::npos ? t.title : t.title.substr(0, colon);
        row.icon = colon == std::wstring::npos ? L"list_travel.tga" : t.title.substr(colon + 1);
        row.dates = t.first ? tripListDate(t.first) + L" - " + tripListDate(t.last) : L"??";
        rows.push_back(std::move(row));
    }
    return rows;
}

IconSet::~IconSet() {
    for (auto& [name, image] : images_) gfx::releaseImage(image, false);
}

void IconSet::draw(DeviceContext& dc, std::wstring_view path, int x, int y, int size) {
    gfx::Image* image = nullptr;
    for (auto& [name, held] : images_) {
        if (name == path)
            image = held;
    }
    if (!image) {
        image = gfx::acquireTargaImage(mainPath_ + std::wstring(path));
        images_.emplace_back(std::wstring(path), image);
    }
    if (image && image->targa)
        gfx::drawTargaScaled(dc, *image->targa, x, y, size, size);
}

TripList::TripList(std::wstring mainPath)
    : ui::ListControl({.pressOnReselect = true, .enterOnRelease = false}),
      icons_(std::move(mainPath)) {
    setModel(&model_);
}

void TripList::setRows(const std::vector<TripRow>& rows) {
    std::vector<TripListRow> list;
    for (const TripRow& r : rows) {
        TripListRow row;
        static_cast<TripRow&>(row) = r;
        row.text = r.dates.empty() ? r.title : r.title + L" " + r.dates;
        list.push_back(std::move(row));
    }
    model_.setRows(std::move(list));
    if (currentRow() == 0 && rowCount() > 0)
        selectRow(1, false);
    invalidate();
}

int TripList::rowHeight() const {
    return kTripRowHeight * ui::layoutUnit();
}

void TripList::drawRow(DeviceContext& dc, const Rect& line, int row, bool current) {
    const gfx::Theme& t = theme();
    const int unit = ui::layoutUnit();
    dc.fillRect(line, current ? t.mainColour : ui::kPanelColour);
    dc.fillRect({line.left, line.bottom - 1, line.right, line.bottom}, kSeparatorColour);
    const TripListRow& r = model_.row(row);
    const int icon = kIconSize * unit;
    icons_.draw(dc, L"listicons\\" + r.icon, line.left + 4 * unit,
                line.top + (line.height() - icon) / 2, icon);
    const int left = line.left + 8 * unit + icon;
    const Colour main = current ? t.selectedTextColour : ui::kPanelTextColour;
    const Colour secondary = current ? t.selectedTextColour : kSecondaryTextColour;
    if (r.dates.empty()) {
        ui::drawClippedText(dc, r.title, {left, line.top, line.right - 3 * unit, line.bottom},
                            dt::Left | kLine, main, ui::smallFont(true));
        return;
    }
    const int middle = line.top + line.height() / 2;
    ui::drawClippedText(dc, r.title, {left, line.top + 2 * unit, line.right - 3 * unit, middle},
                        dt::Left | kLine, main, ui::smallFont(true));
    ui::drawClippedText(dc, r.dates, {left, middle, line.right - 3 * unit, line.bottom - 2 * unit},
                        dt::Left | kLine, secondary, ui::smallFont());
}

std::wstring AgendaList::Model::rowText(int row) const {
    const AgendaRow& r = rows_[static_cast<std::size_t>(row - 1)];
    return r.isHeading() ? r.text : r.time + L" " + r.text;
}

AgendaList::AgendaList(std::wstring mainPath)
    : ui::ListControl({.pressOnReselect = true, .enterOnRelease = false}),
      icons_(std::move(mainPath)) {
    setModel(&model_);
}

void AgendaList::setRows(const std::vector<AgendaRow>& rows) {
    rows_ = rows;
    model_.changed();
    if (currentRow() == 0 && rowCount() > 0)
        selectRow(rowCount() > 1 ? 2 : 1, false);
    invalidate();
}

const AgendaRow* AgendaList::selected() const {
    const int row = currentRow();
    return row >= 1 && row <= rowCount() ? &rows_[static_cast<std::size_t>(row - 1)] : nullptr;
}

int AgendaList::rowHeight() const {
    return kAgendaRowHeight * ui::layoutUnit();
}

void AgendaList::drawRow(DeviceContext& dc, const Rect& line, int row, bool current) {
    const gfx::Theme& t = theme();
    const int unit = ui::layoutUnit();
    const AgendaRow& r = rows_[static_cast<std::size_t>(row - 1)];
    const Colour main = current ? t.selectedTextColour : ui::kPanelTextColour;
    if (r.isHeading()) {
        dc.fillRect(line, current ? t.mainColour : kHeadingColour);
        ui::drawClippedText(dc, r.text, {line.left + 4 * unit, line.top, line.right, line.bottom},
                            dt::Left | kLine, main, ui::smallFont(true));
        return;
    }
    dc.fillRect(line, current ? t.mainColour : ui::kPanelColour);
    dc.fillRect({line.left, line.bottom - 1, line.right, line.bottom}, kSeparatorColour);
    const int icon = 14 * unit;
    const int iconTop = line.top + (line.height() - icon) / 2;
    int left = line.left + 3 * unit;
    const int timeWidth = 32 * unit;
    ui::drawClippedText(dc, r.time, {left, line.top, left + timeWidth, line.bottom},
                        dt::Left | kLine, main, ui::smallFont(true));
    left += timeWidth + 2 * unit;
    icons_.draw(dc, agendaIcon(r.kind), left, iconTop, icon);
    left += icon + 3 * unit;
    int right = line.right - 3 * unit;
    if (r.reminder) {
        icons_.draw(dc, kReminderIcon, right - icon, iconTop, icon);
        right -= icon + 2 * unit;
    }
    ui::drawClippedText(dc, r.text, {left, line.top, right, line.bottom}, dt::Left | kLine, main,
                        ui::smallFont());
}

}  // namespace travel
