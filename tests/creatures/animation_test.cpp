#include "creature_test_support.h"

namespace {

using Animation = CreatureTest;

// Walking, aiming and rag dolls falling, against walls too, are pinned by the
// replay and vertex goldens; the controller's debug buttons are not.
TEST_F(Animation, ControllerButtonsMakeRagDollsAndPutHandsOnTheOppositeToes) {
    auto c = StandingAt(Vec4(0, 0, 0, 1));
    inputState.controller.rgbButtons[1] = 0x80;
    Frame(*c, Vec4(0, 0, -500, 1));
    EXPECT_EQ(Distance(c->body.points[CreatureBody::kHandPlusX].position, At(c->body.joints[CreatureBody::kToeMinusX].world)), 0);
    inputState.controller.rgbButtons[2] = 0x80;
    Frame(*c, Vec4(0, 0, -500, 1));
    EXPECT_EQ(c->body.physicsActive, 1);
}

}  // namespace
