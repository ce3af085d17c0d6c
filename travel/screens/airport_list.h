#pragma once
// The controls of the airport and airline codes screen: the list, two lines a row (the code
// and name above, the city and the row's number below, the sort field in bold), and the
// detail panel of the current row.

#include <functional>
#include <string>

#include "ui/letter_list.h"

namespace travel {

// What the codes screen lists.
enum class CodesMode { Airports, Airlines };

class AirportList final : public ui::LetterList {
  public:
    AirportList();

    void setMode(CodesMode mode, int sortField);

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
