#include "conversions/screens/conversion_screen.h"

#include <algorithm>

#include "conversions/rates_age.h"
#include "conversions/screens/conversion_list.h"
#include "conversions/screens/keypad.h"
#include "conversions/settings_keys.h"
#include "core/comms.h"
#include "core/format.h"
#include "core/language.h"
#include "core/message_box.h"
#include "core/settings.h"
#include "core/settings_keys.h"
#include "core/text_case.h"
#include "gfx/decoration_pictures.h"
#include "gfx/display_metrics.h"
#include "gfx/drawing.h"
#include "gfx/resample.h"
#include "platform/api/locale.h"
#include "ui/control_paint.h"
#include "ui/drop_down.h"
#include "ui/label.h"
#include "worldtime/screens/city_lists.h"

namespace conversions {

using namespace platform;

namespace {

namespace text {
constexpr int Menu = 16, Back = 17, Cancel = 18, Ok = 224, Options = 375, UpdateRates = 129,
              EnterAmount = 130, Currency = 131, Temperature = 132, ChooseUnits = 133,
              SourceAndAge = 134, Stale = 135, Tick = 136, CancelUpdate = 137, TickUnits = 138,
              Updating = 139, NoRates = 140, RatesOf = 141, Fahrenheit = 142, NoRatesNote = 146,
              OneRow = 147, NotStarted = 713;
}

constexpr std::uintptr_t kBusyTimer = 4101;
constexpr std::uint32_t kBusyIntervalMs = 300;
constexpr Colour kStaleColour = 0x0000C0;  // red, as the device's colours are BGR
constexpr std::uint32_t kLineFormat = dt::Left | dt::VCenter | dt::SingleLine | dt::EndEllipsis;

gfx::TargaPixels loadPicture(std::wstring_view devicePath, int width, int height) {
    std::unique_ptr<gfx::TargaPixels> pixels;
    if (gfx::loadTarga(devicePath, pixels) != gfx::TargaStatus::Loaded || width <= 0 ||
        height <= 0) {
        return {};
    }
    return gfx::resampleTarga(*pixels, width, height);
}

struct SavedState {
    std::size_t category = 0;
    int row = 0;
    double amount = 1;
    int amountRow = 1;
};

}  // namespace

ConversionScreen::ConversionScreen(ui::ModuleHost& host, std::shared_ptr<ConversionReadout> readout)
    : ui::Module(host), host_(host), readout_(std::move(readout)) {}

ConversionScreen::~ConversionScreen() {
    if (readout_)
        readout_->text.clear();
    if (host_.mainWindow())
        killTimer(host_.mainWindow(), kBusyTimer);
}

void ConversionScreen::build() {
    std::wstring folder = conversionsFolder(host_.mainPath());
    categories_ = loadCategories(folder, core::settings::read(core::keys::OptLang),
                                 core::languageString(text::Currency),
                                 core::languageString(text::Temperature));
    auto makeLabel = [this](int id) {
        auto label = std::make_unique<ui::Label>(0, kLineFormat);
        label->id = id;
        return static_cast<ui::Label*>(&addControl(std::move(label)));
    };
    heading_ = makeLabel(conversionControl::Heading);
    heading_->setBold(true);
    age_ = makeLabel(conversionControl::Age);
    age_->setFormat(dt::Left | dt::WordBreak);
    auto list = std::make_unique<ConversionList>();
    list->id = conversionControl::List;
    list->onEdgeTap = [this](int row, bool left) {
        if (choosing_) {
            if (left)
                command(conversionCommand::Tick, 0);
        } else if (left) {
            list_->selectRow(row, false);
            openKeypad();
        } else {
            openChooser();
        }
    };
    list->onActivate = [this](ui::ListControl&, int) {
        if (choosing_)
            return command(conversionCommand::Tick, 0);
        return openKeypad();
    };
    list_ = static_cast<ConversionList*>(&addControl(std::move(list)));
    auto table = std::make_unique<core::RecordTable>(1);
    for (const Category& category : categories_) {
        int row = table->appendRow();
        table->setField(row, 1, category.name);
    }
    auto dropDown = std::make_unique<ui::DropDown>();
    dropDown->id = conversionControl::Categories;
    dropDown->adoptTable(std::move(table));
    dropDown_ = static_cast<ui::DropDown*>(&addControl(std::move(dropDown)));

    note_ = makeLabel(conversionControl::Note);
    note_->setFormat(dt::Center | dt::WordBreak);
    auto busy = std::make_unique<worldtime::BusyIndicator>(host_.mainPath());
    busy->id = conversionControl::Busy;
    busy->isFocusable = false;
    busyIndicator_ = static_cast<worldtime::BusyIndicator*>(&addControl(std::move(busy)));
    auto keypad = std::make_unique<Keypad>();
    keypad->id = conversionControl::Keypad;
    keypad->onKey = [this](KeypadKey key) {
        if (key == KeypadKey::Done)
            closeKeypad(true);
        else if (key == KeypadKey::Cancel)
            closeKeypad(false);
        updateReadout();
    };
    keypad_ = static_cast<Keypad*>(&addControl(std::move(keypad)));
    rebuildIdIndex();
    place();

    int mode = core::settings::read(keys::ConversionMode);
    selectCategory(categoryOfMode(categories_, mode));
    setFocusedControl(list_, false);
}

void ConversionScreen::place() {
    Rect client = clientRect(host_.mainWindow());
    int u = ui::layoutUnit();
    int w = client.width(), h = client.height();
    dropDown_->place({4 * u, 2 * u, w - 4 * u, 20 * u}, nullptr);
    dropDown_->show(true, false);
    bool currency = !categories_.empty() && category().type == CategoryType::Rates;
    heading_->place({6 * u, 22 * u, w - 26 * u, 36 * u}, nullptr);
    age_->place({6 * u, 36 * u, w - 6 * u, 62 * u}, nullptr);
    busyIndicator_->place({w - 22 * u, 22 * u, w - 6 * u, 38 * u}, nullptr);
    int listTop = (currency || choosing_) ? (currency && !choosing_ ? 64 : 38) * u : 22 * u;
    Rect listRect{2 * u, listTop, w - 2 * u, h - 2 * u};
    list_->place(listRect, nullptr);
    list_->show(true, false);
    note_->place({10 * u, listTop + 36 * u, w - 10 * u, listTop + 80 * u}, nullptr);
    Rect pad = Keypad::fitInto({4 * u, 22 * u, w - 4 * u, h - 2 * u});
    keypad_->place(pad, nullptr);
    int keyW = pad.width() * 52 / 240, keyH = pad.height() * 33 / 200;
    const std::wstring& main = host_.mainPath();
    keypad_->setPictures(loadPicture(main + L"graphics2\\calc.tga", pad.width(), pad.height()),
                         host_.decorations().picture(gfx::DecorationCalcButton, keyW, keyH),
                         loadPicture(gfx::themePath(main, L"calccancel.tga"), keyW, keyH),
                         loadPicture(gfx::themePath(main, L"calcdone.tga"), keyW, keyH));
    int box = 12 * u;
    list_->setPictures(loadPicture(main + L"graphics2\\checkbox_on.tga", box, box),
                       loadPicture(main + L"graphics2\\checkbox_off.tga", box, box));
}

void ConversionScreen::selectCategory(std::size_t index) {
    if (index >= categories_.size())
        index = 0;
    category_ = index;
    if (dropDown_ && dropDown_->table())
        dropDown_->table()->setCurrentRow(static_cast<int>(index) + 1);
    choosing_ = false;
    closeKeypad(false);
    table_ = loadUnits(conversionsFolder(host_.mainPath()), category());
    buildList();
    convert(1, 1);
    core::settings::write(keys::ConversionMode, modeOfCategory(category()));
    place();
    refreshHeading();
    refreshMenu();
    invalidate(false);
}

std::vector<std::wstring> ConversionScreen::chosenKeys() const {
    std::optional<std::wstring> stored =
        core::readSetting(chosenSettingName(category()), core::byteLimit::Long);
    return splitChosen(stored ? *stored : defaultChosen(category(), table_));
}

void ConversionScreen::buildList() {
    switch (category().type) {
        case CategoryType::Temperature: {
            std::array<std::wstring, 4> names;
            for (int i = 0; i < 4; ++i) names[i] = core::languageString(text::Fahrenheit + i);
            list_->rows().showValues(temperatureRows(names), true);
            break;
        }
        case CategoryType::SizeChart:
            list_->rows().showChart(table_.chart);
            break;
        default:
            list_->rows().showValues(linearRows(table_, chosenKeys()), false);
            break;
    }
    list_->scrollTo(1);
    amount_ = 1;
    amountRow_ = 1;
    // A list of one row converts nothing; an empty rate table wants an update.
    int note = 0;
    if (category().type == CategoryType::Rates && table_.units.empty())
        note = text::NoRatesNote;
    else if (category().type != CategoryType::SizeChart && list_->rowCount() == 1)
        note = text::OneRow;
    note_->setText(note ? core::languageString(note) : L"");
    note_->show(note != 0 && !choosing_, false);
}

void ConversionScreen::convert(double amount, int row) {
    std::vector<ListRow>& rows = list_->rows().values();
    if (list_->rows().shows() != ListShows::Values || row < 1)
        return;
    NumberStyle style{decimalSeparator()};
    auto index = static_cast<std::size_t>(row - 1);
    bool done = category().type == CategoryType::Temperature
                    ? convertTemperature(rows, amount, index, style)
                    : convertLinear(table_, rows, amount, index, style);
    if (done) {
        amount_ = amount;
        amountRow_ = row;
    }
    list_->invalidate();
    updateReadout();
}

void ConversionScreen::updateReadout() {
    if (!readout_)
        return;
    std::wstring text = category().key + L":";
    ConversionListModel& rows = list_->rows();
    if (rows.shows() == ListShows::Values) {
        for (const ListRow& row : rows.values())
            text += L" " + row.value + L" " + row.symbol + L";";
    } else {
        text += L" " + std::to_wstring(rows.rowCount()) + L" rows;";
    }
    if (keypadOpen())
        text += L" keypad " + keypad_->entry().shown();
    readout_->text = std::move(text);
}

bool ConversionScreen::keypadOpen() const {
    return keypad_ && keypad_->isVisible;
}

bool ConversionScreen::openKeypad() {
    int row = list_->currentRow();
    if (choosing_ || list_->rows().shows() != ListShows::Values || row < 1 ||
        list_->rowCount() < 2) {
        return false;
    }
    const ListRow& shown = list_->rows().values()[static_cast<std::size_t>(row - 1)];
    editedRow_ = row;
    keypad_->entry().open(shown.value);
    keypad_->setUnit(shown.key);
    keypad_->show(true, false);
    setFocusedControl(keypad_, false);
    refreshHeading();
    updateReadout();
    invalidate(false);
    return true;
}

void ConversionScreen::closeKeypad(bool convertEntry) {
    if (!keypadOpen())
        return;
    keypad_->show(false, false);
    // An entry that is no number ("-", ".") leaves the values as they were.
    if (convertEntry) {
        if (std::optional<double> amount = keypad_->entry().amount())
            convert(*amount, editedRow_);
    }
    setFocusedControl(list_, false);
    refreshHeading();
    updateReadout();
    invalidate(false);
}

void ConversionScreen::openChooser() {
    if (category().type != CategoryType::Rates && category().type != CategoryType::Linear)
        return;
    closeKeypad(false);
    std::vector<std::wstring> chosen = chosenKeys();
    std::wstring currentKey;
    if (int row = list_->currentRow(); row > 0 && list_->rows().shows() == ListShows::Values)
        currentKey = list_->rows().values()[static_cast<std::size_t>(row - 1)].key;
    std::vector<ChooserRow> rows;
    int current = 1;
    for (const Unit& unit : table_.units) {
        bool ticked = std::find(chosen.begin(), chosen.end(), unit.key) != chosen.end();
        rows.push_back({unit.key, unit.name, ticked});
        if (!currentKey.empty() && core::equalsIgnoringCase(unit.key, currentKey))
            current = static_cast<int>(rows.size());
    }
    choosing_ = true;
    note_->show(false, false);
    list_->rows().showChooser(std::move(rows));
    place();
    list_->selectRow(current, false);
    refreshHeading();
    refreshMenu();
    invalidate(false);
}

void ConversionScreen::closeChooser(bool save) {
    if (!choosing_)
        return;
    if (save) {
        std::vector<std::wstring> keys;
        for (const ChooserRow& row : list_->rows().chooser()) {
            if (row.ticked)
                keys.push_back(row.key);
        }
        core::writeSetting(chosenSettingName(category()), joinChosen(keys));
    }
    choosing_ = false;
    buildList();
    convert(1, 1);
    place();
    refreshHeading();
    refreshMenu();
    invalidate(false);
}

const std::wstring& ConversionScreen::headingText() const {
    return heading_->text();
}

const std::wstring& ConversionScreen::ageText() const {
    return age_->text();
}

void ConversionScreen::refreshHeading() {
    bool currency = category().type == CategoryType::Rates;
    std::wstring heading, age;
    bool stale = false;
    if (choosing_) {
        heading = core::languageString(text::TickUnits);
    } else if (currency && busy_) {
        heading = core::languageString(text::Updating);
    } else if (currency && !table_.units.empty()) {
        std::optional<RatesAge> rates = ratesAge(table_, deviceUtcFileTime());
        std::wstring day = rates ? formatDate(rates->date, L"ddd',' MMM dd").value_or(L"") : L"";
        heading = core::formatText(core::languageString(text::RatesOf), day);
        if (rates) {
            // Where the rates come from and how old they are; past a week, a warning too.
            stale = rates->stale;
            std::wstring source = rates->source.empty() ? L"rates.dat" : rates->source;
            age = core::formatText(core::languageString(text::SourceAndAge), source, rates->days);
            if (stale)
                age += L". " + core::languageString(text::Stale);
        }
    } else if (currency) {
        heading = core::languageString(text::NoRates);
    }
    bool shown = !keypadOpen() && (choosing_ || currency);
    heading_->setText(heading);
    heading_->show(shown, false);
    age_->setText(age);
    age_->setColour(stale ? std::optional<Colour>(kStaleColour) : std::nullopt);
    age_->show(shown && !choosing_ && !age.empty(), false);
    busyIndicator_->show(busy_ && currency && !keypadOpen(), false);
}

void ConversionScreen::refreshMenu() {
    using ui::MenuEntry;
    namespace kind = ui::menuKind;
    namespace parent = ui::menuParent;
    menu_.clear();
    if (choosing_) {
        menu_ = {
            {kind::Left, parent::SoftKey, ui::command::LeftSoftKey, text::Ok},
            {kind::Right, parent::SoftKey, ui::command::RightSoftKey, text::Options},
            {kind::Right, 0, conversionCommand::Tick, text::Tick},
            {kind::Right, 0, ui::kSeparatorCommand, 0},
            {kind::Right, 0, conversionCommand::CancelChooser, text::Cancel},
        };
    } else {
        bool linear =
            category().type == CategoryType::Rates || category().type == CategoryType::Linear;
        menu_ = {
            {kind::Left, parent::SoftKey, ui::command::LeftSoftKey, text::Menu},
            {kind::Right, parent::SoftKey, ui::command::RightSoftKey, text::Options},
        };
        if (category().type != CategoryType::SizeChart)
            menu_.push_back({kind::Right, 0, conversionCommand::EnterAmount, text::EnterAmount});
        if (linear)
            menu_.push_back({kind::Right, 0, conversionCommand::ChooseUnits, text::ChooseUnits});
        menu_.push_back(
            {kind::Right, 0, conversionCommand::UpdateRates,
             static_cast<std::uint32_t>(busy_ ? text::CancelUpdate : text::UpdateRates)});
        menu_.push_back({kind::Right, 0, ui::kSeparatorCommand, 0});
        menu_.push_back({kind::Right, 0, ui::command::Back, text::Back});
    }
    if (isActive)
        host_.setMenuBar(menu_);
}

std::span<const ui::MenuEntry> ConversionScreen::menuEntries() const {
    return menu_;
}

void ConversionScreen::paint(DeviceContext& dc, const Rect& invalid) {
    Rect client = clientRect(host_.mainWindow());
    Rect bar{0, 0, client.right, 22 * ui::layoutUnit()};
    if (bar.intersects(invalid))
        gfx::gradientBar(dc, bar.left, bar.top, bar.right, bar.bottom, host_.theme().mainColour);
    ui::Module::paint(dc, invalid);
}

bool ConversionScreen::command(std::uint32_t commandId, std::intptr_t) {
    // Back closes the keypad or leaves the chooser before it leaves the screen.
    if (commandId == ui::command::Back && (keypadOpen() || choosing_)) {
        if (keypadOpen())
            closeKeypad(false);
        else
            closeChooser(false);
        return true;
    }
    if (keypadOpen() && commandId != conversionCommand::UpdateRates)
        closeKeypad(false);
    switch (commandId) {
        case ui::command::LeftSoftKey:
            if (choosing_)
                closeChooser(true);
            else
                host_.showMainMenu(true);
            return true;
        case conversionCommand::EnterAmount:
            openKeypad();
            return true;
        case conversionCommand::ChooseUnits:
            openChooser();
            return true;
        case conversionCommand::Tick:
            if (choosing_) {
                int row = list_->currentRow();
                if (row > 0) {
                    auto& tick = list_->rows().chooser()[static_cast<std::size_t>(row - 1)].ticked;
                    tick = !tick;
                    list_->invalidate();
                }
            }
            return true;
        case conversionCommand::CancelChooser:
            closeChooser(false);
            return true;
        case conversionCommand::UpdateRates:
            updateRates();
            return true;
        default:
            return false;
    }
}

void ConversionScreen::updateRates() {
    if (core::isCommsRunning()) {
        core::cancelComms();
        updatePending_ = false;
        setBusy(false);
        return;
    }
    if (!core::sendCommsRequest(L"/currency")) {
        core::showExclamation(core::languageString(text::NotStarted), host_.programName());
        return;
    }
    updatePending_ = true;
    setBusy(true);
}

bool ConversionScreen::controlPressed(ui::Control& control) {
    if (&control == list_)
        return choosing_ ? command(conversionCommand::Tick, 0) : openKeypad();
    return false;
}

void ConversionScreen::controlChanged(ui::Control& control) {
    if (&control == dropDown_ && dropDown_->table()) {
        int row = dropDown_->table()->currentRow();
        if (row > 0 && static_cast<std::size_t>(row - 1) != category_)
            selectCategory(static_cast<std::size_t>(row - 1));
    }
}

bool ConversionScreen::key(std::uint32_t, std::uint32_t, LParam) {
    // The keypad takes the keys while it has the focus; the rest go nowhere while it is open.
    return keypadOpen();
}

void ConversionScreen::pointer(std::uint32_t message, WParam keys, Point point) {
    if (keypadOpen() && !keypad_->rect.contains(point) && !captureControl()) {
        // A tap beside the open keypad closes it without converting.
        if (message == wm::LButtonDown)
            closeKeypad(false);
        return;
    }
    ui::Module::pointer(message, keys, point);
}

bool ConversionScreen::commsMessage(WindowHandle, std::uint32_t, WParam wParam, LParam lParam) {
    switch (wParam) {
        case core::commsReport::Started:
            setBusy(true);
            return true;
        case core::commsReport::Done:
            setBusy(false);
            if (lParam == 1 && category().type == CategoryType::Rates) {
                table_ = loadUnits(conversionsFolder(host_.mainPath()), category());
                buildList();
                convert(1, 1);
            }
            refreshHeading();
            invalidate(false);
            return true;
        case core::commsReport::Error: {
            bool mine = updatePending_;
            updatePending_ = false;
            setBusy(false);
            if (mine)
                core::showCommsError();
            return true;
        }
        case core::commsReport::Ended:
            updatePending_ = false;
            setBusy(false);
            invalidate(false);
            return true;
        default:
            return false;
    }
}

void ConversionScreen::setBusy(bool busy) {
    if (busy == busy_)
        return;
    busy_ = busy;
    busyIndicator_->reset();
    if (WindowHandle window = host_.mainWindow()) {
        if (busy)
            setTimer(window, kBusyTimer, kBusyIntervalMs);
        else
            killTimer(window, kBusyTimer);
    }
    refreshHeading();
    refreshMenu();
    invalidate(false);
}

void ConversionScreen::timer(std::uintptr_t id) {
    if (id == kBusyTimer) {
        busyIndicator_->step();
        busyIndicator_->invalidate();
        return;
    }
    ui::Module::timer(id);
}

void ConversionScreen::startTimers() {
    refreshMenu();
    if (core::isCommsRunning())
        setBusy(true);
}

std::any ConversionScreen::saveState() const {
    return SavedState{category_, list_->currentRow(), amount_, amountRow_};
}

void ConversionScreen::restoreState(const std::any& state) {
    const auto* saved = std::any_cast<SavedState>(&state);
    if (!saved)
        return;
    if (saved->category != category_)
        selectCategory(saved->category);
    convert(saved->amount, saved->amountRow);
    if (saved->row > 0)
        list_->selectRow(saved->row, false);
}

}  // namespace conversions
