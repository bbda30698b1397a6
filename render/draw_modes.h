// The two ways the vertex batch reaches the screen: additive sprites as a
// triangle list, and the stitched strip through an effect technique or
// untextured. Each call sets every state it depends on.
#pragma once

#include <cstdint>

#include <d3dx9.h>

// What a strip draw binds to stage 0 (and to the effect's
// "RenderTargetTexture"); Untextured draws with the fixed-function pipeline
// and leaves the effect alone.
enum class StripTexture : int32_t { ParticleCheap = 0, Tiles = 1, Untextured = 2 };

// The effect technique of a textured strip draw.
enum class StripTechnique : int32_t { WorldLighting = 0, RenderToShadowPlane = 1 };

// The texture of a sprite draw.
enum class SpriteTexture : int32_t { Particle = 0, FrontEnd = 1 };

// Looked up by the frame at its start; used by DrawStrip.
extern D3DXHANDLE worldLightingTechnique;
extern D3DXHANDLE shadowPlaneTechnique;

void DrawSprites(SpriteTexture texture);
void DrawStrip(StripTexture texture, StripTechnique technique);
