// Cost of window messages: a posted message that goes to another program and comes back
// (this process and a started vorn_testprog that answers every ping), and a message posted
// to and dispatched by the same program.

#include <benchmark/benchmark.h>
#include <signal.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "platform/api/device.h"
#include "platform/api/process.h"
#include "platform/api/profile.h"
#include "platform/api/window.h"

namespace {

namespace fs = std::filesystem;
using namespace platform;

constexpr const wchar_t* kHomeClass = L"BenchHome";

struct Received {
    std::uint32_t id = 0;
    WParam wParam = 0;
};
Received g_received;

LResult homeProc(WindowHandle w, std::uint32_t id, WParam wParam, LParam lParam) {
    if (id >= wm::User) {
        g_received = {id, wParam};
        return 0;
    }
    return defWindowProc(w, id, wParam, lParam);
}

struct BenchDevice {
    fs::path root;
    WindowHandle home = 0;
    WindowHandle peer = 0;
    ProcessId peerPid = 0;
    std::uint32_t ping = 0;
    std::uint32_t pong = 0;
};

void stopDevice(BenchDevice& d) {
    if (d.peerPid && isProcessAlive(d.peerPid)) {
        postMessage(d.peer, wm::Close);
        if (!waitForProcess(d.peerPid, 5000).ended)
            ::kill(d.peerPid, SIGKILL);
    }
    std::error_code ec;
    fs::remove_all(d.root, ec);
}

// A device of its own with this program's window and a started test program as its peer.
BenchDevice& benchDevice() {
    static BenchDevice d = [] {
        BenchDevice made;
        char pattern[] = "/tmp/vorn-message-bench-XXXXXX";
        if (!::mkdtemp(pattern))
            throw std::runtime_error("cannot create the bench device");
        made.root = pattern;
        ::setenv("VORN_DEVICE", pattern, 1);
        ::setenv("VORN_DISPLAY", "headless", 1);
        setDeviceRoot(made.root);
        setScreenProfile(*screenProfileFromName("240x320"));
        createFolder(L"\\windows");
        fs::path testProgram = fs::read_symlink("/proc/self/exe").parent_path() / "vorn_testprog";
        fs::create_symlink(testProgram, made.root / "windows" / "vorn_testprog.exe");

        registerWindowClass({kHomeClass, homeProc});
        WindowCreate create;
        create.className = kHomeClass;
        create.title = L"Bench";
        made.home = createWindow(create);
        made.ping = registerWindowMessage(L"VornTestPing");
        made.pong = registerWindowMessage(L"VornTestPong");
        made.peerPid = startProgram(L"\\windows\\vorn_testprog.exe",
                                    L"--class BenchPeer --title Peer --peer-class BenchHome "
                                    L"--peer-title Bench --quiet")
                           .value_or(0);
        for (int i = 0; i < 1000 && !made.peer; ++i) {
            made.peer = findWindow(L"BenchPeer", L"Peer");
            if (!made.peer)
                waitForProcess(made.peerPid, 10);
        }
        if (!made.peer)
            throw std::runtime_error("the peer program did not start");
        return made;
    }();
    static bool cleanupRegistered = [] {
        std::atexit([] { stopDevice(benchDevice()); });
        return true;
    }();
    (void)cleanupRegistered;
    return d;
}

// Runs this program's loop until the message arrives; false after five seconds.
bool pumpUntilReceived(std::uint32_t id, WParam wParam) {
    Message m;
    for (int waits = 0; waits < 5000; ++waits) {
        while (peekMessage(m, true)) {
            dispatchMessage(m);
            if (g_received.id == id && g_received.wParam == wParam)
                return true;
        }
        waitMessage(1);
    }
    return false;
}

void PostedRoundTripBetweenPrograms(benchmark::State& state) {
    BenchDevice& d = benchDevice();
    WParam n = 0;
    for (auto _ : state) {
        n += 2;
        postMessage(d.peer, d.ping, n);
        if (!pumpUntilReceived(d.pong, n + 1)) {
            state.SkipWithError("no answer from the peer program");
            break;
        }
    }
}
BENCHMARK(PostedRoundTripBetweenPrograms)->Unit(benchmark::kMicrosecond);

void PostAndDispatchInOneProgram(benchmark::State& state) {
    BenchDevice& d = benchDevice();
    WParam n = 0;
    Message m;
    for (auto _ : state) {
        postMessage(d.home, wm::User + 1, ++n);
        while (peekMessage(m, true)) dispatchMessage(m);
    }
    if (g_received.wParam != n)
        state.SkipWithError("a posted message went missing");
}
BENCHMARK(PostAndDispatchInOneProgram);

}  // namespace
