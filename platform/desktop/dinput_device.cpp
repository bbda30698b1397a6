// One game controller as a polled DirectInput device: SDL's standard layout
// mapped onto DIJOYSTATE2 through one object table.
#include <cstddef>
#include <cstring>

#include "platform/desktop/dinput_controller.h"
#include "platform/desktop/sdl_window.h"

namespace {

struct ControllerObject {
    const GUID* guidType;
    DWORD offset;
    DWORD type;
    int sdlIndex;  // an SDL_GameControllerAxis or SDL_GameControllerButton
};

constexpr DWORD Axis(DWORD instance) { return DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(instance); }
constexpr DWORD Button(DWORD instance) { return DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(instance); }
constexpr DWORD ButtonOffset(DWORD instance) { return offsetof(DIJOYSTATE2, rgbButtons) + instance; }

constexpr int kAxisCount = 4;
constexpr ControllerObject kObjects[] = {
    {&GUID_XAxis, offsetof(DIJOYSTATE2, lX), Axis(0), SDL_CONTROLLER_AXIS_LEFTX},
    {&GUID_YAxis, offsetof(DIJOYSTATE2, lY), Axis(1), SDL_CONTROLLER_AXIS_LEFTY},
    {&GUID_RxAxis, offsetof(DIJOYSTATE2, lRx), Axis(2), SDL_CONTROLLER_AXIS_RIGHTX},
    {&GUID_RyAxis, offsetof(DIJOYSTATE2, lRy), Axis(3), SDL_CONTROLLER_AXIS_RIGHTY},
    {&GUID_Button, ButtonOffset(0), Button(0), SDL_CONTROLLER_BUTTON_A},
    {&GUID_Button, ButtonOffset(1), Button(1), SDL_CONTROLLER_BUTTON_B},
    {&GUID_Button, ButtonOffset(2), Button(2), SDL_CONTROLLER_BUTTON_X},
    {&GUID_Button, ButtonOffset(3), Button(3), SDL_CONTROLLER_BUTTON_Y},
    {&GUID_Button, ButtonOffset(4), Button(4), SDL_CONTROLLER_BUTTON_LEFTSHOULDER},
    {&GUID_Button, ButtonOffset(5), Button(5), SDL_CONTROLLER_BUTTON_RIGHTSHOULDER},
    {&GUID_Button, ButtonOffset(6), Button(6), SDL_CONTROLLER_BUTTON_BACK},
    {&GUID_Button, ButtonOffset(7), Button(7), SDL_CONTROLLER_BUTTON_START},
    {&GUID_Button, ButtonOffset(8), Button(8), SDL_CONTROLLER_BUTTON_LEFTSTICK},
    {&GUID_Button, ButtonOffset(9), Button(9), SDL_CONTROLLER_BUTTON_RIGHTSTICK},
};

constexpr bool IsAxis(const ControllerObject& object) { return (object.type & DIDFT_AXIS) != 0; }
static_assert(IsAxis(kObjects[0]) && IsAxis(kObjects[kAxisCount - 1]) && !IsAxis(kObjects[kAxisCount]),
              "the axes lead the table; their ranges are indexed by position");

// SDL's −32768..32767 onto [low, high], rounded to nearest.
LONG ScaleAxis(Sint16 raw, LONG low, LONG high) {
    int64_t span = static_cast<int64_t>(high) - low;
    int64_t step = (static_cast<int64_t>(raw) + 32768) * span;
    return static_cast<LONG>(low + (step + 65535 / 2) / 65535);
}

void DescribeObject(const ControllerObject& object, DIDEVICEOBJECTINSTANCEW* instance) {
    *instance = DIDEVICEOBJECTINSTANCEW{};
    instance->dwSize = sizeof(DIDEVICEOBJECTINSTANCEW);
    instance->guidType = *object.guidType;
    instance->dwOfs = object.offset;
    instance->dwType = object.type;
    const char* name =
        IsAxis(object) ? SDL_GameControllerGetStringForAxis(static_cast<SDL_GameControllerAxis>(object.sdlIndex))
                       : SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(object.sdlIndex));
    Utf8NameToWide(name, instance->tszName, MAX_PATH);
}

bool CooperativeFlagsValid(DWORD flags) {
    if (flags & ~0x1Fu) return false;
    bool oneSharing = ((flags & DISCL_EXCLUSIVE) != 0) != ((flags & DISCL_NONEXCLUSIVE) != 0);
    bool oneScope = ((flags & DISCL_FOREGROUND) != 0) != ((flags & DISCL_BACKGROUND) != 0);
    return oneSharing && oneScope;
}

class SdlControllerDevice final : public IDirectInputDevice8W {
public:
    explicit SdlControllerDevice(SDL_GameController* controller) : controller(controller) {
        for (int i = 0; i < kAxisCount; ++i) {
            rangeMin[i] = 0;  // DirectInput's default range
            rangeMax[i] = 65535;
        }
    }

    ULONG AddRef() override { return ++references; }
    ULONG Release() override {
        ULONG left = --references;
        if (left == 0) delete this;
        return left;
    }

    HRESULT SetDataFormat(LPCDIDATAFORMAT format) override {
        if (acquired) return DIERR_ACQUIRED;
        if (format != &c_dfDIJoystick2) return DIERR_UNSUPPORTED;
        formatSet = true;
        return DI_OK;
    }

    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override {
        if (acquired) return DIERR_ACQUIRED;
        if (!CooperativeFlagsValid(flags) || ((flags & DISCL_FOREGROUND) && !IsLiveWindow(window)))
            return DIERR_INVALIDPARAM;
        foregroundWindow = (flags & DISCL_FOREGROUND) ? window : nullptr;
        return DI_OK;
    }

    HRESULT EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKW callback, LPVOID context, DWORD flags) override {
        if (!callback) return DIERR_INVALIDPARAM;
        for (const ControllerObject& object : kObjects) {
            if (flags != DIDFT_ALL && !(object.type & flags & 0xFF)) continue;
            DIDEVICEOBJECTINSTANCEW instance;
            DescribeObject(object, &instance);
            if (callback(&instance, context) == DIENUM_STOP) break;
        }
        return DI_OK;
    }

    HRESULT SetProperty(REFGUID property, LPCDIPROPHEADER header) override {
        if (!(property == DIPROP_RANGE)) return DIERR_UNSUPPORTED;
        if (!header || header->dwHeaderSize != sizeof(DIPROPHEADER) || header->dwSize != sizeof(DIPROPRANGE))
            return DIERR_INVALIDPARAM;
        if (acquired) return DIERR_ACQUIRED;
        const DIPROPRANGE* range = reinterpret_cast<const DIPROPRANGE*>(header);
        if (range->lMin > range->lMax) return DIERR_INVALIDPARAM;
        return ApplyRange(*header, range->lMin, range->lMax);
    }

    HRESULT Acquire() override {
        if (!formatSet) return DIERR_INVALIDPARAM;
        if (!SDL_GameControllerGetAttached(controller)) return DIERR_UNPLUGGED;
        if (!InForeground()) return DIERR_OTHERAPPHASPRIO;
        if (acquired) return S_FALSE;
        acquired = true;
        return DI_OK;
    }

    HRESULT Unacquire() override {
        if (!acquired) return DI_NOEFFECT;
        acquired = false;
        return DI_OK;
    }

    HRESULT Poll() override {
        if (!acquired) return DIERR_NOTACQUIRED;
        SDL_GameControllerUpdate();
        return CheckStillUsable();
    }

    HRESULT GetDeviceState(DWORD size, LPVOID data) override {
        if (!data || size != sizeof(DIJOYSTATE2)) return DIERR_INVALIDPARAM;
        if (!acquired) return DIERR_NOTACQUIRED;
        HRESULT status = CheckStillUsable();
        if (FAILED(status)) return status;
        DIJOYSTATE2 state = {};
        FillState(&state);
        std::memcpy(data, &state, sizeof state);
        return DI_OK;
    }

private:
    ~SdlControllerDevice() override { SDL_GameControllerClose(controller); }

    // Foreground devices read only while their window has the keyboard focus,
    // unless the player asked SDL for background controller input.
    bool InForeground() const {
        if (!foregroundWindow || SDL_GetHintBoolean(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, SDL_FALSE)) return true;
        return IsLiveWindow(foregroundWindow) &&
               (SDL_GetWindowFlags(foregroundWindow->sdlWindow) & SDL_WINDOW_INPUT_FOCUS) != 0;
    }

    HRESULT CheckStillUsable() {
        if (SDL_GameControllerGetAttached(controller) && InForeground()) return DI_OK;
        acquired = false;
        return DIERR_INPUTLOST;
    }

    HRESULT ApplyRange(const DIPROPHEADER& header, LONG low, LONG high) {
        bool found = false;
        for (int i = 0; i < kAxisCount; ++i) {
            bool selected = header.dwHow == DIPH_DEVICE ? header.dwObj == 0
                          : header.dwHow == DIPH_BYID   ? header.dwObj == kObjects[i].type
                          : header.dwHow == DIPH_BYOFFSET && header.dwObj == kObjects[i].offset;
            if (!selected) continue;
            rangeMin[i] = low;
            rangeMax[i] = high;
            found = true;
        }
        return found ? DI_OK : DIERR_OBJECTNOTFOUND;
    }

    void FillState(DIJOYSTATE2* state) const {
        for (DWORD& pov : state->rgdwPOV) pov = 0xFFFFFFFFu;  // centred
        for (int i = 0; i < kAxisCount; ++i) {
            Sint16 raw = SDL_GameControllerGetAxis(controller, static_cast<SDL_GameControllerAxis>(kObjects[i].sdlIndex));
            LONG value = ScaleAxis(raw, rangeMin[i], rangeMax[i]);
            std::memcpy(reinterpret_cast<BYTE*>(state) + kObjects[i].offset, &value, sizeof value);
        }
        for (const ControllerObject& object : kObjects) {
            if (IsAxis(object)) continue;
            bool down = SDL_GameControllerGetButton(controller, static_cast<SDL_GameControllerButton>(object.sdlIndex));
            reinterpret_cast<BYTE*>(state)[object.offset] = down ? 0x80 : 0x00;
        }
    }

    SDL_GameController* controller;
    ULONG references = 1;
    bool formatSet = false;
    bool acquired = false;
    HWND foregroundWindow = nullptr;
    LONG rangeMin[kAxisCount];
    LONG rangeMax[kAxisCount];
};

}  // namespace

IDirectInputDevice8W* OpenControllerDevice(SDL_JoystickID instanceId) {
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) != instanceId || !SDL_IsGameController(i)) continue;
        SDL_GameController* controller = SDL_GameControllerOpen(i);
        return controller ? new SdlControllerDevice(controller) : nullptr;
    }
    return nullptr;
}
