// An in-memory vertex buffer for tests and benchmarks that run the batch
// without a device: Lock hands out a pointer into a fixed array and fails
// for any range past its end, as the real buffer does.
#pragma once

#include <cstdint>

#include "platform/d3d9.h"
#include "render/vertex_batch.h"

template <int Capacity>
struct ArrayVertexBuffer final : IDirect3DVertexBuffer9 {
    BatchVertex vertices[Capacity] = {};
    int lockFailures = 0;

    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT Lock(UINT offset, UINT size, void** data, DWORD) override {
        const uint64_t bytes = sizeof(vertices);
        if (size == 0 && offset == 0) size = static_cast<UINT>(bytes);
        if (static_cast<uint64_t>(offset) + size > bytes) {
            ++lockFailures;
            *data = nullptr;
            return D3DERR_INVALIDCALL;
        }
        *data = reinterpret_cast<char*>(vertices) + offset;
        return D3D_OK;
    }
    HRESULT Unlock() override { return D3D_OK; }
    HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc) override {
        *desc = {};
        desc->Size = sizeof(vertices);
        return D3D_OK;
    }
};
