// The game world's global tables and variables. They live in static storage
// for the whole run and are never reallocated; record 0 of `creatures` is the
// player's figure, records 1..49 the enemies.
#pragma once

#include <cstdint>

#include "creatures/creature.h"
#include "math/vec4.h"

inline constexpr int kCreatureCount = 50;
inline constexpr int kJointColourCount = CreatureBody::kJointCount;  // one colour per joint

enum GameState : int32_t { Title = 0, Playing = 1 };

extern Creature creatures[kCreatureCount];
extern Vec4 separation[kCreatureCount];
extern Vec4 jointColours[kJointColourCount];
extern int32_t digitSegments[10];
extern GameState gameState;
extern int32_t killCount;
extern uint8_t mouseAim;
