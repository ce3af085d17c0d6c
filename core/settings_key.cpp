#include "core/settings_key.h"

#include <algorithm>

#include "core/decimal.h"
#include "platform/api/registry.h"

namespace core::settings {
namespace {

// Text that parseDecimal reads as a number rather than as nothing: blanks, an optional sign,
// then at least one digit.
bool startsWithNumber(std::wstring_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) ++i;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        ++i;
    return i < text.size() && text[i] >= L'0' && text[i] <= L'9';
}

int clampTo(const NumberKey& key, int value) {
    if (value >= key.min && value <= key.max)
        return value;
    return key.outOfRange == OutOfRange::Clamp ? std::clamp(value, key.min, key.max)
                                               : key.defaultValue;
}

}  // namespace

int read(const NumberKey& key) {
    auto registryKey = platform::RegistryKey::open(platform::Hive::CurrentUser, kSettingsKeyPath);
    if (!registryKey)
        return key.defaultValue;
    return read(*registryKey, key);
}

std::optional<platform::RegistryKey> openSettings() {
    return platform::RegistryKey::open(platform::Hive::CurrentUser, kSettingsKeyPath);
}

int read(const platform::RegistryKey& settings, const NumberKey& key) {
    auto value = settings.query(key.name);
    if (!value)
        return key.defaultValue;
    if (value->type == platform::RegistryType::Dword)
        return clampTo(key, static_cast<int>(value->number));
    if (value->type != platform::RegistryType::String ||
        platform::registryByteSize(value->text) > byteLimit::Number ||
        !startsWithNumber(value->text))
        return key.defaultValue;
    return clampTo(key, parseDecimal(value->text));
}

std::wstring read(const TextKey& key) {
    return readSetting(key.name, key.byteLimit).value_or(std::wstring(key.defaultValue));
}

bool write(const NumberKey& key, int value) {
    return writeNumberSetting(key.name, clampTo(key, value));
}

bool write(const TextKey& key, std::wstring_view text) {
    // A text over the limit would read back as absent: keep the part that fits. Every
    // character takes at least two bytes, so no more than byteLimit characters can.
    std::wstring kept(text.substr(0, std::min(text.size(), key.byteLimit)));
    while (!kept.empty() && platform::registryByteSize(kept) > key.byteLimit) kept.pop_back();
    return writeSetting(key.name, kept);
}

}  // namespace core::settings
