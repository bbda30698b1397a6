#include "platform/windows/paced_direct3d.h"

#include "platform/shared/frame_pacer.h"
#include "platform/windows/com_query.h"
#include "platform/windows/paced_device.h"

HRESULT PacedDirect3D::QueryInterface(REFIID riid, void** object) {
    return AnswerQuery(this, riid, object, {IID_IUnknown, IID_IDirect3D9});
}

ULONG PacedDirect3D::AddRef() { return ++references; }

ULONG PacedDirect3D::Release() {
    const ULONG left = --references;
    if (left == 0) delete this;
    return left;
}

HRESULT PacedDirect3D::CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow, DWORD BehaviorFlags,
                                    D3DPRESENT_PARAMETERS* pPresentationParameters,
                                    IDirect3DDevice9** ppReturnedDeviceInterface) {
    if (ppReturnedDeviceInterface == nullptr) return D3DERR_INVALIDCALL;
    IDirect3DDevice9* created = nullptr;
    // Asked for software vertex processing, the system's device is made
    // mixed and left in hardware mode: Wine keeps every vertex buffer of a
    // software device in system memory, so each map of one (DrawPrimitiveUP's
    // own buffer too) waits for its Direct3D thread. Where the system cannot
    // make a mixed device, it makes the one asked for.
    const bool software = (BehaviorFlags & D3DCREATE_SOFTWARE_VERTEXPROCESSING) != 0;
    const DWORD mixed = (BehaviorFlags & ~D3DCREATE_SOFTWARE_VERTEXPROCESSING) | D3DCREATE_MIXED_VERTEXPROCESSING;
    HRESULT status = D3DERR_NOTAVAILABLE;
    bool emulated = false;
    if (software) {
        status = real->CreateDevice(Adapter, DeviceType, hFocusWindow, mixed, pPresentationParameters, &created);
        emulated = SUCCEEDED(status) && SUCCEEDED(created->SetSoftwareVertexProcessing(FALSE));
        if (FAILED(status)) created = nullptr;
        else if (!emulated) {
            created->Release();
            created = nullptr;
        }
    }
    if (created == nullptr)
        status = real->CreateDevice(Adapter, DeviceType, hFocusWindow, BehaviorFlags, pPresentationParameters, &created);
    if (FAILED(status)) {
        *ppReturnedDeviceInterface = nullptr;
        return status;
    }
    // The pace is read (and a bad setting reported) and the timer made now,
    // at start-up, not in the first frame.
    if (PacedFrameRate() > 0) backend::SystemPaceClock();
    *ppReturnedDeviceInterface = new PacedDevice(this, created, emulated);
    return status;
}

const char* backend::DeviceRequirement() { return "Direct3D 9"; }

IDirect3D9* SystemDirect3DCreate9(UINT sdkVersion) {
    // From the system folder, never beside the program; loaded for good.
    static HMODULE library = LoadLibraryExW(L"d3d9.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (library == nullptr) return nullptr;
    using Create = IDirect3D9*(WINAPI*)(UINT);
    auto create = reinterpret_cast<Create>(reinterpret_cast<void*>(GetProcAddress(library, "Direct3DCreate9")));
    return create ? create(sdkVersion) : nullptr;
}

IDirect3D9* WINAPI Direct3DCreate9(UINT sdk_version) {
    IDirect3D9* real = SystemDirect3DCreate9(sdk_version);
    return real ? new PacedDirect3D(real) : nullptr;
}
