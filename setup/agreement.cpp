#include "setup/agreement.h"

#include "core/language.h"
#include "core/text_file.h"

namespace setup {
namespace {

bool isPlainFileName(std::wstring_view name) {
    return !name.empty() && name.size() <= 255 && name != L"." && name != L".." &&
           name.find_first_of(L"\\/:") == std::wstring_view::npos;
}

}  // namespace

std::wstring agreementPath(std::wstring_view mainPath) {
    const core::RecordTable& list = core::languageList();
    int row = list.currentRow();
    if (row < 1)
        return {};
    std::wstring_view name = list.fieldText(row, core::languageListField::AgreementFile);
    if (!isPlainFileName(name))
        return {};
    return std::wstring(mainPath) + L"lang\\" + std::wstring(name);
}

std::wstring agreementText(std::wstring_view devicePath) {
    std::wstring text;
    if (devicePath.empty())
        return text;
    auto file = core::TextFile::open(devicePath, core::TextFile::Mode::Read);
    if (!file)
        return text;
    std::wstring line;
    // The reader's limit counts the terminator of the handheld's line buffer.
    while (file->readLine(line, kAgreementLineLimit + 1)) {
        // The reader leaves a final line end with the last line.
        if (!line.empty() && line.back() == L'\n')
            line.pop_back();
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        line += L"\r\n";
        if (text.size() + line.size() > kAgreementTextLimit) {
            text.append(line, 0, kAgreementTextLimit - text.size());
            break;
        }
        text += line;
    }
    return text;
}

}  // namespace setup
