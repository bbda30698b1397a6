// Checks of the web back end's own parsing, built with Emscripten and run
// under Node by scripts/test_web.sh: key codes by physical position.
#include <cstdio>
#include <string>

#include "platform/web/web_window.h"

namespace {

int failures = 0;

void Expect(bool ok, const std::string& what) {
    if (ok) return;
    ++failures;
    std::printf("FAIL %s\n", what.c_str());
}

void KeyCodes() {
    const struct {
        const char* code;
        int key;
    } cases[] = {{"KeyW", 'W'},       {"KeyA", 'A'},         {"Digit2", '2'},      {"Digit0", '0'},
                 {"Numpad7", VK_NUMPAD0 + 7}, {"F1", VK_F1}, {"F10", VK_F1 + 9},   {"F12", VK_F1 + 11},
                 {"Escape", VK_ESCAPE}, {"Space", VK_SPACE}, {"ShiftRight", VK_SHIFT}, {"ArrowUp", VK_UP},
                 {"F13", 0},          {"F", 0},              {"Key", 0},           {"KeyWW", 0},
                 {"Keyw", 0},         {"Digit10", 0},        {"IntlBackslash", 0}, {"", 0}};
    for (const auto& c : cases)
        Expect(VirtualKeyFromCode(c.code) == c.key, std::string("key code '") + c.code + "'");
    Expect(VirtualKeyFromCode(nullptr) == 0, "no key code");
}

}  // namespace

int main() {
    KeyCodes();
    std::printf("%s web platform checks\n", failures == 0 ? "ok  " : "FAIL");
    return failures == 0 ? 0 : 1;
}
