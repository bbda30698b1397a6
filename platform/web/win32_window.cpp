// The game window on the page's canvas, beneath the window pool's one record
// in use. The "desktop" is the page's viewport.
#include <emscripten.h>

#include "platform/web/web_window.h"

namespace {

HWND__ windows[kWindowCapacity];

bool CanvasPresent() { return EM_ASM_INT({ return document.querySelector(UTF8ToString($0)) ? 1 : 0; }, kCanvasSelector); }

void ShowCanvas(bool show) {
    EM_ASM({ document.querySelector(UTF8ToString($0)).style.visibility = $1 ? "visible" : "hidden"; },
           kCanvasSelector, show ? 1 : 0);
}

}  // namespace

HWND backend::WindowAt(int slot) { return &windows[slot]; }

WindowRecord& backend::WindowRecordAt(int slot) { return windows[slot]; }

// The page holds one canvas, so the game has one window; the title, position
// and style are the page's. The drawing size is set by the device.
bool backend::OpenNativeWindow(HWND window, LPCWSTR, int, int, int, int) {
    if (FirstLiveWindow() || !CanvasPresent()) {
        SetLastErrorWithReason(ERROR_DEVICE_NOT_AVAILABLE, "the page has no free canvas for the game");
        return false;
    }
    window->visible = false;
    ShowCanvas(false);
    ListenForPageInput();
    return true;
}

void backend::CloseNativeWindow(HWND window) { window->visible = false; }

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

bool backend::DisplayMode(DWORD modeNum, DEVMODEW* mode) {
    if (modeNum != ENUM_CURRENT_SETTINGS) return false;
    int width = ViewportPixels(0);
    int height = ViewportPixels(1);
    if (width <= 0 || height <= 0) {
        SetLastErrorWithReason(ERROR_DEVICE_NOT_AVAILABLE, "the page has no viewport");
        return false;
    }
    mode->dmPelsWidth = static_cast<DWORD>(width);
    mode->dmPelsHeight = static_cast<DWORD>(height);
    mode->dmBitsPerPel = 32;
    mode->dmDisplayFrequency = 0;  // the browser does not tell
    return true;
}

bool backend::ShowNativeWindow(HWND window, bool show) {
    const bool wasVisible = window->visible;
    window->visible = show;
    ShowCanvas(show);
    return wasVisible;
}
