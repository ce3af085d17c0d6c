#include "travel/packing_language.h"

#include <cwctype>

#include "core/language.h"
#include "core/record_table.h"
#include "platform/api/device.h"
#include "travel/packing_list.h"

namespace travel {

namespace {

bool isLanguageCode(std::wstring_view code) {
    if (code.size() != 4)
        return false;
    for (wchar_t c : code)
        if (!std::iswxdigit(static_cast<wint_t>(c)))
            return false;
    return true;
}

// The files of a language set: its master list and its templates.
std::vector<std::wstring> setFiles(const std::wstring& folder) {
    std::vector<std::wstring> names;
    for (const auto& entry : platform::listFolder(folder, kMasterListFile))
        names.push_back(entry.name);
    for (const auto& entry :
         platform::listFolder(folder, std::wstring(L"*") + std::wstring(kTemplateExtension)))
        names.push_back(entry.name);
    return names;
}

}  // namespace

bool switchPackingLanguage(std::wstring_view mainPath, std::wstring_view installedCode,
                           std::wstring_view languageCode) {
    if (!isLanguageCode(installedCode) || !isLanguageCode(languageCode) ||
        platform::matchesPattern(installedCode, languageCode)) {
        return false;
    }
    std::wstring folder = packingFolder(mainPath);
    std::wstring oldSet = core::joinDevicePath(folder, std::wstring(installedCode) + L"\\");
    std::wstring newSet = core::joinDevicePath(folder, std::wstring(languageCode) + L"\\");
    std::vector<std::wstring> newFiles = setFiles(newSet);
    if (newFiles.empty())
        return false;
    // Shipped files the user left as they came go first; the master list is replaced in one
    // step below rather than deleted, so that there is always one.
    bool masterUntouched = !platform::fileExists(folder + std::wstring(kMasterListFile));
    for (const std::wstring& name : setFiles(oldSet)) {
        auto shipped = platform::readFile(oldSet + name);
        auto present = platform::readFile(folder + name);
        if (!shipped || !present || *shipped != *present)
            continue;
        if (platform::matchesPattern(name, kMasterListFile))
            masterUntouched = true;
        else
            platform::deleteFile(folder + name);
    }
    for (const std::wstring& name : newFiles) {
        bool master = platform::matchesPattern(name, kMasterListFile);
        if (master ? !masterUntouched : platform::fileExists(folder + name))
            continue;
        if (auto bytes = platform::readFile(newSet + name))
            platform::writeFileAtomic(folder + name, *bytes);
    }
    return true;
}

void followPackingLanguage(std::wstring_view mainPath) {
    core::RecordTable& languages = core::languageList();
    int current = languages.currentRow();
    if (current < 1)
        return;
    std::wstring code(languages.fieldText(current, core::languageListField::Code));
    std::wstring installed = core::settings::read(keys::PackingLanguage);
    if (switchPackingLanguage(mainPath, installed, code))
        core::settings::write(keys::PackingLanguage, code);
}

}  // namespace travel
