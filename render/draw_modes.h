// The two ways the vertex batch reaches the screen: additive sprites as a
// triangle list, and the stitched strip through an effect technique or
// untextured. Each call sets every state it depends on.
#pragma once

#include <cstdint>

#include "platform/d3dx9.h"

// Looked up by the frame at its start; used by DrawStrip.
extern D3DXHANDLE worldLightingTechnique;
extern D3DXHANDLE shadowPlaneTechnique;

void DrawSprites(int32_t selector);
void DrawStrip(int32_t textureSlot, int32_t technique);
