// DirectInput on the browser's Gamepad API: one controller device that reads
// the first connected gamepad in the standard layout, mapped onto DIJOYSTATE2
// with the desktop controller's axes and button order.
//
// A browser reveals a gamepad only after its first button press on the page,
// so the device is listed from the start and reads as unplugged until a pad
// shows up; the game re-acquires it every pass, as it does after a loss.
//
// On a touch screen the page's touch sticks are the controller once touched;
// a connected gamepad takes precedence over them.
#include <emscripten/html5.h>

#include <cmath>
#include <cstring>

#include <dinput.h>
#include "platform/dinput/controller_device.h"
#include "platform/web/touch_sticks.h"
#include "platform/web/web_window.h"

namespace {

constexpr GUID kGamepadGuid = {0x51464750, 0x5146, 0x4A53, {'W', 'E', 'B', 'P', 'A', 'D', '0', '0'}};

// The standard layout: axes 0..3 left x, left y, right x, right y (down is
// positive); buttons 0..3 the four face buttons, 4 and 5 the shoulders, 8 back,
// 9 start, 10 and 11 the stick presses.
constexpr int kStandardButtons[ControllerSource::kButtonCount] = {0, 1, 2, 3, 4, 5, 8, 9, 10, 11};

// The first connected gamepad, standard layout preferred; false if none.
bool SampleGamepad(EmscriptenGamepadEvent* pad) {
    if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return false;
    int count = emscripten_get_num_gamepads();
    bool found = false;
    for (int i = 0; i < count; ++i) {
        EmscriptenGamepadEvent candidate;
        if (emscripten_get_gamepad_status(i, &candidate) != EMSCRIPTEN_RESULT_SUCCESS || !candidate.connected) continue;
        bool standard = std::strcmp(candidate.mapping, "standard") == 0;
        if (found && !standard) continue;
        *pad = candidate;
        found = true;
        if (standard) break;
    }
    return found;
}

class GamepadSource final : public ControllerSource {
public:
    void Update() override {
        connected = SampleGamepad(&pad);
        touched = !connected && SampleTouchSticks(&touch);
    }
    bool Attached() override { return connected || touched; }
    // The page receives gamepad input only while it is shown, which stands in
    // for the foreground.
    bool InForeground(HWND) const override { return true; }

    // −1..1 as the desktop's 16-bit reading.
    int16_t Axis(int axis) const override {
        double value = touched ? touch.axis[axis] : axis < pad.numAxes ? pad.axis[axis] : 0.0;
        double clamped = std::isnan(value) ? 0.0 : value < -1.0 ? -1.0 : value > 1.0 ? 1.0 : value;
        return static_cast<int16_t>(std::lround(clamped * 32767.0));
    }

    bool Button(int button) const override {
        if (touched) return button == 0 && touch.firstButton;
        int index = kStandardButtons[button];
        return index < pad.numButtons && (pad.digitalButton[index] || pad.analogButton[index] > 0.5);
    }

private:
    EmscriptenGamepadEvent pad = {};
    TouchSticks touch = {};
    bool connected = false;
    bool touched = false;
};

class GamepadDirectInput final : public ControllerDirectInput {
    void ListControllers(LPDIENUMDEVICESCALLBACKW callback, LPVOID context) override {
        DIDEVICEINSTANCEW instance = DescribeGamepad(kGamepadGuid, kGamepadGuid, "Gamepad");
        callback(&instance, context);
    }

    IDirectInputDevice8W* OpenController(REFGUID instance) override {
        return instance == kGamepadGuid ? NewControllerDevice(new GamepadSource()) : nullptr;
    }
};

}  // namespace

ControllerDirectInput* backend::NewDirectInput() { return new GamepadDirectInput(); }
