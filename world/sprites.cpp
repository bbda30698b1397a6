#include "world/sprites.h"

#include "render/device_resources.h"
#include "render/vertex_batch.h"

namespace {
constexpr int kCornerCount = 6;

struct SpriteCorner {
    float sideSign;  // -1 left, +1 right
    float upSign;    // +1 top, -1 bottom
};

// Two triangles: (top left, top right, bottom left), (top right, bottom left, bottom right).
constexpr SpriteCorner kCorners[kCornerCount] = {
    {-1.0f, 1.0f}, {1.0f, 1.0f}, {-1.0f, -1.0f}, {1.0f, 1.0f}, {-1.0f, -1.0f}, {1.0f, -1.0f},
};
constexpr float kCornerUvs[kCornerCount][2] = {
    {0.0f, 0.0f}, {1.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 1.0f},
};

Vec4 CornerPosition(const Vec4& position, const Vec4& right, const Vec4& up, const SpriteCorner& corner) {
    Vec4 p = corner.sideSign < 0.0f ? position - right : position + right;
    return corner.upSign > 0.0f ? p + up : p - up;
}
}  // namespace

HRESULT CreateBatchBuffer() {
    IDirect3DVertexBuffer9* buffer = nullptr;
    HRESULT result = renderer.device->CreateVertexBuffer(kBatchCapacity * sizeof(BatchVertex), 0,
                                                         D3DFVF_XYZ | D3DFVF_DIFFUSE, D3DPOOL_DEFAULT, &buffer, nullptr);
    if (FAILED(result)) return result;
    vertexBatch.UseBuffer(buffer);
    return 1;
}

void AddSprite(const Vec4& position, const Vec4& colour, float halfSize) {
    D3DMATRIX view = {};
    renderer.device->GetTransform(D3DTS_VIEW, &view);
    const Vec4 right = Vec4(view._11, view._21, view._31, 0.0f) * halfSize;
    const Vec4 up = Vec4(view._12, view._22, view._32, 0.0f) * halfSize;
    const D3DCOLOR packed = PackColour(Vec4(colour.x, colour.y, colour.z, 1.0f));
    Vec4 corners[kCornerCount];
    for (int i = 0; i < kCornerCount; ++i) corners[i] = CornerPosition(position, right, up, kCorners[i]);
    vertexBatch.AddListVertices(corners, kCornerUvs, kCornerCount, packed);
}
