// An in-memory vertex buffer for tests and benchmarks that run the batch
// without a device; like the real one, a lock past its end fails.
#pragma once

#include <d3d9.h>
#include "render/vertex_batch.h"

template <int Capacity>
struct ArrayVertexBuffer final : IDirect3DVertexBuffer9 {
    BatchVertex vertices[Capacity] = {};
    int lockFailures = 0;

    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    // *data written once: the memory, or null when the range does not fit.
    HRESULT Lock(UINT offset, UINT size, void** data, DWORD) override {
        const bool fits = static_cast<unsigned long long>(offset) + size <= sizeof(vertices);
        *data = fits ? reinterpret_cast<char*>(vertices) + offset : nullptr;
        if (!fits) return ++lockFailures, D3DERR_INVALIDCALL;
        return D3D_OK;
    }
    HRESULT Unlock() override { return D3D_OK; }
    HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc) override {
        *desc = {};
        desc->Size = sizeof(vertices);
        return D3D_OK;
    }
};
