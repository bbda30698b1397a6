#include <bit>
#include <cstdint>

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

// A walking body's links take the lengths its pinned points have: each link,
// measured or taking its pair's, is Vec4::Length of the difference, to the
// bit, after the body has been built twice (the link lists are rebuilt).
TEST_F(Animation, PinnedLinksTakeTheirPointsDistances) {
    auto c = StandingAt(Vec4(3, 0, -2, 1));
    c->body.Build();
    for (int frame = 0; frame < 3; ++frame) Frame(*c, Vec4(200, 0, -500, 1));
    int links = 0;
    for (const MassPoint& p : c->body.points)
        for (int i = 0; i < p.linkCount; ++i, ++links) {
            const float expected = (p.position - p.links[i].other->position).Length();
            EXPECT_EQ(std::bit_cast<uint32_t>(p.links[i].restLength), std::bit_cast<uint32_t>(expected)) << links;
        }
    EXPECT_GT(links, 40);
}

}  // namespace
