#include "core/settings_file.h"

#include "core/decimal.h"
#include "core/message_box.h"
#include "core/record_table.h"
#include "core/text_file.h"
#include "platform/api/device.h"

namespace core {

const std::wstring_view kDefaultSettingsFileContent =
    L"; vorn roamer settings file\r\n"
    L";----------------------------\r\n"
    L";general\r\n"
    L"eula=0\r\n"
    L"tempmetric=c\r\n"
    L"tempdisplay=hi\r\n"
    L"windspeed=mph\r\n"
    L"time=24\r\n"
    L"theme=default\r\n"
    L";----------------------------\r\n"
    L";connection\r\n"
    L"connection=1\r\n"
    L"autoupdate=1\r\n"
    L"scheduleupdate=0\r\n"
    L";----------------------------\r\n"
    L";eof";

bool SettingsFile::load(std::wstring_view devicePath, bool reload) {
    if (reload)
        entries_.clear();
    path_ = devicePath;
    damagedLines_ = 0;
    firstDamagedLine_ = 0;
    backupDue_ = false;
    auto file = openTextFile(devicePath, "r");
    if (!file)
        return false;
    std::wstring line;
    int lineNumber = 0;
    while (file->readLine(line, kShortLineLimit)) {
        ++lineNumber;
        if (!line.empty() && line.back() == L'\n')
            line.pop_back();
        if (!line.empty() && line.front() == L';') {
            entries_.push_back({{}, line, true});
            continue;
        }
        std::size_t equals = line.find(L'=');
        if (equals == std::wstring::npos) {
            if (damagedLines_++ == 0)
                firstDamagedLine_ = lineNumber;
            continue;
        }
        entries_.push_back({line.substr(0, equals), line.substr(equals + 1), false});
    }
    file->close();
    backupDue_ = damagedLines_ > 0;
    return true;
}

std::size_t SettingsFile::findEntry(std::wstring_view name) const {
    std::size_t i = 0;
    while (i < entries_.size() && (entries_[i].isComment || entries_[i].name != name)) ++i;
    return i;
}

std::wstring SettingsFile::text(std::wstring_view name, std::wstring_view defaultValue) const {
    std::size_t i = findEntry(name);
    if (i == entries_.size() || entries_[i].value.empty())
        return std::wstring(defaultValue);
    return entries_[i].value;
}

int SettingsFile::number(std::wstring_view name, int defaultValue) const {
    std::size_t i = findEntry(name);
    if (i == entries_.size() || entries_[i].value.empty())
        return defaultValue;
    return parseDecimal(entries_[i].value);
}

void SettingsFile::setNumber(std::wstring_view name, int number) {
    std::size_t i = findEntry(name);
    if (i < entries_.size()) {
        entries_[i].value = decimalText(number);
        return;
    }
    entries_.push_back({std::wstring(name), decimalText(number), false});
}

bool SettingsFile::save() {
    if (backupDue_) {
        auto original = platform::readFile(path_);
        if (!original || !platform::writeFileAtomic(path_ + L".bak", *original))
            return false;
        backupDue_ = false;
    }
    return saveAs(path_);
}

bool SettingsFile::saveAs(std::wstring_view devicePath) const {
    auto file = openTextFile(devicePath, "w");
    if (!file)
        return false;
    std::wstring text;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const IniEntry& e = entries_[i];
        if (e.isComment) {
            text += e.value;
        } else {
            text += e.name;
            text += L'=';
            text += e.value;
        }
        if (i + 1 < entries_.size())
            text += L'\n';
    }
    if (!text.empty())
        file->writeText(text);
    return closeTextFile(file);
}

SettingsFile& settingsFile() {
    static SettingsFile list;
    return list;
}

bool loadIniFile(std::wstring_view mainPath, bool reload) {
    return settingsFile().load(joinDevicePath(mainPath, kSettingsFileName), reload);
}

std::wstring iniText(std::wstring_view name, std::wstring_view defaultValue) {
    return settingsFile().text(name, defaultValue);
}

int iniNumber(std::wstring_view name, int defaultValue) {
    return settingsFile().number(name, defaultValue);
}

void setIniNumber(std::wstring_view name, int number) {
    settingsFile().setNumber(name, number);
}

bool saveIniFile() {
    return settingsFile().save();
}

bool ensureIniFile(std::wstring_view mainPath) {
    if (loadIniFile(mainPath, true))
        return true;
    if (auto file = openTextFile(joinDevicePath(mainPath, kSettingsFileName), "w")) {
        file->writeText(kDefaultSettingsFileContent);
        closeTextFile(file);
    }
    if (loadIniFile(mainPath, true))
        return true;
    static bool reported = false;
    if (!reported) {
        reported = true;
        showExclamation(L"Problems creating initial settings file !", L"Vorn Roamer");
    }
    return false;
}

bool reportDamagedIniFile(std::wstring_view caption) {
    static std::wstring reportedPath;
    const SettingsFile& list = settingsFile();
    if (list.damagedLines() == 0 || reportedPath == list.path())
        return false;
    reportedPath = list.path();
    std::wstring text =
        L"The settings file " + std::wstring(kSettingsFileName) + L" is damaged: " +
        decimalText(list.damagedLines()) + (list.damagedLines() == 1 ? L" line" : L" lines") +
        L" could not be read (the first is line " + decimalText(list.firstDamagedLine()) +
        L"). Default settings are used instead.";
    showExclamation(text, caption);
    return true;
}

}  // namespace core
