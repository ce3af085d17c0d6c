#include "worldtime/screens/dial_codes_screen.h"

#include <memory>

#include "gfx/display_metrics.h"
#include "ui/label.h"
#include "ui/layout.h"
#include "worldtime/dial_codes.h"
#include "worldtime/screens/dial_code_list.h"

namespace worldtime {

using namespace platform;

namespace {

constexpr int kGroupCount = 10;
constexpr int kEmptyString = 254;

const ui::MenuEntry kMenu[] = {
    {ui::menuKind::Left, ui::menuParent::SoftKey, ui::command::LeftSoftKey, 16},
    {ui::menuKind::Right, ui::menuParent::SoftKey, ui::command::RightSoftKey, 17},
};

// The screen's size in layout pixels: the group bar across the top, the list below it.
Size layoutSize() {
    if (gfx::displayMetrics().isSquare)
        return {240, 188};
    if (gfx::isLandscape())
        return {320, 188};
    return {240, 268};
}

}  // namespace

DialCodesScreen::DialCodesScreen(ui::ModuleHost& host) : ui::Module(host), host_(host) {}

void DialCodesScreen::build() {
    const Size size = layoutSize();
    all_ = loadDialCodes(host_.mainPath());

    auto groups = std::make_unique<LetterGroupBar>();
    groups->id = dialCodesId::Groups;
    groups->onChoose = [this](int group) {
        showGroup(group, dialLetterGroup(group).empty() ? L'a' : dialLetterGroup(group).front());
    };
    groups_ = static_cast<LetterGroupBar*>(&addControl(std::move(groups)));
    groups_->place(gfx::scaleRect({2, 2, size.width - 2, 26}), nullptr);
    groups_->show(true, false);

    auto list = std::make_unique<DialCodeList>();
    list->id = dialCodesId::List;
    list->onGroupStep = [this](int step) {
        int next = (group() - 1 + step + kGroupCount) % kGroupCount + 1;
        showGroup(next, dialLetterGroup(next).empty() ? L'a' : dialLetterGroup(next).front());
    };
    list->onInitial = [this](wchar_t initial) { goToInitial(initial); };
    list_ = static_cast<DialCodeList*>(&addControl(std::move(list)));
    list_->place(gfx::scaleRect({0, 28, size.width, size.height}), nullptr);
    list_->show(true, false);

    const ui::LayoutRecord empty[] = {
        {dialCodesId::Empty, ui::layoutType::Label, 12, 60,
         static_cast<std::int16_t>(size.width - 24), 60, 0, kEmptyString,
         dt::Center | dt::WordBreak, ui::kEveryPage},
    };
    ui::buildLayout(*this, empty);
    rebuildIdIndex();
    setFocusedControl(list_, false);
    showGroup(kAllLettersGroup, L'a');
}

int DialCodesScreen::group() const {
    return groups_ ? groups_->group() : kAllLettersGroup;
}

void DialCodesScreen::showGroup(int group, wchar_t initial) {
    if (!groups_->setGroup(group))
        return;
    filterDialCodes(all_, group, view_);
    list_->setTable(&view_);
    bool empty = view_.empty();
    list_->show(!empty, true);
    if (ui::Control* note = findControl(dialCodesId::Empty))
        note->show(empty, true);
    if (!empty) {
        int row = firstDialRowWith(view_, initial);
        list_->scrollTo(row);
        list_->selectRow(row, false);
    }
    list_->invalidate();
}

void DialCodesScreen::goToInitial(wchar_t initial) {
    int group = dialGroupOf(initial);
    showGroup(group != 0 ? group : kAllLettersGroup, initial);
}

bool DialCodesScreen::command(std::uint32_t commandId, std::intptr_t) {
    if (commandId == ui::command::LeftSoftKey) {
        host_.showMainMenu(true);
        return true;
    }
    if (commandId == ui::command::RightSoftKey)
        return host_.back();
    return false;
}

bool DialCodesScreen::key(std::uint32_t message, std::uint32_t keyCode, LParam flags) {
    // With an empty group the list is hidden; Left and Right still step the groups.
    if (list_ && !list_->isVisible && (keyCode == vk::Left || keyCode == vk::Right))
        return list_->key(message, keyCode, flags);
    return false;
}

std::span<const ui::MenuEntry> DialCodesScreen::menuEntries() const {
    return kMenu;
}

std::any DialCodesScreen::saveState() const {
    return std::pair<int, int>(group(), list_ ? list_->currentRow() : 0);
}

void DialCodesScreen::restoreState(const std::any& state) {
    if (const auto* saved = std::any_cast<std::pair<int, int>>(&state)) {
        showGroup(saved->first, L'a');
        if (saved->second > 0)
            list_->selectRow(saved->second, false);
    }
}

}  // namespace worldtime
