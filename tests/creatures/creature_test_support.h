// Shared set-up for the creature tests: a released controller, an empty batch
// writing into memory, and figures standing still facing -z (heading 0).
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "app/input.h"
#include "creatures/creature.h"
#include "support/array_vertex_buffer.h"

class CreatureTest : public ::testing::Test {
protected:
    void SetUp() override {
        inputState.controller = {};
        vertexBatch.buffer = buffer.get();
        ClearBatch();
    }
    void TearDown() override { vertexBatch.buffer = nullptr; }
    void ClearBatch() {
        vertexBatch.Reset();
        vertexBatch.doubleNext = 0;
    }
    std::unique_ptr<Creature> StandingAt(Vec4 where) {
        auto c = std::make_unique<Creature>();
        c->position = where;
        c->facing = Vec4(0, 0, -1, 1);
        Frame(*c, Vec4(0, 0, 0, 1));
        return c;
    }
    void Frame(Creature& c, Vec4 request) {
        ClearBatch();
        c.Move(request);
        c.UpdateBody();
    }
    std::unique_ptr<ArrayVertexBuffer<1000>> buffer = std::make_unique<ArrayVertexBuffer<1000>>();
};

inline float Distance(Vec4 a, Vec4 b) { return (a - b).Length(); }
inline Vec4 At(const Mat4& world) { return world.GetColumn(3); }
