// The game's one random generator: a 32-bit linear congruential state that
// starts at 1 and is never reseeded, so every run draws the same sequence.
// The order of draws decides where every figure starts and its colour. Game
// code never calls the C library's rand, whose sequence each library draws
// its own way (the build refuses it, see cmake/determinism.cmake).
#pragma once

#include <cstdint>

namespace game {

inline constexpr int kRandMax = 32767;

// state = state * 214013 + 2531011 (mod 2^32); returns bits 16..30.
int Rand();

// One draw scaled to 0..1: Rand() / kRandMax.
float UnitRand();

// The generator's state; tests and the replay tool restore it to replay a run.
uint32_t RandState();
void SetRandState(uint32_t state);

}  // namespace game
