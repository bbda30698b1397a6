// Window classes: a fixed table, so nothing is allocated per call.
#include "platform/win32/window_classes.h"

#include <cwchar>

#include "platform/win32/window_pool.h"

namespace {

constexpr int kMaxClasses = 8;
constexpr size_t kMaxClassName = 256;

struct WindowClass {
    WCHAR name[kMaxClassName] = {};
    WNDPROC windowProc = nullptr;
    HINSTANCE instance = nullptr;
    bool inUse = false;
};

WindowClass classes[kMaxClasses];

WindowClass* FindClass(LPCWSTR name) {
    if (!name) return nullptr;
    for (WindowClass& c : classes)
        if (c.inUse && std::wcscmp(c.name, name) == 0) return &c;
    return nullptr;
}

}  // namespace

bool FindWindowClass(LPCWSTR name, WindowClassEntry* found) {
    const WindowClass* windowClass = FindClass(name);
    if (!windowClass) return false;
    *found = WindowClassEntry{windowClass->windowProc, windowClass->instance};
    return true;
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
    if (!windowClass || windowClass->instance != instance ||
        ClassHasWindows(windowClass->windowProc, windowClass->instance))
        return FALSE;
    *windowClass = WindowClass();
    return TRUE;
}
