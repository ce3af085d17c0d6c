// Parses arbitrary bytes as the settings file "vornroamer.ini": entries keep their shape,
// damaged lines are counted, lookups and changes work, what is saved loads back as the same
// list, and a save after a damaged load keeps the original bytes beside the file.

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/message_box.h"
#include "core/settings_file.h"
#include "platform/api/device.h"
#include "tests/fuzz/support/fuzz_device.h"

namespace {

const std::filesystem::path& fuzzRoot() {
    static const std::filesystem::path root = [] {
        std::filesystem::path r = fuzz::makeMemoryDevice("ini");
        // A damaged file is reported in a box; here it answers at once.
        core::setMessageBoxHook(
            [](std::wstring_view, std::wstring_view, std::uint32_t) { return 1; });
        return r;
    }();
    return root;
}

bool sameEntries(const std::vector<core::IniEntry>& a, const std::vector<core::IniEntry>& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].value != b[i].value || a[i].isComment != b[i].isComment)
            return false;
    }
    return true;
}

// A CR at the end of an entry that is followed by another is read back as part of the line
// end, so such lists do not survive a save unchanged; nothing else may differ.
bool roundTrips(const std::vector<core::IniEntry>& entries) {
    for (std::size_t i = 0; i + 1 < entries.size(); ++i) {
        if (!entries[i].value.empty() && entries[i].value.back() == L'\r')
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto& root = fuzzRoot();
    std::FILE* f = std::fopen((root / "vornroamer.ini").c_str(), "wb");
    if (!f)
        std::abort();
    if (size)
        std::fwrite(data, 1, size, f);
    std::fclose(f);

    core::SettingsFile file;
    fuzz::check(file.load(L"\\vornroamer.ini", true));
    fuzz::check(file.damagedLines() >= 0);
    fuzz::check((file.damagedLines() == 0) == (file.firstDamagedLine() == 0));
    for (const core::IniEntry& e : file.entries()) {
        if (e.isComment) {
            fuzz::check(e.name.empty() && !e.value.empty() && e.value.front() == L';');
        } else {
            fuzz::check(e.name.find(L'=') == std::wstring::npos);
            fuzz::check(e.name.empty() || e.name.front() != L';');
        }
        fuzz::check(e.name.size() + e.value.size() < 255);
    }
    auto loaded = file.entries();
    if (roundTrips(loaded)) {
        fuzz::check(file.saveAs(L"\\saved.ini"));
        core::SettingsFile again;
        fuzz::check(again.load(L"\\saved.ini", true));
        fuzz::check(sameEntries(again.entries(), loaded));
    }
    if (!loaded.empty()) {
        const core::IniEntry& last = loaded.back();
        file.text(last.name, L"default");
        file.setNumber(last.name, -12);
        if (!last.isComment)
            fuzz::check(file.number(last.name, 0) == -12);
    }
    file.setNumber(L"countermode", 2);
    fuzz::check(file.number(L"countermode", 0) == 2);
    if (file.damagedLines() > 0) {
        std::filesystem::remove(root / "vornroamer.ini.bak");
        fuzz::check(file.save());
        auto backup = platform::readFile(L"\\vornroamer.ini.bak");
        fuzz::check(backup && backup->size() == size &&
                    (size == 0 || std::equal(backup->begin(), backup->end(), data)));
    }
    return 0;
}
