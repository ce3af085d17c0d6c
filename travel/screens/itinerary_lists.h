#pragma once
// The two lists of the itinerary screen: the trips (the first row starts a new trip) and a
// trip's agenda (day headings, then each event's time, kind icon, text and reminder bell).

#include <string>
#include <vector>

#include "gfx/image.h"
#include "travel/trip_agenda.h"
#include "travel/trip_file.h"
#include "ui/list_control.h"
#include "ui/list_model.h"

namespace travel {

// A row of the trip list: the title and icon, and the dates of the first and last event.
struct TripRow {
    std::wstring name;   // empty for the new-trip row
    std::wstring title;  // the trip name, or "New Trip"
    std::wstring icon;   // picture in "listicons\"
    std::wstring dates;  // "Sat, May 01 2030 - Tue, May 04 2030", or "??"
};

// The rows of the list: "New Trip" with list_new.tga, then one per trip file.
std::vector<TripRow> tripRows(const std::vector<TripSummary>& trips);
// A date in the trip list's pattern "ddd',' MMM dd yyyy"; "??" for none.
std::wstring tripListDate(const std::optional<platform::SystemTime>& time);

// Pictures of "listicons\" and "graphics2\" by name, held while the list lives.
class IconSet {
  public:
    explicit IconSet(std::wstring mainPath) : mainPath_(std::move(mainPath)) {}
    ~IconSet();
    IconSet(const IconSet&) = delete;
    IconSet& operator=(const IconSet&) = delete;
    // Draws the picture scaled into the square at x, y; nothing when it does not load.
    void draw(platform::DeviceContext& dc, std::wstring_view path, int x, int y, int size);

  private:
    std::wstring mainPath_;
    std::vector<std::pair<std::wstring, gfx::Image*>> images_;
};

template <class Row>
class RowsModel final : public ui::ListModel {
  public:
    void setRows(std::vector<Row> rows) {
        rows_ = std::move(rows);
        rowsChanged();
    }
    const std::vector<Row>& rows() const { return rows_; }
    const Row& row(int n) const { return rows_[static_cast<std::size_t>(n - 1)]; }
    int rowCount() const override { return static_cast<int>(rows_.size()); }
    std::wstring rowText(int n) const override { return row(n).text; }
    int currentRow() const override { return current_; }
    void setCurrentRow(int n) override { current_ = n; }

  private:
    std::vector<Row> rows_;
    int current_ = 0;
};

struct TripListRow : TripRow {
    std::wstring text;  // title and dates, for readers of the list
};

class TripList final : public ui::ListControl {
  public:
    explicit TripList(std::wstring mainPath);
    void setRows(const std::vector<TripRow>& rows);
    const RowsModel<TripListRow>& rows() const { return model_; }
    int rowHeight() const override;

  protected:
    void drawRow(platform::DeviceContext& dc, const platform::Rect& line, int row,
                 bool current) override;

  private:
    RowsModel<TripListRow> model_;
    IconSet icons_;
};

class AgendaList final : public ui::ListControl {
  public:
    explicit AgendaList(std::wstring mainPath);
    void setRows(const std::vector<AgendaRow>& rows);
    const std::vector<AgendaRow>& rows() const { return rows_; }
    // The selected row, or nothing.
    const AgendaRow* selected() const;
    int rowHeight() const override;

  protected:
    void drawRow(platform::DeviceContext& dc, const platform::Rect& line, int row,
                 bool current) override;

  private:
    class Model final : public ui::ListModel {
      public:
        explicit Model(const std::vector<AgendaRow>& rows) : rows_(rows) {}
        int rowCount() const override { return static_cast<int>(rows_.size()); }
        std::wstring rowText(int row) const override;
        int currentRow() const override { return current_; }
        void setCurrentRow(int row) override { current_ = row; }
        void changed() { rowsChanged(); }

      private:
        const std::vector<AgendaRow>& rows_;
        int current_ = 0;
    };
    std::vector<AgendaRow> rows_;
    Model model_{rows_};
    IconSet icons_;
};

// The icon of an event's kind in "listicons\".
std::wstring_view agendaIcon(int kind);

}  // namespace travel
