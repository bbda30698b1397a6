#include "app/replay_report.h"

#include <cinttypes>

#include "app/fnv1a.h"
#include "world/player_gun.h"
#include "world/world_tables.h"

namespace {

void HashCreature(Fnv1a& h, const Creature& c) {
    h.Vector(c.position);
    h.Vector(c.facing);
    h.Float(c.velocity.y);
    h.Float(c.heading);
    h.Float(c.speed);
    h.Float(c.health);
    h.Float(c.deadTimer);
    h.Float(c.body.opacity);
    h.Bytes(&c.alive, sizeof c.alive);
    for (const MassPoint& p : c.body.points) h.Vector(p.position);
}

}  // namespace

int32_t ActiveShotCount() {
    int32_t n = 0;
    for (const Shot& s : playerGun.shots) n += s.active ? 1 : 0;
    return n;
}

uint64_t CreatureStateHash() {
    Fnv1a h;
    for (const Creature& c : creatures) HashCreature(h, c);
    return h.value;
}

void PrintGameState(std::FILE* out, int64_t frame, bool shots) {
    std::fprintf(out, "frame %" PRId64 "\n", frame);
    for (int i = 0; i < kCreatureCount; ++i) {
        const Creature& c = creatures[i];
        std::fprintf(out, "%d %.9g %.9g %.9g %d %.9g %.9g\n", i, c.position.x, c.position.y, c.position.z,
                     static_cast<int>(c.alive), c.health, c.body.opacity);
    }
    for (int i = 0; shots && i < PlayerGun::kSlotCount; ++i) {
        const Vec4& p = playerGun.shots[i].position;
        if (playerGun.shots[i].active) std::fprintf(out, "S %d %.9g %.9g %.9g\n", i, p.x, p.y, p.z);
    }
    std::fprintf(out, "kills %d shots %d\n", static_cast<int>(killCount), static_cast<int>(ActiveShotCount()));
}
