#pragma once
// The controls of the city screen: the city list (two lines a row, with a favourite mark),
// the list of search results (a tick box a row), the panel with the selected city's
// coordinates and local time, and the busy indicator of a remote look-up.

#include <array>
#include <string>
#include <vector>

#include "core/record_table.h"
#include "gfx/targa.h"
#include "ui/control.h"
#include "ui/list_control.h"
#include "ui/list_model.h"

namespace worldtime {

class CityDatabase;

// A Targa mark drawn at a fixed size, in full or at half opacity. The scaled copies are made
// when the size changes, never while rows are drawn.
class RowMark {
  public:
    // A device path; a picture that does not load draws nothing.
    void load(std::wstring_view devicePath);
    void draw(platform::DeviceContext& dc, int x, int y, int size, bool faded);

  private:
    std::unique_ptr<gfx::TargaPixels> source_;
    gfx::TargaPixels full_;
    gfx::TargaPixels faded_;
    int size_ = 0;
};

// "Name, Country" of a city row; "Name, Region, Country" with a region (state, province)
// other than the name.
std::wstring cityTitle(std::wstring_view name, std::wstring_view country,
                       std::wstring_view region = {});

// Draws a city in a list row: a mark, "Name, Country" and below it the zone's name.
void drawCityRow(platform::DeviceContext& dc, const platform::Rect& line, std::wstring_view title,
                 std::wstring_view zoneName, bool current, RowMark& mark, bool faded,
                 const gfx::Theme& theme);

// The height of a two-line city row.
int cityRowHeight();

// The shown cities of a city database as list rows; the database's selection is the current
// row, so choosing a row in the list selects the city.
class CityListModel final : public ui::ListModel {
  public:
    void setDatabase(CityDatabase* database);
    CityDatabase* database() const { return database_; }

    int rowCount() const override;
    // "Name, Country".
    std::wstring rowText(int row) const override;
    int currentRow() const override;
    void setCurrentRow(int row) override;

  private:
    CityDatabase* database_ = nullptr;
};

// The shown list of a city database. The texts come from the database as rows are drawn, so
// a long list costs only the rows on screen.
class CityListControl : public ui::ListControl {
  public:
    explicit CityListControl(std::wstring_view mainPath);

    void setDatabase(CityDatabase* database);
    // Follows the database's shown list and selection, with the selected city in view.
    void refresh();

    int rowHeight() const override;

  protected:
    void drawRow(platform::DeviceContext& dc, const platform::Rect& line, int row,
                 bool current) override;

  private:
    CityListModel cities_;
    RowMark mark_;
};

// The search results with their tick (field 8). A tap on the tick box, a second tap on the
// current row or the Enter key ticks or unticks the row.
class ResultListControl : public ui::ListControl {
  public:
    explicit ResultListControl(std::wstring_view mainPath);

    // Flips the tick of a row; false when there is no such row.
    bool toggle(int row);
    // The database whose regions tell cities of one name apart in the rows.
    void setDatabase(CityDatabase* database) { database_ = database; }
    // "Name, Region, Country" of a row, the region when the database knows it.
    std::wstring rowTitle(int row) const;

    int rowHeight() const override;
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
    bool pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;

  protected:
    void drawRow(platform::DeviceContext& dc, const platform::Rect& line, int row,
                 bool current) override;

  private:
    int tickBoxRight() const;

    CityDatabase* database_ = nullptr;
    RowMark ticked_;
    RowMark unticked_;
};

// The selected city's details: its name, longitude, latitude, local time and the next change
// of its clocks. A panel too low for every line puts the coordinates on one line, and when
// that is not enough leaves the name to the list.
class CityDetailPanel : public ui::Control {
  public:
    CityDetailPanel() { isFocusable = false; }

    // Empty texts leave the panel blank.
    void setTexts(std::wstring title, std::vector<std::wstring> lines);
    const std::wstring& title() const { return title_; }
    const std::vector<std::wstring>& lines() const { return lines_; }

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;

  private:
    std::wstring title_;
    std::vector<std::wstring> lines_;
};

// The comms program's busy animation: four pictures of the theme shown in turn.
class BusyIndicator : public ui::Control {
  public:
    explicit BusyIndicator(std::wstring_view mainPath);

    // Moves to the next picture (after the fourth comes the first).
    void step();
    int frame() const { return frame_; }
    void reset() { frame_ = 0; }
    // Starts or stops the animation: back to the first picture, shown or hidden, and the main
    // window's timer `timerId` every intervalMs while busy (killed when not).
    void animate(bool busy, std::uintptr_t timerId, std::uint32_t intervalMs);

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;

  private:
    std::wstring mainPath_;
    std::array<RowMark, 4> frames_;
    int frame_ = 0;
};

}  // namespace worldtime
