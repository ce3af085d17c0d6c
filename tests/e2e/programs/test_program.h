#pragma once
// vorn_testprog: a small program of the device that the end-to-end tests start and drive.
// It shows one top-level window and reports what happens to it in the registry under
// HKCU\Software\VornTests\<title>, where a test can watch from outside.
//
// Command line: --class C --title T [--peer-class C --peer-title T] [--writes N] [--specimen]
// [--quiet] [--keep-open] [--load-library DEVICEPATH]
// (double quotes group words). Commands arrive as posted messages, see below.

#include <cstdint>
#include <string>

#include "platform/api/registry.h"
#include "platform/api/window.h"

namespace testprog {

// Posted commands. wParam and lParam of kPostToPeer are handed on.
constexpr std::uint32_t kWriteRegistry = platform::wm::User + 1;   // the write loop
constexpr std::uint32_t kClosePeer = platform::wm::User + 2;       // WM_CLOSE to the peer
constexpr std::uint32_t kPostToPeer = platform::wm::User + 3;      // kFromPeer to the peer
constexpr std::uint32_t kShowMessageBox = platform::wm::User + 4;  // a Yes/No box
constexpr std::uint32_t kPingPeer = platform::wm::User + 5;        // ping message to the peer
constexpr std::uint32_t kFromPeer = platform::wm::User + 10;

// Registered message names; the peer answers a ping with a pong carrying wParam + 1.
constexpr const wchar_t* kPingName = L"VornTestPing";
constexpr const wchar_t* kPongName = L"VornTestPong";

// The Yes/No box kShowMessageBox shows; its answer is reported as "MessageBoxAnswer".
constexpr const wchar_t* kMessageBoxText = L"Keep the test going?";
constexpr const wchar_t* kMessageBoxCaption = L"Vorn Test";

// The registry key both programs write in the concurrency test.
constexpr const wchar_t* kSharedKey = L"Software\\VornTests\\Shared";

struct Options {
    std::wstring className = L"VornTestProg";
    std::wstring title = L"Test Program";
    std::wstring peerClass;
    std::wstring peerTitle;
    int writes = 1000;
    bool specimen = false;
    // Answers pings without reporting anything, for benchmarks that time the round trip.
    bool quiet = false;
    // Refuses WM_CLOSE, counting the refusals as "CloseRefused".
    bool keepOpen = false;
    // A library (device path) loaded at the start and kept.
    std::wstring library;
};

// The key this program reports under.
inline std::wstring reportKeyPath(const Options& options) {
    return L"Software\\VornTests\\" + options.title;
}

// Value text written for write number i, so a reader can tell a whole value from a torn one:
// long, with the index at both ends.
inline std::wstring writtenValue(const std::wstring& writer, int i) {
    return writer + L":" + std::to_wstring(i) + L":" + std::wstring(200, L'x') + L":" +
           std::to_wstring(i);
}

// Paints the text specimen: 8- and 9-point Tahoma, regular and bold, at the display's dpi,
// each line framed by its measured extent, and records each line's screen rectangle and the
// font's metrics in the report key ("Specimen0".."Specimen3").
void paintSpecimen(platform::WindowHandle window, platform::RegistryKey& report);

}  // namespace testprog
