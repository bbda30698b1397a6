// One game controller as a polled DirectInput device: the source's standard
// layout mapped onto DIJOYSTATE2 through one object table.
#include "platform/dinput/controller_device.h"

#include <cstring>
#include <iterator>

#include "platform/win32/message_queue.h"

const DIDATAFORMAT c_dfDIJoystick2 = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), 1, sizeof(DIJOYSTATE2), 0,
                                      nullptr};

namespace {

struct ControllerObject {
    const GUID* guidType;
    DWORD offset;
    DWORD type;
    int index;  // the source's axis or button
    const char* name;
};

constexpr DWORD Axis(DWORD instance) { return DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(instance); }
constexpr DWORD Button(DWORD instance) { return DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(instance); }
constexpr DWORD ButtonOffset(DWORD instance) { return offsetof(DIJOYSTATE2, rgbButtons) + instance; }

constexpr int kAxisCount = ControllerSource::kAxisCount;
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
    {&GUID_Button, ButtonOffset(6), Button(6), 6, "back"},
    {&GUID_Button, ButtonOffset(7), Button(7), 7, "start"},
    {&GUID_Button, ButtonOffset(8), Button(8), 8, "leftstick"},
    {&GUID_Button, ButtonOffset(9), Button(9), 9, "rightstick"},
};

constexpr bool IsAxis(const ControllerObject& object) { return (object.type & DIDFT_AXIS) != 0; }
static_assert(IsAxis(kObjects[0]) && IsAxis(kObjects[kAxisCount - 1]) && !IsAxis(kObjects[kAxisCount]),
              "the axes lead the table; their ranges are indexed by position");
static_assert(std::size(kObjects) == kAxisCount + ControllerSource::kButtonCount);

// −32768..32767 onto [low, high], rounded to nearest.
LONG ScaleAxis(int16_t raw, LONG low, LONG high) {
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
    Utf8NameToWide(object.name, instance->tszName, MAX_PATH);
}

bool CooperativeFlagsValid(DWORD flags) {
    if (flags & ~0x1Fu) return false;
    bool oneSharing = ((flags & DISCL_EXCLUSIVE) != 0) != ((flags & DISCL_NONEXCLUSIVE) != 0);
    bool oneScope = ((flags & DISCL_FOREGROUND) != 0) != ((flags & DISCL_BACKGROUND) != 0);
    return oneSharing && oneScope;
}

class ControllerDevice final : public IDirectInputDevice8W {
public:
    explicit ControllerDevice(ControllerSource* source) : source(source) {
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
        source->Update();
        if (!source->Attached()) return DIERR_UNPLUGGED;
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
        source->Update();
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
    ~ControllerDevice() override { delete source; }

    bool InForeground() const { return !foregroundWindow || source->InForeground(foregroundWindow); }

    HRESULT CheckStillUsable() {
        if (source->Attached() && InForeground()) return DI_OK;
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
            LONG value = ScaleAxis(source->Axis(kObjects[i].index), rangeMin[i], rangeMax[i]);
            std::memcpy(reinterpret_cast<BYTE*>(state) + kObjects[i].offset, &value, sizeof value);
        }
        for (const ControllerObject& object : kObjects) {
            if (IsAxis(object)) continue;
            reinterpret_cast<BYTE*>(state)[object.offset] = source->Button(object.index) ? 0x80 : 0x00;
        }
    }

    ControllerSource* source;
    ULONG references = 1;
    bool formatSet = false;
    bool acquired = false;
    HWND foregroundWindow = nullptr;
    LONG rangeMin[kAxisCount];
    LONG rangeMax[kAxisCount];
};

}  // namespace

IDirectInputDevice8W* NewControllerDevice(ControllerSource* source) {
    return source ? new ControllerDevice(source) : nullptr;
}

ULONG ControllerDirectInput::AddRef() { return ++references; }

ULONG ControllerDirectInput::Release() {
    ULONG left = --references;
    if (left == 0) delete this;
    return left;
}

HRESULT ControllerDirectInput::EnumDevices(DWORD devType, LPDIENUMDEVICESCALLBACKW callback, LPVOID context, DWORD) {
    if (!callback) return DIERR_INVALIDPARAM;
    if (devType != DI8DEVCLASS_ALL && devType != DI8DEVCLASS_GAMECTRL) return DI_OK;
    ListControllers(callback, context);
    return DI_OK;
}

HRESULT ControllerDirectInput::CreateDevice(REFGUID instance, IDirectInputDevice8W** device, IUnknown* outer) {
    if (!device) return E_POINTER;
    *device = nullptr;
    if (outer) return DIERR_NOAGGREGATION;
    *device = OpenController(instance);
    return *device ? DI_OK : DIERR_DEVICENOTREG;
}

DIDEVICEINSTANCEW DescribeGamepad(const GUID& instance, const GUID& product, const char* utf8Name) {
    DIDEVICEINSTANCEW described{};
    described.dwSize = sizeof(DIDEVICEINSTANCEW);
    described.guidInstance = instance;
    described.guidProduct = product;
    described.dwDevType = DI8DEVTYPE_GAMEPAD | (DI8DEVTYPEGAMEPAD_STANDARD << 8);
    Utf8NameToWide(utf8Name, described.tszInstanceName, MAX_PATH);
    Utf8NameToWide(utf8Name, described.tszProductName, MAX_PATH);
    return described;
}

HRESULT DirectInput8Create(HINSTANCE, DWORD version, REFIID interfaceId, LPVOID* object, IUnknown* outer) {
    const HRESULT checked = CheckDirectInputCreate(version, interfaceId, object, outer);
    if (FAILED(checked)) return checked;
    ControllerDirectInput* directInput = backend::NewDirectInput();
    if (directInput == nullptr) return DIERR_NOTINITIALIZED;
    *object = static_cast<IDirectInput8W*>(directInput);
    return DI_OK;
}

HRESULT CheckDirectInputCreate(DWORD version, REFIID interfaceId, LPVOID* object, IUnknown* outer) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (version != DIRECTINPUT_VERSION) return DIERR_OLDDIRECTINPUTVERSION;
    if (!(interfaceId == IID_IDirectInput8W)) return DIERR_NOINTERFACE;
    if (outer) return DIERR_NOAGGREGATION;
    return DI_OK;
}

void Utf8NameToWide(const char* name, WCHAR* out, size_t capacity) {
    size_t n = 0;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(name ? name : ""); *c && n + 1 < capacity; ++c) {
        if ((*c & 0xC0) == 0x80) continue;  // continuation bytes of a character already replaced
        out[n++] = *c < 0x80 ? static_cast<WCHAR>(*c) : L'?';
    }
    out[n] = L'\0';
}
