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

int VertexBatch::WritePiece(const StagedVertex* staged, int n) {
    // An opaque black copy of the last vertex closes the piece before; the
    // piece's first vertex is doubled, so the seam only forms empty triangles.
    constexpr D3DCOLOR kOpaqueBlack = 0xFF000000;
    StagedVertex closing;
    Stage(closing, lanes::Load(lastPosition), Lanes{0.0f, 0.0f, 0.0f, 0.0f}, kOpaqueBlack, 0.0f, 0.0f);
    const int closings = doubleNext ? 2 : 1;
    IDirect3DVertexBuffer9* const target = buffer;
    UINT offset = static_cast<UINT>(count) * sizeof(BatchVertex);
    void* data = nullptr;
    if (target != nullptr)
        for (int i = 0; i < closings; ++i) WriteStaged(target, offset, data, closing);
    stripStarts[0] = 0;
    stripStarts[1] = static_cast<int32_t>(offset / sizeof(BatchVertex));
    stripEntryCount = 2;
    doubleNext = n > 0 ? 0 : 1;
    // The closing vertex's position is lastPosition already, so only the
    // piece's own vertices count as the last one written.
    const StagedVertex* last = nullptr;
    const StagedVertex* const end = staged + n;
    if (target != nullptr && n > 0) {
        if (WriteStaged(target, offset, data, staged[0])) last = staged;
        for (const StagedVertex* v = staged; v != end; ++v)
            if (WriteStaged(target, offset, data, *v)) last = v;
    }
    count = static_cast<int32_t>(offset / sizeof(BatchVertex));
    // Counted back from the end, which the loop holds anyway.
    return last != nullptr ? n - static_cast<int>(end - last) : -1;
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
