// The conventions of a language kept in the device's store. Making the locale library's date
// formats costs more than a millisecond, at every start of every program that shows a date;
// the answers change only with the library's version, which is part of the key.

#include <unicode/uvernum.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/device/state_store.h"
#include "platform/locale/locale_data.h"

namespace platform::locale {
namespace {

// Raised when the fields below change, so that rows of the old layout are not read.
constexpr int kLayoutVersion = 1;
constexpr wchar_t kSeparator = L'\x1f';
// No convention comes near this; a longer field means a damaged row.
constexpr std::size_t kMaxField = 256;

std::string keyOf(LanguageId language) {
    return std::to_string(language) + "/" U_ICU_VERSION "/" + std::to_string(kLayoutVersion);
}

template <class Data, class Visit>
void eachField(Data& data, Visit visit) {
    for (auto* field : {&data.shortDate, &data.longDate, &data.time, &data.am, &data.pm, &data.era})
        visit(*field);
    for (auto& name : data.days) visit(name);
    for (auto& name : data.shortDays) visit(name);
    for (auto& name : data.months) visit(name);
    for (auto& name : data.shortMonths) visit(name);
    for (auto& name : data.monthsInDate) visit(name);
}

state::Store& store() {
    auto& s = state::Store::instance();
    s.ensureSchema("locale",
                   "CREATE TABLE IF NOT EXISTS locale_conventions ("
                   " key TEXT PRIMARY KEY, fields TEXT NOT NULL)");
    return s;
}

}  // namespace

std::unique_ptr<LocaleData> localeDataFromKeptRow(std::wstring_view row) {
    std::vector<std::wstring_view> fields;
    std::size_t start = 0;
    for (std::size_t end; (end = row.find(kSeparator, start)) != std::wstring_view::npos;
         start = end + 1) {
        fields.push_back(row.substr(start, end - start));
    }
    fields.push_back(row.substr(start));

    auto data = std::make_unique<LocaleData>();
    std::size_t count = 0;
    eachField(*data, [&](std::wstring&) { ++count; });
    if (fields.size() != count)
        return nullptr;
    for (std::wstring_view field : fields) {
        if (field.size() > kMaxField)
            return nullptr;
    }
    std::size_t next = 0;
    eachField(*data, [&](std::wstring& field) { field = fields[next++]; });
    return data;
}

std::optional<std::wstring> keptRowOf(const LocaleData& data) {
    std::wstring row;
    bool sound = true;
    bool first = true;
    eachField(data, [&](const std::wstring& field) {
        sound = sound && field.size() <= kMaxField && field.find(kSeparator) == std::wstring::npos;
        if (!first)
            row += kSeparator;
        row += field;
        first = false;
    });
    if (!sound)
        return std::nullopt;
    return row;
}

std::unique_ptr<LocaleData> keptLocaleData(LanguageId language) {
    std::wstring row;
    try {
        auto& s = store();
        std::lock_guard lock(s.mutex());
        auto st = s.prepare("SELECT fields FROM locale_conventions WHERE key = ?");
        st.bind(1, keyOf(language));
        if (!st.step())
            return nullptr;
        row = st.text(0);
    } catch (const std::exception&) {
        return nullptr;
    }
    auto data = localeDataFromKeptRow(row);
    if (!data)
        return nullptr;
    data->language = language;
    data->locale = icuLocaleOf(language);
    return data;
}

void keepLocaleData(const LocaleData& data) {
    const auto row = keptRowOf(data);
    if (!row)
        return;
    try {
        auto& s = store();
        std::lock_guard lock(s.mutex());
        s.transaction([&] {
            s.prepare("INSERT OR REPLACE INTO locale_conventions(key, fields) VALUES(?, ?)")
                .bind(1, keyOf(data.language))
                .bind(2, std::wstring_view(*row))
                .run();
        });
    } catch (const std::exception&) {
        // Not kept: the next start asks the locale library again.
    }
}

}  // namespace platform::locale
