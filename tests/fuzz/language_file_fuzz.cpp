// Loads arbitrary bytes as a language file or as the language list, then asks for strings
// and comma fields: answers stay within the line limit and nothing may crash.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/language.h"
#include "core/message_box.h"
#include "core/text_codec.h"
#include "platform/api/device.h"
#include "tests/fuzz/support/fuzz_device.h"

namespace {

const std::filesystem::path& fuzzRoot() {
    static const std::filesystem::path root = [] {
        std::filesystem::path r = fuzz::makeMemoryDevice("lang");
        std::filesystem::create_directories(r / "fixed" / "lang");
        std::filesystem::create_directories(r / "list" / "lang");
        std::FILE* f = std::fopen((r / "fixed" / "lang" / "lang.dat").c_str(), "wb");
        std::fputs("Fuzz~lang.fuzz.mui.txt~1~x~x~0409~0~0~fuzz", f);
        std::fclose(f);
        core::setMessageBoxHook(
            [](std::wstring_view, std::wstring_view, std::uint32_t) { return 1; });
        return r;
    }();
    return root;
}

void askStrings() {
    int count = core::languageStringCount();
    for (int n = -1; n <= std::min(count, 64) + 2; ++n) {
        std::wstring s = core::languageString(n);
        fuzz::check(core::utf16Length(s) < 255);
        if (n < 1 || n > count)
            fuzz::check(s == L"NotLoaded");
        for (int k = 0; k < 4; ++k) {
            std::wstring field = core::languageField(n, k);
            fuzz::check(field.find(L',') == std::wstring::npos);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const auto& root = fuzzRoot();
    if (data[0] & 1) {
        // The bytes are the language list; the marker comes from the first byte.
        fuzz::writeHostFile(root / "list" / "lang" / "lang.dat", data + 1, size - 1);
        if (core::buildLanguageList(L"\\list\\", data[0] >> 1, 9)) {
            core::selectDeviceLanguage();
            fuzz::check(core::languageList().currentRow() >= 1);
            core::openLanguage(L"\\list\\", true, true);
            askStrings();
        }
        return 0;
    }
    fuzz::writeHostFile(root / "fixed" / "lang" / "lang.fuzz.mui.txt", data + 1, size - 1);
    fuzz::check(core::buildLanguageList(L"\\fixed\\", 1, 9));
    fuzz::check(core::openLanguage(L"\\fixed\\", true, false));
    askStrings();
    return 0;
}
