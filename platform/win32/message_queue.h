// Internal to the platform layer: the thread's message queue, shared by the
// back ends that lack Windows. Each such back end supplies the hooks below;
// the queue supplies PeekMessageW, PostMessageW, PostQuitMessage,
// TranslateMessage, DispatchMessageW and DefWindowProcW. Game code never includes this.
#pragma once

#include <windows.h>

// Queues a message; false when the ring is full.
bool PushMessage(const MSG& message);
bool MessageQueueFull();
// Drops queued messages addressed to a window that is being destroyed.
void DiscardMessagesFor(HWND window);

// Hooks of the back end.
// Milliseconds since the back end started, for message times.
DWORD MessageTicks();
// Called when the ring runs empty: moves waiting input events into it.
void RefillMessages();
// Handles come from a fixed pool, so a stale handle is recognised, never dereferenced.
bool IsLiveWindow(HWND window);
// The procedure of a live window; null for any other handle.
WNDPROC LiveWindowProcedure(HWND window);
