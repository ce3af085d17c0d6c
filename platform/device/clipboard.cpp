#include "platform/api/clipboard.h"

#include "platform/device/state_store.h"

namespace platform {
namespace {

state::Store& store() {
    auto& s = state::Store::instance();
    // One row at most: the text on the clipboard.
    s.ensureSchema("clipboard",
                   "CREATE TABLE IF NOT EXISTS clipboard ("
                   " slot INTEGER PRIMARY KEY CHECK (slot = 1), content TEXT NOT NULL)");
    return s;
}

}  // namespace

void setClipboardText(std::wstring_view text) {
    if (text.empty()) {
        clearClipboard();
        return;
    }
    auto& s = store();
    std::lock_guard lock(s.mutex());
    s.transaction([&] {
        s.prepare(
             "INSERT INTO clipboard(slot, content) VALUES(1, ?) "
             "ON CONFLICT(slot) DO UPDATE SET content = excluded.content")
            .bind(1, text)
            .run();
    });
}

std::optional<std::wstring> clipboardText() {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    auto st = s.prepare("SELECT content FROM clipboard WHERE slot = 1");
    if (!st.step())
        return std::nullopt;
    std::wstring text = st.text(0);
    if (text.empty())
        return std::nullopt;
    return text;
}

void clearClipboard() {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    s.transaction([&] { s.prepare("DELETE FROM clipboard").run(); });
}

}  // namespace platform
