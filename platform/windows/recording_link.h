// Tells a recording device (the replay tool's) from the system's Direct3D 9
// device. The system's objects carry no C++ type information, so the device
// is asked through QueryInterface, which only a RecordingDevice answers.
#pragma once

#include <d3d9.h>
#include "platform/shared/d3d9_recording_device.h"

inline RecordingDevice* AsRecordingDevice(IDirect3DDevice9* device) {
    void* found = nullptr;
    if (device == nullptr || FAILED(device->QueryInterface(kRecordingDeviceIid, &found))) return nullptr;
    device->Release();  // the query's reference: the caller holds its own
    return static_cast<RecordingDevice*>(found);
}
