// The window pool: the records' common part and their life, from the class
// lookup and WM_CREATE to WM_DESTROY; what lies beneath is the back end's.
#include "platform/win32/window_pool.h"

#include "platform/win32/message_queue.h"
#include "platform/win32/window_classes.h"

namespace {

// The live record of a handle; null for any other handle.
WindowRecord* LiveRecord(HWND window) {
    if (!window) return nullptr;
    for (int slot = 0; slot < kWindowCapacity; ++slot)
        if (backend::WindowAt(slot) == window) {
            WindowRecord& record = backend::WindowRecordAt(slot);
            return record.inUse ? &record : nullptr;
        }
    return nullptr;
}

}  // namespace

bool IsLiveWindow(HWND window) { return LiveRecord(window) != nullptr; }

WNDPROC LiveWindowProcedure(HWND window) {
    const WindowRecord* record = LiveRecord(window);
    return record ? record->windowProc : nullptr;
}

bool ClassHasWindows(WNDPROC windowProc, HINSTANCE instance) {
    for (int slot = 0; slot < kWindowCapacity; ++slot) {
        const WindowRecord& record = backend::WindowRecordAt(slot);
        if (record.inUse && record.windowProc == windowProc && record.instance == instance) return true;
    }
    return false;
}

HWND FirstLiveWindow() {
    for (int slot = 0; slot < kWindowCapacity; ++slot)
        if (backend::WindowRecordAt(slot).inUse) return backend::WindowAt(slot);
    return nullptr;
}

// The style, parent and menu are not modelled; the window starts hidden.
HWND CreateWindowExW(DWORD, LPCWSTR className, LPCWSTR windowName, DWORD, int x, int y, int width, int height,
                     HWND, HMENU, HINSTANCE instance, LPVOID) {
    WindowClassEntry windowClass;
    if (!FindWindowClass(className, &windowClass) || width <= 0 || height <= 0) return nullptr;
    int slot = 0;
    while (slot < kWindowCapacity && backend::WindowRecordAt(slot).inUse) ++slot;
    if (slot == kWindowCapacity) return nullptr;
    HWND window = backend::WindowAt(slot);
    if (!backend::OpenNativeWindow(window, windowName, x, y, width, height)) return nullptr;
    backend::WindowRecordAt(slot) = WindowRecord{windowClass.windowProc, instance, true};
    if (windowClass.windowProc(window, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(window);
        return nullptr;
    }
    return window;
}

// WM_DESTROY reaches the window procedure while what lies beneath (and any GL
// context on it) still exists, so resources can be released there.
BOOL DestroyWindow(HWND window) {
    WindowRecord* record = LiveRecord(window);
    if (!record) return FALSE;
    record->windowProc(window, WM_DESTROY, 0, 0);
    DiscardMessagesFor(window);
    backend::CloseNativeWindow(window);
    *record = WindowRecord();
    return TRUE;
}

BOOL ShowWindow(HWND window, int command) {
    if (!IsLiveWindow(window)) return FALSE;
    return backend::ShowNativeWindow(window, command != SW_HIDE) ? TRUE : FALSE;
}

BOOL EnumDisplaySettingsW(LPCWSTR deviceName, DWORD modeNum, DEVMODEW* mode) {
    if (deviceName || !mode) return FALSE;
    return backend::DisplayMode(modeNum, mode) ? TRUE : FALSE;
}

// Nothing is painted through messages: the device draws every frame.
BOOL UpdateWindow(HWND window) { return IsLiveWindow(window) ? TRUE : FALSE; }
