// Puts the game's globals back to their start values around each test and
// gives the batch a buffer in memory.
#pragma once

#include <gtest/gtest.h>

#include "app/input.h"
#include "render/recording_renderer.h"
#include "render/vertex_batch.h"
#include "support/array_vertex_buffer.h"
#include "world/player_gun.h"
#include "world/world_tables.h"

class WorldFixture : public ::testing::Test {
protected:
    ArrayVertexBuffer<4096> buffer;

    const BatchVertex& At(int i) const { return buffer.vertices[i]; }

    void SetUp() override {
        // Draw calls need a device; the recording one stays for the whole run.
        static const bool installed = InstallRecordingRenderer(64, 64, nullptr);
        (void)installed;
        vertexBatch.buffer = &buffer;
        vertexBatch.Reset();
        vertexBatch.doubleNext = 0;
        vertexBatch.lastPosition = Vec4(0.0f, 0.0f, 0.0f, 1.0f);
        inputState = InputState{};
        killCount = 0;
        gameState = Title;
        mouseAim = 1;
        fireTimer = 0.0f;
        playerGun = PlayerGun{};
    }
    void TearDown() override { vertexBatch.buffer = nullptr; }
};
