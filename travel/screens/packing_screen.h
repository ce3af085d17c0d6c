#pragma once
// The packing lists (module 53). Four pages share the heading band and the list: 1 the
// lists, 2 the templates (a new list starts from one of them or empty), 3 the items of the
// open list by category with their ticks and flags, 4 the master list to add items from.
// Two forms cover them while the user types: the name (and icon) of a new list or of a
// template, and the text and category of a master-list entry or an item.
//
// The open list lives only in memory until it is saved (Done, or the Back key) and is dropped
// by "Back without saving". Every file goes through the packing store, which writes beside the
// file and renames; a save that fails keeps the list open and says so.

#include <any>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "travel/packing_store.h"
#include "ui/module.h"
#include "ui/screen_registry.h"

namespace ui {
class EditField;
class Label;
}  // namespace ui

namespace travel {

class PackingView;
class PackingHeading;
class IconChooser;

namespace packingPage {
constexpr int Lists = 1, Templates = 2, Items = 3, Master = 4, Naming = 5, Entry = 6;
}
namespace packingCommand {
constexpr std::uint32_t Confirm = 99, Cancel = 100, Back = 101, Add = 102, Edit = 103, Delete = 104,
                        Flag = 105, Tick = 106, SaveTemplate = 107, NewList = 120, Open = 121,
                        DeleteList = 122;
}
namespace packingId {
constexpr int Heading = 1, List = 2, FormTitle = 3, Name = 4, IconCaption = 5, Icons = 6,
              TextCaption = 7, Text = 8, CategoryCaption = 9, Category = 10;
}

// What the screens leave for drivers of the program ("ctl app packing").
struct PackingScreenState {
    std::wstring readout;
};

// Registers module 53 and the "packing" request that reads out its page.
void registerPackingScreen(ui::ScreenRegistry& registry);

class PackingScreen final : public ui::Module {
  public:
    PackingScreen(ui::ModuleHost& host, std::shared_ptr<PackingScreenState> state);
    ~PackingScreen() override;

    void build() override;
    bool command(std::uint32_t commandId, std::intptr_t data) override;
    std::span<const ui::MenuEntry> menuEntries() const override;
    std::any saveState() const override;
    void restoreState(const std::any& state) override;

    int page() const { return page_; }
    const std::optional<PackingList>& openList() const { return open_; }
    const MasterList& masterList() const { return master_; }
    PackingView& view() const { return *view_; }
    PackingHeading& heading() const { return *heading_; }
    IconChooser& iconChooser() const { return *icons_; }
    ui::EditField& nameField() const { return *name_; }
    ui::EditField& textField() const { return *text_; }
    ui::EditField& categoryField() const { return *category_; }
    // The selected row's item (page 3) or master-list entry (page 4); -1 on a heading.
    int selectedItem() const;

    // What a form is for.
    enum class Naming { NewList, Template };
    enum class Entry { NewEntry, EditEntry, EditItem };

    // Everything the user was doing, kept across a rotation.
    struct Snapshot {
        int page = packingPage::Lists;
        int returnPage = packingPage::Lists;
        int row = 1;
        std::optional<PackingList> open;
        std::optional<PackingList> source;
        MasterList master;
        Naming naming = Naming::NewList;
        Entry entry = Entry::NewEntry;
        int entryIndex = -1;
        std::wstring name, icon, text, category;
    };

  private:
    void buildForms();
    void placeControls();
    void showPage(int page, int row = 1);
    void refreshRows(int row);
    void refreshHeading();
    void refreshMenu();
    void updateReadout();

    bool listsCommand(std::uint32_t id);
    bool templatesCommand(std::uint32_t id);
    bool itemsCommand(std::uint32_t id);
    bool masterCommand(std::uint32_t id);
    bool namingCommand(std::uint32_t id);
    bool entryCommand(std::uint32_t id);
    bool backKey();
    bool activate(int row);
    void mark(bool flag);

    void openSelectedList();
    void deleteSelectedFile(OverviewKind kind);
    void useSelectedTemplate();
    void startNaming(Naming purpose);
    void confirmNaming();
    void startEntry(Entry purpose);
    void confirmEntry();
    bool saveOpenList();
    void toggleItem(int index, bool flag);
    void deleteSelectedItem();
    void openMasterList();
    bool ask(std::wstring_view question);
    void tell(std::wstring_view text, std::uint32_t icon);

    ui::ModuleHost& host_;
    std::shared_ptr<PackingScreenState> state_;
    PackingView* view_ = nullptr;
    PackingHeading* heading_ = nullptr;
    IconChooser* icons_ = nullptr;
    ui::Label* formTitle_ = nullptr;
    ui::Label* iconCaption_ = nullptr;
    ui::EditField* name_ = nullptr;
    ui::EditField* text_ = nullptr;
    ui::EditField* category_ = nullptr;
    std::vector<ui::MenuEntry> menu_;

    int page_ = packingPage::Lists;
    int returnPage_ = packingPage::Lists;  // where a form goes back to
    std::vector<OverviewRow> overview_;
    std::optional<PackingList> open_;
    std::optional<PackingList> source_;  // the template a new list starts from
    MasterList master_;
    Naming naming_ = Naming::NewList;
    Entry entry_ = Entry::NewEntry;
    int entryIndex_ = -1;
};

}  // namespace travel
