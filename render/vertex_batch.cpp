#include "render/vertex_batch.h"

VertexBatch vertexBatch;

namespace {
DWORD PackChannel(float value) {
    if (value >= 1.0f) return 255;
    if (!(value > 0.0f)) return 0;  // also NaN, whose conversion to an integer is undefined
    return static_cast<DWORD>(value * 255.0f + 0.5f);
}
}  // namespace

D3DCOLOR PackColour(const Vec4& colour) {
    return (PackChannel(colour.w) << 24) | (PackChannel(colour.x) << 16) | (PackChannel(colour.y) << 8) |
           PackChannel(colour.z);
}

void VertexBatch::Add(const Vec4& position, const Vec4& colour, const Vec4& normal, const float* uv) {
    Add(position, PackColour(colour), normal, uv);
}

void VertexBatch::AddDoubled(const Vec4& position, D3DCOLOR colour, const Vec4& normal, const float* uv) {
    doubleNext = 0;
    Write(position, colour, normal, uv);
}

void VertexBatch::AddPairs(const Vec4* nearEnds, const Vec4* farEnds, const Vec4* normals, const float* us, int n,
                           D3DCOLOR colour) {
    if (n <= 0) return;
    if (doubleNext) {
        const float uv[2] = {us[0], 0.0f};
        AddDoubled(nearEnds[0], colour, normals[0], uv);
    }
    IDirect3DVertexBuffer9* const target = buffer;
    if (target == nullptr) return;
    int32_t next = count;
    const Vec4* last = nullptr;
    for (int i = 0; i < 2 * n; ++i) {
        void* data = nullptr;
        if (FAILED(target->Lock(static_cast<UINT>(next) * sizeof(BatchVertex), sizeof(BatchVertex), &data, 0)))
            continue;
        auto* out = static_cast<unsigned char*>(data);
        const Vec4& position = (i & 1) ? farEnds[i >> 1] : nearEnds[i >> 1];
        last = &position;
        StorePosition(out, position);
        const auto* facing = reinterpret_cast<const unsigned char*>(&normals[i >> 1]);
        std::memcpy(out + offsetof(BatchVertex, nx), facing + offsetof(Vec4, x), 3 * sizeof(float));
        StoreColourAndUv(out, colour, us[i >> 1], (i & 1) ? 1.0f : 0.0f);
        target->Unlock();
        ++next;
    }
    count = next;
    if (last != nullptr) lastPosition = *last;
}

void VertexBatch::EndStrip() {
    // An opaque black copy of the last vertex closes the piece; the next
    // piece's first vertex is doubled, so the seam only forms empty triangles.
    Vec4 last = lastPosition;
    constexpr D3DCOLOR kOpaqueBlack = 0xFF000000;
    Add(last, kOpaqueBlack, Vec4(0.0f, 0.0f, 0.0f, 0.0f));
    doubleNext = 1;
    stripStarts[0] = 0;
    stripStarts[1] = count;
    stripEntryCount = 2;
}

void VertexBatch::Reset() {
    count = 0;
    stripEntryCount = 0;
}

void VertexBatch::AddListVertices(const Vec4* positions, const float (*uvs)[2], int n, D3DCOLOR colour) {
    for (int i = 0; i < n; ++i) {
        unsigned char* out = LockNext();
        if (out == nullptr) return;
        StorePosition(out, positions[i]);
        StoreColourAndUv(out, colour, uvs[i][0], uvs[i][1]);
        UnlockNext();
    }
    if (n > 0) lastPosition = positions[n - 1];
}
