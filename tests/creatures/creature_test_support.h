// Shared set-up for the creature tests: a clean controller, an empty batch
// writing into an in-memory buffer, and a known random state.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "app/input.h"
#include "creatures/creature.h"
#include "render/vertex_batch.h"
#include "support/array_vertex_buffer.h"
#include "world/game_random.h"

inline constexpr int kTestBatchCapacity = 40000;

class CreatureTest : public ::testing::Test {
protected:
    void SetUp() override {
        inputState.controller = {};
        buffer = std::make_unique<ArrayVertexBuffer<kTestBatchCapacity>>();
        vertexBatch.buffer = buffer.get();
        ClearBatch();
        game::SetRandState(1);
    }
    void TearDown() override { vertexBatch.buffer = nullptr; }

    void ClearBatch() {
        vertexBatch.Reset();
        vertexBatch.doubleNext = 0;
        vertexBatch.lastPosition = Vec4(0, 0, 0, 1);
    }

    // A creature standing at `where`, facing -z (heading 0), its body posed.
    std::unique_ptr<Creature> StandingAt(Vec4 where) {
        auto c = std::make_unique<Creature>();
        c->position = where;
        c->facing = Vec4(0, 0, -1, 1);
        Frame(*c, Vec4(0, 0, 0, 1));
        return c;
    }

    // One frame of the creature part of the game for one figure.
    void Frame(Creature& c, Vec4 request) {
        ClearBatch();
        c.Move(request);
        c.UpdateBody();
    }

    std::unique_ptr<ArrayVertexBuffer<kTestBatchCapacity>> buffer;
};

inline bool IsFinite(const Vec4& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

inline void ExpectNear(const Vec4& got, float x, float y, float z, float tolerance = 1e-5f) {
    EXPECT_NEAR(got.x, x, tolerance);
    EXPECT_NEAR(got.y, y, tolerance);
    EXPECT_NEAR(got.z, z, tolerance);
}
