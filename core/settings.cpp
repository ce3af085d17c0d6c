#include "core/settings.h"

#include "core/decimal.h"
#include "core/settings_keys.h"
#include "core/window_link.h"
#include "platform/api/device.h"
#include "platform/api/registry.h"
#include "platform/api/window.h"

namespace core {
namespace {

using platform::Hive;
using platform::RegistryKey;

// The wParam the Today screen takes as "reload your items".
constexpr platform::WParam kTodayReloadItems = 0xF2;

}  // namespace

std::optional<std::wstring> readSetting(std::wstring_view name, std::size_t byteLimit) {
    auto key = RegistryKey::open(Hive::CurrentUser, kSettingsKeyPath);
    if (!key)
        return std::nullopt;
    return key->queryString(name, byteLimit);
}

bool writeSetting(std::wstring_view name, std::wstring_view text) {
    auto key = RegistryKey::create(Hive::CurrentUser, kSettingsKeyPath);
    return key && key->setString(name, text);
}

std::optional<int> readNumberSetting(std::wstring_view name) {
    auto key = RegistryKey::open(Hive::CurrentUser, kSettingsKeyPath);
    if (!key)
        return std::nullopt;
    auto value = key->query(name);
    if (!value)
        return std::nullopt;
    if (value->type == platform::RegistryType::Dword)
        return static_cast<int>(value->number);
    if (platform::registryByteSize(value->text) > byteLimit::Number)
        return std::nullopt;
    return parseDecimal(value->text);
}

int readNumberSetting(std::wstring_view name, int defaultValue) {
    return readNumberSetting(name).value_or(defaultValue);
}

bool writeNumberSetting(std::wstring_view name, int number) {
    return writeSetting(name, decimalText(number));
}

std::wstring mainPathOf(std::wstring_view programDevicePath) {
    std::wstring folder = platform::folderOf(programDevicePath);
    return folder.empty() ? L"\\" : folder;
}

std::wstring downloadPathOf(std::wstring_view mainPath) {
    return std::wstring(mainPath) + L"downloads\\";
}

void publishPaths(std::wstring_view mainPath) {
    // Every start publishes the paths; they rarely change, and a write commits to disk.
    const std::wstring downloadPath = downloadPathOf(mainPath);
    if (readMainPath() != mainPath)
        writeSetting(keys::MainPath.name, mainPath);
    if (readDownloadPath() != downloadPath)
        writeSetting(keys::DownloadPath.name, downloadPath);
}

std::optional<std::wstring> readMainPath() {
    return readSetting(keys::MainPath.name, keys::MainPath.byteLimit);
}

std::optional<std::wstring> readDownloadPath() {
    return readSetting(keys::DownloadPath.name, keys::DownloadPath.byteLimit);
}

TodayItemResult registerTodayItem() {
    if (auto existing = RegistryKey::open(Hive::LocalMachine, kTodayItemKeyPath)) {
        if (existing->queryString(L"DLL", 2 * (kTodayPluginPath.size() + 1)) == kTodayPluginPath)
            return TodayItemResult::Updated;
        return existing->setString(L"DLL", kTodayPluginPath) ? TodayItemResult::Updated
                                                             : TodayItemResult::Failed;
    }
    auto key = RegistryKey::create(Hive::LocalMachine, kTodayItemKeyPath);
    if (!key)
        return TodayItemResult::Failed;
    bool ok = key->setString(L"DLL", kTodayPluginPath);
    ok = key->setDword(L"Enabled", 1) && ok;
    ok = key->setDword(L"Options", 0) && ok;
    ok = key->setDword(L"Type", 4) && ok;
    ok = key->setDword(L"Selectability", 2) && ok;
    const WindowLink& link = windowLink();
    if (platform::WindowHandle today = link.findWindow(kTodayWindowClass, kTodayWindowTitle)) {
        link.postMessage(today, platform::wm::SettingChange, kTodayReloadItems, 0);
        link.repaintWindow(today);
    }
    return ok ? TodayItemResult::Created : TodayItemResult::Failed;
}

}  // namespace core
