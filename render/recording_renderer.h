// Fills the global renderer with the recording device and effect, for tests and
// headless runs: the device, the effect, the three render targets and five
// labelled stand-ins for the bitmaps, with the states start-up leaves behind.
#pragma once

#include "platform/d3d9_recording_device.h"

struct RecordingRenderer {
    RecordingDirect3D* direct3d = nullptr;
    RecordingDevice* device = nullptr;
    RecordingEffect* effect = nullptr;
};

// False, changing nothing, when the renderer already holds a device.
bool InstallRecordingRenderer(UINT width, UINT height, RecordingRenderer* installed);
// Releases what the renderer and the vertex batch hold, in shutdown order, and
// clears the fields; the batch's buffer is included whoever created it.
void UninstallRecordingRenderer();
