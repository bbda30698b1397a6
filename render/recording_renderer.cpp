#include "render/recording_renderer.h"

#include <initializer_list>

#include "render/device_resources.h"
#include "render/vertex_batch.h"

namespace {
template <typename T>
void ReleaseField(T*& object) {
    if (object) object->Release();
    object = nullptr;
}

void CreateTarget(RecordingDevice* device, UINT width, UINT height, RenderTarget* target) {
    device->CreateTexture(width, height, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                          &target->texture, nullptr);
    target->texture->GetSurfaceLevel(0, &target->surface);
}

void CreateBitmaps(RecordingDevice* device) {
    device->CreateLabelledTexture(64, 64, "particlecheaper7.bmp", &renderer.particleCheapTexture);
    device->CreateLabelledTexture(256, 256, "tiles.bmp", &renderer.tilesTexture);
    device->CreateLabelledTexture(64, 64, "particle.bmp", &renderer.particleTexture);
    device->CreateLabelledTexture(512, 512, "TheFrontEnd.bmp", &renderer.frontEndTexture);
    device->CreateLabelledTexture(256, 64, "score.bmp", &renderer.scoreTexture);
}

// The states and effect values that hold after a successful start-up.
void SetStartupState(RecordingDevice* device, RecordingEffect* effect, UINT width, UINT height) {
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    effect->SetTexture("RenderTargetTexture", renderer.fullTargetA.texture);
    effect->SetFloat("RenderTargetWidth", static_cast<float>(width));
    effect->SetFloat("RenderTargetHeight", static_cast<float>(height));
    device->SetTexture(0, renderer.particleCheapTexture);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
}
}  // namespace

bool InstallRecordingRenderer(UINT width, UINT height, RecordingRenderer* installed) {
    if (renderer.device != nullptr || renderer.direct3d != nullptr) return false;
    auto* direct3d = new RecordingDirect3D();
    D3DPRESENT_PARAMETERS parameters = {};
    parameters.BackBufferWidth = width;
    parameters.BackBufferHeight = height;
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    IDirect3DDevice9* created = nullptr;
    direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, 0, &parameters, &created);
    auto* device = static_cast<RecordingDevice*>(created);
    RecordingEffect* effect = CreateRecordingGameEffect(device);
    renderer.direct3d = direct3d;
    renderer.device = device;
    renderer.effect = effect;
    D3DSURFACE_DESC backBuffer = {};
    IDirect3DSurface9* surface = nullptr;
    device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface);
    surface->GetDesc(&backBuffer);
    surface->Release();
    CreateTarget(device, backBuffer.Width, backBuffer.Height, &renderer.fullTargetA);
    CreateTarget(device, 64, 64, &renderer.smallTarget);
    CreateTarget(device, backBuffer.Width, backBuffer.Height, &renderer.fullTargetB);
    CreateBitmaps(device);
    SetStartupState(device, effect, backBuffer.Width, backBuffer.Height);
    renderer.worldViewProjectionHandle = effect->GetParameterByName(nullptr, "mWorldViewProjection");
    if (installed) *installed = RecordingRenderer{direct3d, device, effect};
    return true;
}

void UninstallRecordingRenderer() {
    ReleaseField(vertexBatch.buffer);
    ReleaseField(renderer.particleCheapTexture);
    ReleaseField(renderer.tilesTexture);
    ReleaseField(renderer.particleTexture);
    ReleaseField(renderer.frontEndTexture);
    ReleaseField(renderer.scoreTexture);
    ReleaseField(renderer.effect);
    for (RenderTarget* target : {&renderer.fullTargetA, &renderer.smallTarget, &renderer.fullTargetB})
        ReleaseField(target->surface);
    for (RenderTarget* target : {&renderer.fullTargetA, &renderer.smallTarget, &renderer.fullTargetB})
        ReleaseField(target->texture);
    ReleaseField(renderer.device);
    ReleaseField(renderer.direct3d);
    renderer.worldViewProjectionHandle = nullptr;
}
