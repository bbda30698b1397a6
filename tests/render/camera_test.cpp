#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "game_fixture.h"
#include "render/camera.h"

namespace {

using Camera = GameFixture;

// p * M for the row vector (x, y, z, 1), as Direct3D applies its matrices.
Vec4 RowTimes(float x, float y, float z, const D3DMATRIX& m) {
    return Vec4(x * m._11 + y * m._21 + z * m._31 + m._41, x * m._12 + y * m._22 + z * m._32 + m._42,
                x * m._13 + y * m._23 + z * m._33 + m._43, x * m._14 + y * m._24 + z * m._34 + m._44);
}

void PutRoot(float x, float z) {
    creatures[0].body.joints[0].world = Mat4::Identity();
    creatures[0].body.joints[0].world.SetColumn(3, Vec4(x, 9.0f, z, 1.0f));
    UpdateCamera();
}

TEST_F(Camera, TheEyeFollowsTheRootWithinTheBounds) {
    const float cases[][4] = {{0, 0, 0, -4},     {20, 20, 15, 11},          {-20, -20, -15, -18},
                              {15, -14, 15, -18}, {-3.5f, 7.25f, -3.5f, 3.25f}};
    for (const auto& c : cases) {
        PutRoot(c[0], c[1]);
        const float* effectEye = rec.effect->parameter("CamerPosition")->values;
        const auto expected = std::make_tuple(c[2], 13.0f, c[3], 0.0f);  // w: the root column's
        EXPECT_EQ(std::make_tuple(effectEye[0], effectEye[1], effectEye[2], effectEye[3]), expected) << c[0] << ' ' << c[1];
        EXPECT_EQ(std::make_tuple(cameraEye.x, cameraEye.y, cameraEye.z, cameraEye.w), expected);
    }
}

TEST_F(Camera, TheMatricesLookFromTheEyeDownToThePointAboveTheFigure) {
    PutRoot(4.0f, -6.0f);
    const D3DMATRIX& view = rec.device->transform(D3DTS_VIEW);
    const D3DMATRIX& projection = rec.device->transform(D3DTS_PROJECTION);
    for (int k = 0; k < 16; ++k) EXPECT_EQ(rec.device->transform(D3DTS_WORLD).m[k / 4][k % 4], k % 5 == 0);
    const Vec4 eye = RowTimes(4.0f, 13.0f, -10.0f, view), at = RowTimes(4.0f, 4.6f, -6.0f, view);
    EXPECT_NEAR(eye.LengthSquared(), 0.0f, 1e-9f);
    EXPECT_NEAR(at.x, 0.0f, 1e-5f);
    EXPECT_NEAR(at.y, 0.0f, 1e-5f);
    EXPECT_NEAR(at.z, std::sqrt(8.4f * 8.4f + 16.0f), 1e-4f);
    EXPECT_GT(RowTimes(4.0f, 6.0f, -6.0f, view).y, 0.0f);  // up stays up
    EXPECT_NEAR(projection._11, 1.0f, 1e-6f);                // 90 degrees, square
    EXPECT_NEAR(projection._22, 1.0f, 1e-6f);
    EXPECT_NEAR(projection._33, 1000.0f / 999.0f, 1e-6f);  // near 1, far 1000
    EXPECT_NEAR(projection._43, -1000.0f / 999.0f, 1e-6f);
    D3DMATRIX m;
    std::memcpy(&m, rec.effect->parameter("mWorldViewProjection")->values, sizeof m);
    const Vec4 clip = RowTimes(4.0f, 4.6f, -6.0f, m);  // view x projection for the effect
    EXPECT_NEAR(clip.x, 0.0f, 1e-4f);
    EXPECT_NEAR(clip.y, 0.0f, 1e-4f);
    EXPECT_NEAR(clip.w, at.z, 1e-4f);
}

}  // namespace
