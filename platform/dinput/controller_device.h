// Internal to the platform layer: the DirectInput device of one game
// controller, for the back ends that lack Windows. The back end hands it a
// source that reads its controller in one standard layout; the device does
// the rest of what DirectInput asks (data format, cooperative level, object
// list, axis ranges, acquiring, losing the device).
#pragma once

#include <cstddef>
#include <cstdint>

#include <dinput.h>

#include "platform/backend.h"

class ControllerSource {
public:
    static constexpr int kAxisCount = 4;     // left x, left y, right x, right y
    static constexpr int kButtonCount = 10;  // a, b, x, y, left and right shoulder, back, start, left and right stick

    virtual ~ControllerSource() = default;
    // Brings the readings up to date; the device calls it when acquiring and
    // polling, once each, so a source that samples here samples once a poll.
    virtual void Update() = 0;
    // False once the controller has gone (as of the last update or later).
    virtual bool Attached() = 0;
    // Whether a device bound to this foreground window may read now.
    virtual bool InForeground(HWND window) const = 0;
    // −32768..32767, down and right positive.
    virtual int16_t Axis(int axis) const = 0;
    virtual bool Button(int button) const = 0;
};

// A device that owns the source; nullptr stays nullptr.
IDirectInputDevice8W* NewControllerDevice(ControllerSource* source);

// What DirectInput8Create checks before it makes anything: the out pointer
// (cleared here), the version, the interface and no aggregation. DI_OK when
// the back end may go on.
HRESULT CheckDirectInputCreate(DWORD version, REFIID interfaceId, LPVOID* object, IUnknown* outer);

// The DirectInput object of a back end: its reference count and what
// EnumDevices and CreateDevice check. The back end lists its controllers and
// opens one by its instance GUID.
class ControllerDirectInput : public IDirectInput8W {
public:
    ULONG AddRef() final;
    ULONG Release() final;
    HRESULT EnumDevices(DWORD devType, LPDIENUMDEVICESCALLBACKW callback, LPVOID context, DWORD flags) final;
    HRESULT CreateDevice(REFGUID instance, IDirectInputDevice8W** device, IUnknown* outer) final;

protected:
    virtual ~ControllerDirectInput() = default;
    // Calls back with each controller's description until the callback says stop.
    virtual void ListControllers(LPDIENUMDEVICESCALLBACKW callback, LPVOID context) = 0;
    // The device of the controller with that instance GUID; null if there is none.
    virtual IDirectInputDevice8W* OpenController(REFGUID instance) = 0;

private:
    ULONG references = 1;
};

// A standard-layout gamepad as EnumDevices describes it.
DIDEVICEINSTANCEW DescribeGamepad(const GUID& instance, const GUID& product, const char* utf8Name);

// UTF-8 names as wide text; characters beyond ASCII become '?'.
void Utf8NameToWide(const char* name, WCHAR* out, size_t capacity);
