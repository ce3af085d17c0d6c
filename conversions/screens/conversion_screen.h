#pragma once
// The conversion screen (modules 61 to 66, which open it at the stored ConversionMode): a
// drop-down of the categories, the currency heading (the rates' day, source and age), and the
// conversion list, with the amount keypad over it and the unit chooser in its place.

#include <any>
#include <cstdint>
#include <memory>
#include <vector>

#include "conversions/categories.h"
#include "conversions/conversion.h"
#include "ui/module.h"

namespace ui {
class DropDown;
class Label;
}  // namespace ui
namespace worldtime {
class BusyIndicator;
}

namespace conversions {

class ConversionList;
class Keypad;

// What the live conversion screen shows, in words, for those who drive the program from outside
// ("vorndev ctl app conversion"): the category's key and each row's value and symbol.
struct ConversionReadout {
    std::wstring text;
};

namespace conversionControl {
constexpr int Categories = 1, Heading = 2, Age = 3, List = 4, Note = 5, Busy = 6, Keypad = 7;
}
namespace conversionCommand {
constexpr std::uint32_t EnterAmount = 101, ChooseUnits = 103, Tick = 104, CancelChooser = 105,
                        UpdateRates = 106;
}

class ConversionScreen final : public ui::Module {
  public:
    explicit ConversionScreen(ui::ModuleHost& host,
                              std::shared_ptr<ConversionReadout> readout = nullptr);
    ~ConversionScreen() override;

    void build() override;
    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;
    bool command(std::uint32_t commandId, std::intptr_t data) override;
    bool controlPressed(ui::Control& control) override;
    void controlChanged(ui::Control& control) override;
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
    void pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;
    bool commsMessage(platform::WindowHandle window, std::uint32_t message, platform::WParam wParam,
                      platform::LParam lParam) override;
    void timer(std::uintptr_t id) override;
    void startTimers() override;
    std::span<const ui::MenuEntry> menuEntries() const override;
    std::any saveState() const override;
    void restoreState(const std::any& state) override;

    // What tests look at and drive.
    const std::vector<Category>& categories() const { return categories_; }
    const Category& category() const { return categories_[category_]; }
    std::size_t categoryIndex() const { return category_; }
    ConversionList& list() const { return *list_; }
    Keypad& keypad() const { return *keypad_; }
    bool keypadOpen() const;
    bool choosing() const { return choosing_; }
    const std::wstring& headingText() const;
    const std::wstring& ageText() const;
    // Selects a category (0-based): its units, its list, 1 in the first row, the stored mode.
    void selectCategory(std::size_t index);
    // Opens the keypad on the current row; false when the list has no two rows to convert.
    bool openKeypad();
    void openChooser();
    void closeChooser(bool save);
    // Sets every value from an amount entered in a row (1-based).
    void convert(double amount, int row);

  private:
    void place();
    void buildList();
    void refreshHeading();
    void refreshMenu();
    void closeKeypad(bool convertEntry);
    void setBusy(bool busy);
    void updateRates();
    std::vector<std::wstring> chosenKeys() const;
    void updateReadout();

    ui::ModuleHost& host_;
    std::shared_ptr<ConversionReadout> readout_;
    std::vector<Category> categories_;
    std::size_t category_ = 0;
    UnitTable table_;
    ui::DropDown* dropDown_ = nullptr;
    ui::Label* heading_ = nullptr;
    ui::Label* age_ = nullptr;
    ui::Label* note_ = nullptr;
    ConversionList* list_ = nullptr;
    Keypad* keypad_ = nullptr;
    worldtime::BusyIndicator* busyIndicator_ = nullptr;
    std::vector<ui::MenuEntry> menu_;
    bool choosing_ = false;
    bool busy_ = false;
    bool updatePending_ = false;
    int editedRow_ = 0;
    // The last amount entered and its row, so a rotation keeps the values.
    double amount_ = 1;
    int amountRow_ = 1;
};

}  // namespace conversions
