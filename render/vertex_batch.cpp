#include "render/vertex_batch.h"

#include <cstring>

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
    if (doubleNext) {
        doubleNext = 0;
        Add(position, colour, normal, uv);
    }
    void* data = nullptr;
    if (buffer == nullptr ||
        FAILED(buffer->Lock(static_cast<UINT>(count) * sizeof(BatchVertex), sizeof(BatchVertex), &data, 0)) ||
        data == nullptr)
        return;  // a failed lock drops the vertex; count and lastPosition stay
    lastPosition = position;
    BatchVertex v;
    v.x = position.x;
    v.y = position.y;
    v.z = position.z + kBatchDepthShift;
    v.nx = normal.x;
    v.ny = normal.y;
    v.nz = normal.z;
    if (std::memcmp(&colour, &packedFrom, sizeof colour) != 0) {
        packedFrom = colour;
        packedColour = PackColour(colour);
    }
    v.colour = packedColour;
    v.u = uv ? uv[0] : 0.0f;
    v.v = uv ? uv[1] : 0.0f;
    std::memcpy(data, &v, sizeof v);
    buffer->Unlock();
    ++count;
}

void VertexBatch::EndStrip() {
    // An opaque black copy of the last vertex closes the piece; the next
    // piece's first vertex is doubled, so the seam only forms empty triangles.
    Vec4 last = lastPosition;
    Add(last, Vec4(0.0f, 0.0f, 0.0f, 1.0f), Vec4(0.0f, 0.0f, 0.0f, 0.0f));
    doubleNext = 1;
    stripStarts[0] = 0;
    stripStarts[1] = count;
    stripEntryCount = 2;
}

void VertexBatch::Reset() {
    count = 0;
    stripEntryCount = 0;
}
