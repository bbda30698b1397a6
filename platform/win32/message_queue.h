// Internal to the platform layer: the thread's message queue, shared by the
// back ends that lack Windows. The queue supplies PeekMessageW, PostMessageW,
// PostQuitMessage, TranslateMessage, DispatchMessageW and DefWindowProcW; the
// back end stamps and refills it (backend::MessageTicks, RefillMessages in
// platform/backend.h). Game code never includes this.
#pragma once

#include <windows.h>

#include "platform/backend.h"
#include "platform/win32/window_pool.h"

// Queues a message; false when the ring is full.
bool PushMessage(const MSG& message);
bool MessageQueueFull();
// Drops queued messages addressed to a window that is being destroyed.
void DiscardMessagesFor(HWND window);
