#pragma once
// The alarm window: class "VORNALARMS", title "Vorn Roamer Alarm", over the visible desktop
// down to the menu bar. It shows the animated bell, the message and the time the alarm began,
// and answers Dismiss and Snooze from its buttons (pen released inside them) and the two soft
// keys. Pen presses and keys are swallowed so nothing behind it reacts. What Dismiss, Snooze
// and the "VornEmbedded" message do is the program's business, told through the events.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "alarmprogram/alarm_layout.h"
#include "alarmprogram/alarm_scene.h"
#include "platform/api/shell.h"
#include "platform/api/window.h"

namespace alarmprogram {

constexpr std::wstring_view kWindowClass = L"VORNALARMS";
constexpr std::wstring_view kWindowTitle = L"Vorn Roamer Alarm";
// Registered message: wParam 0 stops the sound, 1 stops it and plays the preview sound again.
constexpr std::wstring_view kEmbeddedMessageName = L"VornEmbedded";
constexpr std::uintptr_t kAnimationTimer = 100;
constexpr std::uint32_t kAnimationPeriodMs = 100;
// Brings the window to the front a moment after it appeared, without holding up its first
// paint.
constexpr std::uintptr_t kForegroundTimer = 101;
constexpr std::uint32_t kForegroundDelayMs = 800;
// The window comes to the front again at most this often while it animates.
constexpr std::uint32_t kRefrontPeriodMs = 10000;
constexpr std::uint32_t kDismissCommand = 99;
constexpr std::uint32_t kSnoozeCommand = 100;
// Language strings of the soft keys and buttons.
constexpr int kDismissString = 679;
constexpr int kSnoozeString = 680;

struct AlarmWindowEvents {
    std::function<void()> dismiss;
    std::function<void()> snooze;
    std::function<void(platform::WParam)> embedded;
    std::function<void()> firstPaint;
};

struct AlarmWindowOptions {
    std::wstring installFolder;  // ends with a backslash
    bool visible = true;         // false for a sound preview: no pictures, no menu bar
    SceneTexts texts;
};

class AlarmWindow {
  public:
    explicit AlarmWindow(AlarmWindowEvents events);
    ~AlarmWindow();
    AlarmWindow(const AlarmWindow&) = delete;
    AlarmWindow& operator=(const AlarmWindow&) = delete;

    // Registers the class and creates the window; false when either fails.
    bool create(const AlarmWindowOptions& options);
    // Replaces the message shown under the bell.
    void setMessage(std::wstring_view message);
    // Destroys the window, which ends the message loop.
    void close();

    platform::WindowHandle handle() const { return window_; }
    int bellFrame() const { return bellFrame_; }
    const std::wstring& message() const { return message_; }
    const AlarmScene* scene() const { return scene_.get(); }

  private:
    platform::LResult proc(platform::WindowHandle window, std::uint32_t message,
                           platform::WParam wParam, platform::LParam lParam);
    void createMenuBar(const SceneTexts& texts);
    void paint();
    void animate();
    void penReleased(platform::Point point);

    AlarmWindowEvents events_;
    platform::WindowHandle window_ = 0;
    platform::MenuBarHandle menuBar_ = 0;
    std::unique_ptr<AlarmScene> scene_;
    std::wstring message_;
    std::uint32_t embeddedMessage_ = 0;
    int bellFrame_ = 1;
    bool painted_ = false;
    std::uint32_t lastFront_ = 0;
};

}  // namespace alarmprogram
