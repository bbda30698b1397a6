// The one vertex batch through which everything is drawn: vertices appended one
// at a time (each with its own 36-byte lock) and stitched into a single
// triangle strip, or written as sprite corners for a triangle list.
#pragma once

#include <cstdint>

#include "math/vec4.h"
#include "platform/d3d9.h"

struct BatchVertex {
    float x, y, z;
    float nx, ny, nz;
    D3DCOLOR colour;
    float u, v;
};
static_assert(sizeof(BatchVertex) == 36, "the vertex format 0x152 is 36 bytes");

inline constexpr DWORD kBatchFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;
inline constexpr UINT kBatchCapacity = 2000000;
inline constexpr float kBatchDepthShift = 4.0f;  // every stored z is 4 units further along +z

struct VertexBatch {
    IDirect3DVertexBuffer9* buffer = nullptr;
    int32_t count = 0;
    uint8_t doubleNext = 0;
    Vec4 lastPosition = Vec4(0.0f, 0.0f, 0.0f, 1.0f);
    int32_t stripStarts[2] = {0, 0};
    int32_t stripEntryCount = 0;
    // The colour packed last and what it was packed from: a tube adds all its
    // vertices in one colour, so most vertices skip the packing.
    Vec4 packedFrom;
    D3DCOLOR packedColour = 0;

    void Add(const Vec4& position, const Vec4& colour, const Vec4& normal, const float* uv = nullptr);
    void EndStrip();
    void Reset();
};

extern VertexBatch vertexBatch;

// Packs an (r, g, b, a) colour in 0..1 into ARGB, clamping each channel.
D3DCOLOR PackColour(const Vec4& colour);
