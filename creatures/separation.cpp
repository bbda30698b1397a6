// The separation table: living enemies closer than a reach push each other
// apart, the push added to their steering.
#include "creatures/creature.h"

namespace {
constexpr float kReachSquared = 15.0f;
}

// Pairs of living enemies closer than the reach push each other apart; the
// player's figure (record 0) takes no part.
void ComputeSeparation(Vec4* table, Creature* records, int count) {
    for (int i = 0; i < count; ++i) table[i] = Vec4(0.0f, 0.0f, 0.0f, 0.0f);
    for (int i = 1; i < count; ++i) {
        if (!records[i].alive) continue;
        for (int j = i; j < count; ++j) {
            if (!records[j].alive) continue;
            Vec4 d = records[i].position - records[j].position;
            if (!(d.LengthSquared() < kReachSquared)) continue;
            // The reach compares the squared distance, the strength the plain one.
            const float strength = (kReachSquared - d.Length()) * 0.25f;
            Vec4 push = d;
            push.Normalize();
            push *= strength;
            table[i] += push;
            table[j] -= push;
        }
    }
}
