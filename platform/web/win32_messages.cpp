// The message queue's hooks on the page, whose event handlers fill the queue
// while the game waits for the next frame.
#include <emscripten.h>

#include "platform/web/web_window.h"

DWORD backend::MessageTicks() { return static_cast<DWORD>(emscripten_get_now()); }

// The handlers have queued everything already.
void backend::RefillMessages() {}
