// The one vertex batch through which everything is drawn: vertices appended one
// at a time (each with its own 36-byte lock) and stitched into a single
// triangle strip, or written as sprite corners for a triangle list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "math/lanes.h"
#include "math/vec4.h"
#include <d3d9.h>

struct BatchVertex {
    float x, y, z;
    float nx, ny, nz;
    D3DCOLOR colour;
    float u, v;
};
static_assert(sizeof(BatchVertex) == 36, "the vertex format 0x152 is 36 bytes");

// A vertex made ready before its lock: its 36 bytes as two 16-byte pieces and
// a 4-byte one, so that the locked write is three moves, and the position it
// was made from, which becomes the batch's lastPosition. Xmm registers do not
// survive a call, so anything computed between the device's calls would be
// saved and reloaded around them; staged, it is loaded once.
struct alignas(16) StagedVertex {
    LaneMask front;  // x, y, z + kBatchDepthShift, nx
    LaneMask back;   // ny, nz, colour, u
    Vec4 position;
    float v = 0.0f;
};

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
    // A new piece of the strip: EndStrip, then the n staged vertices added in
    // turn, the first of them twice as a piece's first vertex is. The same
    // locks, bytes, counts and lastPosition as those calls, with the buffer,
    // the count and the place in the list held in registers across the
    // device's calls, which never reach back into the batch.
    void AddPiece(const StagedVertex* staged, int n) {
        const int last = WritePiece(staged, n);
        if (last >= 0) lastPosition = staged[last].position;
    }
    // AddPiece but for lastPosition, which it leaves alone: the index of the
    // last staged vertex written, or -1 if none was, for a caller that keeps
    // the positions elsewhere and sets lastPosition itself.
    int WritePiece(const StagedVertex* staged, int n);
    void EndStrip() { AddPiece(nullptr, 0); }
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
    // One locked write of a staged vertex at offset, which moves on past it;
    // false when the lock fails. data is the lock's out-parameter, the
    // caller's so that it is not cleared for every vertex.
    static bool WriteStaged(IDirect3DVertexBuffer9* target, UINT& offset, void*& data, const StagedVertex& vertex);
    static void StoreColourAndUv(unsigned char* out, D3DCOLOR colour, float u, float v);
};

extern VertexBatch vertexBatch;

// Packs an (r, g, b, a) colour in 0..1 into ARGB, clamping each channel.
D3DCOLOR PackColour(const Vec4& colour);

// The pieces of a staged vertex, the same bytes as Add writes, z shifted by
// the same single addition: (x, y, z + shift, nx) ...
[[gnu::always_inline]] inline LaneMask StagedFront(Lanes position, Lanes normal) {
    const Lanes shifted = position + Lanes{0.0f, 0.0f, kBatchDepthShift, 0.0f};
    const Lanes zAndNormalX = __builtin_shufflevector(shifted, normal, 2, 2, 4, 4);
    return reinterpret_cast<LaneMask>(__builtin_shufflevector(position, zAndNormalX, 0, 1, 4, 6));
}
// ... and (ny, nz, colour, u), which the two ends of a tube's side share.
[[gnu::always_inline]] inline LaneMask StagedBack(Lanes normal, D3DCOLOR colour, float u) {
    int32_t uBits;
    std::memcpy(&uBits, &u, sizeof uBits);
    const LaneMask colourAndU = {static_cast<int32_t>(colour), uBits, 0, 0};
    return __builtin_shufflevector(reinterpret_cast<LaneMask>(normal), colourAndU, 1, 2, 4, 5);
}
[[gnu::always_inline]] inline void Stage(StagedVertex& out, Lanes position, Lanes normal, D3DCOLOR colour, float u,
                                         float v) {
    out.front = StagedFront(position, normal);
    out.back = StagedBack(normal, colour, u);
    lanes::Store(out.position, position);
    out.v = v;
}

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

[[gnu::always_inline]] inline bool VertexBatch::WriteStaged(IDirect3DVertexBuffer9* target, UINT& offset, void*& data,
                                                           const StagedVertex& vertex) {
    if (FAILED(target->Lock(offset, sizeof(BatchVertex), &data, 0))) return false;
    auto* out = static_cast<unsigned char*>(data);
    std::memcpy(out + offsetof(BatchVertex, x), &vertex.front, sizeof vertex.front);
    std::memcpy(out + offsetof(BatchVertex, ny), &vertex.back, sizeof vertex.back);
    std::memcpy(out + offsetof(BatchVertex, v), &vertex.v, sizeof vertex.v);
    target->Unlock();
    offset += sizeof(BatchVertex);
    return true;
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
