#include "travel/screens/packing_screen.h"

#include <algorithm>

#include "core/language.h"
#include "gfx/display_metrics.h"
#include "platform/api/control.h"
#include "platform/api/device.h"
#include "travel/packing_groups.h"
#include "travel/packing_language.h"
#include "travel/screens/packing_parts.h"
#include "travel/screens/packing_view.h"
#include "ui/edit_field.h"
#include "ui/label.h"
#include "ui/module_ids.h"

namespace travel {

using namespace platform;

namespace {

namespace text {
constexpr int Menu = 16, Back = 17, Cancel = 18, Edit = 93, Delete = 94, Ok = 224, Options = 375,
              NewEntry = 536, ItemCaption = 538, CategoryCaption = 540, Open = 544, Done = 751,
              NoCategory = 880, IconCaption = 884, Templates = 886, SaveTemplate = 888,
              Packed = 889, Marked = 890, AddItems = 891, BackWithoutSaving = 892, Add = 893,
              NewList = 894, Choose = 897, ListName = 898, PackingLists = 899;
}

// The module's own pages of controls: the list with its heading, and the two forms.
namespace modulePage {
constexpr int Browse = 1, NamingForm = 2, EntryForm = 3;
}

// The client area in layout pixels for the screen's shape.
Rect clientArea() {
    if (gfx::isLandscape())
        return {0, 0, 320, 188};
    if (gfx::displayMetrics().isSquare)
        return {0, 0, 240, 188};
    return {0, 0, 240, 268};
}

constexpr std::uint32_t kCaption =
    dt::Left | dt::VCenter | dt::SingleLine | dt::EndEllipsis | dt::NoPrefix;

std::vector<PackingViewRow> overviewRows(const std::vector<OverviewRow>& overview) {
    std::vector<PackingViewRow> rows;
    for (std::size_t i = 0; i < overview.size(); ++i) {
        const OverviewRow& o = overview[i];
        rows.push_back({PackingViewRow::Kind::Overview, titleDisplayName(o.title), o.status,
                        titleIcon(o.title), false, false, static_cast<int>(i)});
    }
    return rows;
}

std::vector<PackingViewRow> itemRows(const std::vector<PackingItem>& items) {
    const std::wstring other = core::languageString(text::NoCategory);
    std::vector<PackingViewRow> rows;
    for (const PackingRow& g : groupByCategory(items, other)) {
        if (g.heading) {
            rows.push_back({PackingViewRow::Kind::Heading, g.text, L"", L"", false, false, -1});
            continue;
        }
        const PackingItem& item = items[static_cast<std::size_t>(g.item)];
        rows.push_back({PackingViewRow::Kind::Item, item.text, shownCategory(item, other), L"",
                        item.ticked, item.flagged, g.item});
    }
    return rows;
}

}  // namespace

void registerPackingScreen(ui::ScreenRegistry& registry) {
    auto state = std::make_shared<PackingScreenState>();
    registry.add(ui::moduleId::Packing, [state](ui::ModuleHost& host, int) {
        return std::make_unique<PackingScreen>(host, state);
    });
    // The page and its rows in words, for drivers of the program ("ctl app packing").
    registry.addStartUp([state](ui::ModuleHost&) {
        platform::registerAppRequest("packing", [state](std::string_view) {
            if (state->readout.empty())
                return platform::ControlReply{false, "no packing screen"};
            return platform::ControlReply{true, platform::toUtf8(state->readout)};
        });
        return true;
    });
}

PackingScreen::PackingScreen(ui::ModuleHost& host, std::shared_ptr<PackingScreenState> state)
    : ui::Module(host), host_(host), state_(std::move(state)) {}

PackingScreen::~PackingScreen() {
    state_->readout.clear();
}

void PackingScreen::build() {
    followPackingLanguage(host_.mainPath());
    auto heading = std::make_unique<PackingHeading>(host_.mainPath());
    heading->id = packingId::Heading;
    heading->page = modulePage::Browse;
    heading_ = static_cast<PackingHeading*>(&addControl(std::move(heading)));

    auto view = std::make_unique<PackingView>(host_.mainPath());
    view->id = packingId::List;
    view->page = modulePage::Browse;
    view->onSelectionChange = [this](ui::ListControl&, int) {
        refreshMenu();
        updateReadout();
    };
    view->onActivate = [this](ui::ListControl&, int row) { return activate(row); };
    view->onMark = [this](int, bool flag) { mark(flag); };
    view_ = static_cast<PackingView*>(&addControl(std::move(view)));
    buildForms();
    rebuildIdIndex();
    currentPage = modulePage::Browse;
    showPage(packingPage::Lists);
}

void PackingScreen::buildForms() {
    auto label = [this](int id, int page, int string) {
        auto made = std::make_unique<ui::Label>(string, kCaption);
        made->id = id;
        made->page = page;
        return static_cast<ui::Label*>(&addControl(std::move(made)));
    };
    auto field = [this](int id, int page) {
        auto made = std::make_unique<ui::EditField>(host_, es::AutoHScroll);
        made->id = id;
        made->page = page;
        auto* added = static_cast<ui::EditField*>(&addControl(std::move(made)));
        added->setLimit(kMaxItemText);
        return added;
    };
    // The naming form; its title says what is named.
    formTitle_ = label(packingId::FormTitle, modulePage::NamingForm, text::ListName);
    formTitle_->setOwnFont(10, true);
    name_ = field(packingId::Name, modulePage::NamingForm);
    name_->setLimit(kMaxNameLength);
    iconCaption_ = label(packingId::IconCaption, modulePage::NamingForm, text::IconCaption);
    auto icons = std::make_unique<IconChooser>(host_.mainPath());
    icons->id = packingId::Icons;
    icons->page = modulePage::NamingForm;
    icons_ = static_cast<IconChooser*>(&addControl(std::move(icons)));
    icons_->setIcons(listIcons(host_.mainPath()));
    // The entry form.
    label(packingId::TextCaption, modulePage::EntryForm, text::ItemCaption);
    text_ = field(packingId::Text, modulePage::EntryForm);
    label(packingId::CategoryCaption, modulePage::EntryForm, text::CategoryCaption);
    category_ = field(packingId::Category, modulePage::EntryForm);
}

void PackingScreen::placeControls() {
    Rect area = clientArea();
    int w = area.right;
    bool summary = page_ == packingPage::Items;
    int band = PackingHeading::heightFor(summary);
    heading_->place(gfx::scaleRect({0, 0, w, band}), nullptr);
    view_->place(gfx::scaleRect({2, band + 2, w - 2, area.bottom - 2}), nullptr);
    // The forms keep to the top, clear of the input panel.
    formTitle_->place(gfx::scaleRect({6, 6, w - 6, 26}), nullptr);
    name_->place(gfx::scaleRect({6, 30, w - 6, 52}), nullptr);
    iconCaption_->place(gfx::scaleRect({6, 58, w - 6, 76}), nullptr);
    icons_->place(gfx::scaleRect({6, 78, w - 6, area.bottom - 4}), nullptr);
    findControl(packingId::TextCaption)->place(gfx::scaleRect({6, 30, w - 6, 48}), nullptr);
    text_->place(gfx::scaleRect({6, 50, w - 6, 72}), nullptr);
    findControl(packingId::CategoryCaption)->place(gfx::scaleRect({6, 78, w - 6, 96}), nullptr);
    category_->place(gfx::scaleRect({6, 98, w - 6, 120}), nullptr);
    for (const auto& c : controls()) c->show(true, false);
    icons_->show(true, false);
}

int PackingScreen::selectedItem() const {
    int row = view_->currentRow();
    if (row < 1 || row > view_->rowCount())
        return -1;
    const PackingViewRow& r = view_->rows().row(row);
    return r.kind == PackingViewRow::Kind::Item ? r.index : -1;
}

void PackingScreen::showPage(int page, int row) {
    page_ = page;
    bool browse = page <= packingPage::Master;
    if (browse)
        returnPage_ = page;
    placeControls();
    if (page == packingPage::Lists || page == packingPage::Templates) {
        overview_ =
            packingOverview(host_.mainPath(), page == packingPage::Lists ? OverviewKind::Lists
                                                                         : OverviewKind::Templates);
    }
    iconCaption_->show(naming_ == Naming::NewList, false);
    icons_->show(naming_ == Naming::NewList, false);
    int shown =
        browse ? modulePage::Browse
               : (page == packingPage::Naming ? modulePage::NamingForm : modulePage::EntryForm);
    // The form title serves both forms.
    formTitle_->page = browse ? modulePage::NamingForm : shown;
    setPage(shown);
    if (browse) {
        refreshRows(row);
        setFocusedControl(view_, false);
    }
    refreshHeading();
    refreshMenu();
    updateReadout();
    invalidate(false);
}

void PackingScreen::refreshRows(int row) {
    switch (page_) {
        case packingPage::Lists:
        case packingPage::Templates:
            view_->setRows(overviewRows(overview_), true);
            break;
        case packingPage::Items:
            view_->setRows(itemRows(open_ ? open_->items() : std::vector<PackingItem>{}), false);
            break;
        case packingPage::Master:
            view_->setRows(itemRows(master_.entries()), false, false);
            break;
        default:
            return;
    }
    row = std::clamp(row, 1, std::max(1, view_->rowCount()));
    // A heading is not something to act on: the first item below it is chosen instead.
    if (page_ >= packingPage::Items && row <= view_->rowCount() &&
        view_->rows().row(row).kind == PackingViewRow::Kind::Heading && row < view_->rowCount())
        ++row;
    view_->selectRow(row, false);
}

void PackingScreen::refreshHeading() {
    switch (page_) {
        case packingPage::Lists:
            heading_->set(core::languageString(text::PackingLists), L"list_travel.tga", {});
            break;
        case packingPage::Templates:
            heading_->set(core::languageString(text::Templates), L"list_new.tga", {});
            break;
        case packingPage::Items:
            if (open_) {
                heading_->set(open_->displayName(), open_->icon(),
                              PackingSummary{open_->itemCount(), open_->tickedCount(),
                                             open_->flaggedCount()});
            }
            break;
        case packingPage::Master:
            heading_->set(core::languageString(text::AddItems), open_ ? open_->icon() : L"", {});
            break;
        default:
            break;
    }
}

void PackingScreen::refreshMenu() {
    using ui::MenuEntry;
    namespace kind = ui::menuKind;
    namespace parent = ui::menuParent;
    namespace c = packingCommand;
    auto left = [](std::uint32_t string) {
        return MenuEntry{kind::Left, parent::SoftKey, ui::command::LeftSoftKey, string};
    };
    auto right = [](std::uint32_t string) {
        return MenuEntry{kind::Right, parent::SoftKey, ui::command::RightSoftKey, string};
    };
    auto item = [](std::uint32_t command, std::uint32_t string, bool enabled = true,
                   bool checked = false) {
        MenuEntry e{kind::Right, 0, static_cast<std::uint16_t>(command), string};
        e.enabled = enabled;
        e.checked = checked;
        return e;
    };
    const MenuEntry separator{kind::Right, 0, ui::kSeparatorCommand, 0};
    int index = selectedItem();
    int row = view_->currentRow();
    switch (page_) {
        case packingPage::Lists:
            menu_ = {left(text::Menu), right(text::Options), item(c::NewList, text::NewList),
                     item(c::Open, text::Open, row > 1),
                     item(c::DeleteList, text::Delete, row > 1)};
            break;
        case packingPage::Templates:
            menu_ = {left(text::Choose), right(text::Options),
                     item(c::Delete, text::Delete, row > 1), separator, item(c::Back, text::Back)};
            break;
        case packingPage::Items: {
            const PackingItem* it =
                open_ && index >= 0 ? &open_->items()[static_cast<std::size_t>(index)] : nullptr;
            menu_ = {left(text::Done),
                     right(text::Options),
                     item(c::Tick, text::Packed, it, it && it->ticked),
                     item(c::Flag, text::Marked, it, it && it->flagged),
                     item(c::Edit, text::Edit, it),
                     item(c::Delete, text::Delete, it),
                     separator,
                     item(c::Add, text::AddItems),
                     item(c::SaveTemplate, text::SaveTemplate),
                     separator,
                     item(c::Back, text::BackWithoutSaving)};
            break;
        }
        case packingPage::Master: {
            bool chosen = index >= 0 && master_.entries()[static_cast<std::size_t>(index)].ticked;
            menu_ = {left(text::Add),
                     right(text::Options),
                     item(c::Tick, text::Choose, index >= 0, chosen),
                     item(c::Add, text::NewEntry),
                     item(c::Edit, text::Edit, index >= 0),
                     item(c::Delete, text::Delete, index >= 0),
                     separator,
                     item(c::Back, text::Back)};
            break;
        }
        default:
            menu_ = {left(text::Ok), right(text::Cancel)};
            break;
    }
    if (isActive)
        host_.setMenuBar(menu_);
}

std::span<const ui::MenuEntry> PackingScreen::menuEntries() const {
    return menu_;
}

bool PackingScreen::command(std::uint32_t commandId, std::intptr_t) {
    if (commandId == ui::command::Back)
        return backKey();
    switch (page_) {
        case packingPage::Lists:
            return listsCommand(commandId);
        case packingPage::Templates:
            return templatesCommand(commandId);
        case packingPage::Items:
            return itemsCommand(commandId);
        case packingPage::Master:
            return masterCommand(commandId);
        case packingPage::Naming:
            return namingCommand(commandId);
        case packingPage::Entry:
            return entryCommand(commandId);
        default:
            return false;
    }
}

bool PackingScreen::backKey() {
    switch (page_) {
        case packingPage::Lists:
            return false;  // the previous screen
        case packingPage::Templates:
            showPage(packingPage::Lists);
            return true;
        case packingPage::Items:
            // The Back key keeps what was ticked: it saves as Done does.
            return itemsCommand(packingCommand::Confirm);
        case packingPage::Master:
            showPage(packingPage::Items, view_->rowOfItem(0));
            return true;
        default:
            return command(packingCommand::Cancel, 0);
    }
}

bool PackingScreen::activate(int row) {
    switch (page_) {
        case packingPage::Lists:
            return listsCommand(row > 1 ? packingCommand::Open : packingCommand::NewList);
        case packingPage::Templates:
            return templatesCommand(packingCommand::Confirm);
        case packingPage::Items:
        case packingPage::Master:
            if (selectedItem() >= 0)
                toggleItem(selectedItem(), false);
            return true;
        default:
            return false;
    }
}

void PackingScreen::mark(bool flag) {
    if (selectedItem() < 0)
        return;
    // The master list has only the choice; its flag column chooses too.
    toggleItem(selectedItem(), flag && page_ == packingPage::Items);
}

bool PackingScreen::listsCommand(std::uint32_t id) {
    switch (id) {
        case ui::command::LeftSoftKey:
            host_.showMainMenu(true);
            return true;
        case packingCommand::NewList:
            source_.reset();
            showPage(packingPage::Templates);
            return true;
        case packingCommand::Open:
            openSelectedList();
            return true;
        case packingCommand::DeleteList:
            deleteSelectedFile(OverviewKind::Lists);
            return true;
        default:
            return false;
    }
}

bool PackingScreen::templatesCommand(std::uint32_t id) {
    switch (id) {
        case packingCommand::Confirm:
            useSelectedTemplate();
            return true;
        case packingCommand::Delete:
            deleteSelectedFile(OverviewKind::Templates);
            return true;
        case packingCommand::Back:
            showPage(packingPage::Lists);
            return true;
        default:
            return false;
    }
}

bool PackingScreen::itemsCommand(std::uint32_t id) {
    int index = selectedItem();
    switch (id) {
        case packingCommand::Confirm:
            if (saveOpenList()) {
                open_.reset();
                showPage(packingPage::Lists);
            }
            return true;
        case packingCommand::Back:
            open_.reset();
            showPage(packingPage::Lists);
            return true;
        case packingCommand::Tick:
        case packingCommand::Flag:
            if (index >= 0)
                toggleItem(index, id == packingCommand::Flag);
            return true;
        case packingCommand::Edit:
            if (index >= 0)
                startEntry(Entry::EditItem);
            return true;
        case packingCommand::Delete:
            deleteSelectedItem();
            return true;
        case packingCommand::Add:
            openMasterList();
            return true;
        case packingCommand::SaveTemplate:
            startNaming(Naming::Template);
            return true;
        default:
            return false;
    }
}

bool PackingScreen::masterCommand(std::uint32_t id) {
    int index = selectedItem();
    switch (id) {
        case packingCommand::Confirm: {
            int first = open_ ? open_->itemCount() : 0;
            if (open_)
                master_.addChosenTo(open_->items());
            showPage(packingPage::Items, 1);
            if (open_ && open_->itemCount() > first)
                view_->selectRow(view_->rowOfItem(first), false);
            refreshMenu();
            updateReadout();
            return true;
        }
        case packingCommand::Back:
            showPage(packingPage::Items);
            return true;
        case packingCommand::Tick:
            if (index >= 0)
                toggleItem(index, false);
            return true;
        case packingCommand::Add:
            startEntry(Entry::NewEntry);
            return true;
        case packingCommand::Edit:
            if (index >= 0)
                startEntry(Entry::EditEntry);
            return true;
        case packingCommand::Delete:
            deleteSelectedItem();
            return true;
        default:
            return false;
    }
}

}  // namespace travel
