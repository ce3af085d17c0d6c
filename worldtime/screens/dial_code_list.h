#pragma once
// The controls of the dialling codes screen: the letter-group bar, ten cells from "abc" to
// "all" that choose which countries the list shows, and the list itself, two lines a
// country: its name in bold, and below it the calling code and, at the right, the
// international prefix.

#include <functional>

#include "ui/letter_list.h"

namespace worldtime {

class LetterGroupBar final : public ui::Control {
  public:
    LetterGroupBar();

    int group() const { return group_; }
    // Chooses a group (1 to 10); false for a number outside them.
    bool setGroup(int group);
    // The cell of a group, inside the bar.
    platform::Rect cellRect(int group) const;

    // A tap chose a group.
    std::function<void(int group)> onChoose;

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;
    bool pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;

  private:
    int group_ = 10;
};

class DialCodeList final : public ui::LetterList {
  public:
    DialCodeList();

    // Left and Right step the letter group.
    std::function<void(int step)> onGroupStep;
    // A letter key, or a digit key's letter of the key pad, asks for the countries with
    // that initial.
    std::function<void(wchar_t initial)> onInitial;

    int rowHeight() const override;
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;

  protected:
    void drawRow(platform::DeviceContext& dc, const platform::Rect& line, int row,
                 bool current) override;
};

}  // namespace worldtime
