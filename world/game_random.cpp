#include "world/game_random.h"

namespace game {
namespace {
uint32_t state = 1;
}

int Rand() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFFu);
}

float UnitRand() { return static_cast<float>(Rand()) / static_cast<float>(kRandMax); }

uint32_t RandState() { return state; }
void SetRandState(uint32_t s) { state = s; }

}  // namespace game
