// The frame updates the enemies' bodies in two halves around a link solving
// shared by several rag dolls. That must give every figure, and the batch,
// the same bits as updating the figures one at a time.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "app/input.h"
#include "creatures/creature.h"
#include "support/array_vertex_buffer.h"
#include "world/game_random.h"

namespace {
constexpr int kFigures = 11;  // the player and ten enemies: two groups of four and a rest
using Buffer = ArrayVertexBuffer<6000>;

struct Arena {
    std::unique_ptr<Creature[]> figures = std::make_unique<Creature[]>(kFigures);
    Vec4 separation[kFigures];
    std::unique_ptr<Buffer> buffer = std::make_unique<Buffer>();
    int drawn = 0;
    // What the batch carries from one frame to the next, kept per arena.
    uint8_t doubleNext = 0;
    Vec4 lastPosition = Vec4(0.0f, 0.0f, 0.0f, 1.0f);
};

void Place(Arena& a) {
    for (int i = 0; i < kFigures; ++i) {
        Creature& c = a.figures[i];
        c.position = Vec4(static_cast<float>(i * 3 - 15), 0.0f, static_cast<float>((i * 7) % 11 - 5), 1.0f);
        c.facing = Vec4(0.0f, 0.0f, -1.0f, 1.0f);
        c.highlight = i % 3 == 1;  // highlighted bodies draw in another colour
        if (i > 0 && i % 4 != 0) c.alive = 0;  // rag dolls, with walkers between them
    }
}

void Step(Arena& a, int frame, bool together) {
    vertexBatch.buffer = a.buffer.get();
    vertexBatch.Reset();
    vertexBatch.doubleNext = a.doubleNext;
    vertexBatch.lastPosition = a.lastPosition;
    // The third button turns every body into a rag doll for a while.
    inputState.controller.rgbButtons[2] = frame >= 40 && frame < 50 ? 0x80 : 0;
    Creature* f = a.figures.get();
    f[0].Move(Vec4(frame % 30 < 15 ? 600.0f : -400.0f, 0.0f, 300.0f, 1.0f));
    f[0].UpdateBody();
    if (together) {
        SteerAndUpdateEnemies(f, kFigures, a.separation);
    } else {
        for (int i = 1; i < kFigures; ++i) {
            f[i].Steer(f[0].position, f[0].moveDir, a.separation[i]);
            f[i].UpdateBody();
        }
    }
    ComputeSeparation(a.separation, f, kFigures);
    a.drawn = vertexBatch.count;
    a.doubleNext = vertexBatch.doubleNext;
    a.lastPosition = vertexBatch.lastPosition;
    vertexBatch.buffer = nullptr;
}
}  // namespace

TEST(GroupedUpdate, EnemiesUpdatedTogetherMatchOneAtATimeBitForBit) {
    inputState.controller = {};
    const uint32_t seed = game::RandState();
    Arena alone;  // the bodies draw their colours from the generator
    game::SetRandState(seed);
    Arena together;
    Place(alone);
    Place(together);
    int ragDollFrames = 0;
    for (int frame = 0; frame < 120; ++frame) {
        Step(alone, frame, false);
        Step(together, frame, true);
        ASSERT_EQ(alone.drawn, together.drawn) << "frame " << frame;
        ASSERT_EQ(0, std::memcmp(alone.buffer->vertices, together.buffer->vertices,
                                 sizeof(BatchVertex) * static_cast<size_t>(alone.drawn)))
            << "the batch differs at frame " << frame;
        for (int i = 0; i < kFigures; ++i)
            for (int k = 0; k < CreatureBody::kPointCount; ++k)
                ASSERT_EQ(0, std::memcmp(&alone.figures[i].body.points[k].position,
                                         &together.figures[i].body.points[k].position, sizeof(Vec4)))
                    << "frame " << frame << ", figure " << i << ", point " << k;
        int ragDolls = 0;
        for (int i = 1; i < kFigures; ++i) ragDolls += together.figures[i].body.physicsActive;
        ragDollFrames += ragDolls >= 5;  // a full group of four and more
    }
    inputState.controller = {};
    EXPECT_GT(ragDollFrames, 100);
}

TEST(GroupedUpdate, PointsWhoseListsDifferAreSolvedOneByOne) {
    MassPoint a[3], b[3];
    for (MassPoint* set : {a, b})
        for (int i = 0; i < 3; ++i) set[i].position = set[i].previous = Vec4(static_cast<float>(i), 0.5f * i, 0.0f, 1.0f);
    // a[0] has one link, a[1] two: not alike.
    for (MassPoint* set : {a, b}) {
        set[0].AddLink(&set[2], 3.0f);
        set[1].AddLink(&set[2], 0.25f);
        set[1].AddSpacer(&set[0], 4.0f);
    }
    MassPoint* group[] = {&a[0], &a[1]};
    MassPoint::SatisfyLinksTogether(group, 2);
    b[0].SatisfyLinks();
    b[1].SatisfyLinks();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(0, std::memcmp(&a[i].position, &b[i].position, sizeof(Vec4))) << i;
}
