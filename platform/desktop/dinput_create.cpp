// The DirectInput object: enumerates the game controllers SDL's mapping
// database knows and creates their devices.
#include <cstring>

#include "platform/desktop/dinput_controller.h"

namespace {

constexpr uint8_t kGuidSignature[8] = {'S', 'D', 'L', 'J', 'O', 'Y', 'I', 'D'};

DIDEVICEINSTANCEW DescribeController(int deviceIndex) {
    SDL_JoystickGUID product = SDL_JoystickGetDeviceGUID(deviceIndex);
    GUID productGuid;
    static_assert(sizeof(product.data) == sizeof(GUID));
    std::memcpy(&productGuid, product.data, sizeof(GUID));
    return DescribeGamepad(ControllerInstanceGuid(SDL_JoystickGetDeviceInstanceID(deviceIndex)), productGuid,
                           SDL_GameControllerNameForIndex(deviceIndex));
}

class SdlDirectInput final : public ControllerDirectInput {
    void ListControllers(LPDIENUMDEVICESCALLBACKW callback, LPVOID context) override {
        for (int i = 0; i < SDL_NumJoysticks(); ++i) {
            if (!SDL_IsGameController(i)) continue;
            DIDEVICEINSTANCEW instance = DescribeController(i);
            if (callback(&instance, context) == DIENUM_STOP) break;
        }
    }

    IDirectInputDevice8W* OpenController(REFGUID instance) override {
        SDL_JoystickID instanceId;
        return ControllerIdFromGuid(instance, &instanceId) ? OpenControllerDevice(instanceId) : nullptr;
    }
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

// Loads SDL's mapping database, plus any mappings the player set in SDL_GAMECONTROLLERCONFIG.
ControllerDirectInput* backend::NewDirectInput() {
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return nullptr;
    return new SdlDirectInput();
}
