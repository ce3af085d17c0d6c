#pragma once
// The meeting planner (module 22): the hours of a chosen day on the device beside the same
// moments in the favourite cities, opened on today with the present hour selected. The date
// chooser under the heading picks any day and the two buttons below it step the day back and
// forward; Up and Down (or a tap) choose the
// hour; "Book a meeting" opens a panel over the grid that books an hour from the chosen row
// into the device's calendar; a tap on the heading opens the calendar program on the day.

#include <cstdint>

#include "platform/api/clock.h"
#include "ui/module.h"
#include "worldtime/favourites.h"
#include "worldtime/planner.h"

namespace ui {
class EditField;
}

namespace worldtime {

class PlannerView;

namespace plannerId {
constexpr int Heading = 1, PreviousDay = 2, NextDay = 3, Grid = 4, Book = 5, PanelTitle = 6,
              PanelStart = 7, Subject = 8, DatePicker = 9;
}

// The smooth-scroll timer: a tick every 100 ms while the rows move.
constexpr std::uintptr_t kPlannerScrollTimer = 2000;
constexpr std::uint32_t kPlannerScrollMs = 100;

class PlannerScreen final : public ui::Module {
  public:
    PlannerScreen(ui::ModuleHost& host, Favourites& favourites);
    ~PlannerScreen() override;

    void build() override;
    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;
    bool controlPressed(ui::Control& control) override;
    void controlChanged(ui::Control& control) override;
    bool command(std::uint32_t commandId, std::intptr_t data) override;
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
    void pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;
    void timer(std::uintptr_t id) override;
    void skinChanged(bool redraw) override;
    std::span<const ui::MenuEntry> menuEntries() const override;
    std::any saveState() const override;
    void restoreState(const std::any& state) override;

    const platform::SystemTime& date() const { return date_; }
    // Shows another day (its year, month and day), keeping the selected hour.
    void setDate(const platform::SystemTime& date);
    void stepDay(int days);
    PlannerView* view() const { return view_; }

    // The booking panel.
    bool isBooking() const { return booking_; }
    void openBooking();
    void closeBooking();
    // Books the meeting with the subject typed; the new appointment's id, 0 when refused.
    platform::AppointmentId book();
    // Starts the calendar program on the chosen day; false when it could not start.
    bool openCalendar() const;

  private:
    void refresh();
    void setLabel(int id, const std::wstring& text);
    void showPanelControls(bool visible);
    std::wstring startText() const;

    ui::ModuleHost& host_;
    Favourites& favourites_;
    PlannerView* view_ = nullptr;
    ui::EditField* subject_ = nullptr;
    platform::Rect headingBar_;
    platform::Rect panel_;
    platform::SystemTime date_{};
    bool booking_ = false;
};

// The booking panel's start time: midnight and noon by name, else the time in the clock
// format.
std::wstring meetingStartText(int hour, int clockFormat);

}  // namespace worldtime
