#include "platform/windows/paced_direct3d.h"

#include "platform/shared/frame_pacer.h"
#include "platform/windows/paced_device.h"

HRESULT PacedDirect3D::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDirect3D9) {
        AddRef();
        *object = this;
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
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
    const HRESULT status =
        real->CreateDevice(Adapter, DeviceType, hFocusWindow, BehaviorFlags, pPresentationParameters, &created);
    if (FAILED(status)) {
        *ppReturnedDeviceInterface = nullptr;
        return status;
    }
    // The pace is read (and a bad setting reported) and the timer made now,
    // at start-up, not in the first frame.
    if (PacedFrameRate() > 0) SystemPaceClock();
    *ppReturnedDeviceInterface = new PacedDevice(this, created);
    return status;
}

// The system's Direct3DCreate9 is looked up in the system folder, never
// beside the program, and the library stays loaded for the process.
IDirect3D9* WINAPI Direct3DCreate9(UINT sdk_version) {
    static HMODULE library = LoadLibraryExW(L"d3d9.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (library == nullptr) return nullptr;
    using Create = IDirect3D9*(WINAPI*)(UINT);
    auto create = reinterpret_cast<Create>(reinterpret_cast<void*>(GetProcAddress(library, "Direct3DCreate9")));
    IDirect3D9* real = create ? create(sdk_version) : nullptr;
    return real ? new PacedDirect3D(real) : nullptr;
}
