// The game window on the page's canvas: a fixed pool of window records, so
// handles can be checked and nothing is allocated per call. The "desktop" is
// the page's viewport.
#include <emscripten.h>

#include "platform/web/web_window.h"
#include "platform/win32/window_classes.h"

namespace {

constexpr int kMaxWindows = 8;
HWND__ windows[kMaxWindows];

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

bool ClassHasWindows(WNDPROC windowProc, HINSTANCE instance) {
    for (const HWND__& w : windows)
        if (w.inUse && w.windowProc == windowProc && w.instance == instance) return true;
    return false;
}

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

// The page holds one canvas, so the game has one window; the title, position
// and style are the page's. The drawing size is set by the device.
HWND CreateWindowExW(DWORD, LPCWSTR className, LPCWSTR, DWORD, int, int, int width, int height, HWND, HMENU,
                     HINSTANCE instance, LPVOID) {
    WindowClassEntry windowClass;
    const bool classFound = FindWindowClass(className, &windowClass);
    if (!classFound || width <= 0 || height <= 0) return nullptr;
    if (FirstLiveWindow() || !CanvasPresent()) {
        SetLastErrorWithReason(ERROR_DEVICE_NOT_AVAILABLE, "the page has no free canvas for the game");
        return nullptr;
    }
    HWND window = AllocateWindow();
    *window = HWND__{windowClass.windowProc, instance, true, false};
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

// The viewport in device pixels: the canvas fills it, and the browser allows a
// page no other display mode. A phone or tablet (a touch screen as the main
// pointer) plays full screen and sideways, so there it is the whole screen,
// long side across, whatever bars and orientation the page starts with. The
// pixel ratio is capped at 2 and at about 1920x1080 pixels in all, as phones
// cannot draw this game at their full 3 times 3 pixels per CSS pixel at the
// display's rate; a page never gets fewer pixels than CSS pixels, as before.
EM_JS(int, ViewportPixels, (int height), {
    var width = window.innerWidth, tall = window.innerHeight;
    if (window.matchMedia("(pointer: coarse)").matches && screen.width > 0 && screen.height > 0) {
        width = Math.max(screen.width, screen.height);
        tall = Math.min(screen.width, screen.height);
    }
    var ratio = Math.min(window.devicePixelRatio || 1, 2);
    ratio = Math.max(1, Math.min(ratio, Math.sqrt(1920 * 1080 / (width * tall))));
    return Math.round((height ? tall : width) * ratio);
});

BOOL EnumDisplaySettingsW(LPCWSTR deviceName, DWORD modeNum, DEVMODEW* mode) {
    if (deviceName || !mode || modeNum != ENUM_CURRENT_SETTINGS) return FALSE;
    int width = ViewportPixels(0);
    int height = ViewportPixels(1);
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
