#include "world/sprites.h"

#include <cstddef>
#include <cstring>

#include "render/device_resources.h"
#include "render/vertex_batch.h"

namespace {
struct SpriteCorner {
    float sideSign;  // -1 left, +1 right
    float upSign;    // +1 top, -1 bottom
    float u, v;
};

// Two triangles: (top left, top right, bottom left), (top right, bottom left, bottom right).
constexpr SpriteCorner kCorners[6] = {
    {-1.0f, 1.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f, 0.0f},   {-1.0f, -1.0f, 0.0f, 1.0f},
    {1.0f, 1.0f, 1.0f, 0.0f},  {-1.0f, -1.0f, 0.0f, 1.0f}, {1.0f, -1.0f, 1.0f, 1.0f},
};

Vec4 CornerPosition(const Vec4& position, const Vec4& right, const Vec4& up, const SpriteCorner& corner) {
    Vec4 p = corner.sideSign < 0.0f ? position - right : position + right;
    return corner.upSign > 0.0f ? p + up : p - up;
}

// Writes one sprite vertex at the batch's end; the normal is left as it was.
bool WriteCorner(const Vec4& corner, D3DCOLOR colour, float u, float v) {
    void* data = nullptr;
    IDirect3DVertexBuffer9* buffer = vertexBatch.buffer;
    UINT offset = static_cast<UINT>(vertexBatch.count) * sizeof(BatchVertex);
    if (buffer == nullptr || FAILED(buffer->Lock(offset, sizeof(BatchVertex), &data, 0)) || data == nullptr)
        return false;
    auto* bytes = static_cast<unsigned char*>(data);
    const float xyz[3] = {corner.x, corner.y, corner.z + kBatchDepthShift};
    const float uv[2] = {u, v};
    std::memcpy(bytes + offsetof(BatchVertex, x), xyz, sizeof xyz);
    std::memcpy(bytes + offsetof(BatchVertex, colour), &colour, sizeof colour);
    std::memcpy(bytes + offsetof(BatchVertex, u), uv, sizeof uv);
    buffer->Unlock();
    ++vertexBatch.count;
    return true;
}
}  // namespace

HRESULT CreateBatchBuffer() {
    IDirect3DVertexBuffer9* buffer = nullptr;
    HRESULT result = renderer.device->CreateVertexBuffer(kBatchCapacity * sizeof(BatchVertex), 0,
                                                         D3DFVF_XYZ | D3DFVF_DIFFUSE, D3DPOOL_DEFAULT, &buffer, nullptr);
    if (FAILED(result)) return result;
    vertexBatch.buffer = buffer;
    return 1;
}

void AddSprite(const Vec4& position, const Vec4& colour, float halfSize) {
    D3DMATRIX view = {};
    renderer.device->GetTransform(D3DTS_VIEW, &view);
    const Vec4 right = Vec4(view._11, view._21, view._31, 0.0f) * halfSize;
    const Vec4 up = Vec4(view._12, view._22, view._32, 0.0f) * halfSize;
    const D3DCOLOR packed = PackColour(Vec4(colour.x, colour.y, colour.z, 1.0f));
    Vec4 corner;
    for (const SpriteCorner& c : kCorners) {
        corner = CornerPosition(position, right, up, c);
        if (!WriteCorner(corner, packed, c.u, c.v)) return;  // earlier corners stay counted
    }
    vertexBatch.lastPosition = corner;
}
