#pragma once
// The edit field (layout type 7): a native "EDIT" child window with the caller's edit
// styles, except the toolkit's flag 0x2000, which switches the field to numeric input mode.
// Screen-specific fields (type 212) carry a colour of their own, which the main window uses
// when the field asks for its colours.

#include <string>

#include "ui/native_control.h"

namespace ui {

// The toolkit's own style flag for numeric input.
constexpr std::uint32_t kNumericInput = 0x2000;

class EditField : public NativeControl {
  public:
    EditField(ModuleHost& host, std::uint32_t editStyles);

    std::wstring text() const;
    void setText(std::wstring_view text);
    bool isMultiline() const { return multiline_; }
    bool isNumeric() const { return numeric_; }
    void setLimit(std::size_t characters);
    void setReadOnly(bool readOnly);
    // Selection start and end.
    std::pair<std::size_t, std::size_t> selection() const;
    void select(std::size_t start, std::size_t end);

    platform::Colour fieldColour() const { return fieldColour_; }
    void setFieldColour(platform::Colour colour);

    // EN_CHANGE: the owner hears that the control changed.
    bool nativeCommand(std::uint32_t code) override;

  protected:
    bool handsBack(std::uint32_t message, std::uint32_t keyCode) const override;

  private:
    bool multiline_;
    bool numeric_;
    platform::Colour fieldColour_ = 0xFFFFFF;
};

}  // namespace ui
