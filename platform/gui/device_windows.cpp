#include "platform/gui/device_windows.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cwctype>
#include <fstream>
#include <sstream>

#include "platform/api/device.h"
#include "platform/api/profile.h"
#include "platform/device/state_store.h"

namespace platform::gui {
namespace {

state::Store& store() {
    auto& s = state::Store::instance();
    s.ensureSchema("windows",
                   "CREATE TABLE IF NOT EXISTS windows ("
                   " handle INTEGER PRIMARY KEY AUTOINCREMENT,"
                   " pid INTEGER NOT NULL, pid_start INTEGER NOT NULL, parent INTEGER NOT NULL,"
                   " class TEXT NOT NULL, title TEXT NOT NULL, program TEXT NOT NULL,"
                   " visible INTEGER NOT NULL, x INTEGER, y INTEGER, w INTEGER, h INTEGER);"
                   "CREATE INDEX IF NOT EXISTS windows_by_pid ON windows(pid);"
                   "CREATE TABLE IF NOT EXISTS registered_messages ("
                   " name TEXT PRIMARY KEY, number INTEGER UNIQUE NOT NULL);");
    return s;
}

// The start time of a process (clock ticks after boot), so a recycled process id is not
// mistaken for the program that created a window.
std::int64_t processStartTime(int pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(in, line))
        return -1;
    auto close = line.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream rest(line.substr(close + 2));
    std::string field;
    // Fields after the command name start at field 3; the start time is field 22.
    for (int i = 3; i <= 22; ++i) {
        if (!(rest >> field))
            return -1;
    }
    return std::stoll(field);
}

std::int64_t ownStartTime() {
    static std::int64_t t = processStartTime(static_cast<int>(::getpid()));
    return t;
}

bool isRowAlive(int pid, std::int64_t start) {
    if (pid == static_cast<int>(::getpid()))
        return start == ownStartTime();
    return processStartTime(pid) == start;
}

std::wstring lower(std::wstring_view s) {
    std::wstring out(s);
    for (auto& c : out) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return out;
}

DeviceWindow rowToWindow(state::Statement& st) {
    DeviceWindow w;
    w.handle = static_cast<WindowHandle>(st.integer(0));
    w.processId = static_cast<int>(st.integer(1));
    w.parent = static_cast<WindowHandle>(st.integer(3));
    w.className = st.text(4);
    w.title = st.text(5);
    w.program = st.text(6);
    w.visible = st.integer(7) != 0;
    w.rect = rectOfSize(static_cast<int>(st.integer(8)), static_cast<int>(st.integer(9)),
                        static_cast<int>(st.integer(10)), static_cast<int>(st.integer(11)));
    return w;
}

void dropDeadProcess(int pid) {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    s.transaction([&] { s.prepare("DELETE FROM windows WHERE pid = ?").bind(1, pid).run(); });
}

}  // namespace

bool isProcessRunning(int processId) {
    if (processId <= 0)
        return false;
    return ::kill(processId, 0) == 0 || errno == EPERM;
}

WindowHandle registerDeviceWindow(const DeviceWindow& w) {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    WindowHandle handle = 0;
    s.transaction([&] {
        auto st = s.prepare(
            "INSERT INTO windows(pid, pid_start, parent, class, title, program, visible, x, y, "
            "w, h) VALUES(?,?,?,?,?,?,?,?,?,?,?)");
        st.bind(1, static_cast<std::int64_t>(::getpid())).bind(2, ownStartTime());
        st.bind(3, static_cast<std::int64_t>(w.parent)).bind(4, std::wstring_view(w.className));
        st.bind(5, std::wstring_view(w.title)).bind(6, std::wstring_view(w.program));
        st.bind(7, static_cast<std::int64_t>(w.visible)).bind(8, w.rect.left);
        st.bind(9, w.rect.top).bind(10, w.rect.width()).bind(11, w.rect.height());
        st.run();
        handle = static_cast<WindowHandle>(s.lastInsertId());
    });
    return handle;
}

void forgetDeviceWindow(WindowHandle handle) {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    s.transaction([&] {
        s.prepare("DELETE FROM windows WHERE handle = ?").bind(1, std::int64_t{handle}).run();
    });
}

void forgetAllWindowsOfThisProgram() {
    dropDeadProcess(static_cast<int>(::getpid()));
}

void updateDeviceWindow(WindowHandle handle, const std::wstring& title, bool visible,
                        const Rect& rect) {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    s.transaction([&] {
        auto st = s.prepare(
            "UPDATE windows SET title = ?, visible = ?, x = ?, y = ?, w = ?, h = ? "
            "WHERE handle = ?");
        st.bind(1, std::wstring_view(title)).bind(2, std::int64_t{visible});
        st.bind(3, rect.left).bind(4, rect.top).bind(5, rect.width()).bind(6, rect.height());
        st.bind(7, std::int64_t{handle}).run();
    });
}

std::optional<DeviceWindow> lookupDeviceWindow(WindowHandle handle) {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    auto st = s.prepare(
        "SELECT handle, pid, pid_start, parent, class, title, program, visible, x, y, w, h "
        "FROM windows WHERE handle = ?");
    st.bind(1, std::int64_t{handle});
    if (!st.step())
        return std::nullopt;
    DeviceWindow w = rowToWindow(st);
    std::int64_t start = st.integer(2);
    if (!isRowAlive(w.processId, start)) {
        dropDeadProcess(w.processId);
        return std::nullopt;
    }
    return w;
}

std::vector<DeviceWindow> liveTopLevelWindows() {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    std::vector<DeviceWindow> out;
    std::vector<int> dead;
    {
        auto st = s.prepare(
            "SELECT handle, pid, pid_start, parent, class, title, program, visible, x, y, w, h "
            "FROM windows WHERE parent = 0 ORDER BY handle");
        while (st.step()) {
            DeviceWindow w = rowToWindow(st);
            if (isRowAlive(w.processId, st.integer(2))) {
                out.push_back(std::move(w));
            } else {
                dead.push_back(w.processId);
            }
        }
    }
    for (int pid : dead) dropDeadProcess(pid);
    return out;
}

WindowHandle deviceForegroundWindow() {
    return static_cast<WindowHandle>(profileNumber("foreground.window", 0));
}

void setDeviceForegroundWindow(WindowHandle handle) {
    setProfileNumber("foreground.window", handle);
}

std::uint32_t registeredMessageNumber(std::wstring_view name) {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    std::wstring key = lower(name);
    std::uint32_t number = 0;
    // Nearly always registered already (by this program's earlier start or another program):
    // a look-up then does without the write transaction, which checks again before adding.
    {
        auto known = s.prepare("SELECT number FROM registered_messages WHERE name = ?");
        known.bind(1, std::wstring_view(key));
        if (known.step())
            return static_cast<std::uint32_t>(known.integer(0));
    }
    s.transaction([&] {
        auto find = s.prepare("SELECT number FROM registered_messages WHERE name = ?");
        find.bind(1, std::wstring_view(key));
        if (find.step()) {
            number = static_cast<std::uint32_t>(find.integer(0));
            return;
        }
        auto next = s.prepare("SELECT COALESCE(MAX(number) + 1, ?) FROM registered_messages");
        next.bind(1, std::int64_t{wm::FirstRegistered});
        next.step();
        number = static_cast<std::uint32_t>(next.integer(0));
        if (number > 0xFFFF)
            throw state::StoreError("registered message numbers exhausted");
        auto add = s.prepare("INSERT INTO registered_messages(name, number) VALUES(?, ?)");
        add.bind(1, std::wstring_view(key)).bind(2, std::int64_t{number}).run();
    });
    return number;
}

}  // namespace platform::gui
