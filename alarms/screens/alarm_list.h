#pragma once
// The alarm list: the first row adds an alarm ("New alarm" over "Tap here to add an alarm"),
// then one row per alarm: its time of day in large figures, its name with its state, and
// the repeat summary beneath.

#include <string>
#include <vector>

#include "platform/api/draw.h"
#include "ui/list_control.h"
#include "ui/list_model.h"

namespace alarms {

class AlarmStore;

// What a row shows.
struct AlarmRowText {
    std::wstring time;    // empty for the new-alarm row
    std::wstring title;   // name and state, or "New alarm"
    std::wstring detail;  // repeat summary, or "Tap here to add an alarm"
};

// How the screens put times and dates into words (the program's formats).
struct TimeTexts {
    std::function<std::wstring(const platform::SystemTime&)> time;
    std::function<std::wstring(const platform::SystemTime&)> date;
};

// The rows of the store as the list shows them, the new-alarm row first.
std::vector<AlarmRowText> alarmRows(const AlarmStore& store, const TimeTexts& texts);

class AlarmListModel final : public ui::ListModel {
  public:
    // New rows; the selection stays on its row number while that still exists.
    void setRows(std::vector<AlarmRowText> rows);
    const std::vector<AlarmRowText>& rows() const { return rows_; }
    const AlarmRowText& row(int row) const { return rows_[static_cast<std::size_t>(row - 1)]; }

    int rowCount() const override { return static_cast<int>(rows_.size()); }
    std::wstring rowText(int row) const override;
    int currentRow() const override { return selected_; }
    void setCurrentRow(int row) override { selected_ = row; }

  private:
    std::vector<AlarmRowText> rows_;
    int selected_ = 0;
};

class AlarmList final : public ui::ListControl {
  public:
    AlarmList();
    ~AlarmList() override;

    void setRows(std::vector<AlarmRowText> rows);
    const AlarmListModel& rows() const { return model_; }
    // Where a row is on the screen (clipped to the rows area); empty when out of view.
    platform::Rect rowRect(int row) const;

    int rowHeight() const override;
    void place(const platform::Rect& rect, platform::DeviceContext* dc) override;

  protected:
    void drawRow(platform::DeviceContext& dc, const platform::Rect& line, int row,
                 bool current) override;

  private:
    AlarmListModel model_;
    platform::FontRef clockFont_;
    int timeWidth_ = 0;
};

}  // namespace alarms
