#include <algorithm>

#include "creature_test_support.h"
#include "world/game_random.h"

namespace {

using ArenaSoak = CreatureTest;

constexpr int kCount = 50;

// The creature part of many frames of play: the player circles, the enemies
// chase, and every few frames one of them is shot and kicked. Nothing may
// turn into NaN, fly off or leave the arena.
TEST_F(ArenaSoak, ThousandsOfFramesOfChasingKillingAndRespawningStayFiniteAndBounded) {
    static Creature figures[kCount];
    static Vec4 pushes[kCount];
    for (int i = 0; i < kCount; ++i) {
        const float a = static_cast<float>(i) * 0.9f;
        figures[i].ResetForNewGame();
        figures[i].position = Vec4(20 * std::cos(a), 0, 20 * std::sin(a), 1);
        figures[i].leadTarget = i % 2;
    }
    figures[0].position = Vec4(0, 0, 0, 1);
    float worstBob = 0, lowest = 0, highest = 0;
    int kills = 0, respawns = 0;
    for (int frame = 0; frame < 3000; ++frame) {
        ClearBatch();
        const float t = static_cast<float>(frame) * 0.013f;
        figures[0].Move(Vec4(800 * std::cos(t), 0, 800 * std::sin(2 * t), 1));
        figures[0].UpdateBody();
        figures[0].body.SetAim(frame % 200 < 120, Vec4(std::sin(t * 3), 0, std::cos(t * 3), 1));
        for (int i = 1; i < kCount; ++i) {
            const uint8_t wasAlive = figures[i].alive;
            figures[i].Steer(figures[0].position, figures[0].moveDir, pushes[i]);
            figures[i].UpdateBody();
            respawns += !wasAlive && figures[i].alive;
        }
        ComputeSeparation(pushes, figures, kCount);
        // Not before the bodies have been pinned a few times: a body's first
        // pose is a jump from where its points were built.
        if (frame > 30 && frame % 9 == 0) {
            Creature& victim = figures[1 + game::rand() % (kCount - 1)];
            if (victim.alive && victim.position.y == 0.0f) {
                victim.alive = 0;
                victim.body.points[5].previous += Vec4(0.3f, 0, -0.4f, 0) * -1.5f;
                ++kills;
            }
        }
        for (int i = 0; i < kCount; ++i) {
            const Creature& c = figures[i];
            ASSERT_TRUE(IsFinite(c.position)) << frame << " " << i;
            ASSERT_LE(std::fabs(c.position.x), 24.0f);
            ASSERT_LE(std::fabs(c.position.z), 24.0f);
            ASSERT_TRUE(IsFinite(c.body.bobOffset));
            worstBob = std::max(worstBob, c.body.bobOffset.Length());
            for (const MassPoint& p : c.body.points) {
                ASSERT_TRUE(IsFinite(p.position)) << frame << " " << i;
                lowest = std::min(lowest, p.position.y);
                highest = std::max(highest, p.position.y);
            }
            for (const BodyJoint& j : c.body.joints) ASSERT_TRUE(IsFinite(j.world.GetColumn(3)));
        }
    }
    EXPECT_GT(kills, 100);
    EXPECT_GT(respawns, 50);
    // The floor clamp acts before the step, so a hand landing fast dips below
    // the mass-point floor for a frame.
    EXPECT_GT(lowest, -1.21f - 0.25f);
    EXPECT_LT(highest, 25.0f + 1.6f);  // a respawned figure standing 25 up
    EXPECT_LT(worstBob, 0.5f);
}

}  // namespace
