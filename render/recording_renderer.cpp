#include "render/recording_renderer.h"

bool InstallRecordingRenderer(UINT width, UINT height, RecordingRenderer* installed) {
    if (renderer.device != nullptr || renderer.direct3d != nullptr) return false;
    if (FAILED(CreateRenderer(new RecordingDirect3D(), nullptr, width, height))) {
        ReleaseResources();
        return false;
    }
    if (installed)
        *installed = RecordingRenderer{static_cast<RecordingDirect3D*>(renderer.direct3d),
                                       static_cast<RecordingDevice*>(renderer.device),
                                       static_cast<RecordingEffect*>(renderer.effect)};
    return true;
}
