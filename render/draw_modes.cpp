#include "render/draw_modes.h"

#include <algorithm>

#include "render/device_resources.h"
#include "render/vertex_batch.h"

D3DXHANDLE worldLightingTechnique = nullptr;
D3DXHANDLE shadowPlaneTechnique = nullptr;

namespace {
IDirect3DTexture9* TextureOf(StripTexture texture) {
    switch (texture) {
        case StripTexture::Tiles: return renderer.tilesTexture;
        case StripTexture::Untextured: return nullptr;
        default: return renderer.particleCheapTexture;
    }
}

void SelectTechnique(ID3DXEffect* effect, StripTechnique technique) {
    if (technique == StripTechnique::WorldLighting) effect->SetTechnique(worldLightingTechnique);
    else if (technique == StripTechnique::RenderToShadowPlane) effect->SetTechnique(shadowPlaneTechnique);
}

void SetStripStates(IDirect3DDevice9* device) {
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    device->SetRenderState(D3DRS_ZENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
}

void DrawStripTable(IDirect3DDevice9* device) {
    constexpr int32_t kTableSize = sizeof vertexBatch.stripStarts / sizeof vertexBatch.stripStarts[0];
    const int32_t entries = std::min(vertexBatch.stripEntryCount, kTableSize);
    for (int32_t i = 0; i < entries - 1; ++i) {
        int32_t start = vertexBatch.stripStarts[i];
        int32_t triangles = vertexBatch.stripStarts[i + 1] - start - 2;
        // A strip of fewer than two vertices would turn into a huge unsigned count.
        if (triangles < 0) continue;
        device->DrawPrimitive(D3DPT_TRIANGLESTRIP, static_cast<UINT>(start), static_cast<UINT>(triangles));
    }
}
}  // namespace

void DrawSprites(SpriteTexture texture) {
    IDirect3DDevice9* device = renderer.device;
    device->SetTexture(0, texture == SpriteTexture::FrontEnd ? renderer.frontEndTexture : renderer.particleTexture);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);  // still depth-tested, never occludes
    device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    device->SetFVF(kBatchFvf);
    device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, static_cast<UINT>(vertexBatch.count / 3));
}

void DrawStrip(StripTexture texture, StripTechnique technique) {
    IDirect3DDevice9* device = renderer.device;
    ID3DXEffect* effect = texture == StripTexture::Untextured ? nullptr : renderer.effect;
    IDirect3DTexture9* bound = TextureOf(texture);
    device->SetTexture(0, bound);
    if (effect) effect->SetTexture("RenderTargetTexture", bound);
    SetStripStates(device);
    if (effect) {
        SelectTechnique(effect, technique);
        UINT passes = 0;
        effect->Begin(&passes, 0);
        effect->BeginPass(0);
    }
    device->SetFVF(kBatchFvf);
    DrawStripTable(device);
    if (effect) {
        effect->EndPass();
        effect->End();
    }
}
