#include "core/language.h"

#include <cstdio>
#include <vector>

#include "core/decimal.h"
#include "core/message_box.h"
#include "core/settings_keys.h"
#include "core/text_file.h"
#include "core/window_link.h"
#include "platform/api/device.h"

namespace core {
namespace {

// English - United Kingdom and the language every list is expected to carry.
constexpr platform::LanguageId kEnglishUk = 2057;
constexpr platform::LanguageId kEnglishUs = 1033;
constexpr std::wstring_view kFallbackCode = L"0409";
constexpr std::wstring_view kFallbackFile = L"lang.0409.mui.txt";

struct LanguageTable {
    // Lines 1..n of the file as read; strings the count promises beyond the file's end are
    // empty without being stored, so a huge count in line 1 costs nothing.
    std::vector<std::wstring> strings;
    int count = 0;
};

LanguageTable& table() {
    static LanguageTable loaded;
    return loaded;
}

// "\r" written as two characters in a language file stands for a carriage return.
void replaceCarriageReturnEscapes(std::wstring& text) {
    std::size_t out = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\\' && i + 1 < text.size() && text[i + 1] == L'r') {
            text[out++] = L'\r';
            ++i;
        } else {
            text[out++] = text[i];
        }
    }
    text.resize(out);
}

void loadStrings(TextFile& file) {
    LanguageTable& t = table();
    t.strings.clear();
    t.count = 0;
    std::wstring line;
    if (!file.readLine(line, kShortLineLimit))
        return;
    int count = parseDecimal(line);
    if (count <= 0)
        return;
    t.count = count;
    do {
        replaceCarriageReturnEscapes(line);
        t.strings.push_back(std::move(line));
    } while (static_cast<int>(t.strings.size()) < count && file.readLine(line, kShortLineLimit));
}

}  // namespace

RecordTable& languageList() {
    static RecordTable list(9);
    return list;
}

bool buildLanguageList(std::wstring_view installFolder, int defaultMarker, int fieldCount) {
    RecordTable& list = languageList();
    list = RecordTable(fieldCount > 0 ? fieldCount : 1);
    if (fieldCount <= 0)
        return false;
    list.load(joinDevicePath(installFolder, L"lang"), L"lang.dat");
    if (list.empty()) {
        showExclamation(L"No Language Dat File", L"Language");
        windowLink().quit(0);
        return false;
    }
    int marked = list.find(languageListField::DefaultMark, decimalText(defaultMarker));
    list.setCurrentRow(marked ? marked : 1);
    return true;
}

std::wstring languageCodeFor(platform::LanguageId language) {
    if (language == 0)
        language = platform::userInterfaceLanguage();
    if (language == kEnglishUk)
        language = kEnglishUs;
    wchar_t text[16];
    std::swprintf(text, std::size(text), L"%lX", static_cast<unsigned long>(language));
    std::wstring code(text);
    if (code.size() == 3)
        code.insert(0, 1, L'0');
    return code;
}

void selectDeviceLanguage() {
    RecordTable& list = languageList();
    int row = list.find(languageListField::Code, languageCodeFor(0));
    if (!row)
        row = list.find(languageListField::Code, kFallbackCode);
    list.setCurrentRow(row ? row : 1);
}

bool openLanguage(std::wstring_view installFolder, bool closeOldFirst, bool quiet) {
    if (closeOldFirst)
        closeLanguage();
    RecordTable& list = languageList();
    if (list.currentRow() < 1 || list.currentRow() > list.rowCount())
        list.setCurrentRow(1);
    auto name = list.field(0, languageListField::FileName);
    if (!name)
        return false;
    auto file = openTextFile(joinDevicePath(joinDevicePath(installFolder, L"lang"), *name), "r");
    if (file) {
        loadStrings(*file);
        file->close();
        return true;
    }
    // A copy of the English file beside the program keeps it running without strings.
    if (!platform::fileExists(joinDevicePath(installFolder, kFallbackFile))) {
        if (!quiet)
            showExclamation(L"No Language File", L"Language");
        windowLink().quit(0);
    }
    return false;
}

void closeLanguage() {
    table().strings.clear();
    table().count = 0;
}

int languageStringCount() {
    return table().count;
}

std::wstring languageString(int number) {
    const LanguageTable& t = table();
    if (number < 1 || number > t.count)
        return std::wstring(kNotLoaded);
    auto index = static_cast<std::size_t>(number - 1);
    return index < t.strings.size() ? t.strings[index] : std::wstring();
}

std::wstring languageStringCopy(int number, std::size_t* length) {
    std::wstring text = languageString(number);
    if (length)
        *length = text.size();
    return text;
}

std::wstring languageField(int number, int k) {
    if (k < 0)
        return std::wstring(kNotLoaded);
    std::wstring text = languageString(number);
    std::size_t start = 0;
    for (int commas = 0; commas <= k; ++commas) {
        std::size_t comma = text.find(L',', start);
        if (comma == std::wstring::npos)
            return std::wstring(kNotLoaded);
        start = comma + 1;
    }
    if (start == text.size())
        return std::wstring(kNotLoaded);
    std::size_t end = text.find(L',', start);
    return text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}

bool chooseStartLanguage(std::wstring_view installFolder) {
    if (!buildLanguageList(installFolder, 1, 9))
        return false;
    RecordTable& list = languageList();
    if (auto stored = readSetting(keys::OptLang.name, keys::OptLang.byteLimit)) {
        list.setCurrentRow(list.find(languageListField::Code, *stored));
    } else {
        selectDeviceLanguage();
    }
    bool opened = openLanguage(installFolder, true, false);
    // Written back only when they differ: nearly every start finds them as they are, and a
    // write costs a store transaction.
    if (auto code = list.field(0, languageListField::Code);
        code && settings::read(keys::OptLang) != *code)
        settings::write(keys::OptLang, *code);
    if (auto download = list.field(0, languageListField::DownloadName);
        download && settings::read(keys::OptLangDownload) != *download) {
        settings::write(keys::OptLangDownload, *download);
    }
    return opened;
}

}  // namespace core
