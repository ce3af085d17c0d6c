#pragma once
// The options screen (module 11): a main page of six buttons (general, look, home screen,
// downloads, automatic updates, the set-up wizard) and five pages of choice lists, one list
// per option of the option model. Every choice is stored at once through the model and acts
// at once where it can: the look is reloaded, the time format and units are read again,
// updates are rescheduled and the cradle registration follows.

#include <cstdint>
#include <span>
#include <vector>

#include "ui/module.h"

namespace ui {
class Label;
class OptionList;
}  // namespace ui

namespace home {
class LayoutPreview;
}

namespace updates {

class FilterCheckList;

// Commands of the options screen: pages 110 to 114 and the set-up wizard.
namespace optionsCommand {
constexpr std::uint32_t FirstPage = 110, LastPage = 114, Wizard = 120;
}

class OptionsScreen final : public ui::Module {
  public:
    explicit OptionsScreen(ui::ModuleHost& host);

    void build() override;
    void show(bool visible, bool focusFirst) override;
    void controlChanged(ui::Control& control) override;
    bool controlPressed(ui::Control& control) override;
    bool command(std::uint32_t commandId, std::intptr_t data) override;
    std::span<const ui::MenuEntry> menuEntries() const override;
    std::any saveState() const override;
    void restoreState(const std::any& state) override;

    // The page shown: 109 the main page, 110 to 114 the option pages.
    int page() const { return page_; }
    void openPage(int page);

  private:
    void fillLists();
    void refreshStatus();
    // Paints the home-screen page's preview of the item again, with the wait cursor.
    void rebuildPreview();
    void optionChosen(std::size_t option, ui::OptionList& list);
    void act(unsigned effects);
    void updateMenu();

    ui::ModuleHost& host_;
    int page_ = 109;
    bool languageNoticeShown_ = false;
    ui::Label* title_ = nullptr;
    FilterCheckList* filter_ = nullptr;
    ui::Label* status_ = nullptr;
    home::LayoutPreview* preview_ = nullptr;
    std::vector<ui::MenuEntry> menu_;
};

}  // namespace updates
