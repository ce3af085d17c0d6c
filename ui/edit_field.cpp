#include "ui/edit_field.h"

#include "ui/control_paint.h"
#include "ui/module.h"

namespace ui {

using namespace platform;

namespace {

std::uint32_t nativeStyles(std::uint32_t editStyles) {
    return (editStyles & ~kNumericInput) | ws::Border;
}

}  // namespace

EditField::EditField(ModuleHost& host, std::uint32_t editStyles)
    : NativeControl(host, kEditClass, nativeStyles(editStyles)),
      multiline_((editStyles & es::Multiline) != 0),
      numeric_((editStyles & kNumericInput) != 0) {
    kind = controlKind::EditField;
    if (numeric_)
        send(em::SetInputMode, 0, eim::Numbers);
}

std::wstring EditField::text() const {
    auto length = static_cast<std::size_t>(send(wm::GetTextLength));
    std::wstring buffer(length + 1, L'\0');
    auto copied = static_cast<std::size_t>(
        send(wm::GetText, buffer.size(), reinterpret_cast<LParam>(buffer.data())));
    buffer.resize(copied);
    return buffer;
}

void EditField::setText(std::wstring_view text) {
    std::wstring copy(text);
    send(wm::SetText, 0, reinterpret_cast<LParam>(copy.c_str()));
}

void EditField::setLimit(std::size_t characters) {
    send(em::LimitText, characters);
}

void EditField::setReadOnly(bool readOnly) {
    send(em::SetReadOnly, readOnly ? 1 : 0);
}

std::pair<std::size_t, std::size_t> EditField::selection() const {
    std::uint32_t start = 0, end = 0;
    send(em::GetSel, reinterpret_cast<WParam>(&start), reinterpret_cast<LParam>(&end));
    return {start, end};
}

void EditField::select(std::size_t start, std::size_t end) {
    send(em::SetSel, start, static_cast<LParam>(end));
}

void EditField::setFieldColour(Colour colour) {
    fieldColour_ = colour;
    if (nativeWindow())
        invalidateRect(nativeWindow(), nullptr, true);
}

bool EditField::nativeCommand(std::uint32_t code) {
    if (code != en::Change)
        return false;
    if (owner)
        owner->controlChanged(*this);
    return true;
}

bool EditField::handsBack(std::uint32_t message, std::uint32_t keyCode) const {
    if (NativeControl::handsBack(message, keyCode))
        return true;
    if (!multiline_)
        return keyCode == vk::Up || keyCode == vk::Down || keyCode == vk::Return;
    // A multi-line field keeps Up and Down until the caret is on its first or last line.
    if (keyCode != vk::Up && keyCode != vk::Down)
        return false;
    auto line = send(em::LineFromChar, static_cast<WParam>(-1));
    auto lines = send(em::GetLineCount);
    return keyCode == vk::Up ? line <= 0 : line >= lines - 1;
}

}  // namespace ui
