// The user agreement file: any bytes give a text within its bound whose lines end with CR LF
// and hold at most the line limit.

#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/api/device.h"
#include "setup/agreement.h"

namespace {

constexpr std::wstring_view kFile = L"\\app\\lang\\eula.fuzz.txt";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern = (std::filesystem::temp_directory_path() / "vorn-fuzz-XXXXXX").string();
    std::filesystem::path root = ::mkdtemp(pattern.data());
    ::setenv("VORN_DEVICE", root.c_str(), 1);
    platform::setDeviceRoot(root);
    platform::createFolder(L"\\app\\lang");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::writeFileAtomic(kFile, {data, size});
    std::wstring text = setup::agreementText(kFile);
    if (text.size() > setup::kAgreementTextLimit)
        __builtin_trap();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) {
            // Only a text cut at its bound may end inside a line.
            if (text.size() != setup::kAgreementTextLimit)
                __builtin_trap();
            end = text.size();
        }
        if (end - start > setup::kAgreementLineLimit)
            __builtin_trap();
        start = end + 2;
    }
    return 0;
}
