#include "world/world_tables.h"

Creature creatures[kCreatureCount];
Vec4 separation[kCreatureCount];
Vec4 jointColours[kJointColourCount];
int32_t digitSegments[10];
GameState gameState = Title;
int32_t killCount = 0;
uint8_t mouseAim = 1;

namespace {
// Both vector tables start with every entry (0, 0, 0, 1).
const bool vectorTablesStarted = [] {
    for (Vec4& v : separation) v.w = 1.0f;
    for (Vec4& v : jointColours) v.w = 1.0f;
    return true;
}();
}  // namespace
