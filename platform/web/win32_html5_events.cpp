// The page's keyboard and mouse events turned into window messages. Keys go by
// KeyboardEvent.code, the key's physical position, so WASD and the digit row
// keep their places on any keyboard layout.
#include <emscripten/html5.h>

#include <cstring>

#include <windowsx.h>

#include "platform/web/web_window.h"

namespace {

struct NamedKey {
    const char* code;
    int virtualKey;
};

constexpr NamedKey kNamedKeys[] = {
    {"Escape", VK_ESCAPE},     {"Enter", VK_RETURN},       {"Space", VK_SPACE},       {"Tab", VK_TAB},
    {"Backspace", VK_BACK},    {"ArrowLeft", VK_LEFT},     {"ArrowUp", VK_UP},        {"ArrowRight", VK_RIGHT},
    {"ArrowDown", VK_DOWN},    {"ShiftLeft", VK_SHIFT},    {"ShiftRight", VK_SHIFT},  {"ControlLeft", VK_CONTROL},
    {"ControlRight", VK_CONTROL},
};

bool StartsWith(const char* text, const char* prefix, const char** rest) {
    size_t n = std::strlen(prefix);
    if (std::strncmp(text, prefix, n) != 0) return false;
    *rest = text + n;
    return true;
}

// Positions beyond the 16-bit range are clamped rather than wrapped.
LPARAM PackPosition(long x, long y) {
    auto clamp16 = [](long v) { return static_cast<short>(v < -32768 ? -32768 : v > 32767 ? 32767 : v); };
    return MAKELPARAM(clamp16(x), clamp16(y));
}

// The canvas sits at the page's top left and is stretched over the viewport,
// so a client position scales to a drawing-buffer pixel.
LPARAM CanvasPosition(const EmscriptenMouseEvent& event) {
    int width = 0, height = 0;
    double cssWidth = 0, cssHeight = 0;
    emscripten_get_canvas_element_size(kCanvasSelector, &width, &height);
    emscripten_get_element_css_size(kCanvasSelector, &cssWidth, &cssHeight);
    double x = event.clientX, y = event.clientY;
    if (cssWidth > 0 && cssHeight > 0) {
        x = x * width / cssWidth;
        y = y * height / cssHeight;
    }
    return PackPosition(static_cast<long>(x), static_cast<long>(y));
}

// MouseEvent.buttons: 1 left, 2 right, 4 middle.
WPARAM MouseKeyFlags(unsigned short buttons) {
    return ((buttons & 1) ? MK_LBUTTON : 0) | ((buttons & 2) ? MK_RBUTTON : 0) | ((buttons & 4) ? MK_MBUTTON : 0);
}

void Queue(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    PushMessage(MSG{window, id, wParam, lParam, backend::MessageTicks(), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}});
}

bool keyHeld[256] = {};  // by virtual key, for the releases a lost focus owes

// A handled key keeps the browser from acting on it (scrolling on Space or
// the arrows), except the function keys, which stay the browser's too.
EM_BOOL OnKey(int eventType, const EmscriptenKeyboardEvent* key, void*) {
    HWND window = FirstLiveWindow();
    int virtualKey = VirtualKeyFromCode(key->code);
    if (!window || !virtualKey) return EM_FALSE;
    bool up = eventType == EMSCRIPTEN_EVENT_KEYUP;
    keyHeld[virtualKey] = !up;
    // lParam: repeat count 1; a release was down before, an auto-repeat too.
    WORD flags = up ? KF_UP | KF_REPEAT : key->repeat ? KF_REPEAT : 0;
    PushMessage(MSG{window, up ? WM_KEYUP : WM_KEYDOWN, static_cast<WPARAM>(virtualKey), MAKELPARAM(1, flags),
                    backend::MessageTicks(), {0, 0}});
    return virtualKey >= VK_F1 && virtualKey < VK_F1 + 12 ? EM_FALSE : EM_TRUE;
}

// MouseEvent.button: 0 left, 1 middle, 2 right.
EM_BOOL OnButton(int eventType, const EmscriptenMouseEvent* mouse, void*) {
    HWND window = FirstLiveWindow();
    if (!window || (mouse->button != 0 && mouse->button != 2)) return EM_FALSE;
    bool down = eventType == EMSCRIPTEN_EVENT_MOUSEDOWN;
    UINT id = mouse->button == 0 ? (down ? WM_LBUTTONDOWN : WM_LBUTTONUP) : (down ? WM_RBUTTONDOWN : WM_RBUTTONUP);
    Queue(window, id, MouseKeyFlags(mouse->buttons), CanvasPosition(*mouse));
    return EM_TRUE;
}

// A page that loses the focus hears no more releases, so the keys still held
// are released then, as SDL does on the desktop.
EM_BOOL OnBlur(int, const EmscriptenFocusEvent*, void*) {
    HWND window = FirstLiveWindow();
    for (int key = 0; key < 256; ++key) {
        if (!keyHeld[key]) continue;
        keyHeld[key] = false;
        if (window)
            PushMessage(MSG{window, WM_KEYUP, static_cast<WPARAM>(key), MAKELPARAM(1, KF_UP | KF_REPEAT),
                            backend::MessageTicks(), {0, 0}});
    }
    return EM_FALSE;
}

EM_BOOL OnMove(int, const EmscriptenMouseEvent* mouse, void*) {
    HWND window = FirstLiveWindow();
    if (!window) return EM_FALSE;
    Queue(window, WM_MOUSEMOVE, MouseKeyFlags(mouse->buttons), CanvasPosition(*mouse));
    return EM_FALSE;
}

}  // namespace

int VirtualKeyFromCode(const char* code) {
    const char* rest = nullptr;
    if (!code) return 0;
    if (StartsWith(code, "Key", &rest) && rest[0] >= 'A' && rest[0] <= 'Z' && rest[1] == '\0') return rest[0];
    if (StartsWith(code, "Digit", &rest) && rest[0] >= '0' && rest[0] <= '9' && rest[1] == '\0') return rest[0];
    if (StartsWith(code, "Numpad", &rest) && rest[0] >= '0' && rest[0] <= '9' && rest[1] == '\0')
        return VK_NUMPAD0 + (rest[0] - '0');
    if (StartsWith(code, "F", &rest) && rest[0] >= '1' && rest[0] <= '9') {
        int n = rest[0] - '0';
        if (rest[1] >= '0' && rest[1] <= '2' && rest[2] == '\0' && n == 1) n = 10 + (rest[1] - '0');
        else if (rest[1] != '\0') return 0;
        return VK_F1 + n - 1;
    }
    for (const NamedKey& named : kNamedKeys)
        if (std::strcmp(code, named.code) == 0) return named.virtualKey;
    return 0;
}

// Buttons are pressed on the canvas; releases and moves are followed over the
// whole page, as a captured mouse is on the desktop.
void ListenForPageInput() {
    static bool listening = false;
    if (listening) return;
    listening = true;
    const char* page = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(page, nullptr, EM_TRUE, OnKey);
    emscripten_set_keyup_callback(page, nullptr, EM_TRUE, OnKey);
    emscripten_set_mousedown_callback(kCanvasSelector, nullptr, EM_TRUE, OnButton);
    emscripten_set_mouseup_callback(page, nullptr, EM_TRUE, OnButton);
    emscripten_set_mousemove_callback(page, nullptr, EM_TRUE, OnMove);
    emscripten_set_blur_callback(page, nullptr, EM_TRUE, OnBlur);
}
