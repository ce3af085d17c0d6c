#include "tests/ui/demo/demo_module.h"

#include "gfx/theme.h"
#include "ui/bar.h"
#include "ui/control_factory.h"
#include "ui/drop_down.h"
#include "ui/label.h"
#include "ui/layout.h"
#include "ui/letter_list.h"
#include "ui/list_control.h"
#include "ui/option_list.h"
#include "ui/picture_button.h"
#include "ui/speech_bubble.h"

namespace ui::demo {

using namespace platform;

namespace {

// For a 240 x 268 client area (portrait, below the task bar and above the menu bar).
const LayoutRecord kLayout[] = {
    {demoId::Panel, layoutType::PicturePanel, 0, 0, 240, 18, 1, 0x00604020, 0, 99},
    {demoId::Title, layoutType::Label, 6, 0, 228, 18, 1, 0, dt::Left | dt::VCenter, 99},
    {demoId::Edit, layoutType::EditField, 4, 22, 114, 20, 1, 0, 0, 99},
    {demoId::Time, layoutType::DateTimePicker, 122, 22, 114, 20, 1, 1, 0, 99},
    {demoId::Date, layoutType::DateTimePicker, 4, 46, 232, 20, 1, 2, 0, 99},
    {demoId::DropDown, layoutType::DropDown, 4, 70, 114, 20, 1, 0, 0, 99},
    {demoId::Options, layoutType::OptionList, 122, 70, 114, 20, 1, 0, 0, 99},
    {demoId::List, layoutType::List, 4, 94, 114, 72, 1, 0, 0, 99},
    {demoId::Letters, kLetterListType, 122, 94, 114, 72, 1, 0, 0, 99},
    {demoId::Button, layoutType::TextButton, 4, 171, 66, 22, 1, 224, 0, 99},
    {demoId::Toggle, layoutType::Toggle, 76, 170, 48, 24, 1, 1, 0, 99},
    {demoId::Bar, layoutType::Bar, 130, 176, 106, 12, 1, 65, 0, 99},
    {demoId::Bubble, layoutType::SpeechBubble, 4, 198, 180, 68, 1, 0, 0, 99},
    {demoId::PictureButton, layoutType::PictureButton, 188, 198, 48, 64, 1, 0, 0, 99},
};

const wchar_t* const kCities[] = {L"Amsterdam", L"Athens", L"Bangkok", L"Berlin", L"Cairo",
                                  L"Dakar",     L"Delhi",  L"Lima",    L"Lisbon", L"Oslo",
                                  L"Paris",     L"Quito",  L"Rome",    L"Sydney", L"Tokyo"};

}  // namespace

void registerDemoControls(ControlFactory& factory) {
    factory.add(kLetterListType, [](const LayoutRecord&, ModuleHost&) {
        return std::make_unique<LetterList>(ListOptions{.notify = true});
    });
}

DemoModule::DemoModule(ModuleHost& host, int rows) : Module(host) {
    for (int i = 1; i <= rows; ++i)
        rows_.setField(rows_.appendRow(), 1, L"Row " + std::to_wstring(i));
    for (const wchar_t* city : kCities) cities_.setField(cities_.appendRow(), 1, city);
    for (const wchar_t* colour : {L"Red", L"Green", L"Blue"}) {
        colours_.setField(colours_.appendRow(), 1, colour);
    }
}

void DemoModule::build() {
    buildLayout(*this, kLayout);
    findControl<Label>(demoId::Title)->setText(L"Every control of the toolkit");
    findControl<Label>(demoId::Title)->setBold(true);
    findControl<DropDown>(demoId::DropDown)->setTable(&colours_);
    if (auto* options = findControl<OptionList>(demoId::Options)) {
        options->addOption(L"Celsius", L"c");
        options->addOption(L"Fahrenheit", L"f");
        options->addOption(L"Kelvin", L"k");
        options->selectValue(L"c");
    }
    findControl<ListControl>(demoId::List)->setTable(&rows_);
    findControl<ListControl>(demoId::List)->selectRow(1, false);
    if (auto* letters = findControl<LetterList>(demoId::Letters)) {
        letters->setTable(&cities_);
    }
    auto* picture = findControl<PictureButton>(demoId::PictureButton);
    picture->setPicture(host().mainPath(), gfx::graphicsPicture(L"vorn"));
    findControl<SpeechBubble>(demoId::Bubble)->setText(L"Hello! Tap, type and hold the arrows.");
}

void DemoModule::controlChanged(Control&) {
    ++changes_;
}

bool DemoModule::controlPressed(Control& control) {
    ++presses_;
    // Drop-downs open their lists; everything else counts the press.
    return control.id != demoId::DropDown && control.id != demoId::Options;
}

}  // namespace ui::demo
