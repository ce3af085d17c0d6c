#pragma once
// The dialling codes screen (module 23): the countries of dialcodes.dat with their calling
// codes and international prefixes, filtered by a letter group. Left and Right step the
// group, a tap on the bar chooses one, and a letter (or a key-pad digit) goes to the first
// country with that initial, in its group. A missing table shows an empty list.

#include <cstdint>

#include "core/record_table.h"
#include "ui/module.h"

namespace worldtime {

class DialCodeList;
class LetterGroupBar;

namespace dialCodesId {
constexpr int Groups = 1, List = 2, Empty = 3;
}

class DialCodesScreen final : public ui::Module {
  public:
    explicit DialCodesScreen(ui::ModuleHost& host);

    void build() override;
    bool command(std::uint32_t commandId, std::intptr_t data) override;
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
    std::span<const ui::MenuEntry> menuEntries() const override;
    std::any saveState() const override;
    void restoreState(const std::any& state) override;

    // Shows a letter group (1 to 10) with the selection on its first country whose name
    // starts with the initial (row 1 when none does).
    void showGroup(int group, wchar_t initial);
    // Goes to the first country with the initial, in the group that holds it.
    void goToInitial(wchar_t initial);
    int group() const;
    const core::RecordTable& all() const { return all_; }
    const core::RecordTable& view() const { return view_; }
    DialCodeList* list() const { return list_; }

  private:
    ui::ModuleHost& host_;
    core::RecordTable all_;
    core::RecordTable view_;
    LetterGroupBar* groups_ = nullptr;
    DialCodeList* list_ = nullptr;
};

}  // namespace worldtime
