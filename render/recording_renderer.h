// Runs the game's renderer start-up on the recording device, for tests, the
// replay tool and headless runs: the same CreateRenderer as the game's, with
// the effect and bitmaps found by the same media search. ReleaseResources
// ends it, as it ends the game's.
#pragma once

#include "platform/shared/d3d9_recording_device.h"
#include "render/device_resources.h"

struct RecordingRenderer {
    RecordingDirect3D* direct3d = nullptr;
    RecordingDevice* device = nullptr;
    RecordingEffect* effect = nullptr;
};

// False, changing nothing, when the renderer already holds a device; false,
// with everything released again, when start-up fails (the reason noted
// through NoteStartupFailure).
bool InstallRecordingRenderer(UINT width, UINT height, RecordingRenderer* installed);
