#include <gtest/gtest.h>

#include "game_fixture.h"
#include "render/camera.h"

namespace {

using Camera = GameFixture;

void PutRoot(float x, float z) {
    creatures[0].body.joints[CreatureBody::kRoot].world = Mat4::Identity();
    creatures[0].body.joints[CreatureBody::kRoot].world.SetColumn(3, Vec4(x, 9.0f, z, 1.0f));
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

}  // namespace
