#pragma once
// The program's control factory: screens register makers for their own layout types (209 to
// 247); buildLayout asks the factory through the module host for records of those types.

#include <functional>
#include <map>
#include <memory>

#include "ui/layout.h"

namespace ui {

class ModuleHost;

using ControlMaker =
    std::function<std::unique_ptr<Control>(const LayoutRecord& record, ModuleHost& host)>;

class ControlFactory {
  public:
    // Registers the toolkit's own screen-specific types (209, the option list).
    ControlFactory();

    // Replaces any maker registered for the type. Types outside 209 to 247 are ignored.
    void add(int type, ControlMaker maker);
    bool has(int type) const { return makers_.count(type) != 0; }
    // None when no maker is registered for the record's type.
    std::unique_ptr<Control> create(const LayoutRecord& record, ModuleHost& host) const;

  private:
    std::map<int, ControlMaker> makers_;
};

}  // namespace ui
