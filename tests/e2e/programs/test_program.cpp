// vorn_testprog's window and message handling; see test_program.h.

#include "tests/e2e/programs/test_program.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "platform/api/device.h"
#include "platform/api/notifications.h"
#include "platform/api/program.h"
#include "platform/api/shell.h"

namespace testprog {
namespace {

using namespace platform;

struct ProgramState {
    Options options;
    std::uint32_t pingMessage = 0;
    std::uint32_t pongMessage = 0;
};

ProgramState& state() {
    static ProgramState s;
    return s;
}

RegistryKey report() {
    auto key = RegistryKey::create(Hive::CurrentUser, reportKeyPath(state().options));
    if (!key)
        std::abort();  // the tests cannot observe anything without it
    return *key;
}

// Splits a command line at spaces; double quotes group words.
std::vector<std::wstring> splitCommandLine(const std::wstring& line) {
    std::vector<std::wstring> words;
    std::wstring word;
    bool quoted = false, inWord = false;
    for (wchar_t c : line) {
        if (c == L'"') {
            quoted = !quoted;
            inWord = true;
        } else if (c == L' ' && !quoted) {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

Options parseOptions(const std::wstring& commandLine) {
    Options o;
    auto words = splitCommandLine(commandLine);
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::wstring& w = words[i];
        bool hasValue = i + 1 < words.size();
        if (w == L"--specimen") {
            o.specimen = true;
        } else if (w == L"--quiet") {
            o.quiet = true;
        } else if (w == L"--keep-open") {
            o.keepOpen = true;
        } else if (hasValue && w == L"--load-library") {
            o.library = words[++i];
        } else if (hasValue && w == L"--class") {
            o.className = words[++i];
        } else if (hasValue && w == L"--title") {
            o.title = words[++i];
        } else if (hasValue && w == L"--peer-class") {
            o.peerClass = words[++i];
        } else if (hasValue && w == L"--peer-title") {
            o.peerTitle = words[++i];
        } else if (hasValue && w == L"--writes") {
            o.writes = std::stoi(words[++i]);
        } else {
            logLine("vorn_testprog: unknown argument " + toUtf8(w));
        }
    }
    return o;
}

std::wstring numberName(const wchar_t* prefix, std::uint32_t id) {
    return prefix + std::to_wstring(id);
}

// Every message from wm::User up is recorded: the last parameters and how many came.
void recordMessage(std::uint32_t id, WParam wParam, LParam lParam) {
    RegistryKey key = report();
    key.setString(numberName(L"Msg", id), std::to_wstring(wParam) + L" " + std::to_wstring(lParam));
    std::uint32_t count = key.queryDword(numberName(L"Count", id)).value_or(0);
    key.setDword(numberName(L"Count", id), count + 1);
}

WindowHandle findPeer() {
    const Options& o = state().options;
    WindowHandle peer = findWindow(o.peerClass, o.peerTitle);
    if (!o.quiet)
        report().setDword(L"PeerWindow", peer);
    return peer;
}

// A quiet program answers a ping at once to the window it found before.
void answerPingQuietly(WParam wParam, LParam lParam) {
    static WindowHandle peer = 0;
    auto& s = state();
    if (peer && postMessage(peer, s.pongMessage, wParam + 1, lParam))
        return;
    peer = findPeer();
    if (peer)
        postMessage(peer, s.pongMessage, wParam + 1, lParam);
}

// Both programs of the concurrency test report that they are ready and start together when
// the test sets "Go", so their writes really overlap.
void waitForGo(RegistryKey& shared) {
    report().setDword(L"WriteReady", 1);
    while (!shared.queryDword(L"Go")) ::usleep(1000);
}

void writeRegistryLoop() {
    const Options& o = state().options;
    auto shared = RegistryKey::create(Hive::CurrentUser, kSharedKey);
    waitForGo(*shared);
    report().setDword(L"WriteStart", tickCount());
    int failures = 0;
    for (int i = 0; i < o.writes; ++i) {
        std::wstring value = writtenValue(o.title, i);
        if (!shared->setString(o.title + L"." + std::to_wstring(i), value))
            ++failures;
        // Both programs also overwrite one value over and over; it must always read whole.
        if (!shared->setString(L"Last", value))
            ++failures;
    }
    report().setDword(L"WriteEnd", tickCount());
    report().setDword(L"WriteFailures", static_cast<std::uint32_t>(failures));
    report().setDword(L"WritesDone", static_cast<std::uint32_t>(o.writes));
}

void recordSize(WindowHandle window) {
    Rect r = clientRect(window);
    RegistryKey key = report();
    key.setString(L"Size", std::to_wstring(r.width()) + L" " + std::to_wstring(r.height()));
    key.setDword(L"SizeCount", key.queryDword(L"SizeCount").value_or(0) + 1);
}

bool handleCommand(std::uint32_t id, WParam wParam, LParam lParam) {
    auto& s = state();
    if (id == kWriteRegistry) {
        writeRegistryLoop();
    } else if (id == kClosePeer) {
        if (WindowHandle peer = findPeer())
            postMessage(peer, wm::Close);
    } else if (id == kPostToPeer) {
        if (WindowHandle peer = findPeer())
            postMessage(peer, kFromPeer, wParam, lParam);
    } else if (id == kPingPeer) {
        if (WindowHandle peer = findPeer())
            postMessage(peer, s.pingMessage, wParam, lParam);
    } else if (id == s.pingMessage) {
        if (WindowHandle peer = findPeer())
            postMessage(peer, s.pongMessage, wParam + 1, lParam);
    } else if (id == kShowMessageBox) {
        int answer =
            messageBox(0, kMessageBoxText, kMessageBoxCaption, mb::YesNo | mb::IconQuestion);
        report().setDword(L"MessageBoxAnswer", static_cast<std::uint32_t>(answer));
    } else {
        return false;
    }
    return true;
}

LResult windowProc(WindowHandle window, std::uint32_t id, WParam wParam, LParam lParam) {
    if (id == state().pingMessage && state().options.quiet) {
        answerPingQuietly(wParam, lParam);
        return 0;
    }
    if (id >= wm::User) {
        recordMessage(id, wParam, lParam);
        if (handleCommand(id, wParam, lParam))
            return 0;
    }
    switch (id) {
        case wm::Paint:
            if (state().options.specimen) {
                RegistryKey key = report();
                paintSpecimen(window, key);
                return 0;
            }
            break;
        case wm::Size:
            recordSize(window);
            break;
        case wm::SettingChange:
            report().setDword(L"SettingChange", static_cast<std::uint32_t>(wParam));
            break;
        case wm::Close:
            // A program that will not close, for the tests of those that close others.
            if (state().options.keepOpen) {
                report().setDword(L"CloseRefused",
                                  report().queryDword(L"CloseRefused").value_or(0) + 1);
                return 0;
            }
            break;
        case wm::Destroy:
            report().setDword(L"Destroyed", 1);
            postQuitMessage(0);
            return 0;
        default:
            break;
    }
    return defWindowProc(window, id, wParam, lParam);
}

}  // namespace

}  // namespace testprog

int main(int argc, char** argv) {
    using namespace platform;
    platform::StartOptions start;
    start.defaultDevicePath = L"\\windows\\vorn_testprog.exe";
    start.displayName = L"Vorn test program";
    auto& s = testprog::state();
    s.options = testprog::parseOptions(startProgram(argc, argv, start));
    s.pingMessage = registerWindowMessage(testprog::kPingName);
    s.pongMessage = registerWindowMessage(testprog::kPongName);

    if (!registerWindowClass({s.options.className, testprog::windowProc}))
        return 1;
    // A library kept loaded for the whole run, as a host keeps its plug-in.
    if (!s.options.library.empty()) {
        auto host = hostPath(s.options.library);
        if (!host || !::dlopen(host->c_str(), RTLD_NOW | RTLD_LOCAL))
            return 1;
    }
    WindowCreate create;
    create.className = s.options.className;
    create.title = s.options.title;
    WindowHandle window = createWindow(create);
    if (!window)
        return 1;
    auto key = testprog::report();
    key.setDword(L"PingNumber", s.pingMessage);
    key.setDword(L"PongNumber", s.pongMessage);
    // What the notification service told the program about its start. Written before the
    // process id, which tests wait for, so a test that sees the id sees these too.
    if (auto notified = startedByNotification()) {
        key.setDword(L"NotifiedOutcome", static_cast<std::uint32_t>(notified->outcome));
        key.setDword(L"NotifiedDueMinute", notified->due.hour * 60u + notified->due.minute);
    }
    key.setDword(L"ProcessId", static_cast<std::uint32_t>(::getpid()));

    Message msg;
    while (getMessage(msg)) {
        translateMessage(msg);
        dispatchMessage(msg);
    }
    testprog::report().setDword(L"LoopEnded", 1);
    return static_cast<int>(msg.wParam);
}
