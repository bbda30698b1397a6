// Internal to the platform layer: the window records of the back ends that
// lack Windows, in a fixed pool, so a handle is checked against the pool
// (never dereferenced once stale) and nothing is allocated per call. The pool
// supplies CreateWindowExW, DestroyWindow and UpdateWindow; the back end keeps
// the array of its HWND__ records (backend::WindowAt) and makes and ends what
// lies beneath each window (backend::OpenNativeWindow, CloseNativeWindow).
// Game code never includes this.
#pragma once

#include <windows.h>

#include "platform/backend.h"

inline constexpr int kWindowCapacity = 8;

// What every back end's HWND__ starts with.
struct WindowRecord {
    WNDPROC windowProc = nullptr;
    HINSTANCE instance = nullptr;
    bool inUse = false;
};

// Whether the handle is a window of the pool that has not been destroyed.
bool IsLiveWindow(HWND window);
// The procedure of a live window; null for any other handle.
WNDPROC LiveWindowProcedure(HWND window);
// Whether a live window was made from this class.
bool ClassHasWindows(WNDPROC windowProc, HINSTANCE instance);
// The window that receives input whose own window is unknown (the game has one).
HWND FirstLiveWindow();
// Whether the window holds the mouse capture (SetCapture).
bool HoldsCapture(HWND window);
