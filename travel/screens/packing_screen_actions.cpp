// What the packing screen's commands do: opening, deleting and naming lists and templates,
// the entry form, ticks and flags, and the master list.

#include <algorithm>

#include "core/format.h"
#include "core/language.h"
#include "core/message_box.h"
#include "platform/api/shell.h"
#include "travel/screens/packing_parts.h"
#include "travel/screens/packing_screen.h"
#include "travel/screens/packing_view.h"
#include "ui/edit_field.h"
#include "ui/label.h"

namespace travel {

using namespace platform;

namespace {

namespace text {
constexpr int NewEntry = 536, EditEntry = 537, DefaultEntry = 539, DeleteList = 555,
              DeleteTemplate = 556, NameExists = 557, DeleteItem = 558, BadName = 885,
              TemplateName = 895, SaveFailed = 896, ListName = 898;
}

std::wstring trimmedText(std::wstring text) {
    std::size_t first = text.find_first_not_of(L" \t");
    std::size_t last = text.find_last_not_of(L" \t");
    return first == std::wstring::npos ? std::wstring() : text.substr(first, last - first + 1);
}

}  // namespace

bool PackingScreen::ask(std::wstring_view question) {
    return core::showMessageBox(question, host_.programName(), mb::YesNo | mb::IconQuestion) ==
           id::Yes;
}

void PackingScreen::tell(std::wstring_view text, std::uint32_t icon) {
    core::showMessageBox(text, host_.programName(), mb::Ok | icon);
}

void PackingScreen::openSelectedList() {
    int row = view_->currentRow();
    if (row <= 1 || row > static_cast<int>(overview_.size()))
        return;
    std::optional<PackingList> list =
        loadPackingFile(host_.mainPath(), overview_[static_cast<std::size_t>(row - 1)].fileName);
    if (!list) {
        // Gone or emptied since the overview was built.
        showPage(packingPage::Lists, row);
        return;
    }
    open_ = std::move(list);
    showPage(packingPage::Items, 1);
}

void PackingScreen::deleteSelectedFile(OverviewKind kind) {
    int row = view_->currentRow();
    if (row <= 1 || row > static_cast<int>(overview_.size()))
        return;
    const OverviewRow& chosen = overview_[static_cast<std::size_t>(row - 1)];
    int question = kind == OverviewKind::Lists ? text::DeleteList : text::DeleteTemplate;
    if (!ask(core::formatText(core::languageString(question), titleDisplayName(chosen.title))))
        return;
    deletePackingFile(host_.mainPath(), chosen.fileName);
    showPage(page_, row);
}

void PackingScreen::useSelectedTemplate() {
    int row = view_->currentRow();
    source_.reset();
    if (row > 1 && row <= static_cast<int>(overview_.size())) {
        source_ = loadPackingFile(host_.mainPath(),
                                  overview_[static_cast<std::size_t>(row - 1)].fileName);
        if (!source_) {
            showPage(packingPage::Templates, row);
            return;
        }
    }
    startNaming(Naming::NewList);
}

void PackingScreen::startNaming(Naming purpose) {
    naming_ = purpose;
    if (purpose == Naming::NewList) {
        formTitle_->setStringNumber(text::ListName);
        name_->setText(L"");
        icons_->setIcons(listIcons(host_.mainPath()));
        icons_->choose(source_ ? source_->icon() : std::wstring(kNewListIcon));
    } else {
        formTitle_->setStringNumber(text::TemplateName);
        name_->setText(open_ ? open_->displayName() : L"");
    }
    showPage(packingPage::Naming);
    setFocusedControl(name_, false);
}

bool PackingScreen::namingCommand(std::uint32_t id) {
    if (id == packingCommand::Confirm) {
        confirmNaming();
        return true;
    }
    if (id == packingCommand::Cancel) {
        showPage(naming_ == Naming::NewList ? packingPage::Templates : packingPage::Items,
                 naming_ == Naming::NewList ? 1 : view_->currentRow());
        return true;
    }
    return false;
}

void PackingScreen::confirmNaming() {
    std::wstring name = trimmedText(name_->text());
    if (naming_ == Naming::Template) {
        if (!isValidListName(name)) {
            tell(core::languageString(text::BadName), mb::IconExclamation);
            return;
        }
        if (open_ && !saveAsTemplate(host_.mainPath(), *open_, name)) {
            tell(core::languageString(text::SaveFailed), mb::IconExclamation);
            return;
        }
        showPage(packingPage::Items);
        return;
    }
    switch (checkNewListName(host_.mainPath(), name)) {
        case NameCheck::Invalid:
            tell(core::languageString(text::BadName), mb::IconExclamation);
            return;
        case NameCheck::Exists:
            tell(core::languageString(text::NameExists), mb::IconInformation);
            return;
        case NameCheck::Ok:
            break;
    }
    open_ = newPackingList(name, icons_->chosen(), source_ ? &*source_ : nullptr);
    source_.reset();
    showPage(packingPage::Items, 1);
}

void PackingScreen::startEntry(Entry purpose) {
    entry_ = purpose;
    entryIndex_ = selectedItem();
    const PackingItem* current = nullptr;
    if (purpose == Entry::EditItem && open_ && entryIndex_ >= 0)
        current = &open_->items()[static_cast<std::size_t>(entryIndex_)];
    else if (entryIndex_ >= 0 && entryIndex_ < master_.count())
        current = &master_.entries()[static_cast<std::size_t>(entryIndex_)];
    formTitle_->setStringNumber(purpose == Entry::NewEntry ? text::NewEntry : text::EditEntry);
    text_->setText(purpose == Entry::NewEntry || !current ? core::languageString(text::DefaultEntry)
                                                          : current->text);
    // A new entry starts in the category of the row it was asked from.
    category_->setText(current ? current->category : L"");
    int back = page_;
    showPage(packingPage::Entry);
    returnPage_ = back;
    setFocusedControl(text_, false);
    text_->select(0, text_->text().size());
}

bool PackingScreen::entryCommand(std::uint32_t id) {
    if (id == packingCommand::Confirm) {
        confirmEntry();
        return true;
    }
    if (id == packingCommand::Cancel) {
        int row = view_->currentRow();
        showPage(returnPage_, row);
        return true;
    }
    return false;
}

void PackingScreen::confirmEntry() {
    std::wstring entryText = cleanFieldText(text_->text());
    std::wstring category = cleanFieldText(category_->text());
    if (entryText.empty())
        return;
    int index = entryIndex_;
    if (entry_ == Entry::EditItem) {
        if (open_ && index >= 0 && index < open_->itemCount()) {
            PackingItem& item = open_->items()[static_cast<std::size_t>(index)];
            item.text = entryText;
            item.category = category;
        }
        showPage(packingPage::Items);
        view_->selectRow(view_->rowOfItem(index), false);
        refreshMenu();
        updateReadout();
        return;
    }
    if (entry_ == Entry::NewEntry)
        index = master_.add(entryText, category);
    else
        master_.edit(index, entryText, category);
    if (!master_.save())
        tell(core::languageString(text::SaveFailed), mb::IconExclamation);
    showPage(packingPage::Master);
    view_->selectRow(view_->rowOfItem(index), false);
    refreshMenu();
    updateReadout();
}

bool PackingScreen::saveOpenList() {
    if (!open_)
        return true;
    std::wstring folder = packingFolder(host_.mainPath());
    platform::createFolder(folder);
    if (open_->save(folder))
        return true;
    tell(core::languageString(text::SaveFailed), mb::IconExclamation);
    return false;
}

void PackingScreen::toggleItem(int index, bool flag) {
    int row = view_->currentRow();
    if (page_ == packingPage::Master) {
        master_.toggleChoice(index);
    } else if (open_ && index >= 0 && index < open_->itemCount()) {
        PackingItem& item = open_->items()[static_cast<std::size_t>(index)];
        (flag ? item.flagged : item.ticked) = !(flag ? item.flagged : item.ticked);
    }
    refreshRows(row);
    refreshHeading();
    refreshMenu();
    updateReadout();
}

void PackingScreen::deleteSelectedItem() {
    int index = selectedItem();
    bool master = page_ == packingPage::Master;
    const std::vector<PackingItem>* items = master  ? &master_.entries()
                                            : open_ ? &open_->items()
                                                    : nullptr;
    if (!items || index < 0 || index >= static_cast<int>(items->size()))
        return;
    const std::wstring& name = (*items)[static_cast<std::size_t>(index)].text;
    if (!ask(core::formatText(core::languageString(text::DeleteItem), name)))
        return;
    int row = view_->currentRow();
    if (master) {
        master_.remove(index);
        if (!master_.save())
            tell(core::languageString(text::SaveFailed), mb::IconExclamation);
    } else {
        open_->items().erase(open_->items().begin() + index);
    }
    refreshRows(row);
    refreshHeading();
    refreshMenu();
    updateReadout();
}

void PackingScreen::openMasterList() {
    master_ = MasterList::load(host_.mainPath());
    master_.clearChoices();
    showPage(packingPage::Master, 1);
}

void PackingScreen::updateReadout() {
    std::wstring out = L"page " + std::to_wstring(page_);
    if (page_ == packingPage::Items && open_)
        out += L" " + open_->displayName();
    out += L"; selected " + std::to_wstring(view_->currentRow());
    if (page_ <= packingPage::Master) {
        for (const PackingViewRow& r : view_->rows().rows()) {
            out += L"\n";
            switch (r.kind) {
                case PackingViewRow::Kind::Overview:
                    out += r.title + L" | " + r.detail;
                    break;
                case PackingViewRow::Kind::Heading:
                    out += L"# " + r.title;
                    break;
                case PackingViewRow::Kind::Item:
                    out += std::wstring(r.ticked ? L"[x] " : L"[ ] ") + r.title +
                           (r.flagged ? L" !" : L"");
                    break;
            }
        }
    }
    state_->readout = out;
}

std::any PackingScreen::saveState() const {
    return Snapshot{page_,
                    returnPage_,
                    view_->currentRow(),
                    open_,
                    source_,
                    master_,
                    naming_,
                    entry_,
                    entryIndex_,
                    name_->text(),
                    icons_->chosen(),
                    text_->text(),
                    category_->text()};
}

void PackingScreen::restoreState(const std::any& state) {
    const auto* s = std::any_cast<Snapshot>(&state);
    if (!s)
        return;
    open_ = s->open;
    source_ = s->source;
    master_ = s->master;
    naming_ = s->naming;
    entry_ = s->entry;
    entryIndex_ = s->entryIndex;
    name_->setText(s->name);
    icons_->choose(s->icon);
    text_->setText(s->text);
    category_->setText(s->category);
    if (s->page == packingPage::Naming || s->page == packingPage::Entry) {
        // The list under the form comes back first, so that the form returns to it.
        showPage(s->returnPage, s->row);
        formTitle_->setStringNumber(
            s->page == packingPage::Naming
                ? (naming_ == Naming::NewList ? text::ListName : text::TemplateName)
                : (entry_ == Entry::NewEntry ? text::NewEntry : text::EditEntry));
        showPage(s->page);
        returnPage_ = s->returnPage;
        setFocusedControl(s->page == packingPage::Naming ? static_cast<ui::Control*>(name_) : text_,
                          false);
        return;
    }
    showPage(s->page, s->row);
}

}  // namespace travel
