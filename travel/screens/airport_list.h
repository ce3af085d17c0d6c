#pragma once
// The controls of the airport and airline codes screen: the list, two lines a row (the code
// and name above, the city and the row's number below, the sort field in bold), and the
// detail panel of the current row.

#include <functional>
#include <string>

#include "core/record_table.h"
#include "ui/letter_list.h"
#include "ui/list_model.h"

namespace travel {

// The rows of one letter tab: the loaded table seen through the tab's row numbers.
class AirportRowsModel final : public ui::ListModel {
  public:
    void set(const core::RecordTable* all, std::vector<int> rows, int field);

    // The table row of a shown row (from 1); 0 when there is none.
    int tableRow(int row) const;
    // A field of a shown row; empty when there is none.
    std::wstring_view field(int row, int column) const;
    const std::vector<int>& rows() const { return rows_; }
    const core::RecordTable* all() const { return all_; }

    int rowCount() const override { return static_cast<int>(rows_.size()); }
    std::wstring rowText(int row) const override;
    int currentRow() const override { return current_; }
    void setCurrentRow(int row) override;

  private:
    const core::RecordTable* all_ = nullptr;
    std::vector<int> rows_;
    int field_ = 1;
    int current_ = 0;
};

// What the codes screen lists.
enum class CodesMode { Airports, Airlines };

class AirportList final : public ui::LetterList {
  public:
    AirportList();

    void setMode(CodesMode mode, int sortField);
    // Shows the rows of a model, which stays the caller's.
    void showRows(AirportRowsModel* rows);

    // Left and Right step the letter tab.
    std::function<void(int step)> onTabStep;
    // A key-pad digit's letter, or the letters typed so far on a keyboard: the screen goes to
    // the first row starting with them.
    std::function<void(std::wstring_view typed)> onTyped;

    int rowHeight() const override;
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;

  protected:
    void drawRow(platform::DeviceContext& dc, const platform::Rect& line, int row,
                 bool current) override;

  private:
    CodesMode mode_ = CodesMode::Airports;
    int sortField_ = 1;
    std::wstring typed_;
    AirportRowsModel* rows_ = nullptr;
};

// The current row in full: label and value a line, as many lines as fit.
class CodesDetail final : public ui::Control {
  public:
    CodesDetail();

    void setLines(std::vector<std::pair<std::wstring, std::wstring>> lines);
    const std::vector<std::pair<std::wstring, std::wstring>>& lines() const { return lines_; }

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;

  private:
    std::vector<std::pair<std::wstring, std::wstring>> lines_;
};

}  // namespace travel
