// An SDL game controller as the source of a DirectInput controller device:
// SDL's standard layout is the device's.
#include "platform/desktop/dinput_controller.h"
#include "platform/desktop/sdl_window.h"

namespace {

constexpr SDL_GameControllerAxis kAxes[ControllerSource::kAxisCount] = {
    SDL_CONTROLLER_AXIS_LEFTX, SDL_CONTROLLER_AXIS_LEFTY, SDL_CONTROLLER_AXIS_RIGHTX, SDL_CONTROLLER_AXIS_RIGHTY};
constexpr SDL_GameControllerButton kButtons[ControllerSource::kButtonCount] = {
    SDL_CONTROLLER_BUTTON_A,         SDL_CONTROLLER_BUTTON_B,          SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,         SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    SDL_CONTROLLER_BUTTON_BACK,      SDL_CONTROLLER_BUTTON_START,      SDL_CONTROLLER_BUTTON_LEFTSTICK,
    SDL_CONTROLLER_BUTTON_RIGHTSTICK};

class SdlControllerSource final : public ControllerSource {
public:
    explicit SdlControllerSource(SDL_GameController* controller) : controller(controller) {}
    ~SdlControllerSource() override { SDL_GameControllerClose(controller); }

    bool Attached() override { return SDL_GameControllerGetAttached(controller); }
    void Update() override { SDL_GameControllerUpdate(); }

    // Foreground devices read only while their window has the keyboard focus,
    // unless the player asked SDL for background controller input.
    bool InForeground(HWND window) const override {
        if (SDL_GetHintBoolean(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, SDL_FALSE)) return true;
        return IsLiveWindow(window) && (SDL_GetWindowFlags(window->sdlWindow) & SDL_WINDOW_INPUT_FOCUS) != 0;
    }

    int16_t Axis(int axis) const override { return SDL_GameControllerGetAxis(controller, kAxes[axis]); }
    bool Button(int button) const override { return SDL_GameControllerGetButton(controller, kButtons[button]) != 0; }

private:
    SDL_GameController* controller;
};

}  // namespace

IDirectInputDevice8W* OpenControllerDevice(SDL_JoystickID instanceId) {
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) != instanceId || !SDL_IsGameController(i)) continue;
        SDL_GameController* controller = SDL_GameControllerOpen(i);
        return controller ? NewControllerDevice(new SdlControllerSource(controller)) : nullptr;
    }
    return nullptr;
}
