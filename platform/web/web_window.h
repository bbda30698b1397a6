// Internal to the platform layer: the page's game window, a canvas with the id
// "canvas", shared by the window functions, the message queue, the event
// handlers and the WebGL device. Game code never includes this.
#pragma once

#include <windows.h>

#include "platform/win32/last_error.h"
#include "platform/win32/message_queue.h"

inline constexpr char kCanvasSelector[] = "#canvas";

struct HWND__ : WindowRecord {
    bool visible = false;
};

// Registers the keyboard and mouse handlers that queue window messages.
void ListenForPageInput();
// The virtual-key code of a KeyboardEvent.code ("KeyW", "Digit2", ...), 0 if unmapped.
int VirtualKeyFromCode(const char* code);

