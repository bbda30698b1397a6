// The DirectInput object the game gets from DirectInput8Create: what it
// refuses, and the controllers it lists and opens (two SDL virtual pads).
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include <dinput.h>

namespace {

struct Listed {
    std::vector<DIDEVICEINSTANCEW> devices;
    int stopAfter = 1000;
};

BOOL CALLBACK Collect(LPCDIDEVICEINSTANCEW device, LPVOID context) {
    auto* listed = static_cast<Listed*>(context);
    listed->devices.push_back(*device);
    return static_cast<int>(listed->devices.size()) >= listed->stopAfter ? DIENUM_STOP : DIENUM_CONTINUE;
}

class DirectInputObject : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER)) << SDL_GetError();
        for (const char* name : {"Pad One", "Pad Two"}) {
            SDL_VirtualJoystickDesc desc = {};
            desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION, desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
            desc.naxes = SDL_CONTROLLER_AXIS_MAX, desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX, desc.name = name;
            ASSERT_GE(SDL_JoystickAttachVirtualEx(&desc), 0) << SDL_GetError();
        }
        void* object = nullptr;
        ASSERT_EQ(DI_OK, DirectInput8Create(GetModuleHandleW(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8W,
                                            &object, nullptr));
        directInput = static_cast<IDirectInput8W*>(object);
    }
    void TearDown() override {
        if (directInput) {
            EXPECT_EQ(0u, directInput->Release());
        }
        while (SDL_NumJoysticks() > 0 && SDL_JoystickIsVirtual(0)) SDL_JoystickDetachVirtual(0);
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }

    IDirectInput8W* directInput = nullptr;
};

std::string Narrow(const WCHAR* text) { return std::string(text, text + std::char_traits<WCHAR>::length(text)); }

TEST_F(DirectInputObject, ListsEachGamepadUntilTheCallbackStops) {
    Listed all;
    ASSERT_EQ(DI_OK, directInput->EnumDevices(DI8DEVCLASS_GAMECTRL, Collect, &all, DIEDFL_ATTACHEDONLY));
    ASSERT_EQ(2u, all.devices.size());
    EXPECT_EQ("Pad One", Narrow(all.devices[0].tszInstanceName));
    EXPECT_EQ("Pad Two", Narrow(all.devices[1].tszProductName));
    EXPECT_EQ(static_cast<DWORD>(sizeof(DIDEVICEINSTANCEW)), all.devices[0].dwSize);
    EXPECT_EQ(static_cast<DWORD>(DI8DEVTYPE_GAMEPAD), all.devices[0].dwDevType & 0xFF);
    EXPECT_FALSE(all.devices[0].guidInstance == all.devices[1].guidInstance);

    Listed first;
    first.stopAfter = 1;
    ASSERT_EQ(DI_OK, directInput->EnumDevices(DI8DEVCLASS_ALL, Collect, &first, DIEDFL_ATTACHEDONLY));
    EXPECT_EQ(1u, first.devices.size());

    Listed keyboards;
    ASSERT_EQ(DI_OK, directInput->EnumDevices(DI8DEVCLASS_KEYBOARD, Collect, &keyboards, DIEDFL_ATTACHEDONLY));
    EXPECT_TRUE(keyboards.devices.empty());
    EXPECT_EQ(DIERR_INVALIDPARAM, directInput->EnumDevices(DI8DEVCLASS_ALL, nullptr, nullptr, DIEDFL_ATTACHEDONLY));

    // Each listed instance opens; its device is the game's to release.
    for (const DIDEVICEINSTANCEW& listed : all.devices) {
        IDirectInputDevice8W* device = nullptr;
        ASSERT_EQ(DI_OK, directInput->CreateDevice(listed.guidInstance, &device, nullptr));
        ASSERT_NE(nullptr, device);
        EXPECT_EQ(0u, device->Release());
    }
}

TEST_F(DirectInputObject, CreateDeviceRefusesWhatItCannotMakeAndClearsTheResult) {
    Listed all;
    ASSERT_EQ(DI_OK, directInput->EnumDevices(DI8DEVCLASS_GAMECTRL, Collect, &all, DIEDFL_ATTACHEDONLY));
    ASSERT_FALSE(all.devices.empty());
    // Whatever the pointer held before is overwritten, never read.
    auto* stale = reinterpret_cast<IDirectInputDevice8W*>(static_cast<uintptr_t>(0x10));
    IDirectInputDevice8W* device = stale;
    EXPECT_EQ(DIERR_NOAGGREGATION, directInput->CreateDevice(all.devices[0].guidInstance, &device, directInput));
    EXPECT_EQ(nullptr, device);
    device = stale;
    EXPECT_EQ(DIERR_DEVICENOTREG, directInput->CreateDevice(all.devices[0].guidProduct, &device, nullptr));
    EXPECT_EQ(nullptr, device);
    EXPECT_EQ(E_POINTER, directInput->CreateDevice(all.devices[0].guidInstance, nullptr, nullptr));
    EXPECT_EQ(2u, directInput->AddRef());
    EXPECT_EQ(1u, directInput->Release());
}

TEST(DirectInputCreate, RefusesAnOldVersionAndNoOutPointer) {
    void* object = &object;
    EXPECT_EQ(DIERR_OLDDIRECTINPUTVERSION,
              DirectInput8Create(GetModuleHandleW(nullptr), 0x0700, IID_IDirectInput8W, &object, nullptr));
    EXPECT_EQ(nullptr, object);
    EXPECT_EQ(E_POINTER, DirectInput8Create(GetModuleHandleW(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8W,
                                            nullptr, nullptr));
}

}  // namespace
