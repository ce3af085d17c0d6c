#pragma once
// The six-digit time picker of a counter's preset: hours, minutes and seconds as two digits
// each, one digit selected at a time and stepped up or down within what that place admits
// (the tens of minutes and seconds go to 5).

#include <array>
#include <cstdint>

namespace alarms {

class PresetPicker {
  public:
    static constexpr int kDigits = 6;

    // Shows the whole seconds of a preset (at most 99:59:59), the first digit selected.
    void setValue(std::int64_t ms);
    std::int64_t valueMs() const;

    int digit(int place) const { return digits_.at(static_cast<std::size_t>(place)); }
    int selected() const { return selected_; }
    void select(int place);
    // Moves the selection left or right, stopping at the ends.
    void moveSelection(int step);
    // Steps the selected digit up (+1) or down (-1), wrapping within its range.
    void step(int direction);

  private:
    std::array<int, kDigits> digits_{};
    int selected_ = 0;
};

}  // namespace alarms
