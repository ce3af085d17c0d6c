#pragma once
// The weather screen's own controls: the mode buttons (a picture over the button overlay;
// focusing one chooses its mode), the forecast list (an icon, a temperature and a label a
// row), the summary line of the selected row, the current-conditions panel with its station
// arrows, and the map panel that shows a weather map or a text in its place.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "gfx/dib.h"
#include "ui/control.h"
#include "ui/list_control.h"
#include "ui/list_model.h"
#include "ui/pressable.h"
#include "worldtime/screens/city_lists.h"

namespace weather {

using worldtime::RowMark;

// A button of the screen's mode rows: its picture over the overlay, framed, and marked while
// its mode is the one shown. Gaining the focus (a tap, the up and down keys) calls onFocus.
class ModeButton : public ui::Pressable {
  public:
    // Device paths of the picture and of the overlay drawn over it.
    void setPictures(std::wstring_view picture, std::wstring_view overlay);
    bool isChosen() const { return chosen_; }
    void setChosen(bool chosen);

    void focus(bool gained, bool redraw) override;
    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;

    std::function<void(ModeButton&)> onFocus;

  private:
    RowMark picture_;
    RowMark overlay_;
    bool chosen_ = false;
};

// One row of the forecast list as it is drawn.
struct ForecastRow {
    std::wstring iconPath;  // device path of the row's picture
    std::wstring temperature;
    std::wstring label;
};

// The rows of the forecast list, with the list's current row.
class ForecastRows final : public ui::ListModel {
  public:
    void setRows(std::vector<ForecastRow> rows);
    const std::vector<ForecastRow>& rows() const { return rows_; }
    const ForecastRow* row(int number) const;

    int rowCount() const override { return static_cast<int>(rows_.size()); }
    // "temperature  label".
    std::wstring rowText(int row) const override;
    int currentRow() const override { return current_; }
    void setCurrentRow(int row) override { current_ = row; }

  private:
    std::vector<ForecastRow> rows_;
    int current_ = 0;
};

// The forecast list: each row its condition picture, its temperature in bold and its label.
// Pictures are loaded once per file and kept while the list lives.
class ForecastList final : public ui::ListControl {
  public:
    ForecastList();

    ForecastRows& rows() { return rows_; }
    // Takes new rows; the first becomes current, or none without rows.
    void setRows(std::vector<ForecastRow> rows);
    // The text shown when there are no rows.
    void setEmptyText(std::wstring text);
    const std::wstring& emptyText() const { return emptyText_; }

    int rowHeight() const override;
    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;

  protected:
    void drawRow(platform::DeviceContext& dc, const platform::Rect& line, int row,
                 bool current) override;

  private:
    RowMark& mark(const std::wstring& path);

    ForecastRows rows_;
    std::wstring emptyText_;
    std::map<std::wstring, RowMark> marks_;
};

// A framed box of wrapped text that can take the focus: the summary of the selected row.
class SummaryLine final : public ui::Control {
  public:
    void setText(std::wstring_view text);
    const std::wstring& text() const { return text_; }
    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;

  private:
    std::wstring text_;
};

// The current conditions: the station's picture, a bold first line and the lines below it.
// While focused and stepping is allowed, arrows at its lower corners step the station;
// Left, Right and Enter do too. onStep gets -1 or +1.
class ConditionsPanel final : public ui::Control {
  public:
    explicit ConditionsPanel(std::wstring_view mainPath);

    // An empty icon path draws no picture.
    void setContent(std::wstring iconPath, std::vector<std::wstring> lines, bool canStep);
    const std::vector<std::wstring>& lines() const { return lines_; }
    bool canStep() const { return canStep_; }
    // Where the arrows are drawn (while the panel has the focus).
    platform::Rect leftArrow() const;
    platform::Rect rightArrow() const;

    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
    bool pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;
    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;

    std::function<void(int step)> onStep;

  private:
    std::wstring iconPath_;
    RowMark icon_;
    RowMark left_;
    RowMark right_;
    std::vector<std::wstring> lines_;
    bool canStep_ = false;
};

// The weather map: the picture scaled to fit with its caption below, or a text in its place.
class MapPanel final : public ui::Control {
  public:
    MapPanel() { isFocusable = false; }

    // A null picture shows the text alone.
    void setPicture(gfx::Dib picture, std::wstring caption);
    void setText(std::wstring text);
    const gfx::Dib& picture() const { return picture_; }
    const std::wstring& text() const { return text_; }
    // Where the picture lands inside the panel (empty without one).
    platform::Rect pictureRect() const;

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;

  private:
    gfx::Dib picture_;
    std::wstring text_;
};

}  // namespace weather
