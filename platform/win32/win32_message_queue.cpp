// The thread's message queue: a fixed ring of MSG records, refilled by the
// back end only when it runs empty, plus the pending-quit flag.
#include "platform/win32/message_queue.h"

namespace {

constexpr int kQueueCapacity = 256;

struct MessageQueue {
    MSG ring[kQueueCapacity] = {};
    int head = 0;
    int count = 0;
    bool quitPending = false;
    int quitCode = 0;
};

MessageQueue queue;

MSG& At(int i) { return queue.ring[(queue.head + i) % kQueueCapacity]; }

void RemoveAt(int i) {
    for (int j = i; j > 0; --j) At(j) = At(j - 1);
    queue.head = (queue.head + 1) % kQueueCapacity;
    --queue.count;
}

bool Matches(const MSG& message, HWND window, UINT filterMin, UINT filterMax) {
    if (window && message.hwnd != window) return false;
    if (filterMin == 0 && filterMax == 0) return true;
    return message.message >= filterMin && message.message <= filterMax;
}

}  // namespace

bool PushMessage(const MSG& message) {
    if (MessageQueueFull()) return false;
    At(queue.count++) = message;
    return true;
}

bool MessageQueueFull() { return queue.count == kQueueCapacity; }

void DiscardMessagesFor(HWND window) {
    for (int i = queue.count - 1; i >= 0; --i)
        if (At(i).hwnd == window) RemoveAt(i);
}

// A posted quit is returned before anything else, whatever the filter.
BOOL PeekMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
    if (!msg) return FALSE;
    if (queue.quitPending) {
        *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0, backend::MessageTicks(), {0, 0}};
        if (removeFlags & PM_REMOVE) queue.quitPending = false;
        return TRUE;
    }
    if (queue.count == 0) backend::RefillMessages();
    for (int i = 0; i < queue.count; ++i) {
        if (!Matches(At(i), window, filterMin, filterMax)) continue;
        *msg = At(i);
        if (removeFlags & PM_REMOVE) RemoveAt(i);
        return TRUE;
    }
    return FALSE;
}

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window && !IsLiveWindow(window)) return FALSE;
    return PushMessage(MSG{window, message, wParam, lParam, backend::MessageTicks(), {0, 0}}) ? TRUE : FALSE;
}

void PostQuitMessage(int exitCode) {
    queue.quitPending = true;
    queue.quitCode = exitCode;
}

// Character messages are not generated: the game reads only key codes.
BOOL TranslateMessage(const MSG*) { return FALSE; }

// Thread messages and messages for destroyed windows go to no procedure.
LRESULT DispatchMessageW(const MSG* msg) {
    WNDPROC procedure = msg ? LiveWindowProcedure(msg->hwnd) : nullptr;
    return procedure ? procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam) : 0;
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) DestroyWindow(window);
    return 0;
}
