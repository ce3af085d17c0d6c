// ctl reg: the device registry read and written directly, without a program.

#include <iostream>

#include "platform/api/device.h"
#include "platform/api/registry.h"
#include "tools/vorndev/ctl_verbs.h"

namespace vorndev {
namespace {

using platform::fromUtf8;
using platform::toUtf8;

struct KeyName {
    platform::Hive hive;
    std::wstring path;
    std::string shown;  // as the user wrote it, for messages
};

KeyName keyName(const Arguments& a) {
    const std::string& hive = a.required(1, "HIVE (HKCU or HKLM)");
    auto parsed = platform::hiveFromName(fromUtf8(hive));
    if (!parsed)
        throw UsageError("unknown hive \"" + hive + "\"; use HKCU or HKLM");
    std::string path = a.required(2, "KEY");
    // Forward slashes are accepted, since backslashes need quoting in a shell.
    for (char& c : path) c = c == '/' ? '\\' : c;
    return {*parsed, fromUtf8(path), hive + "\\" + path};
}

void printValue(const platform::RegistryValue& v, bool withName) {
    if (withName) {
        std::cout << toUtf8(v.name) << "\t"
                  << (v.type == platform::RegistryType::Dword ? "REG_DWORD" : "REG_SZ") << "\t";
    }
    if (v.type == platform::RegistryType::Dword) {
        std::cout << v.number << "\n";
    } else {
        std::cout << toUtf8(v.text) << "\n";
    }
}

int regGet(const Arguments& a) {
    a.expectAtMost(4);
    KeyName k = keyName(a);
    const std::string& name = a.required(3, "NAME");
    auto key = platform::RegistryKey::open(k.hive, k.path);
    if (!key)
        throw Failure("no key " + k.shown);
    auto value = key->query(fromUtf8(name));
    if (!value)
        throw Failure("no value \"" + name + "\" in " + k.shown);
    printValue(*value, false);
    return 0;
}

int regSet(const Arguments& a) {
    a.expectAtMost(4);
    KeyName k = keyName(a);
    const std::string& name = a.required(3, "NAME");
    auto text = a.value("string");
    auto number = a.value("dword");
    if (text.has_value() == number.has_value()) {
        throw UsageError("reg set needs one of --string TEXT or --dword N");
    }
    auto key = platform::RegistryKey::create(k.hive, k.path);
    if (!key)
        throw Failure("cannot create key " + k.shown);
    bool ok = text ? key->setString(fromUtf8(name), fromUtf8(*text))
                   : key->setDword(fromUtf8(name), static_cast<std::uint32_t>(parseNumber(
                                                       *number, "--dword", INT32_MIN, UINT32_MAX)));
    if (!ok)
        throw Failure("cannot set \"" + name + "\" in " + k.shown);
    return 0;
}

int regList(const Arguments& a) {
    a.expectAtMost(3);
    KeyName k = keyName(a);
    auto key = platform::RegistryKey::open(k.hive, k.path);
    if (!key)
        throw Failure("no key " + k.shown);
    for (const auto& sub : key->subKeys()) std::cout << toUtf8(sub) << "\\\tKEY\n";
    for (const auto& v : key->values()) printValue(v, true);
    return 0;
}

int regDelete(const Arguments& a) {
    a.expectAtMost(4);
    KeyName k = keyName(a);
    if (auto name = a.optional(3)) {
        auto key = platform::RegistryKey::open(k.hive, k.path);
        if (!key || !key->deleteValue(fromUtf8(*name))) {
            throw Failure("no value \"" + *name + "\" in " + k.shown);
        }
        return 0;
    }
    if (!platform::deleteRegistryKey(k.hive, k.path))
        throw Failure("no key " + k.shown);
    return 0;
}

}  // namespace

int ctlRegistry(CtlContext& ctx) {
    const Arguments& a = ctx.args();
    const std::string& action = a.required(0, "reg action (get, set, list or delete)");
    if (action != "set" && (a.has("string") || a.has("dword"))) {
        throw UsageError("--string and --dword belong to reg set");
    }
    if (action == "get")
        return regGet(a);
    if (action == "set")
        return regSet(a);
    if (action == "list")
        return regList(a);
    if (action == "delete")
        return regDelete(a);
    throw UsageError("unknown reg action \"" + action + "\"; use get, set, list or delete");
}

}  // namespace vorndev
