#include "render/device_resources.h"

#include <initializer_list>

#include "app/input.h"
#include "app/startup_failure.h"
#include "media/media_search.h"
#include "platform/backend.h"
#include "render/vertex_batch.h"

Renderer renderer;

namespace {
// The effect names the frame and the camera look up later; a file without
// them would load and then draw nothing, so start-up refuses it.
const char* const kRequiredTechniques[] = {"WorldLighting", "RenderToShadowPlane"};

D3DPRESENT_PARAMETERS Presentation(UINT width, UINT height) {
    D3DPRESENT_PARAMETERS p{};
    p.BackBufferWidth = width;
    p.BackBufferHeight = height;
    p.BackBufferFormat = D3DFMT_X8R8G8B8;
    p.BackBufferCount = 1;
    p.MultiSampleType = D3DMULTISAMPLE_NONE;
    p.MultiSampleQuality = 0;
    p.SwapEffect = D3DSWAPEFFECT_COPY;
    p.hDeviceWindow = nullptr;
    p.Windowed = FALSE;
    p.EnableAutoDepthStencil = TRUE;
    p.AutoDepthStencilFormat = D3DFMT_D16;
    p.Flags = 0;
    p.FullScreen_RefreshRateInHz = 0;
    p.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return p;
}

HRESULT CreateDevice(HWND window, UINT width, UINT height) {
    D3DPRESENT_PARAMETERS parameters = Presentation(width, height);
    if (FAILED(renderer.direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                               D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &renderer.device))) {
        NoteStartupFailure("cannot create the Direct3D device (%s)", backend::DeviceRequirement());
        return E_FAIL;
    }
    renderer.device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    renderer.device->SetRenderState(D3DRS_LIGHTING, FALSE);
    return S_OK;
}

HRESULT BackBufferSize(UINT* width, UINT* height) {
    IDirect3DSurface9* backBuffer = nullptr;
    HRESULT status = renderer.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer);
    if (FAILED(status)) return status;
    D3DSURFACE_DESC desc{};
    status = backBuffer->GetDesc(&desc);
    backBuffer->Release();
    *width = desc.Width;
    *height = desc.Height;
    return status;
}

HRESULT CreateTarget(RenderTarget* target, UINT width, UINT height) {
    HRESULT status = D3DXCreateTexture(renderer.device, width, height, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                       D3DPOOL_DEFAULT, &target->texture);
    if (FAILED(status)) NoteStartupFailure("cannot create a %ux%u render target", width, height);
    return status;
}

HRESULT CreateRenderTargets() {
    UINT width = 0, height = 0;
    HRESULT status = BackBufferSize(&width, &height);
    if (FAILED(status)) return status;
    if (FAILED(status = CreateTarget(&renderer.fullTargetA, width, height))) return status;
    if (FAILED(status = CreateTarget(&renderer.smallTarget, 64, 64))) return status;
    if (FAILED(status = CreateTarget(&renderer.fullTargetB, width, height))) return status;
    for (RenderTarget* target : {&renderer.fullTargetA, &renderer.smallTarget, &renderer.fullTargetB})
        if (FAILED(status = target->texture->GetSurfaceLevel(0, &target->surface))) return status;
    return S_OK;
}

HRESULT ClearRenderTargets() {
    IDirect3DDevice9* device = renderer.device;
    IDirect3DSurface9* backBuffer = nullptr;
    HRESULT status = device->GetRenderTarget(0, &backBuffer);
    if (FAILED(status)) return status;
    const DWORD flags = D3DCLEAR_TARGET;
    if (SUCCEEDED(status = device->SetRenderTarget(0, renderer.smallTarget.surface))) {
        device->Clear(0, nullptr, flags, 0, 1.0f, 0);
        device->SetRenderTarget(0, renderer.fullTargetB.surface);
        device->Clear(0, nullptr, flags, 0, 1.0f, 0);
        status = device->SetRenderTarget(0, renderer.fullTargetA.surface);
    }
    if (SUCCEEDED(status)) status = device->Clear(0, nullptr, flags, 0, 1.0f, 0);
    if (SUCCEEDED(status)) status = device->SetRenderTarget(0, backBuffer);
    backBuffer->Release();
    return status;
}

// The name is narrowed for the message; media names are plain ASCII.
void NoteMediaFailure(const WCHAR* name, const char* reason) {
    char narrow[MAX_PATH] = {};
    for (size_t i = 0; name[i] != L'\0' && i + 1 < sizeof narrow; ++i)
        narrow[i] = name[i] < 0x80 ? static_cast<char>(name[i]) : '?';
    NoteStartupFailure("%s: %s", narrow, reason);
}

HRESULT FindMedia(WCHAR (&path)[MAX_PATH], const WCHAR* name) {
    HRESULT status = FindMediaFile(path, MAX_PATH, name);
    if (FAILED(status)) NoteMediaFailure(name, "not found beside the game or in its parent folders");
    return status;
}

HRESULT LoadEffect() {
    WCHAR path[MAX_PATH] = {};
    HRESULT status = FindMedia(path, L"myshader.fx");
    if (FAILED(status)) return status;
    ID3DXBuffer* errors = nullptr;
    status = D3DXCreateEffectFromFileW(renderer.device, path, nullptr, nullptr, D3DXFX_NOT_CLONEABLE, nullptr,
                                       &renderer.effect, &errors);
    if (FAILED(status))
        NoteStartupFailure("%s", errors ? static_cast<const char*>(errors->GetBufferPointer()) : "myshader.fx: cannot load");
    if (errors) errors->Release();
    if (FAILED(status)) return status;
    for (const char* technique : kRequiredTechniques)
        if (renderer.effect->GetTechniqueByName(technique) == nullptr) {
            NoteStartupFailure("myshader.fx: no technique \"%s\"", technique);
            return E_FAIL;
        }
    return S_OK;
}

HRESULT SetTargetParameters() {
    ID3DXEffect* effect = renderer.effect;
    HRESULT status = effect->SetTexture("RenderTargetTexture", renderer.fullTargetA.texture);
    D3DSURFACE_DESC desc{};
    if (SUCCEEDED(status)) status = renderer.fullTargetA.surface->GetDesc(&desc);
    if (SUCCEEDED(status)) status = effect->SetFloat("RenderTargetWidth", static_cast<float>(desc.Width));
    if (SUCCEEDED(status)) status = effect->SetFloat("RenderTargetHeight", static_cast<float>(desc.Height));
    if (FAILED(status)) NoteStartupFailure("myshader.fx: lacks the render-target parameters the game sets");
    return status;
}

HRESULT LoadTexture(const WCHAR* name, IDirect3DTexture9** texture) {
    WCHAR path[MAX_PATH] = {};
    HRESULT status = FindMedia(path, name);
    if (FAILED(status)) return status;
    status = D3DXCreateTextureFromFileW(renderer.device, path, texture);
    if (FAILED(status)) NoteMediaFailure(path, "cannot be read as a bitmap");
    return status;
}

HRESULT LoadTextures() {
    for (const BitmapTexture& bitmap : kBitmapTextures) {
        HRESULT status = LoadTexture(bitmap.name, &(renderer.*bitmap.texture));
        if (FAILED(status)) return status;
    }
    return S_OK;
}

void SetStageZero() {
    IDirect3DDevice9* device = renderer.device;
    device->SetTexture(0, renderer.particleCheapTexture);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
}

template <class T>
void ReleaseOnce(T*& object) {
    if (object != nullptr) object->Release();
    object = nullptr;
}
}  // namespace

HRESULT CreateDeviceAndResources(HWND window) {
    CreateController(window);
    IDirect3D9* direct3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (direct3d == nullptr) {
        NoteStartupFailure("Direct3D is not available (no %s)", backend::DeviceRequirement());
        return E_FAIL;
    }
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    return CreateRenderer(direct3d, window, mode.dmPelsWidth, mode.dmPelsHeight);
}

HRESULT CreateRenderer(IDirect3D9* direct3d, HWND window, UINT width, UINT height) {
    renderer.direct3d = direct3d;
    HRESULT status = CreateDevice(window, width, height);
    if (SUCCEEDED(status)) status = CreateRenderTargets();
    if (SUCCEEDED(status)) {
        status = ClearRenderTargets();
        if (FAILED(status)) NoteStartupFailure("cannot clear the render targets");
    }
    if (SUCCEEDED(status)) status = LoadEffect();
    if (SUCCEEDED(status)) status = SetTargetParameters();
    if (SUCCEEDED(status)) status = LoadTextures();
    if (FAILED(status)) {
        // Only noted when no step said more already: the first note wins.
        NoteStartupFailure("device start-up failed with status 0x%08x", static_cast<unsigned>(status));
        return status;
    }
    SetStageZero();
    renderer.worldViewProjectionHandle = renderer.effect->GetParameterByName(nullptr, "mWorldViewProjection");
    return S_OK;
}

void ReleaseResources() {
    ReleaseOnce(vertexBatch.buffer);
    for (const BitmapTexture& bitmap : kBitmapTextures) ReleaseOnce(renderer.*bitmap.texture);
    if (renderer.effect != nullptr) renderer.effect->OnLostDevice();
    ReleaseOnce(renderer.effect);
    renderer.worldViewProjectionHandle = nullptr;
    for (RenderTarget* target : {&renderer.fullTargetA, &renderer.smallTarget, &renderer.fullTargetB})
        ReleaseOnce(target->surface);
    for (RenderTarget* target : {&renderer.fullTargetA, &renderer.smallTarget, &renderer.fullTargetB})
        ReleaseOnce(target->texture);
    ReleaseOnce(renderer.device);
    ReleaseOnce(renderer.direct3d);
}
