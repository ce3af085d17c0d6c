#pragma once
// The conversion screen's list. It shows one of three things: the converted values (value and
// symbol in bold over "key - name"; temperatures with the scale's name below), the rows of a
// size chart in equal columns with the heading row marked, or the unit chooser (a tick box and
// "key - name" a row). A tap within one row height of a row's left edge asks for the keypad (or
// ticks the row in the chooser); in the values, a tap as near the right edge asks for the
// chooser.

#include <functional>
#include <string>
#include <vector>

#include "conversions/conversion.h"
#include "gfx/targa.h"
#include "ui/list_control.h"
#include "ui/list_model.h"

namespace conversions {

enum class ListShows { Values, Chart, Chooser };

struct ChooserRow {
    std::wstring key;
    std::wstring name;
    bool ticked = false;
};

class ConversionListModel final : public ui::ListModel {
  public:
    void showValues(std::vector<ListRow> rows, bool temperature);
    void showChart(std::vector<ChartRow> rows);
    void showChooser(std::vector<ChooserRow> rows);

    ListShows shows() const { return shows_; }
    bool temperature() const { return temperature_; }
    std::vector<ListRow>& values() { return values_; }
    const std::vector<ChartRow>& chart() const { return chart_; }
    std::vector<ChooserRow>& chooser() { return chooser_; }

    int rowCount() const override;
    std::wstring rowText(int row) const override;
    int currentRow() const override { return current_; }
    void setCurrentRow(int row) override { current_ = row; }

  private:
    ListShows shows_ = ListShows::Values;
    bool temperature_ = false;
    std::vector<ListRow> values_;
    std::vector<ChartRow> chart_;
    std::vector<ChooserRow> chooser_;
    int current_ = 0;
};

class ConversionList final : public ui::ListControl {
  public:
    ConversionList();

    ConversionListModel& rows() { return model_; }
    // The tick boxes of the chooser.
    void setPictures(gfx::TargaPixels ticked, gfx::TargaPixels unticked);
    // A tap near an edge of a row: left or right.
    std::function<void(int row, bool left)> onEdgeTap;

    int rowHeight() const override;
    bool pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;

  protected:
    void drawRow(platform::DeviceContext& dc, const platform::Rect& line, int row,
                 bool current) override;

  private:
    void drawValue(platform::DeviceContext& dc, const platform::Rect& line, const ListRow& row,
                   bool current);
    void drawChartRow(platform::DeviceContext& dc, const platform::Rect& line, int row,
                      bool current);
    void drawChooserRow(platform::DeviceContext& dc, const platform::Rect& line,
                        const ChooserRow& row, bool current);

    ConversionListModel model_;
    gfx::TargaPixels ticked_;
    gfx::TargaPixels unticked_;
};

}  // namespace conversions
