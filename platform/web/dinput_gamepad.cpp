// DirectInput on the browser's Gamepad API: one controller device that reads
// the first connected gamepad in the standard layout, mapped onto DIJOYSTATE2
// with the desktop controller's axes and button order.
//
// A browser reveals a gamepad only after its first button press on the page,
// so the device is listed from the start and reads as unplugged until a pad
// shows up; the game re-acquires it every pass, as it does after a loss.
#include <emscripten/html5.h>

#include <cmath>
#include <cstddef>
#include <cstring>

#include <dinput.h>
#include "platform/web/web_window.h"

const DIDATAFORMAT c_dfDIJoystick2 = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), 1, sizeof(DIJOYSTATE2), 0,
                                      nullptr};

namespace {

constexpr GUID kGamepadGuid = {0x51464750, 0x5146, 0x4A53, {'W', 'E', 'B', 'P', 'A', 'D', '0', '0'}};

struct ControllerObject {
    const GUID* guidType;
    DWORD offset;
    DWORD type;
    int standardIndex;  // the index in the standard layout's axes or buttons
    const char* name;
};

constexpr DWORD Axis(DWORD instance) { return DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(instance); }
constexpr DWORD Button(DWORD instance) { return DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(instance); }
constexpr DWORD ButtonOffset(DWORD instance) { return offsetof(DIJOYSTATE2, rgbButtons) + instance; }

// The standard layout: axes 0..3 left x, left y, right x, right y (down is
// positive); buttons 0..3 the four face buttons, 4 and 5 the shoulders, 8 back,
// 9 start, 10 and 11 the stick presses.
constexpr int kAxisCount = 4;
constexpr ControllerObject kObjects[] = {
    {&GUID_XAxis, offsetof(DIJOYSTATE2, lX), Axis(0), 0, "leftx"},
    {&GUID_YAxis, offsetof(DIJOYSTATE2, lY), Axis(1), 1, "lefty"},
    {&GUID_RxAxis, offsetof(DIJOYSTATE2, lRx), Axis(2), 2, "rightx"},
    {&GUID_RyAxis, offsetof(DIJOYSTATE2, lRy), Axis(3), 3, "righty"},
    {&GUID_Button, ButtonOffset(0), Button(0), 0, "a"},
    {&GUID_Button, ButtonOffset(1), Button(1), 1, "b"},
    {&GUID_Button, ButtonOffset(2), Button(2), 2, "x"},
    {&GUID_Button, ButtonOffset(3), Button(3), 3, "y"},
    {&GUID_Button, ButtonOffset(4), Button(4), 4, "leftshoulder"},
    {&GUID_Button, ButtonOffset(5), Button(5), 5, "rightshoulder"},
    {&GUID_Button, ButtonOffset(6), Button(6), 8, "back"},
    {&GUID_Button, ButtonOffset(7), Button(7), 9, "start"},
    {&GUID_Button, ButtonOffset(8), Button(8), 10, "leftstick"},
    {&GUID_Button, ButtonOffset(9), Button(9), 11, "rightstick"},
};

constexpr bool IsAxis(const ControllerObject& object) { return (object.type & DIDFT_AXIS) != 0; }
static_assert(IsAxis(kObjects[0]) && IsAxis(kObjects[kAxisCount - 1]) && !IsAxis(kObjects[kAxisCount]),
              "the axes lead the table; their ranges are indexed by position");

void CopyName(const char* name, WCHAR* out, size_t capacity) {
    size_t n = 0;
    for (; name[n] && n + 1 < capacity; ++n) out[n] = static_cast<WCHAR>(static_cast<unsigned char>(name[n]) & 0x7F);
    out[n] = L'\0';
}

// −1..1 as the desktop's 16-bit reading −32768..32767, then onto [low, high]
// rounded to nearest, as the desktop scales it.
LONG ScaleAxis(double value, LONG low, LONG high) {
    double clamped = std::isnan(value) ? 0.0 : value < -1.0 ? -1.0 : value > 1.0 ? 1.0 : value;
    int64_t raw = static_cast<int64_t>(std::lround(clamped * 32767.0));
    int64_t span = static_cast<int64_t>(high) - low;
    return static_cast<LONG>(low + ((raw + 32768) * span + 65535 / 2) / 65535);
}

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

bool CooperativeFlagsValid(DWORD flags) {
    if (flags & ~0x1Fu) return false;
    bool oneSharing = ((flags & DISCL_EXCLUSIVE) != 0) != ((flags & DISCL_NONEXCLUSIVE) != 0);
    bool oneScope = ((flags & DISCL_FOREGROUND) != 0) != ((flags & DISCL_BACKGROUND) != 0);
    return oneSharing && oneScope;
}

class GamepadDevice final : public IDirectInputDevice8W {
public:
    GamepadDevice() {
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

    // The page receives gamepad input only while it is shown, which stands in
    // for the foreground.
    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override {
        if (acquired) return DIERR_ACQUIRED;
        if (!CooperativeFlagsValid(flags) || ((flags & DISCL_FOREGROUND) && !IsLiveWindow(window)))
            return DIERR_INVALIDPARAM;
        return DI_OK;
    }

    HRESULT EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKW callback, LPVOID context, DWORD flags) override {
        if (!callback) return DIERR_INVALIDPARAM;
        for (const ControllerObject& object : kObjects) {
            if (flags != DIDFT_ALL && !(object.type & flags & 0xFF)) continue;
            DIDEVICEOBJECTINSTANCEW instance = {};
            instance.dwSize = sizeof(DIDEVICEOBJECTINSTANCEW);
            instance.guidType = *object.guidType;
            instance.dwOfs = object.offset;
            instance.dwType = object.type;
            CopyName(object.name, instance.tszName, MAX_PATH);
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
        bool found = false;
        for (int i = 0; i < kAxisCount; ++i) {
            bool selected = header->dwHow == DIPH_DEVICE ? header->dwObj == 0
                          : header->dwHow == DIPH_BYID   ? header->dwObj == kObjects[i].type
                          : header->dwHow == DIPH_BYOFFSET && header->dwObj == kObjects[i].offset;
            if (!selected) continue;
            rangeMin[i] = range->lMin;
            rangeMax[i] = range->lMax;
            found = true;
        }
        return found ? DI_OK : DIERR_OBJECTNOTFOUND;
    }

    HRESULT Acquire() override {
        if (!formatSet) return DIERR_INVALIDPARAM;
        if (!SampleGamepad(&pad)) return DIERR_UNPLUGGED;
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
        if (SampleGamepad(&pad)) return DI_OK;
        acquired = false;
        return DIERR_INPUTLOST;
    }

    // The state of the last poll.
    HRESULT GetDeviceState(DWORD size, LPVOID data) override {
        if (!data || size != sizeof(DIJOYSTATE2)) return DIERR_INVALIDPARAM;
        if (!acquired) return DIERR_NOTACQUIRED;
        DIJOYSTATE2 state = {};
        for (DWORD& pov : state.rgdwPOV) pov = 0xFFFFFFFFu;  // centred
        for (int i = 0; i < kAxisCount; ++i) {
            int index = kObjects[i].standardIndex;
            LONG value = ScaleAxis(index < pad.numAxes ? pad.axis[index] : 0.0, rangeMin[i], rangeMax[i]);
            std::memcpy(reinterpret_cast<BYTE*>(&state) + kObjects[i].offset, &value, sizeof value);
        }
        for (const ControllerObject& object : kObjects) {
            if (IsAxis(object)) continue;
            int index = object.standardIndex;
            bool down = index < pad.numButtons && (pad.digitalButton[index] || pad.analogButton[index] > 0.5);
            reinterpret_cast<BYTE*>(&state)[object.offset] = down ? 0x80 : 0x00;
        }
        std::memcpy(data, &state, sizeof state);
        return DI_OK;
    }

private:
    ~GamepadDevice() override = default;

    ULONG references = 1;
    bool formatSet = false;
    bool acquired = false;
    EmscriptenGamepadEvent pad = {};
    LONG rangeMin[kAxisCount];
    LONG rangeMax[kAxisCount];
};

class GamepadDirectInput final : public IDirectInput8W {
public:
    ULONG AddRef() override { return ++references; }
    ULONG Release() override {
        ULONG left = --references;
        if (left == 0) delete this;
        return left;
    }

    HRESULT EnumDevices(DWORD devType, LPDIENUMDEVICESCALLBACKW callback, LPVOID context, DWORD) override {
        if (!callback) return DIERR_INVALIDPARAM;
        if (devType != DI8DEVCLASS_ALL && devType != DI8DEVCLASS_GAMECTRL) return DI_OK;
        DIDEVICEINSTANCEW instance = {};
        instance.dwSize = sizeof(DIDEVICEINSTANCEW);
        instance.guidInstance = kGamepadGuid;
        instance.guidProduct = kGamepadGuid;
        instance.dwDevType = DI8DEVTYPE_GAMEPAD | (DI8DEVTYPEGAMEPAD_STANDARD << 8);
        CopyName("Gamepad", instance.tszInstanceName, MAX_PATH);
        CopyName("Gamepad", instance.tszProductName, MAX_PATH);
        callback(&instance, context);
        return DI_OK;
    }

    HRESULT CreateDevice(REFGUID instance, IDirectInputDevice8W** device, IUnknown* outer) override {
        if (!device) return E_POINTER;
        *device = nullptr;
        if (outer) return DIERR_NOAGGREGATION;
        if (!(instance == kGamepadGuid)) return DIERR_DEVICENOTREG;
        *device = new GamepadDevice();
        return DI_OK;
    }

private:
    ~GamepadDirectInput() override = default;
    ULONG references = 1;
};

}  // namespace

HRESULT DirectInput8Create(HINSTANCE, DWORD version, REFIID interfaceId, LPVOID* object, IUnknown* outer) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (version != DIRECTINPUT_VERSION) return DIERR_OLDDIRECTINPUTVERSION;
    if (!(interfaceId == IID_IDirectInput8W)) return DIERR_NOINTERFACE;
    if (outer) return DIERR_NOAGGREGATION;
    *object = static_cast<IDirectInput8W*>(new GamepadDirectInput());
    return DI_OK;
}
