// SDL events turned into window messages. Keys go through one scancode table,
// so WASD and the digit row keep their places on any keyboard layout.
#include <array>
#include <utility>

#include <windowsx.h>

#include "platform/desktop/sdl_window.h"

namespace {

constexpr std::pair<SDL_Scancode, int> kNamedKeys[] = {
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE}, {SDL_SCANCODE_RETURN, VK_RETURN}, {SDL_SCANCODE_SPACE, VK_SPACE},
    {SDL_SCANCODE_TAB, VK_TAB},       {SDL_SCANCODE_BACKSPACE, VK_BACK}, {SDL_SCANCODE_LEFT, VK_LEFT},
    {SDL_SCANCODE_UP, VK_UP},         {SDL_SCANCODE_RIGHT, VK_RIGHT},   {SDL_SCANCODE_DOWN, VK_DOWN},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT},  {SDL_SCANCODE_RSHIFT, VK_SHIFT},  {SDL_SCANCODE_LCTRL, VK_CONTROL},
    {SDL_SCANCODE_RCTRL, VK_CONTROL}, {SDL_SCANCODE_KP_0, VK_NUMPAD0},
};

constexpr std::array<unsigned char, SDL_NUM_SCANCODES> BuildKeyTable() {
    std::array<unsigned char, SDL_NUM_SCANCODES> table = {};
    for (int i = 0; i < 26; ++i) table[SDL_SCANCODE_A + i] = static_cast<unsigned char>('A' + i);
    // SDL orders the digit row 1..9 then 0.
    for (int i = 0; i < 9; ++i) table[SDL_SCANCODE_1 + i] = static_cast<unsigned char>('1' + i);
    table[SDL_SCANCODE_0] = '0';
    // The keypad has its own codes, VK_NUMPAD1..9 after VK_NUMPAD0.
    for (int i = 0; i < 9; ++i) table[SDL_SCANCODE_KP_1 + i] = static_cast<unsigned char>(VK_NUMPAD0 + 1 + i);
    for (int i = 0; i < 12; ++i) table[SDL_SCANCODE_F1 + i] = static_cast<unsigned char>(VK_F1 + i);
    for (auto [scancode, virtualKey] : kNamedKeys) table[scancode] = static_cast<unsigned char>(virtualKey);
    return table;
}

constexpr std::array<unsigned char, SDL_NUM_SCANCODES> kVirtualKeys = BuildKeyTable();

Uint32 heldButtons = 0;  // SDL button mask, for the MK_ flags of mouse messages

HWND TargetWindow(Uint32 windowId) {
    HWND window = WindowFromSdlId(windowId);
    return window ? window : FirstLiveWindow();
}

WPARAM MouseKeyFlags(Uint32 sdlButtons) {
    return ((sdlButtons & SDL_BUTTON_LMASK) ? MK_LBUTTON : 0) | ((sdlButtons & SDL_BUTTON_RMASK) ? MK_RBUTTON : 0) |
           ((sdlButtons & SDL_BUTTON_MMASK) ? MK_MBUTTON : 0);
}

// Positions beyond the 16-bit range are clamped rather than wrapped.
LPARAM PackPosition(Sint32 x, Sint32 y) {
    auto clamp16 = [](Sint32 v) { return static_cast<short>(v < -32768 ? -32768 : v > 32767 ? 32767 : v); };
    return MAKELPARAM(clamp16(x), clamp16(y));
}

void Address(MSG* message, HWND window, UINT id, WPARAM wParam, LPARAM lParam, Uint32 time) {
    *message = MSG{window, id, wParam, lParam, time, {0, 0}};
    int left = 0, top = 0;
    SDL_GetWindowPosition(window->sdlWindow, &left, &top);
    message->pt = POINT{left + GET_X_LPARAM(lParam), top + GET_Y_LPARAM(lParam)};
}

bool TranslateKey(const SDL_KeyboardEvent& key, MSG* message) {
    int virtualKey = VirtualKeyFromScancode(key.keysym.scancode);
    HWND window = TargetWindow(key.windowID);
    if (!virtualKey || !window) return false;
    // lParam: repeat count 1; a release was down before, an auto-repeat too.
    WORD flags = 0;
    if (key.type == SDL_KEYUP) flags = KF_UP | KF_REPEAT;
    else if (key.repeat) flags = KF_REPEAT;
    *message = MSG{window, key.type == SDL_KEYUP ? WM_KEYUP : WM_KEYDOWN, static_cast<WPARAM>(virtualKey),
                   MAKELPARAM(1, flags), key.timestamp, {0, 0}};
    return true;
}

bool TranslateButton(const SDL_MouseButtonEvent& button, MSG* message) {
    HWND window = TargetWindow(button.windowID);
    bool down = button.type == SDL_MOUSEBUTTONDOWN;
    Uint32 mask = SDL_BUTTON(button.button);
    heldButtons = down ? heldButtons | mask : heldButtons & ~mask;
    UINT id;
    if (button.button == SDL_BUTTON_LEFT) id = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    else if (button.button == SDL_BUTTON_RIGHT) id = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    else return false;
    if (!window) return false;
    Address(message, window, id, MouseKeyFlags(heldButtons), PackPosition(button.x, button.y), button.timestamp);
    return true;
}

bool TranslateMotion(const SDL_MouseMotionEvent& motion, MSG* message) {
    HWND window = TargetWindow(motion.windowID);
    if (!window) return false;
    heldButtons = motion.state;
    Address(message, window, WM_MOUSEMOVE, MouseKeyFlags(motion.state), PackPosition(motion.x, motion.y),
            motion.timestamp);
    return true;
}

bool TranslateWindowEvent(const SDL_WindowEvent& windowEvent, MSG* message) {
    HWND window = WindowFromSdlId(windowEvent.windowID);
    if (!window) return false;
    if (windowEvent.event == SDL_WINDOWEVENT_FOCUS_GAINED) backend::CaptureMouse(window);
    if (windowEvent.event != SDL_WINDOWEVENT_CLOSE) return false;
    *message = MSG{window, WM_CLOSE, 0, 0, windowEvent.timestamp, {0, 0}};
    return true;
}

}  // namespace

int VirtualKeyFromScancode(SDL_Scancode scancode) {
    if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) return 0;
    return kVirtualKeys[scancode];
}

bool TranslateSdlEvent(const SDL_Event& event, MSG* message) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: return TranslateKey(event.key, message);
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: return TranslateButton(event.button, message);
        case SDL_MOUSEMOTION: return TranslateMotion(event.motion, message);
        case SDL_WINDOWEVENT: return TranslateWindowEvent(event.window, message);
        case SDL_QUIT: {
            // A terminal's interrupt or the session ending closes the window the usual way.
            HWND window = FirstLiveWindow();
            if (!window) return false;
            *message = MSG{window, WM_CLOSE, 0, 0, event.quit.timestamp, {0, 0}};
            return true;
        }
        default: return false;
    }
}
