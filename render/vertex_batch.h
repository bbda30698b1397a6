// The one vertex batch through which everything is drawn: vertices appended one
// at a time (each with its own 36-byte lock) and stitched into a single
// triangle strip, or written as sprite corners for a triangle list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "math/vec4.h"
#include <d3d9.h>

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

    // Inline: it runs for every vertex of every figure, every frame. A caller
    // that adds many vertices in one colour packs it once (PackColour) and
    // passes the packed form.
    [[gnu::always_inline]] void Add(const Vec4& position, D3DCOLOR colour, const Vec4& normal,
                                    const float* uv = nullptr) {
        if (doubleNext) [[unlikely]]
            AddDoubled(position, colour, normal, uv);
        Write(position, colour, normal, uv);
    }
    void Add(const Vec4& position, const Vec4& colour, const Vec4& normal, const float* uv = nullptr);
    // For i = 0 to n - 1, the two adds (nearEnds[i], colour, normals[i],
    // (us[i], 0)) and (farEnds[i], colour, normals[i], (us[i], 1)): the same
    // locks, writes and counts, with the buffer and the count held in
    // registers across the device's calls, which never reach back into the
    // batch, and lastPosition stored once.
    void AddPairs(const Vec4* nearEnds, const Vec4* farEnds, const Vec4* normals, const float* us, int n,
                  D3DCOLOR colour);
    void EndStrip();
    void Reset();

    // Vertices for the triangle-list draw (sprites), each with its own lock:
    // position and colour and (u, v); the normal keeps whatever the buffer
    // held, and doubleNext and the strip table stay as they are. A failed
    // lock ends the run: the vertices before it stay counted and lastPosition
    // keeps its value. After a whole run lastPosition is the last position.
    void AddListVertices(const Vec4* positions, const float (*uvs)[2], int n, D3DCOLOR colour);

    // The buffer made at start-up; the batch writes into it from then on.
    void UseBuffer(IDirect3DVertexBuffer9* created) { buffer = created; }

private:
    void AddDoubled(const Vec4& position, D3DCOLOR colour, const Vec4& normal, const float* uv);
    void Write(const Vec4& position, D3DCOLOR colour, const Vec4& normal, const float* uv);
    // The next vertex's 36 bytes, locked; null when there is no buffer or the
    // lock fails, and then nothing is to be written or unlocked.
    unsigned char* LockNext();
    void UnlockNext();
    static void StorePosition(unsigned char* out, const Vec4& position);
    static void StoreColourAndUv(unsigned char* out, D3DCOLOR colour, float u, float v);
};

extern VertexBatch vertexBatch;

// Packs an (r, g, b, a) colour in 0..1 into ARGB, clamping each channel.
D3DCOLOR PackColour(const Vec4& colour);

[[gnu::always_inline]] inline unsigned char* VertexBatch::LockNext() {
    void* data = nullptr;
    if (buffer == nullptr ||
        FAILED(buffer->Lock(static_cast<UINT>(count) * sizeof(BatchVertex), sizeof(BatchVertex), &data, 0)))
        return nullptr;
    return static_cast<unsigned char*>(data);
}

[[gnu::always_inline]] inline void VertexBatch::UnlockNext() {
    buffer->Unlock();
    ++count;
}

// Stored straight into the locked memory, neighbouring fields together:
// assembling the vertex on the stack and copying it whole stalls on store
// forwarding. A Vec4's x, y and z lie next to each other.
[[gnu::always_inline]] inline void VertexBatch::StorePosition(unsigned char* out, const Vec4& position) {
    const auto* place = reinterpret_cast<const unsigned char*>(&position);
    const float z = position.z + kBatchDepthShift;
    std::memcpy(out + offsetof(BatchVertex, x), place + offsetof(Vec4, x), 2 * sizeof(float));
    std::memcpy(out + offsetof(BatchVertex, z), &z, sizeof z);
}

[[gnu::always_inline]] inline void VertexBatch::StoreColourAndUv(unsigned char* out, D3DCOLOR colour, float u,
                                                                 float v) {
    std::memcpy(out + offsetof(BatchVertex, colour), &colour, sizeof colour);
    std::memcpy(out + offsetof(BatchVertex, u), &u, sizeof u);
    std::memcpy(out + offsetof(BatchVertex, v), &v, sizeof v);
}

// One locked 36-byte write; a failed lock drops the vertex, and count and
// lastPosition stay.
[[gnu::always_inline]] inline void VertexBatch::Write(const Vec4& position, D3DCOLOR colour, const Vec4& normal,
                                                      const float* uv) {
    unsigned char* out = LockNext();
    if (out == nullptr) return;
    lastPosition = position;
    const float u = uv ? uv[0] : 0.0f, v = uv ? uv[1] : 0.0f;
    StorePosition(out, position);
    const auto* facing = reinterpret_cast<const unsigned char*>(&normal);
    std::memcpy(out + offsetof(BatchVertex, nx), facing + offsetof(Vec4, x), 3 * sizeof(float));
    StoreColourAndUv(out, colour, u, v);
    UnlockNext();
}
