// The device's calendar program, as far as the system needs one: a window that lists the
// appointments of a day ("calendar -va -d YYYYMMDD") and a form that adds one to a day
// ("calendar -new -d YYYYMMDD"), and a page that shows one appointment ("calendar -show ID", as
// a reminder or another program's "display" opens it). The soft keys save or close the form and
// close the day view; the appointment page's left key goes to its day. Left and Right step the
// day. A malformed command line opens today's list and is logged.

#include <cstdio>
#include <string>
#include <vector>

#include "platform/api/calendar.h"
#include "platform/api/clock.h"
#include "platform/api/control.h"
#include "platform/api/controls.h"
#include "platform/api/device.h"
#include "platform/api/draw.h"
#include "platform/api/locale.h"
#include "platform/api/profile.h"
#include "platform/api/program.h"
#include "platform/api/shell.h"
#include "platform/api/window.h"
#include "programs/poutlook/calendar_command.h"

namespace {

using namespace platform;
using poutlook::CalendarView;

constexpr wchar_t kClassName[] = L"poutlook";
constexpr int kSubjectId = 1, kStartId = 2, kEndId = 3;
constexpr std::uint32_t kSaveCommand = 99, kCloseCommand = 100;
constexpr int kLineHeight = 18;

// Layout is in pixels of a 96-dpi screen; a 192-dpi screen doubles every length and the font.
int px(int length) {
    return length * screenProfile().dpi / 96;
}

const FontRef& textFont() {
    static const FontRef font = Font::create(FontSpec{L"Tahoma", -px(11)});
    return font;
}

struct State {
    poutlook::CalendarCommand command;
    WindowHandle window = 0;
    WindowHandle subject = 0, start = 0, end = 0;
    MenuBarHandle bar = 0;
    std::wstring problem;  // what the form could not save, shown under it
};

State& state() {
    static State s;
    return s;
}

std::wstring hoursMinutes(const SystemTime& t) {
    wchar_t text[8];
    std::swprintf(text, 8, L"%02d:%02d", static_cast<int>(t.hour), static_cast<int>(t.minute));
    return text;
}

SystemTime dayAfter(const SystemTime& day, int days) {
    auto ticks = toFileTime(day);
    if (!ticks)
        return day;
    const auto step = static_cast<FileTime>(86400) * kFileTimeTicksPerSecond;
    const FileTime moved = days >= 0 ? *ticks + step * static_cast<FileTime>(days)
                                     : *ticks - step * static_cast<FileTime>(-days);
    return toSystemTime(moved).value_or(day);
}

// The lines the day view shows: one per appointment, or a note that there are none.
std::vector<std::wstring> dayLines(const SystemTime& day) {
    std::vector<std::wstring> lines;
    for (const Appointment& a : appointmentsBetween(day, dayAfter(day, 1))) {
        std::wstring when = a.allDay ? std::wstring(L"all day")
                                     : hoursMinutes(a.start) + L"-" + hoursMinutes(a.end);
        std::wstring line = when + L"  " + a.subject;
        if (!a.location.empty())
            line += L" (" + a.location + L")";
        lines.push_back(line);
    }
    if (lines.empty())
        lines.push_back(L"No appointments");
    return lines;
}

std::wstring heading(const SystemTime& day) {
    return formatDate(day, longDatePicture()).value_or(L"");
}

std::wstring dateAndTime(const SystemTime& t) {
    return formatDate(t, shortDatePicture()).value_or(L"") + L" " + hoursMinutes(t);
}

// The appointment page: subject, when, where, categories and reminder, then the body; a note
// when the appointment no longer exists.
struct AppointmentPage {
    std::vector<std::wstring> details;
    std::wstring body;
};

AppointmentPage appointmentPage(AppointmentId id) {
    auto a = appointment(id);
    if (!a)
        return {{L"This appointment no longer exists"}, {}};
    AppointmentPage page{{a->subject.empty() ? L"(no subject)" : a->subject}, a->note};
    if (a->allDay)
        page.details.push_back(formatDate(a->start, shortDatePicture()).value_or(L"") +
                               L", all day");
    else if (a->start == a->end)
        page.details.push_back(dateAndTime(a->start));
    else
        page.details.push_back(dateAndTime(a->start) + L" - " + dateAndTime(a->end));
    if (!a->location.empty())
        page.details.push_back(L"Where: " + a->location);
    if (!a->categories.empty())
        page.details.push_back(L"Categories: " + a->categories);
    if (a->reminderSet)
        page.details.push_back(L"Reminder: " + std::to_wstring(a->reminderMinutes) +
                               L" minutes before");
    return page;
}

std::vector<std::wstring> shownLines() {
    const State& s = state();
    if (s.command.view == CalendarView::Appointment) {
        AppointmentPage page = appointmentPage(s.command.appointment);
        if (!page.body.empty())
            page.details.push_back(page.body);
        return page.details;
    }
    return dayLines(s.command.date);
}

// The appointment page starts on its appointment's day, so that its left key can go there.
void takeAppointmentDay() {
    State& s = state();
    if (auto a = appointment(s.command.appointment)) {
        s.command.date = a->start;
        s.command.date.hour = s.command.date.minute = 0;
        s.command.date.second = s.command.date.milliseconds = 0;
    }
}

void setTitle() {
    State& s = state();
    const bool form = s.command.view == CalendarView::NewAppointment;
    const bool one = s.command.view == CalendarView::Appointment;
    setWindowText(s.window, (form  ? L"New appointment "
                             : one ? L"Appointment "
                                   : L"Calendar ") +
                                heading(s.command.date));
    setSoftKeyText(s.bar, 0, form ? L"Save" : one ? L"Day" : L"");
    enableSoftKey(s.bar, 0, form || one);
    setSoftKeyText(s.bar, 1, form ? L"Cancel" : L"Close");
}

WindowHandle makeEdit(int id, int y, std::wstring_view text) {
    WindowCreate c;
    c.className = std::wstring(kEditClass);
    c.parent = state().window;
    c.x = px(70);
    c.y = px(y);
    c.width = px(160);
    c.height = px(20);
    c.controlId = id;
    c.style = es::AutoHScroll | ws::Border;
    WindowHandle edit = createWindow(c);
    FontRef font = textFont();
    sendMessage(edit, wm::SetFont, reinterpret_cast<WParam>(&font), 0);
    setWindowText(edit, text);
    return edit;
}

void showForm(bool show) {
    State& s = state();
    if (show && !s.subject) {
        s.subject = makeEdit(kSubjectId, 34, L"");
        s.start = makeEdit(kStartId, 60, L"09:00");
        s.end = makeEdit(kEndId, 86, L"10:00");
        sendMessage(s.subject, em::LimitText, kMaxAppointmentSubject);
        setFocus(s.subject);
    } else if (!show && s.subject) {
        for (WindowHandle* w : {&s.subject, &s.start, &s.end}) {
            destroyWindow(*w);
            *w = 0;
        }
    }
}

// Saves the form's appointment; false (with the problem shown) when it cannot be stored.
bool saveForm() {
    State& s = state();
    auto from = poutlook::parseClockTime(windowText(s.start));
    auto to = poutlook::parseClockTime(windowText(s.end));
    if (!from || !to || *to < *from) {
        s.problem = L"Times are HH:MM, the end not before the start";
        invalidateRect(s.window, nullptr, true);
        return false;
    }
    Appointment a;
    a.subject = windowText(s.subject);
    a.start = s.command.date;
    a.start.hour = static_cast<std::uint16_t>(*from / 60);
    a.start.minute = static_cast<std::uint16_t>(*from % 60);
    a.end = s.command.date;
    a.end.hour = static_cast<std::uint16_t>(*to / 60);
    a.end.minute = static_cast<std::uint16_t>(*to % 60);
    if (addAppointment(a) == 0) {
        s.problem = L"The appointment could not be saved";
        invalidateRect(s.window, nullptr, true);
        return false;
    }
    s.problem.clear();
    return true;
}

void switchTo(CalendarView view) {
    State& s = state();
    s.command.view = view;
    showForm(view == CalendarView::NewAppointment);
    setTitle();
    invalidateRect(s.window, nullptr, true);
}

// The appointment page: the subject in the heading colour, the details, a rule, then the body
// wrapped to the window.
void paintAppointment(DeviceContext& dc, const Rect& client, const AppointmentPage& page) {
    const int margin = px(6);
    int y = px(30);
    for (std::size_t i = 0; i < page.details.size(); ++i) {
        dc.setTextColour(i == 0 ? rgb(0, 51, 153) : rgb(0, 0, 0));
        dc.drawText(page.details[i], Rect{margin, y, client.right - margin, y + px(kLineHeight)},
                    dt::Left | dt::VCenter | dt::SingleLine | dt::EndEllipsis);
        y += px(kLineHeight + (i == 0 ? 4 : 0));
    }
    if (page.body.empty())
        return;
    dc.fillRect(Rect{margin, y + px(3), client.right - margin, y + px(4)}, rgb(0, 51, 153));
    dc.setTextColour(rgb(0, 0, 0));
    dc.drawText(page.body, Rect{margin, y + px(8), client.right - margin, client.bottom - px(4)},
                dt::Left | dt::WordBreak);
}

void paint(WindowHandle window) {
    State& s = state();
    PaintSession session(window);
    DeviceContext& dc = session.dc();
    Rect client = clientRect(window);
    dc.fillRect(client, rgb(255, 255, 255));
    dc.setBackgroundMode(BackgroundMode::Transparent);
    dc.selectFont(textFont());
    const int margin = px(6);
    Rect bar{0, 0, client.right, px(24)};
    dc.fillRect(bar, rgb(0, 51, 153));
    dc.setTextColour(rgb(255, 255, 255));
    dc.drawText(heading(s.command.date), Rect{margin, 0, client.right - margin, bar.bottom},
                dt::Left | dt::VCenter | dt::SingleLine | dt::EndEllipsis);
    dc.setTextColour(rgb(0, 0, 0));
    if (s.command.view == CalendarView::NewAppointment) {
        const wchar_t* labels[] = {L"Subject", L"Starts", L"Ends"};
        for (int i = 0; i < 3; ++i)
            dc.drawText(labels[i], Rect{margin, px(34 + 26 * i), px(68), px(54 + 26 * i)},
                        dt::Left | dt::VCenter | dt::SingleLine);
        if (!s.problem.empty()) {
            dc.setTextColour(rgb(192, 0, 0));
            dc.drawText(s.problem, Rect{margin, px(112), client.right - margin, px(150)},
                        dt::Left | dt::WordBreak);
        }
        return;
    }
    if (s.command.view == CalendarView::Appointment) {
        paintAppointment(dc, client, appointmentPage(s.command.appointment));
        return;
    }
    int y = px(30);
    for (const std::wstring& line : dayLines(s.command.date)) {
        dc.drawText(line, Rect{margin, y, client.right - margin, y + px(kLineHeight)},
                    dt::Left | dt::VCenter | dt::SingleLine | dt::EndEllipsis);
        y += px(kLineHeight);
    }
}

LResult calendarWindowProc(WindowHandle window, std::uint32_t id, WParam wParam, LParam lParam) {
    State& s = state();
    switch (id) {
        case wm::Paint:
            paint(window);
            return 0;
        case wm::Command:
            if (wParam == kSaveCommand && s.command.view == CalendarView::Appointment) {
                switchTo(CalendarView::Day);
                return 0;
            }
            if (wParam == kSaveCommand && s.command.view == CalendarView::NewAppointment) {
                if (saveForm())
                    switchTo(CalendarView::Day);
                return 0;
            }
            if (wParam == kCloseCommand) {
                if (s.command.view == CalendarView::NewAppointment)
                    switchTo(CalendarView::Day);
                else
                    destroyWindow(window);
                return 0;
            }
            break;
        case wm::KeyDown:
            if (s.command.view == CalendarView::Day &&
                (wParam == vk::Left || wParam == vk::Right)) {
                s.command.date = dayAfter(s.command.date, wParam == vk::Right ? 1 : -1);
                setTitle();
                invalidateRect(window, nullptr, true);
                return 0;
            }
            break;
        case wm::Destroy:
            postQuitMessage(0);
            return 0;
        default:
            break;
    }
    return defWindowProc(window, id, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    StartOptions start;
    start.defaultDevicePath = L"\\windows\\poutlook.exe";
    start.displayName = L"Calendar";
    const std::wstring line = startProgram(argc, argv, start);
    auto command = poutlook::parseCalendarCommand(line, deviceLocalTime());
    if (!command) {
        logLine("poutlook: refused command line; showing today");
        command = poutlook::parseCalendarCommand(L"", deviceLocalTime());
    }
    State& s = state();
    s.command = *command;
    if (s.command.view == CalendarView::Appointment)
        takeAppointmentDay();
    registerNativeControls();
    if (!registerWindowClass({std::wstring(kClassName), calendarWindowProc}))
        return 1;
    WindowCreate create;
    create.className = kClassName;
    create.title = L"Calendar";
    s.window = createWindow(create);
    if (!s.window)
        return 1;
    s.bar = createMenuBar(s.window, {});
    // What the window shows, for the device's remote control and the tests.
    registerAppRequest("shown", [](std::string_view) {
        std::string text;
        for (const std::wstring& l : shownLines()) text += toUtf8(l) + "\n";
        return ControlReply{true, text};
    });
    switchTo(s.command.view);

    Message msg;
    while (getMessage(msg)) {
        translateMessage(msg);
        dispatchMessage(msg);
    }
    return static_cast<int>(msg.wParam);
}
