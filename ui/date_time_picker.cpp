#include "ui/date_time_picker.h"

#include "ui/module.h"

namespace ui {

using namespace platform;

namespace {

std::uint32_t pickerStyle(int kind) {
    return (kind == pickerKind::Time ? dts::TimeFormat : dts::LongDateFormat) | ws::Border;
}

}  // namespace

DateTimePicker::DateTimePicker(ModuleHost& host, int kind)
    : NativeControl(host, kDateTimePickerClass, pickerStyle(kind)), pickerKind_(kind) {
    this->kind = controlKind::DateTimePicker;
    if (kind == pickerKind::Time) {
        static const wchar_t kTimeFormat[] = L"HH:mm";
        send(dtm::SetFormat, 0, reinterpret_cast<LParam>(kTimeFormat));
    }
}

SystemTime DateTimePicker::time() const {
    SystemTime t;
    send(dtm::GetSystemTime, 0, reinterpret_cast<LParam>(&t));
    return t;
}

bool DateTimePicker::setTime(const SystemTime& time) {
    return send(dtm::SetSystemTime, static_cast<WParam>(GdtValid),
                reinterpret_cast<LParam>(&time)) != 0;
}

bool DateTimePicker::nativeNotify(const NotifyHeader& header) {
    if (header.code != DtnDateTimeChange)
        return false;
    ++changes_;
    if (owner)
        owner->controlChanged(*this);
    return true;
}

bool DateTimePicker::calendarOpen() const {
    return send(dtm::GetMonthCal) != 0;
}

bool DateTimePicker::handsBack(std::uint32_t message, std::uint32_t keyCode) const {
    // The open calendar keeps every key. Otherwise Up and Down change the chosen field, Enter
    // opens the date kind's calendar, and Back (and the time kind's Enter) belong to the
    // screen.
    if (calendarOpen())
        return false;
    bool enterIsOurs = pickerKind_ == pickerKind::Date;
    return NativeControl::handsBack(message, keyCode) || (keyCode == vk::Return && !enterIsOurs) ||
           keyCode == vk::Escape;
}

}  // namespace ui
