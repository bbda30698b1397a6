// The creature part of a frame as the creatures benchmark runs it, and a
// digest of the vertices it draws: the benchmark prints the digests and the
// creature tests pin them, so an optimisation that changes a single bit of
// any vertex fails a test.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "app/fnv1a.h"
#include "creatures/creature.h"
#include "render/vertex_batch.h"
#include "world/world_tables.h"

// The 50 figures on rings around the player, every one alive and standing.
inline void PlaceFigures() {
    for (int i = 0; i < kCreatureCount; ++i) {
        Creature& c = creatures[i];
        c.ResetForNewGame();
        const float a = static_cast<float>(i) * 0.7f;
        const float r = i == 0 ? 0.0f : 8.0f + static_cast<float>(i % 7) * 2.0f;
        c.position = Vec4(r * std::cos(a), 0.0f, r * std::sin(a), 1.0f);
    }
}

// One frame: the player walks in a slow circle and the enemies chase it (or,
// kept dead, lie as rag dolls), every body drawn into the batch.
inline void CreatureFrame(int frame, bool keepEnemiesDead) {
    vertexBatch.Reset();
    const float t = static_cast<float>(frame) * 0.01f;
    creatures[0].Move(Vec4(700.0f * std::cos(t), 0.0f, 700.0f * std::sin(t), 1.0f));
    creatures[0].UpdateBody();
    if (keepEnemiesDead)
        for (int i = 1; i < kCreatureCount; ++i) creatures[i].deadTimer = 5.0f;
    SteerAndUpdateEnemies(creatures, kCreatureCount, separation);
    ComputeSeparation(separation, creatures, kCreatureCount);
}

inline void KillEnemies() {
    for (int i = 1; i < kCreatureCount; ++i) creatures[i].alive = 0;
}

// A digest of the bytes of the vertices the last frame drew.
inline uint64_t VertexDigest(const BatchVertex* vertices) {
    Fnv1a h;
    h.Bytes(vertices, sizeof(BatchVertex) * static_cast<std::size_t>(vertexBatch.count));
    return h.value;
}
