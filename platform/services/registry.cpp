// The device registry on the machine-state store. Keys form a tree below one root row per
// hive; names are stored as spelled when created and looked up by their case-folded form.
// Every write is one immediate transaction, so programs writing at once never lose a value.

#include "platform/api/registry.h"

#include "platform/api/device.h"
#include "platform/device/state_store.h"
#include "platform/device/text_case.h"
#include "platform/services/registry_internal.h"

namespace platform {
namespace {

// The handheld's limits on name lengths, in characters.
constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kMaxValueNameLength = 16383;

using KeyId = std::int64_t;

state::Store& store() {
    auto& s = state::Store::instance();
    s.ensureSchema("registry",
                   "CREATE TABLE IF NOT EXISTS registry_keys ("
                   " id INTEGER PRIMARY KEY, parent INTEGER, name TEXT NOT NULL,"
                   " folded TEXT NOT NULL, changes INTEGER NOT NULL DEFAULT 0);"
                   "CREATE UNIQUE INDEX IF NOT EXISTS registry_keys_by_name"
                   " ON registry_keys(parent, folded);"
                   "CREATE TABLE IF NOT EXISTS registry_values ("
                   " key INTEGER NOT NULL, name TEXT NOT NULL, folded TEXT NOT NULL,"
                   " type INTEGER NOT NULL, text TEXT, number INTEGER,"
                   " UNIQUE(key, folded));"
                   "CREATE TABLE IF NOT EXISTS registry_generation ("
                   " id INTEGER PRIMARY KEY CHECK(id = 1), value INTEGER NOT NULL);"
                   "INSERT OR IGNORE INTO registry_generation VALUES(1, 0);"
                   "INSERT OR IGNORE INTO registry_keys(id, parent, name, folded) VALUES"
                   " (1, NULL, 'HKEY_CURRENT_USER', ''), (2, NULL, 'HKEY_LOCAL_MACHINE', '');");
    return s;
}

KeyId rootOf(Hive hive) {
    return hive == Hive::CurrentUser ? 1 : 2;
}

bool isKnownHive(Hive hive) {
    return hive == Hive::CurrentUser || hive == Hive::LocalMachine;
}

std::string folded(std::wstring_view name) {
    return toUtf8(text::foldCase(name));
}

// The names of a key path; nothing when a name is too long for the handheld.
std::optional<std::vector<std::wstring_view>> splitKeyPath(std::wstring_view path) {
    std::vector<std::wstring_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(L'\\', start);
        if (end == std::wstring_view::npos)
            end = path.size();
        std::wstring_view part = path.substr(start, end - start);
        if (part.size() > kMaxKeyNameLength)
            return std::nullopt;
        if (!part.empty())
            parts.push_back(part);
        start = end + 1;
    }
    return parts;
}

std::wstring joinKeyPath(const std::vector<std::wstring_view>& parts) {
    std::wstring path;
    for (auto part : parts) {
        if (!path.empty())
            path += L'\\';
        path += part;
    }
    return path;
}

std::optional<KeyId> childKey(state::Store& s, KeyId parent, std::wstring_view name) {
    auto st = s.prepare("SELECT id FROM registry_keys WHERE parent = ? AND folded = ?");
    st.bind(1, parent).bind(2, folded(name));
    if (!st.step())
        return std::nullopt;
    return st.integer(0);
}

std::optional<KeyId> findKey(state::Store& s, Hive hive, std::wstring_view path) {
    if (!isKnownHive(hive))
        return std::nullopt;
    auto parts = splitKeyPath(path);
    if (!parts)
        return std::nullopt;
    KeyId id = rootOf(hive);
    for (auto part : *parts) {
        auto child = childKey(s, id, part);
        if (!child)
            return std::nullopt;
        id = *child;
    }
    return id;
}

// Records a change of a key for watchers; called inside the changing transaction.
void noteChange(state::Store& s, KeyId key) {
    s.prepare("UPDATE registry_keys SET changes = changes + 1 WHERE id = ?").bind(1, key).run();
    s.exec("UPDATE registry_generation SET value = value + 1 WHERE id = 1");
}

RegistryValue valueFromRow(const state::Statement& st) {
    RegistryValue v;
    v.name = st.text(0);
    v.type = static_cast<RegistryType>(st.integer(1));
    if (v.type == RegistryType::String) {
        v.text = st.text(2);
    } else {
        v.number = static_cast<std::uint32_t>(st.integer(3));
    }
    return v;
}

bool writeValue(Hive hive, const std::wstring& path, std::wstring_view name, RegistryType type,
                std::wstring_view text, std::uint32_t number) {
    if (name.size() > kMaxValueNameLength)
        return false;
    auto& s = store();
    std::lock_guard lock(s.mutex());
    bool written = false;
    s.transaction([&] {
        auto key = findKey(s, hive, path);
        if (!key)
            return;
        auto st = s.prepare(
            "INSERT INTO registry_values(key, name, folded, type, text, number)"
            " VALUES(?, ?, ?, ?, ?, ?) ON CONFLICT(key, folded) DO UPDATE SET"
            " type = excluded.type, text = excluded.text, number = excluded.number");
        st.bind(1, *key).bind(2, name).bind(3, folded(name));
        st.bind(4, static_cast<std::int64_t>(type));
        if (type == RegistryType::String) {
            st.bind(5, text).bindNull(6);
        } else {
            st.bindNull(5).bind(6, static_cast<std::int64_t>(number));
        }
        st.run();
        noteChange(s, *key);
        written = true;
    });
    return written;
}

}  // namespace

std::size_t registryByteSize(std::wstring_view text) {
    std::size_t units = 0;
    for (wchar_t c : text) units += static_cast<std::uint32_t>(c) > 0xFFFF ? 2 : 1;
    return (units + 1) * 2;
}

std::optional<RegistryKey> RegistryKey::open(Hive hive, std::wstring_view path) {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    if (!findKey(s, hive, path))
        return std::nullopt;
    return RegistryKey(hive, joinKeyPath(*splitKeyPath(path)));
}

std::optional<RegistryKey> RegistryKey::create(Hive hive, std::wstring_view path) {
    auto parts = splitKeyPath(path);
    if (!isKnownHive(hive) || !parts)
        return std::nullopt;
    auto& s = store();
    std::lock_guard lock(s.mutex());
    s.transaction([&] {
        KeyId id = rootOf(hive);
        for (auto part : *parts) {
            if (auto child = childKey(s, id, part)) {
                id = *child;
                continue;
            }
            s.prepare("INSERT INTO registry_keys(parent, name, folded) VALUES(?, ?, ?)")
                .bind(1, id)
                .bind(2, part)
                .bind(3, folded(part))
                .run();
            noteChange(s, id);
            id = s.lastInsertId();
        }
    });
    return RegistryKey(hive, joinKeyPath(*parts));
}

std::optional<RegistryValue> RegistryKey::query(std::wstring_view name) const {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    auto key = findKey(s, hive_, path_);
    if (!key)
        return std::nullopt;
    auto st = s.prepare(
        "SELECT name, type, text, number FROM registry_values WHERE key = ? AND folded = ?");
    st.bind(1, *key).bind(2, folded(name));
    if (!st.step())
        return std::nullopt;
    return valueFromRow(st);
}

std::optional<std::wstring> RegistryKey::queryString(std::wstring_view name,
                                                     std::size_t byteLimit) const {
    auto value = query(name);
    if (!value || value->type != RegistryType::String)
        return std::nullopt;
    if (registryByteSize(value->text) > byteLimit)
        return std::nullopt;
    return std::move(value->text);
}

std::optional<std::uint32_t> RegistryKey::queryDword(std::wstring_view name) const {
    auto value = query(name);
    if (!value || value->type != RegistryType::Dword)
        return std::nullopt;
    return value->number;
}

bool RegistryKey::setString(std::wstring_view name, std::wstring_view text) {
    return writeValue(hive_, path_, name, RegistryType::String, text, 0);
}

bool RegistryKey::setDword(std::wstring_view name, std::uint32_t value) {
    return writeValue(hive_, path_, name, RegistryType::Dword, {}, value);
}

bool RegistryKey::deleteValue(std::wstring_view name) {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    bool deleted = false;
    s.transaction([&] {
        auto key = findKey(s, hive_, path_);
        if (!key)
            return;
        auto st = s.prepare("DELETE FROM registry_values WHERE key = ? AND folded = ?");
        deleted = st.bind(1, *key).bind(2, folded(name)).run() > 0;
        if (deleted)
            noteChange(s, *key);
    });
    return deleted;
}

std::vector<RegistryValue> RegistryKey::values() const {
    std::vector<RegistryValue> result;
    auto& s = store();
    std::lock_guard lock(s.mutex());
    auto key = findKey(s, hive_, path_);
    if (!key)
        return result;
    auto st = s.prepare(
        "SELECT name, type, text, number FROM registry_values WHERE key = ? ORDER BY rowid");
    st.bind(1, *key);
    while (st.step()) result.push_back(valueFromRow(st));
    return result;
}

std::vector<std::wstring> RegistryKey::subKeys() const {
    std::vector<std::wstring> result;
    auto& s = store();
    std::lock_guard lock(s.mutex());
    auto key = findKey(s, hive_, path_);
    if (!key)
        return result;
    auto st = s.prepare("SELECT name FROM registry_keys WHERE parent = ? ORDER BY id");
    st.bind(1, *key);
    while (st.step()) result.push_back(st.text(0));
    return result;
}

bool registryKeyExists(Hive hive, std::wstring_view path) {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    return findKey(s, hive, path).has_value();
}

bool deleteRegistryKey(Hive hive, std::wstring_view path) {
    auto parts = splitKeyPath(path);
    // The hive itself cannot be deleted.
    if (!parts || parts->empty())
        return false;
    auto& s = store();
    std::lock_guard lock(s.mutex());
    bool deleted = false;
    s.transaction([&] {
        auto key = findKey(s, hive, path);
        if (!key)
            return;
        auto parent = s.prepare("SELECT parent FROM registry_keys WHERE id = ?");
        parent.bind(1, *key).step();
        KeyId parentId = parent.integer(0);
        static constexpr std::string_view kSubtree =
            "WITH RECURSIVE subtree(id) AS (SELECT ? UNION ALL"
            " SELECT k.id FROM registry_keys k JOIN subtree ON k.parent = subtree.id) ";
        s.prepare(std::string(kSubtree) +
                  "DELETE FROM registry_values WHERE key IN (SELECT id FROM subtree)")
            .bind(1, *key)
            .run();
        s.prepare(std::string(kSubtree) +
                  "DELETE FROM registry_keys WHERE id IN (SELECT id FROM subtree)")
            .bind(1, *key)
            .run();
        noteChange(s, parentId);
        deleted = true;
    });
    return deleted;
}

std::optional<Hive> hiveFromName(std::wstring_view name) {
    std::wstring n = text::foldCase(name);
    if (n == L"hkcu" || n == L"hkey_current_user")
        return Hive::CurrentUser;
    if (n == L"hklm" || n == L"hkey_local_machine")
        return Hive::LocalMachine;
    return std::nullopt;
}

namespace registry_internal {

void transaction(const std::function<void()>& fn) {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    s.transaction(fn);
}

std::optional<std::int64_t> keyChangeCount(Hive hive, std::wstring_view path) {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    auto key = findKey(s, hive, path);
    if (!key)
        return std::nullopt;
    auto st = s.prepare("SELECT changes FROM registry_keys WHERE id = ?");
    st.bind(1, *key).step();
    return st.integer(0);
}

std::int64_t registryGeneration() {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    auto st = s.prepare("SELECT value FROM registry_generation WHERE id = 1");
    return st.step() ? st.integer(0) : 0;
}

}  // namespace registry_internal
}  // namespace platform
