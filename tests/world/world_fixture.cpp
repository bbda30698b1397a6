#include "world_fixture.h"

#include "render/recording_renderer.h"

// Draw calls need a device; the recording one stays for the whole run.
void WorldFixture::InstallTestDevice() {
    static const bool installed = InstallRecordingRenderer(64, 64, nullptr);
    (void)installed;
}
