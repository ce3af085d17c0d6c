#ifndef VORN_PLATFORM_API_TODAY_ITEM_H
#define VORN_PLATFORM_API_TODAY_ITEM_H
/*
 * The Today screen's custom items: the boundary between the Today host and an item library
 * that it loads. Only C crosses it: the item record, the host's table of services and plain
 * numbers, so a library built on its own (with its own copy of whatever it links) works in
 * any host of the same version.
 *
 * The host reads the library's device path from HKLM\Software\Microsoft\Today\Items\<item>,
 * value "DLL", loads it and looks up two exports by name:
 *   uint32_t InitializeCustomItem(VornTodayListItem* item, uint32_t parentWindow);
 *   intptr_t CustomItemOptionsDlgProc(uint32_t dialog, uint32_t message, uint64_t wParam,
 *                                     int64_t lParam);
 * InitializeCustomItem returns the item window the library created through the host's
 * createItemWindow, or 0 when the item is disabled. The host then sends the item window the
 * messages below (and the usual window messages: paint, timers, taps, keys, destroy).
 *
 * Message and colour numbers are the handheld's, because item libraries name them.
 */

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Version of the item record and of the host table. A host refuses a library whose record
 * version it does not know; a library checks the host table's version and size before use. */
#define VORN_TODAY_ITEM_VERSION 1u

/* Messages from the host to an item window. */
#define VORN_WM_TODAYCUSTOM_CLEARCACHE (0x0400u + 242u)
/* lParam: the VornTodayListItem*; the answer is 1 when the item's height changed. */
#define VORN_WM_TODAYCUSTOM_QUERYREFRESHCACHE (0x0400u + 243u)
#define VORN_WM_TODAYCUSTOM_RECEIVEDSELECTION (0x0400u + 244u)
#define VORN_WM_TODAYCUSTOM_LOSTSELECTION (0x0400u + 245u)
/* wParam: the virtual key (left, right, up, down); 1 when the item took it. */
#define VORN_WM_TODAYCUSTOM_USERNAVIGATION (0x0400u + 246u)
/* The action key on the selected item. */
#define VORN_WM_TODAYCUSTOM_ACTION (0x0400u + 247u)
/* Painting: lParam is a VornTodaySurface* of the item's client size to paint into; the host
 * copies it to the screen afterwards. Sent in place of the window paint message. */
#define VORN_WM_TODAYCUSTOM_PAINT (0x0400u + 248u)

/* Requests from an item to the host (VornTodayHost.request). */
/* wParam: a colour index below; the answer is the colour as 0x00BBGGRR. */
#define VORN_TODAYM_GETCOLOR (0x0400u + 100u)
/* wParam: the item window; the item takes the Today screen's selection. */
#define VORN_TODAYM_TOOKSELECTION (0x0400u + 101u)
/* lParam: a VornTodayWatermark*; the host paints the Today background into the surface. */
#define VORN_TODAYM_DRAWWATERMARK (0x0400u + 102u)

/* Colour indexes for VORN_TODAYM_GETCOLOR. */
#define VORN_TODAYCOLOR_TEXT 0x10000004u
#define VORN_TODAYCOLOR_LINES 0x10000006u
#define VORN_TODAYCOLOR_HIGHLIGHT 0x10000022u
#define VORN_TODAYCOLOR_HIGHLIGHTEDTEXT 0x10000023u

/* The host's notice to reload every item: the settings-change message with this wParam. */
#define VORN_TODAY_RELOAD_ITEMS 0xF2u

/* Dialog messages and results for the options dialog procedure. */
#define VORN_WM_INITDIALOG 0x0110u
#define VORN_WM_COMMAND 0x0111u
#define VORN_IDOK 1u

typedef struct VornTodayRect {
    int32_t left, top, right, bottom;
} VornTodayRect;

/* Pixels the item paints: 24-bit, rows bottom-up as B, G, R bytes, each row padded to a
 * multiple of 4 bytes (stride). */
typedef struct VornTodaySurface {
    int32_t width;
    int32_t height;
    int32_t stride;
    uint8_t* bits;
} VornTodaySurface;

typedef struct VornTodayWatermark {
    VornTodaySurface* surface;
    VornTodayRect rect; /* in surface pixels */
    uint32_t window;    /* the item window */
} VornTodayWatermark;

/* One line of a pop-up menu. */
#define VORN_TODAY_MENU_STRING 0u
#define VORN_TODAY_MENU_SEPARATOR 1u
#define VORN_TODAY_MENU_GRAYED 2u
typedef struct VornTodayMenuItem {
    uint32_t command;
    uint32_t flags;
    const wchar_t* text;
} VornTodayMenuItem;

/* The item window's procedure; data is what the library gave createItemWindow. */
typedef intptr_t (*VornTodayWindowProc)(void* data, uint32_t window, uint32_t message,
                                        uint64_t wParam, int64_t lParam);

/* Services of the host. Every function takes the host's own context first. */
typedef struct VornTodayHost {
    uint32_t version; /* VORN_TODAY_ITEM_VERSION */
    uint32_t size;    /* sizeof(VornTodayHost) as the host knows it */
    void* context;
    /* The device's root folder on the host machine (UTF-8, NUL-terminated). */
    const char* deviceRoot;

    /* A visible child window of the parent at the parent's full width; 0 on failure. The
     * class name replaces any earlier registration of the same name by this item. */
    uint32_t (*createItemWindow)(void* context, uint32_t parent, const wchar_t* className,
                                 VornTodayWindowProc proc, void* data);
    void (*destroyItemWindow)(void* context, uint32_t window);
    int32_t (*setTimer)(void* context, uint32_t window, uint32_t id, uint32_t intervalMs);
    int32_t (*killTimer)(void* context, uint32_t window, uint32_t id);
    void (*invalidate)(void* context, uint32_t window);
    VornTodayRect (*clientRect)(void* context, uint32_t window);
    /* The screen's work area (the full screen less the task bar and menu bar). */
    VornTodayRect (*workArea)(void* context);
    /* One of the VORN_TODAYM_* requests; the answer as each describes. */
    int64_t (*request)(void* context, uint32_t message, uint64_t wParam, int64_t lParam);
    /* Shows a pop-up menu at a point of the window's client area; the chosen command or 0. */
    uint32_t (*trackPopupMenu)(void* context, uint32_t window, int32_t x, int32_t y,
                               const VornTodayMenuItem* items, uint32_t count);
    /* Starts a program of the device with one argument line; 0 when it could not start. */
    int32_t (*startProgram)(void* context, const wchar_t* devicePath, const wchar_t* arguments);
    /* A top-level window of any program of the device by class and title; 0 when none. */
    uint32_t (*findWindow)(void* context, const wchar_t* className, const wchar_t* title);
    /* Posts a message that may travel between programs; 0 when it could not. */
    int32_t (*postMessage)(void* context, uint32_t window, uint32_t message, uint64_t wParam,
                           int64_t lParam);
    /* The device-wide number of a registered message name. */
    uint32_t (*registerMessage)(void* context, const wchar_t* name);
    /* An owner-less message box (flags and answer as the handheld's); 0 when none showed. */
    int32_t (*messageBox)(void* context, const wchar_t* text, const wchar_t* caption,
                          uint32_t flags);
    /* The host's own handling of a window message the item does not handle itself. */
    int64_t (*defaultProc)(void* context, uint32_t window, uint32_t message, uint64_t wParam,
                           int64_t lParam);
    /* A line in the device log. */
    void (*log)(void* context, const char* line);
} VornTodayHost;

/* The item record: one per item of the Today screen, owned by the host. */
typedef struct VornTodayListItem {
    uint32_t version; /* VORN_TODAY_ITEM_VERSION */
    wchar_t name[32];
    uint32_t enabled;
    uint32_t options;
    /* The height the item asked for in its last refresh answer, in pixels. */
    uint32_t height;
    void* library; /* the loaded library's handle */
    uint32_t window;
    const VornTodayHost* host;
} VornTodayListItem;

typedef uint32_t (*VornTodayInitializeFunction)(VornTodayListItem* item, uint32_t parentWindow);
typedef intptr_t (*VornTodayOptionsDialogFunction)(uint32_t dialog, uint32_t message,
                                                   uint64_t wParam, int64_t lParam);

#ifdef __cplusplus
}
#endif

#endif
