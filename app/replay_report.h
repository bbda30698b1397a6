// Stable text reports of the game state for the replay tool: one line per
// creature, optionally one per active shot, the kill and shot counts, and a
// hash that changes with any bit of any creature's simulated state.
#pragma once

#include <cstdint>
#include <cstdio>

void PrintGameState(std::FILE* out, int64_t frame, bool shots = false);
uint64_t CreatureStateHash();
int32_t ActiveShotCount();
