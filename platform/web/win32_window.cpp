// Window classes and the game window on the page's canvas: a fixed table of
// classes and a fixed pool of window records, so handles can be checked and
// nothing is allocated per call. The "desktop" is the page's viewport.
#include <emscripten.h>

#include <cwchar>

#include "platform/web/web_window.h"

namespace {

constexpr int kMaxClasses = 8;
constexpr int kMaxWindows = 8;
constexpr size_t kMaxClassName = 256;

struct WindowClass {
    WCHAR name[kMaxClassName] = {};
    WNDPROC windowProc = nullptr;
    HINSTANCE instance = nullptr;
    bool inUse = false;
};

WindowClass classes[kMaxClasses];
HWND__ windows[kMaxWindows];

WindowClass* FindClass(LPCWSTR name) {
    if (!name) return nullptr;
    for (WindowClass& c : classes)
        if (c.inUse && std::wcscmp(c.name, name) == 0) return &c;
    return nullptr;
}

bool ClassHasWindows(const WindowClass& windowClass) {
    for (const HWND__& w : windows)
        if (w.inUse && w.windowProc == windowClass.windowProc && w.instance == windowClass.instance) return true;
    return false;
}

HWND AllocateWindow() {
    for (HWND__& w : windows)
        if (!w.inUse) return &w;
    return nullptr;
}

bool CanvasPresent() { return EM_ASM_INT({ return document.querySelector(UTF8ToString($0)) ? 1 : 0; }, kCanvasSelector); }

void ShowCanvas(bool show) {
    EM_ASM({ document.querySelector(UTF8ToString($0)).style.visibility = $1 ? "visible" : "hidden"; },
           kCanvasSelector, show ? 1 : 0);
}

}  // namespace

bool IsLiveWindow(HWND window) {
    for (const HWND__& w : windows)
        if (&w == window) return w.inUse;
    return false;
}

HWND FirstLiveWindow() {
    for (HWND__& w : windows)
        if (w.inUse) return &w;
    return nullptr;
}

ATOM RegisterClassExW(const WNDCLASSEXW* windowClass) {
    if (!windowClass || windowClass->cbSize != sizeof(WNDCLASSEXW) || !windowClass->lpfnWndProc) return 0;
    LPCWSTR name = windowClass->lpszClassName;
    if (!name || !*name || std::wcslen(name) >= kMaxClassName || FindClass(name)) return 0;
    for (int i = 0; i < kMaxClasses; ++i) {
        if (classes[i].inUse) continue;
        std::wcscpy(classes[i].name, name);
        classes[i].windowProc = windowClass->lpfnWndProc;
        classes[i].instance = windowClass->hInstance;
        classes[i].inUse = true;
        return static_cast<ATOM>(0xC000 + i);
    }
    return 0;
}

// Like the system's, this fails while windows of the class still exist.
BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance) {
    WindowClass* windowClass = FindClass(className);
    if (!windowClass || windowClass->instance != instance || ClassHasWindows(*windowClass)) return FALSE;
    *windowClass = WindowClass();
    return TRUE;
}

// The page holds one canvas, so the game has one window; the title, position
// and style are the page's. The drawing size is set by the device.
HWND CreateWindowExW(DWORD, LPCWSTR className, LPCWSTR, DWORD, int, int, int width, int height, HWND, HMENU,
                     HINSTANCE instance, LPVOID) {
    WindowClass* windowClass = FindClass(className);
    if (!windowClass || width <= 0 || height <= 0) return nullptr;
    if (FirstLiveWindow() || !CanvasPresent()) {
        SetLastErrorWithReason(ERROR_DEVICE_NOT_AVAILABLE, "the page has no free canvas for the game");
        return nullptr;
    }
    HWND window = AllocateWindow();
    *window = HWND__{windowClass->windowProc, instance, true, false};
    ShowCanvas(false);
    ListenForPageInput();
    if (window->windowProc(window, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(window);
        return nullptr;
    }
    return window;
}

BOOL DestroyWindow(HWND window) {
    if (!IsLiveWindow(window)) return FALSE;
    window->windowProc(window, WM_DESTROY, 0, 0);
    DiscardMessagesFor(window);
    *window = HWND__();
    return TRUE;
}

// The viewport in CSS pixels: the canvas fills it, and the browser allows a
// page no other display mode.
BOOL EnumDisplaySettingsW(LPCWSTR deviceName, DWORD modeNum, DEVMODEW* mode) {
    if (deviceName || !mode || modeNum != ENUM_CURRENT_SETTINGS) return FALSE;
    int width = EM_ASM_INT({ return Math.round(window.innerWidth); });
    int height = EM_ASM_INT({ return Math.round(window.innerHeight); });
    if (width <= 0 || height <= 0) {
        SetLastErrorWithReason(ERROR_DEVICE_NOT_AVAILABLE, "the page has no viewport");
        return FALSE;
    }
    mode->dmPelsWidth = static_cast<DWORD>(width);
    mode->dmPelsHeight = static_cast<DWORD>(height);
    mode->dmBitsPerPel = 32;
    mode->dmDisplayFrequency = 0;  // the browser does not tell
    return TRUE;
}

BOOL ShowWindow(HWND window, int command) {
    if (!IsLiveWindow(window)) return FALSE;
    BOOL wasVisible = window->visible ? TRUE : FALSE;
    window->visible = command != SW_HIDE;
    ShowCanvas(window->visible);
    return wasVisible;
}

// Nothing is painted through messages: the WebGL device draws every frame.
BOOL UpdateWindow(HWND window) { return IsLiveWindow(window) ? TRUE : FALSE; }
