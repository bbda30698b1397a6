// Internal to the platform layer: the window class table of the back ends
// that lack Windows. The table supplies RegisterClassExW and
// UnregisterClassW; the window pool's CreateWindowExW looks classes up here.
#pragma once

#include <windows.h>

struct WindowClassEntry {
    WNDPROC windowProc;
    HINSTANCE instance;
};

// The registered class of that name; false if there is none.
bool FindWindowClass(LPCWSTR name, WindowClassEntry* found);
