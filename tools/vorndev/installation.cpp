#include "tools/vorndev/installation.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cwctype>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <system_error>

#include "platform/api/device.h"
#include "platform/api/registry.h"
#include "platform/api/window.h"
#include "tools/vorndev/build_layout.h"
#include "tools/vorndev/command_line.h"
#include "tools/vorndev/install_record.h"
#include "tools/vorndev/installer_hook.h"

namespace vorndev {
namespace {

namespace fs = std::filesystem;

constexpr const wchar_t* kManifest = L"\\.device\\installed";

fs::path hostPathOrFail(const std::wstring& devicePath) {
    auto host = platform::hostPath(devicePath);
    if (!host)
        throw Failure("not a device path: " + platform::toUtf8(devicePath));
    return *host;
}

// Makes sure a file about to be written lands inside the device: its folder may be a link
// that leads elsewhere.
void expectInsideDevice(const fs::path& target) {
    if (!platform::resolvesInside(target, platform::deviceRoot())) {
        throw Failure("cannot install " + target.string() +
                      ": its folder leads outside the device");
    }
}

// Puts a file in place under a temporary name first and renames it over the target, so a
// program of the device never sees half a file or a missing link.
template <class MakeAside>
void replaceAtomically(const fs::path& target, MakeAside makeAside) {
    fs::path aside = target;
    aside += ".vorndev-" + std::to_string(::getpid());
    std::error_code ec;
    fs::remove(aside, ec);
    makeAside(aside);
    fs::rename(aside, target, ec);
    if (ec) {
        fs::remove(aside);
        throw Failure("cannot install " + target.string() + ": " + ec.message());
    }
}

void copyFileInto(const fs::path& source, const std::wstring& devicePath) {
    fs::path target = hostPathOrFail(devicePath);
    fs::create_directories(target.parent_path());
    expectInsideDevice(target);
    replaceAtomically(target, [&](const fs::path& aside) {
        std::error_code ec;
        fs::copy_file(source, aside, fs::copy_options::overwrite_existing, ec);
        if (ec)
            throw Failure("cannot copy " + source.string() + ": " + ec.message());
    });
}

void linkProgram(const fs::path& binary, const std::wstring& devicePath) {
    fs::path target = hostPathOrFail(devicePath);
    fs::create_directories(target.parent_path());
    expectInsideDevice(target);
    replaceAtomically(target, [&](const fs::path& aside) {
        std::error_code ec;
        fs::create_symlink(binary, aside, ec);
        if (ec)
            throw Failure("cannot link " + binary.string() + ": " + ec.message());
    });
}

std::wstring devicePathInInstallFolder(const fs::path& relative) {
    std::wstring path = kInstallFolder;
    bool first = true;
    for (const auto& part : relative) {
        if (!first)
            path += L'\\';
        path += platform::fromUtf8(part.string());
        first = false;
    }
    return path;
}

std::set<std::wstring> readManifest() {
    auto bytes = platform::readFile(kManifest);
    if (!bytes)
        return {};
    return parseInstallRecord(
        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

void writeManifest(const std::set<std::wstring>& paths) {
    std::string text = formatInstallRecord(paths);
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    if (!platform::writeFileAtomic(kManifest, bytes)) {
        throw Failure("cannot record the installed files on the device");
    }
}

bool isBelow(const fs::path& host, const fs::path& folder) {
    auto relative = host.lexically_relative(folder);
    if (relative.empty() || relative == ".")
        return false;
    for (const auto& part : relative) {
        if (part == "..")
            return false;
    }
    return true;
}

// Files the programs keep changing for the user: the favourites and the settings file. An
// installation puts the shipped copy only where there is none, and a removal leaves one that
// differs from the shipped copy, so that a reinstall or an upgrade keeps the user's choices.
constexpr std::wstring_view kUserFiles[] = {L"mycities.dat", L"vornroamer.ini"};

bool isUserFile(const std::wstring& devicePath) {
    std::wstring_view folder = kInstallFolder;
    if (devicePath.size() <= folder.size())
        return false;
    std::wstring relative = devicePath.substr(folder.size());
    for (auto& c : relative) c = static_cast<wchar_t>(std::towlower(c));
    return std::find(std::begin(kUserFiles), std::end(kUserFiles), relative) !=
           std::end(kUserFiles);
}

bool sameContent(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    if (fs::file_size(a, ec) != fs::file_size(b, ec) || ec)
        return false;
    std::ifstream x(a, std::ios::binary), y(b, std::ios::binary);
    return std::equal(std::istreambuf_iterator<char>(x), std::istreambuf_iterator<char>(),
                      std::istreambuf_iterator<char>(y));
}

// True when the device's copy of a user file is the user's own (changed since it was
// shipped, or not shipped at all).
bool changedByUser(const std::wstring& devicePath, const fs::path& host) {
    if (!isUserFile(devicePath))
        return false;
    fs::path shipped =
        sourceDataFolder() /
        platform::toUtf8(devicePath.substr(std::wstring_view(kInstallFolder).size()));
    std::error_code ec;
    return !fs::exists(shipped, ec) || !sameContent(host, shipped);
}

bool isProgramLink(const fs::path& host) {
    for (const auto& program : installedPrograms()) {
        if (platform::hostPath(program.devicePath) == host)
            return true;
    }
    return false;
}

// Removes one file an installation recorded, but only what the installer can have made: a
// regular file below the install folder, or the link of one of the programs, and only where
// its folder lies inside the device with every link followed. Anything else the record names
// (a folder, a path elsewhere on the device, a file reached through a linked folder) is left
// alone and reported, since the record lies in the device where anything may have changed it.
void removeInstalled(const std::wstring& devicePath) {
    auto host = platform::hostPath(devicePath);
    if (!host)
        return;
    struct stat st;
    if (::lstat(host->c_str(), &st) != 0)
        return;  // gone already
    if (S_ISREG(st.st_mode) && changedByUser(devicePath, *host))
        return;  // the user's own, kept for the next installation
    bool programLink = isProgramLink(*host);
    bool made = programLink ? S_ISLNK(st.st_mode) || S_ISREG(st.st_mode)
                            : S_ISREG(st.st_mode) && isBelow(*host, hostPathOrFail(kInstallFolder));
    if (!made || !platform::resolvesInside(*host, platform::deviceRoot())) {
        std::cerr << "vorndev: left " << platform::toUtf8(devicePath)
                  << " alone: not a file the installer put there\n";
        return;
    }
    ::unlink(host->c_str());  // a link goes, never what it points at
}

// Removes folders left empty below the install folder, deepest first, and the install folder
// itself when nothing of the user's remains in it.
void removeEmptyFolders(const fs::path& top) {
    std::error_code ec;
    // A linked install folder is never walked: what it leads to is not the device's.
    if (fs::is_symlink(top, ec) || !fs::is_directory(top, ec))
        return;
    std::vector<fs::path> folders;
    for (auto it = fs::recursive_directory_iterator(top, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec))
            folders.push_back(it->path());
    }
    std::sort(folders.begin(), folders.end(), [](const fs::path& a, const fs::path& b) {
        return a.native().size() > b.native().size();
    });
    folders.push_back(top);
    for (const auto& f : folders) {
        if (fs::is_empty(f, ec))
            fs::remove(f, ec);
    }
}

}  // namespace

namespace {

// The Today item as the package's registry section writes it. An item already there keeps the
// user's choices (Enabled) and only learns the library's path.
constexpr wchar_t kTodayItemKey[] = L"Software\\Microsoft\\Today\\Items\\\"VornRoamer\"";
constexpr wchar_t kTodayPlugin[] = L"\\windows\\VornRoamerToday.dll";

void registerTodayItem() {
    bool existed = platform::registryKeyExists(platform::Hive::LocalMachine, kTodayItemKey);
    auto key = platform::RegistryKey::create(platform::Hive::LocalMachine, kTodayItemKey);
    if (!key)
        return;
    key->setString(L"DLL", kTodayPlugin);
    if (existed)
        return;
    key->setDword(L"Enabled", 1);
    key->setDword(L"Options", 0);
    key->setDword(L"Type", 4);
    key->setDword(L"Selectability", 2);
}

}  // namespace

bool isDevice(const fs::path& root) {
    std::error_code ec;
    return fs::exists(root / ".device" / "state.db", ec);
}

void createDevice(const platform::ScreenProfile& screen, bool replace) {
    fs::path root = platform::deviceRoot();
    std::error_code ec;
    if (isDevice(root)) {
        if (!replace) {
            throw Failure("a device already exists at " + root.string() +
                          "; use --force to create it anew");
        }
        if (!platform::listWindows().empty()) {
            throw Failure("programs are running on the device at " + root.string() +
                          "; stop them first (vorndev ctl stop)");
        }
        // The open state store belongs to the device about to be removed.
        platform::setDeviceRoot(root);
        fs::remove_all(root, ec);
        if (ec)
            throw Failure("cannot remove the old device: " + ec.message());
    } else if (fs::exists(root, ec) && !fs::is_empty(root, ec)) {
        throw Failure(root.string() + " exists and is not a device; choose another folder");
    }
    fs::create_directories(root, ec);
    if (ec)
        throw Failure("cannot create " + root.string() + ": " + ec.message());
    platform::setDeviceRoot(root);
    platform::setScreenProfile(screen);
    for (const wchar_t* folder : standardFolders()) {
        if (!platform::createFolder(folder)) {
            throw Failure("cannot create the device folder " + platform::toUtf8(folder));
        }
    }
}

bool isInstalled() {
    return platform::fileExists(kManifest);
}

InstallSummary installSystem() {
    InstallSummary summary;
    auto hook = InstallerHook::load(installerHookLibrary());
    std::set<std::wstring> previous = readManifest();
    if (hook) {
        summary.hookCalled = true;
        if (!hook->installInit(isInstalled(), kInstallFolder)) {
            throw Failure("the installer hook cancelled the installation");
        }
    }
    std::set<std::wstring> installed;
    InstallFailures failures;
    if (!platform::createFolder(kInstallFolder))
        ++failures.folders;

    fs::path data = sourceDataFolder();
    std::error_code ec;
    if (!fs::is_directory(data, ec))
        throw Failure("no data folder at " + data.string());
    for (auto it = fs::recursive_directory_iterator(data, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file(ec))
            continue;
        std::wstring devicePath = devicePathInInstallFolder(fs::relative(it->path(), data));
        if (!(isUserFile(devicePath) && platform::fileExists(devicePath)))
            copyFileInto(it->path(), devicePath);
        installed.insert(devicePath);
        ++summary.dataFiles;
    }
    if (ec)
        throw Failure("cannot read " + data.string() + ": " + ec.message());

    for (const auto& program : installedPrograms()) {
        fs::path binary = buildFolder() / program.hostFile;
        if (!fs::exists(binary, ec)) {
            summary.notBuilt.push_back(program.hostFile);
            continue;
        }
        linkProgram(binary, program.devicePath);
        installed.insert(program.devicePath);
        summary.linked.push_back(program.devicePath);
    }
    // The package carries the Today item's registration with the plug-in, so the Today screen
    // shows it before the main program has ever run.
    if (installed.count(kTodayPlugin))
        registerTodayItem();

    // Files of an earlier installation that this one no longer carries go away, as an
    // upgrade would remove them.
    for (const auto& old : previous) {
        if (!installed.count(old))
            removeInstalled(old);
    }
    writeManifest(installed);
    if (hook)
        hook->installExit(kInstallFolder, failures);
    return summary;
}

void uninstallSystem() {
    if (!isInstalled())
        throw Failure("the system is not installed on this device");
    auto hook = InstallerHook::load(installerHookLibrary());
    if (hook && !hook->uninstallInit(kInstallFolder)) {
        throw Failure("the installer hook cancelled the removal");
    }
    for (const auto& path : readManifest()) removeInstalled(path);
    removeEmptyFolders(hostPathOrFail(kInstallFolder));
    // The package's registry entries go with it.
    platform::deleteRegistryKey(platform::Hive::LocalMachine, kTodayItemKey);
    platform::deleteFile(kManifest);
    if (hook)
        hook->uninstallExit();
}

}  // namespace vorndev
