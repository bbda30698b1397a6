// The D3DX9 subset the renderer uses: textures from BMP files, render-target
// textures, the effect framework (parameters, techniques, pass 0) and four
// matrix helpers with Direct3D's exact formulas. Not covered: meshes, fonts,
// effect pools, macros and includes, anything the game does not call.
// Effect files are our own text format (see assets/myshader.fx).
#pragma once

#include <d3d9.h>

struct D3DXMATRIX : D3DMATRIX {};
struct D3DXVECTOR3 {
    float x, y, z;
};
struct D3DXVECTOR4 {
    float x, y, z, w;
};

#ifdef _WIN32
// The SDK's IUnknown also asks for QueryInterface, which no D3DX object here
// answers, and has no virtual destructor, which Release deletes through.
struct D3DXUnknown : IUnknown {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        if (object) *object = nullptr;
        return E_NOINTERFACE;
    }
    virtual ~D3DXUnknown() = default;
};
#else
using D3DXUnknown = IUnknown;
#endif

typedef const char* D3DXHANDLE;
struct D3DXMACRO;
struct ID3DXInclude;
struct ID3DXEffectPool;
// Holds an effect file's error text (file, line and reason) when loading fails.
struct ID3DXBuffer : D3DXUnknown {
    virtual void* GetBufferPointer() = 0;
    virtual DWORD GetBufferSize() = 0;
};

inline constexpr DWORD D3DXFX_NOT_CLONEABLE = (1 << 11);
inline constexpr UINT D3DX_DEFAULT = static_cast<UINT>(-1);

inline constexpr HRESULT D3DXERR_INVALIDDATA = MAKE_HRESULT(1, 0x876, 2905);

struct ID3DXEffect : D3DXUnknown {
    // Handles are stable pointers owned by the effect; unknown names give null.
    virtual D3DXHANDLE GetParameterByName(D3DXHANDLE parent, const char* name) = 0;
    virtual D3DXHANDLE GetTechniqueByName(const char* name) = 0;
    virtual HRESULT SetTechnique(D3DXHANDLE technique) = 0;
    virtual D3DXHANDLE GetCurrentTechnique() = 0;
    // Parameters may be named by handle or by name, as in D3DX.
    virtual HRESULT SetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9* texture) = 0;
    virtual HRESULT SetFloat(D3DXHANDLE parameter, float value) = 0;
    virtual HRESULT SetVector(D3DXHANDLE parameter, const D3DXVECTOR4* vector) = 0;
    virtual HRESULT SetMatrix(D3DXHANDLE parameter, const D3DXMATRIX* matrix) = 0;
    // Flags 0: the effect saves the device state its pass changes and End restores it.
    virtual HRESULT Begin(UINT* passes, DWORD flags) = 0;
    virtual HRESULT BeginPass(UINT pass) = 0;
    virtual HRESULT EndPass() = 0;
    virtual HRESULT End() = 0;
    virtual HRESULT OnLostDevice() = 0;
};

HRESULT D3DXCreateTexture(IDirect3DDevice9* device, UINT width, UINT height, UINT mipLevels, DWORD usage,
                          D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture);
HRESULT D3DXCreateTextureFromFileW(IDirect3DDevice9* device, LPCWSTR srcFile, IDirect3DTexture9** texture);
HRESULT D3DXCreateEffectFromFileW(IDirect3DDevice9* device, LPCWSTR srcFile, const D3DXMACRO* defines,
                                  ID3DXInclude* include, DWORD flags, ID3DXEffectPool* pool, ID3DXEffect** effect,
                                  ID3DXBuffer** compilationErrors);

D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* out, float angle);
D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at, const D3DXVECTOR3* up);
D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, float fovY, float aspect, float zNear, float zFar);
D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b);
