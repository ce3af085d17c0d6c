#pragma once
// A screen with one control of every toolkit kind, built from a layout table, for looking at
// the toolkit and for the benchmarks. Not part of the product.

#include "core/record_table.h"
#include "ui/control_factory.h"
#include "ui/module.h"

namespace ui::demo {

// Control ids of the demonstration screen.
namespace demoId {
constexpr int Panel = 1, Title = 2, Edit = 3, Time = 4, Date = 5, DropDown = 6, Options = 7,
              List = 8, Letters = 9, Button = 10, PictureButton = 11, Toggle = 12, Bar = 13,
              Bubble = 14;
}

// The layout type the demonstration gives its letter list (a screen-specific type).
constexpr int kLetterListType = 246;

class DemoModule : public Module {
  public:
    // rows: how many rows the plain list gets.
    explicit DemoModule(ModuleHost& host, int rows = 200);

    void build() override;
    void controlChanged(Control& control) override;
    bool controlPressed(Control& control) override;

    int changes() const { return changes_; }
    int presses() const { return presses_; }

  private:
    core::RecordTable rows_{1};
    core::RecordTable cities_{1};
    core::RecordTable colours_{1};
    int changes_ = 0;
    int presses_ = 0;
};

// Registers the demonstration's own control type with a factory.
void registerDemoControls(ControlFactory& factory);

}  // namespace ui::demo
