// The edit field and the device's clipboard: cut, copy, paste and clear as messages and as
// Ctrl shortcuts between two fields, the read-only, number and password rules, the length
// limit, line ends, and the clipboard kept in the device's state rather than in the program.

#include <gtest/gtest.h>

#include "platform/api/clipboard.h"
#include "platform/device/state_store.h"
#include "platform/gui/screen.h"
#include "tests/ui/support/ui_test_support.h"
#include "ui/edit_field.h"

using namespace ui;
using namespace platform;

namespace {

using Selection = std::pair<std::size_t, std::size_t>;

class ClipboardTest : public ::testing::Test {
  protected:
    void SetUp() override { clearClipboard(); }

    EditField& makeField(std::uint32_t styles, Rect where = {10, 10, 200, 34}) {
        auto& field =
            static_cast<EditField&>(module.addControl(std::make_unique<EditField>(host, styles)));
        field.place(where, nullptr);
        field.show(true, false);
        host.attach(module);
        return field;
    }
    void focus(Control& c) { module.setFocusedControl(&c, false); }
    void ctrl(std::uint32_t letter) {
        host.keyDown(vk::Control);
        host.keyDown(letter);
        // Some keyboards also send the letter as a character; with Ctrl held it is no text.
        host.typeText(std::wstring(1, static_cast<wchar_t>(letter + 32)));
        host.keyUp(letter);
        host.keyUp(vk::Control);
    }
    LResult send(EditField& f, std::uint32_t message) {
        LResult r = sendMessage(f.nativeWindow(), message);
        host.pump();
        return r;
    }

    test::TestHost host;
    test::RecordingModule module{host};
};

TEST_F(ClipboardTest, CopyAndPasteBetweenTwoFieldsWithMessagesAndShortcuts) {
    EditField& from = makeField(0, {10, 10, 200, 34});
    EditField& to = makeField(0, {10, 40, 200, 64});
    from.setText(L"Lisbon Porto");
    to.setText(L"to ");
    from.select(0, 6);
    send(from, wm::Copy);
    EXPECT_EQ(clipboardText(), L"Lisbon");
    EXPECT_EQ(from.text(), L"Lisbon Porto") << "copying leaves the text";

    to.select(3, 3);
    std::size_t changesBefore = module.changed.size();
    send(to, wm::Paste);
    EXPECT_EQ(to.text(), L"to Lisbon");
    EXPECT_EQ(to.selection(), Selection(9, 9)) << "the caret after the pasted text";
    EXPECT_EQ(module.changed.size(), changesBefore + 1) << "a paste is a change";

    // Ctrl+A then Ctrl+C in the first field, Ctrl+V over a selection in the second.
    focus(from);
    ctrl('A');
    EXPECT_EQ(from.selection(), Selection(0, 12));
    ctrl('C');
    EXPECT_EQ(clipboardText(), L"Lisbon Porto");
    EXPECT_EQ(from.text(), L"Lisbon Porto") << "no 'a' or 'c' was typed";
    focus(to);
    to.select(0, 2);
    ctrl('V');
    EXPECT_EQ(to.text(), L"Lisbon Porto Lisbon") << "the paste replaces the selection";

    // Ctrl+X cuts; the characters keyboards send for the commands do the same.
    to.select(12, 19);
    ctrl('X');
    EXPECT_EQ(to.text(), L"Lisbon Porto");
    EXPECT_EQ(clipboardText(), L" Lisbon");
    to.select(0, 0);
    host.typeText(L"\x16");
    EXPECT_EQ(to.text(), L" LisbonLisbon Porto");
    // Typing still works once Ctrl is up.
    host.typeText(L"!");
    EXPECT_EQ(to.text(), L" Lisbon!Lisbon Porto");
}

TEST_F(ClipboardTest, CutAndClearRemoveTheSelectionAndNothingWithoutOne) {
    EditField& field = makeField(0);
    field.setText(L"Oslo Bergen");
    field.select(4, 11);
    send(field, wm::Cut);
    EXPECT_EQ(field.text(), L"Oslo");
    EXPECT_EQ(clipboardText(), L" Bergen");
    send(field, wm::Cut);  // no selection: nothing happens
    EXPECT_EQ(clipboardText(), L" Bergen");
    field.select(0, 2);
    send(field, wm::Clear);
    EXPECT_EQ(field.text(), L"lo");
    EXPECT_EQ(clipboardText(), L" Bergen") << "clearing leaves the clipboard alone";
    send(field, wm::Clear);
    EXPECT_EQ(field.text(), L"lo") << "without a selection Clear erases nothing";
    clearClipboard();
    send(field, wm::Paste);
    EXPECT_EQ(field.text(), L"lo") << "an empty clipboard pastes nothing";
}

TEST_F(ClipboardTest, ReadOnlyFieldsCopyButRefuseCutPasteAndClear) {
    EditField& field = makeField(es::ReadOnly);
    field.setText(L"Reykjavik");
    setClipboardText(L"before");
    field.select(0, 4);
    send(field, wm::Cut);
    EXPECT_EQ(field.text(), L"Reykjavik");
    EXPECT_EQ(clipboardText(), L"before") << "a refused cut copies nothing either";
    send(field, wm::Paste);
    send(field, wm::Clear);
    focus(field);
    ctrl('V');
    ctrl('X');
    EXPECT_EQ(field.text(), L"Reykjavik");
    EXPECT_EQ(clipboardText(), L"before");
    send(field, wm::Copy);
    EXPECT_EQ(clipboardText(), L"Reyk");
    // Made writable, the same field pastes.
    field.setReadOnly(false);
    field.select(0, 4);
    setClipboardText(L"Akur");
    send(field, wm::Paste);
    EXPECT_EQ(field.text(), L"Akurjavik");
}

TEST_F(ClipboardTest, PastingFiltersLikeTypingAndKeepsTheLimit) {
    EditField& numbers = makeField(kNumericInput, {10, 10, 200, 34});
    EditField& limited = makeField(0, {10, 70, 200, 94});
    // The toolkit takes the number style's bit for its numeric mode, so a field with the
    // platform's number style is made directly.
    WindowCreate create;
    create.className = std::wstring(kEditClass);
    create.parent = host.mainWindow();
    create.x = 10, create.y = 40, create.width = 190, create.height = 24;
    create.style = ws::Child | ws::Border | es::Number;
    WindowHandle digits = createWindow(create);
    ASSERT_NE(digits, 0u);
    setClipboardText(L"-12 345,5 EUR");
    send(numbers, wm::Paste);
    EXPECT_EQ(numbers.text(), L"-12345,5") << "the numbers mode keeps a number's characters";
    sendMessage(digits, wm::Paste);
    EXPECT_EQ(windowText(digits), L"123455") << "the number style keeps digits";
    setClipboardText(L"EUR");
    sendMessage(digits, wm::Paste);
    EXPECT_EQ(windowText(digits), L"123455") << "nothing left to paste";
    destroyWindow(digits);

    limited.setLimit(8);
    limited.setText(L"abc");
    limited.select(3, 3);
    setClipboardText(L"defghijk");
    send(limited, wm::Paste);
    EXPECT_EQ(limited.text(), L"abcdefgh") << "what fits within the limit";
    send(limited, wm::Paste);
    EXPECT_EQ(limited.text(), L"abcdefgh");
    limited.select(0, 3);
    send(limited, wm::Paste);
    EXPECT_EQ(limited.text(), L"defdefgh") << "a selection makes room";
}

TEST_F(ClipboardTest, LineEndsAndPasswords) {
    EditField& single = makeField(0, {10, 10, 200, 34});
    EditField& multi = makeField(es::Multiline, {10, 40, 200, 100});
    EditField& secret = makeField(es::Password, {10, 110, 200, 134});
    setClipboardText(L"first line\r\nsecond line");
    send(single, wm::Paste);
    EXPECT_EQ(single.text(), L"first line") << "a single line takes the first line";
    send(multi, wm::Paste);
    EXPECT_EQ(multi.text(), L"first line\r\nsecond line");

    secret.setText(L"hunter2");
    secret.select(0, 7);
    send(secret, wm::Copy);
    send(secret, wm::Cut);
    EXPECT_EQ(clipboardText(), L"first line\r\nsecond line") << "passwords stay in their field";
    EXPECT_EQ(secret.text(), L"hunter2");
    send(secret, wm::Paste);
    EXPECT_EQ(secret.text(), L"first line") << "pasting into a password field is allowed";
}

TEST_F(ClipboardTest, TheClipboardLivesInTheDevicesStateNotInTheProgram) {
    setClipboardText(L"Zürich ✈ 東京");
    // A program starting afresh opens the store anew, as this does.
    state::Store::closeInstance();
    EXPECT_EQ(clipboardText(), L"Zürich ✈ 東京");
    setClipboardText(L"");
    EXPECT_FALSE(clipboardText().has_value()) << "an empty text empties the clipboard";
}

TEST_F(ClipboardTest, HoldingOnAFieldOffersTheClipboardInAContextMenu) {
    EditField& field = makeField(0);
    field.setText(L"Nairobi");
    field.select(0, 4);
    focus(field);
    Rect r = windowRect(field.nativeWindow());
    Point onSelection{r.left + 6, r.top + r.height() / 2};
    using Kind = gui::InputEvent::Kind;
    // A hold on the selection; the keys wait for the menu: Down to Copy, Enter.
    gui::injectInput({Kind::PointerDown, onSelection});
    gui::injectInput({Kind::KeyDown, {}, vk::Down, 0});
    gui::injectInput({Kind::KeyDown, {}, vk::Down, 0});
    gui::injectInput({Kind::KeyDown, {}, vk::Return, 0});
    host.pump();
    EXPECT_EQ(clipboardText(), L"Nair");
    EXPECT_EQ(field.selection(), Selection(0, 4)) << "the hold kept the selection";
    gui::injectInput({Kind::PointerUp, onSelection});
    host.pump();
}

}  // namespace
