// The native edit field through its toolkit wrapper and its messages: typing, erasing,
// selections, the number mode, the length limit, read-only fields, multi-line fields, the
// stylus, and the colours the parent gives it.

#include <gtest/gtest.h>

#include "platform/controls/edit_text.h"
#include "tests/ui/support/ui_test_support.h"
#include "ui/edit_field.h"
#include "ui/text_button.h"

using namespace ui;
using namespace platform;

namespace {

using Selection = std::pair<std::size_t, std::size_t>;

class EditTest : public ::testing::Test {
  protected:
    EditField& makeField(std::uint32_t styles, Rect where = {10, 10, 200, 34}) {
        auto& field =
            static_cast<EditField&>(module.addControl(std::make_unique<EditField>(host, styles)));
        field.place(where, nullptr);
        field.show(true, false);
        return field;
    }
    void focus(Control& c) {
        host.attach(module);
        module.setFocusedControl(&c, false);
    }
    std::wstring message(WindowHandle w, std::uint32_t id, WParam size) {
        std::wstring buffer(size, L'#');
        auto n = sendMessage(w, id, size, reinterpret_cast<LParam>(buffer.data()));
        return buffer.substr(0, static_cast<std::size_t>(n));
    }

    test::TestHost host;
    test::RecordingModule module{host};
};

TEST_F(EditTest, TypingErasingAndReplacingTheSelection) {
    EditField& field = makeField(0);
    focus(field);
    host.typeText(L"Lisbon");
    EXPECT_EQ(field.text(), L"Lisbon");
    EXPECT_EQ(field.selection(), Selection(6, 6));
    host.typeText(L"\b\b");
    EXPECT_EQ(field.text(), L"Lisb");
    // The Back key erases inside a field.
    host.keyDown(vk::Escape);
    EXPECT_EQ(field.text(), L"Lis");
    field.select(1, 3);
    host.typeText(L"ondon");
    EXPECT_EQ(field.text(), L"London");
    // Shift and the arrows select; Delete removes the selection.
    host.keyDown(vk::Home);
    host.keyDown(vk::Shift);
    host.keyDown(vk::Right);
    host.keyDown(vk::Right);
    host.keyUp(vk::Shift);
    EXPECT_EQ(field.selection(), Selection(0, 2));
    host.keyDown(vk::Delete);
    EXPECT_EQ(field.text(), L"ndon");
    EXPECT_EQ(module.changed.size(), 15u) << "each change is reported to the owner";
}

TEST_F(EditTest, NumberModeRejectsLettersAndTheLimitHolds) {
    EditField& field = makeField(kNumericInput);
    EXPECT_TRUE(field.isNumeric());
    EXPECT_EQ(sendMessage(field.nativeWindow(), em::GetInputMode), eim::Numbers);
    EXPECT_EQ(windowStyle(field.nativeWindow()) & es::Number, 0u)
        << "the toolkit's flag is not the number style";
    focus(field);
    host.typeText(L"1a2,5b-");
    EXPECT_EQ(field.text(), L"12,5-");
    field.setLimit(6);
    host.typeText(L"789");
    EXPECT_EQ(field.text(), L"12,5-7");
    field.select(0, 2);
    host.typeText(L"9");
    EXPECT_EQ(field.text(), L"9,5-7") << "replacing within the limit works";
    // Setting the text is not limited.
    field.setText(L"1234567890");
    EXPECT_EQ(field.text(), L"1234567890");
}

TEST_F(EditTest, ReadOnlyFieldsKeepTheirText) {
    EditField& field = makeField(es::ReadOnly);
    field.setText(L"fixed");
    focus(field);
    host.typeText(L"x\b");
    host.keyDown(vk::Escape);
    EXPECT_EQ(field.text(), L"fixed");
    field.setReadOnly(false);
    host.typeText(L"!");
    EXPECT_EQ(field.text(), L"!fixed") << "the caret starts at the beginning";
}

TEST_F(EditTest, TextMessagesUseTheHandheldsNumbers) {
    EditField& field = makeField(0);
    WindowHandle w = field.nativeWindow();
    std::wstring text = L"Reykjavik";
    sendMessage(w, wm::SetText, 0, reinterpret_cast<LParam>(text.c_str()));
    EXPECT_EQ(sendMessage(w, wm::GetTextLength), 9);
    EXPECT_EQ(message(w, wm::GetText, 5), L"Reyk") << "room for four and the terminator";
    EXPECT_EQ(windowText(w), L"Reykjavik");
    sendMessage(w, em::SetSel, 2, 5);
    std::uint32_t start = 0, end = 0;
    LResult packed = sendMessage(w, em::GetSel, reinterpret_cast<WParam>(&start),
                                 reinterpret_cast<LParam>(&end));
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(end, 5u);
    EXPECT_EQ(packed, 2 | (5 << 16));
    sendMessage(w, em::SetSel, 0, -1);
    EXPECT_EQ(field.selection().second, 9u) << "-1 is the end of the text";
    sendMessage(w, em::SetSel, static_cast<WParam>(-1), 0);
    EXPECT_EQ(field.selection().first, field.selection().second);
    EXPECT_EQ(sendMessage(w, em::SetReadOnly, 1), 1);
    EXPECT_NE(windowStyle(w) & es::ReadOnly, 0u);
}

TEST_F(EditTest, MultiLineFieldsKeepUpAndDownUntilTheirEdges) {
    EditField& field = makeField(es::Multiline, {10, 10, 200, 90});
    auto& button = module.addControl(std::make_unique<TextButton>(0));
    button.place({10, 100, 100, 120}, nullptr);
    button.show(true, false);
    focus(field);
    host.typeText(L"one\rtwo\rthree");
    EXPECT_EQ(field.text(), L"one\r\ntwo\r\nthree");
    EXPECT_EQ(sendMessage(field.nativeWindow(), em::GetLineCount), 3);
    host.pressKey(vk::Up);
    host.pressKey(vk::Up);
    EXPECT_EQ(module.focusedControl(), &field);
    EXPECT_EQ(sendMessage(field.nativeWindow(), em::LineFromChar, static_cast<WParam>(-1)), 0);
    host.pressKey(vk::Down);
    host.pressKey(vk::Down);
    EXPECT_EQ(module.focusedControl(), &field) << "on the last line now";
    host.pressKey(vk::Down);
    EXPECT_EQ(module.focusedControl(), &button);
}

TEST_F(EditTest, LongTextWrapsAndTheStylusSelects) {
    EditField& field = makeField(es::Multiline, {10, 10, 110, 90});
    field.setText(L"a long line of words that cannot fit in a narrow field");
    EXPECT_GT(sendMessage(field.nativeWindow(), em::GetLineCount), 2);
    EditField& single = makeField(0, {10, 100, 200, 124});
    single.setText(L"abcdef");
    focus(single);
    WindowHandle w = single.nativeWindow();
    sendMessage(w, wm::LButtonDown, 1, makeLParam(2, 10));
    sendMessage(w, wm::MouseMove, 1, makeLParam(170, 10));
    sendMessage(w, wm::LButtonUp, 0, makeLParam(170, 10));
    EXPECT_EQ(single.selection(), Selection(0, 6));
    EXPECT_EQ(captureWindow(), 0u);
}

TEST_F(EditTest, TheParentChoosesTheColoursBeforePainting) {
    EditField& field = makeField(0);
    field.setText(L"WWWW");
    focus(field);
    // This host does not answer: white field, dark text.
    updateWindow(field.nativeWindow());
    auto dc = windowDc(field.nativeWindow());
    EXPECT_EQ(dc->pixel(dc->size().width - 4, 4), 0xFFFFFFu);

    // A parent that answers paints the field in its colour.
    WindowProc previous = setWindowProc(
        host.mainWindow(), [](WindowHandle, std::uint32_t m, WParam wp, LParam) -> LResult {
            if (m != wm::CtlColorEdit)
                return 0;
            reinterpret_cast<DeviceContext*>(wp)->setTextColour(0xFFFFFF);
            return brushAnswer(rgb(0, 80, 0));
        });
    invalidateRect(field.nativeWindow(), nullptr, true);
    updateWindow(field.nativeWindow());
    auto after = windowDc(field.nativeWindow());
    EXPECT_EQ(after->pixel(after->size().width - 4, 4), rgb(0, 80, 0));
    setWindowProc(host.mainWindow(), previous);
}

TEST(EditText, LineEndsAreOneStepAndTheLimitCutsTyping) {
    controls::EditText t;
    t.setMultiline(true);
    t.type(L"ab\ncd");
    EXPECT_EQ(t.text(), L"ab\r\ncd");
    t.moveCaret(4, false);
    EXPECT_EQ(t.previousPosition(4), 2u);
    t.moveCaret(3, false);
    EXPECT_EQ(t.caret(), 2u) << "never between CR and LF";
    t.moveCaret(4, false);
    t.erasePrevious();
    EXPECT_EQ(t.text(), L"abcd");
    t.setLimit(6);
    t.moveCaret(4, false);
    EXPECT_TRUE(t.type(L"xyz"));
    EXPECT_EQ(t.text(), L"abcdxy");
    EXPECT_FALSE(t.type(L"q"));
    t.setLimit(7);
    EXPECT_FALSE(t.type(L"\n")) << "half a line end does not fit";
}

}  // namespace
