#include "alarms/screens/counters_picker.h"

#include <algorithm>

#include "alarms/timer_set.h"

namespace alarms {

namespace {

// The largest digit of each place: hours 99, minutes and seconds 59.
constexpr std::array<int, PresetPicker::kDigits> kLargest{9, 9, 5, 9, 5, 9};

}  // namespace

void PresetPicker::setValue(std::int64_t ms) {
    std::int64_t seconds = std::clamp<std::int64_t>(ms, 0, kMaxPresetMs) / 1000;
    int hours = static_cast<int>(seconds / 3600);
    int minutes = static_cast<int>(seconds / 60 % 60);
    int secs = static_cast<int>(seconds % 60);
    digits_ = {hours / 10, hours % 10, minutes / 10, minutes % 10, secs / 10, secs % 10};
    selected_ = 0;
}

std::int64_t PresetPicker::valueMs() const {
    std::int64_t hours = digits_[0] * 10 + digits_[1];
    std::int64_t minutes = digits_[2] * 10 + digits_[3];
    std::int64_t seconds = digits_[4] * 10 + digits_[5];
    return hours * 3600000 + minutes * 60000 + seconds * 1000;
}

void PresetPicker::select(int place) {
    selected_ = std::clamp(place, 0, kDigits - 1);
}

void PresetPicker::moveSelection(int step) {
    select(selected_ + step);
}

void PresetPicker::step(int direction) {
    auto place = static_cast<std::size_t>(selected_);
    int range = kLargest[place] + 1;
    digits_[place] = ((digits_[place] + (direction > 0 ? 1 : -1)) % range + range) % range;
}

}  // namespace alarms
