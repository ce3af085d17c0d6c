#pragma once
// The device registry: two hives of keys, sub-keys and named values, shared by every program
// of the device at once. Values are strings (REG_SZ) or 32-bit numbers (REG_DWORD). Key and
// value names compare without regard to case. Every call is one short transaction, so two
// programs writing at the same moment both land.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class Hive : std::uint32_t {
    CurrentUser = 0x80000001,   // HKEY_CURRENT_USER
    LocalMachine = 0x80000002,  // HKEY_LOCAL_MACHINE
};

enum class RegistryType : std::uint32_t {
    String = 1,  // REG_SZ
    Dword = 4,   // REG_DWORD
};

struct RegistryValue {
    std::wstring name;
    RegistryType type = RegistryType::String;
    std::wstring text;         // for String
    std::uint32_t number = 0;  // for Dword
};

// Bytes a string value occupies as the handheld counts them: UTF-16 code units of two bytes
// each, plus the two-byte terminator.
std::size_t registryByteSize(std::wstring_view text);

// An open key. Opening does not hold anything: a key deleted by another program simply
// reads as empty and refuses writes.
class RegistryKey {
  public:
    // Opens an existing key; nothing when it does not exist. Paths use backslashes:
    // L"Software\\VornSoftware\\VornRoamer3".
    static std::optional<RegistryKey> open(Hive hive, std::wstring_view path);
    // Opens a key, creating it and its missing parents.
    static std::optional<RegistryKey> create(Hive hive, std::wstring_view path);

    Hive hive() const { return hive_; }
    const std::wstring& path() const { return path_; }

    std::optional<RegistryValue> query(std::wstring_view name) const;
    // A string value whose size (see registryByteSize) exceeds byteLimit reads as absent, as
    // does a value of another type.
    std::optional<std::wstring> queryString(std::wstring_view name, std::size_t byteLimit) const;
    std::optional<std::uint32_t> queryDword(std::wstring_view name) const;

    bool setString(std::wstring_view name, std::wstring_view text);
    bool setDword(std::wstring_view name, std::uint32_t value);
    bool deleteValue(std::wstring_view name);

    std::vector<RegistryValue> values() const;
    std::vector<std::wstring> subKeys() const;

  private:
    RegistryKey(Hive hive, std::wstring path) : hive_(hive), path_(std::move(path)) {}
    Hive hive_;
    std::wstring path_;
};

bool registryKeyExists(Hive hive, std::wstring_view path);
// Deletes a key with all its sub-keys and values.
bool deleteRegistryKey(Hive hive, std::wstring_view path);

// Hive names as written by tools and logs: "HKCU", "HKLM" (also the long forms).
std::optional<Hive> hiveFromName(std::wstring_view name);

}  // namespace platform
