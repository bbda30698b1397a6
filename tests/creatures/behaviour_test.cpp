// Chasing, turning, walls, separation, dying and dropping back in are pinned
// by the replay and vertex goldens; the speed cap takes more deaths than they hold.
#include "creature_test_support.h"

namespace {

using Behaviour = CreatureTest;
const Vec4 kStill(0, 0, 0, 1);

TEST_F(Behaviour, EachRespawnIsFasterUpToTheCap) {
    auto c = StandingAt(Vec4(2, 0, 3, 1));
    c->speedFactor = 2.45f;
    c->alive = 0;
    for (int frames = 0; !c->alive && frames < 1000; ++frames) Frame(*c, kStill);
    ASSERT_EQ(c->alive, 1);
    EXPECT_EQ(c->speedFactor, 2.5f);
}

}  // namespace
