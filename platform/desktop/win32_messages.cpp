// The message queue's hooks on SDL.
#include "platform/desktop/sdl_window.h"

DWORD backend::MessageTicks() { return SDL_GetTicks(); }

// Takes SDL events until the ring is full; the rest wait in SDL's own queue.
void backend::RefillMessages() {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return;
    SDL_Event event;
    while (!MessageQueueFull() && SDL_PollEvent(&event)) {
        MSG message = {};
        if (TranslateSdlEvent(event, &message)) PushMessage(message);
    }
}
