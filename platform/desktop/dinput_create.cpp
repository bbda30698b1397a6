// The DirectInput object: enumerates the game controllers SDL's mapping
// database knows and creates their devices.
#include <cstring>

#include "platform/desktop/dinput_controller.h"

namespace {

constexpr uint8_t kGuidSignature[8] = {'S', 'D', 'L', 'J', 'O', 'Y', 'I', 'D'};

void DescribeController(int deviceIndex, DIDEVICEINSTANCEW* instance) {
    *instance = DIDEVICEINSTANCEW{};
    instance->dwSize = sizeof(DIDEVICEINSTANCEW);
    instance->guidInstance = ControllerInstanceGuid(SDL_JoystickGetDeviceInstanceID(deviceIndex));
    SDL_JoystickGUID product = SDL_JoystickGetDeviceGUID(deviceIndex);
    static_assert(sizeof(product.data) == sizeof(GUID));
    std::memcpy(&instance->guidProduct, product.data, sizeof(GUID));
    instance->dwDevType = DI8DEVTYPE_GAMEPAD | (DI8DEVTYPEGAMEPAD_STANDARD << 8);
    Utf8NameToWide(SDL_GameControllerNameForIndex(deviceIndex), instance->tszInstanceName, MAX_PATH);
    Utf8NameToWide(SDL_GameControllerNameForIndex(deviceIndex), instance->tszProductName, MAX_PATH);
}

class SdlDirectInput final : public IDirectInput8W {
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
        for (int i = 0; i < SDL_NumJoysticks(); ++i) {
            if (!SDL_IsGameController(i)) continue;
            DIDEVICEINSTANCEW instance;
            DescribeController(i, &instance);
            if (callback(&instance, context) == DIENUM_STOP) break;
        }
        return DI_OK;
    }

    HRESULT CreateDevice(REFGUID instance, IDirectInputDevice8W** device, IUnknown* outer) override {
        if (!device) return E_POINTER;
        *device = nullptr;
        if (outer) return DIERR_NOAGGREGATION;
        SDL_JoystickID instanceId;
        if (!ControllerIdFromGuid(instance, &instanceId)) return DIERR_DEVICENOTREG;
        *device = OpenControllerDevice(instanceId);
        return *device ? DI_OK : DIERR_DEVICENOTREG;
    }

private:
    ~SdlDirectInput() override = default;
    ULONG references = 1;
};

}  // namespace

GUID ControllerInstanceGuid(SDL_JoystickID instanceId) {
    GUID guid = {static_cast<uint32_t>(instanceId), 0x5146, 0x4A53, {}};
    std::memcpy(guid.Data4, kGuidSignature, sizeof kGuidSignature);
    return guid;
}

bool ControllerIdFromGuid(const GUID& guid, SDL_JoystickID* instanceId) {
    if (guid.Data2 != 0x5146 || guid.Data3 != 0x4A53 || std::memcmp(guid.Data4, kGuidSignature, 8) != 0) return false;
    *instanceId = static_cast<SDL_JoystickID>(guid.Data1);
    return true;
}

HRESULT DirectInput8Create(HINSTANCE, DWORD version, REFIID interfaceId, LPVOID* object, IUnknown* outer) {
    const HRESULT checked = CheckDirectInputCreate(version, interfaceId, object, outer);
    if (FAILED(checked)) return checked;
    // Loads SDL's mapping database, plus any mappings the player set in SDL_GAMECONTROLLERCONFIG.
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return DIERR_NOTINITIALIZED;
    *object = static_cast<IDirectInput8W*>(new SdlDirectInput());
    return DI_OK;
}
