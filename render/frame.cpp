#include "render/frame.h"

#include "app/input.h"
#include "render/arena.h"
#include "render/camera.h"
#include "render/device_resources.h"
#include "render/draw_modes.h"
#include "render/vertex_batch.h"
#include "world/new_game.h"
#include "world/player_gun.h"
#include "world/score_display.h"
#include "world/sprites.h"
#include "world/world_tables.h"

float titleBlink = 0.0f;

namespace {

const Vec4 kWhite(1.0f, 1.0f, 1.0f, 1.0f);
const float kTitleHalfSize = 12.1f;
const float kCursorHalfSize = 1.1f;

void SetEffectValues() {
    ID3DXEffect* effect = renderer.effect;
    if (effect == nullptr) return;
    const D3DXVECTOR4 light = {0.0f, 20.0f, 0.0f, 0.0f};
    effect->SetFloat(effect->GetParameterByName(nullptr, "MagicValue"), 0.059328f);
    effect->SetVector(effect->GetParameterByName(nullptr, "LightPosition"), &light);
    effect->SetFloat(effect->GetParameterByName(nullptr, "DistortionPosy"), -inputState.cursorY);
    effect->SetFloat(effect->GetParameterByName(nullptr, "DistortionPosx"), inputState.cursorX);
    worldLightingTechnique = effect->GetTechniqueByName("WorldLighting");
    shadowPlaneTechnique = effect->GetTechniqueByName("RenderToShadowPlane");
}

// The number grows leftwards from its x; the width keeps its first digit in place.
Vec4 DrawScore() {
    const float width = NumberWidth(killCount, 1.0f);
    const Vec4 s = cameraEye + Vec4(width, -10.5f, 10.0f, 0.0f);
    DrawNumber(killCount, s.x, s.y, s.z, s.w, 1.0f);
    return s;
}

void BlinkTitle(const Vec4& at) {
    titleBlink += 0.05f;
    if (titleBlink <= 1.0f) return;
    AddSprite(at, kWhite, kTitleHalfSize);
    DrawSprites(SpriteTexture::FrontEnd);
    if (titleBlink > 2.0f) titleBlink = 0.0f;
}

void RunPhaseAndSprites(const Vec4& scorePoint) {
    vertexBatch.Reset();
    const bool wasTitle = gameState == Title;
    GameStateStep();
    if (wasTitle) BlinkTitle(scorePoint);
    vertexBatch.Reset();
    const Vec4 cursor = CursorPoint(cameraEye);
    if (mouseAim == 1) {
        AddSprite(cursor, kWhite, kCursorHalfSize);
        DrawSprites(SpriteTexture::Particle);
    }
    vertexBatch.Reset();
    if (mouseAim == 1) ApplyMouseSteering(cursor, creatures[0].position);
}

void RunCreatures() {
    Creature& player = creatures[0];
    player.Move(BuildMoveRequest());
    player.UpdateBody();
    SteerAndUpdateEnemies(creatures, kCreatureCount, separation);
    ComputeSeparation(separation, creatures, kCreatureCount);
    DrawStrip(StripTexture::ParticleCheap, StripTechnique::WorldLighting);
    DrawStrip(StripTexture::ParticleCheap, StripTechnique::RenderToShadowPlane);
    vertexBatch.Reset();
}

void RunShots() {
    const DIJOYSTATE2& pad = inputState.controller;
    FireControl(pad.lRz, pad.lZ, pad.rgbButtons[3] != 0);
    CheckPlayerContact();
    playerGun.Update(creatures, kCreatureCount);
    playerGun.Draw();
    vertexBatch.Reset();
}

}  // namespace

void RunFrame() {
    IDirect3DDevice9* device = renderer.device;
    if (device == nullptr) return;
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    if (SUCCEEDED(device->BeginScene())) {
        UpdateCamera();
        SetEffectValues();
        device->SetFVF(kBatchFvf);
        device->SetStreamSource(0, vertexBatch.buffer, 0, sizeof(BatchVertex));
        DrawArena();
        CopyStickToAim();
        const Vec4 scorePoint = DrawScore();
        RunPhaseAndSprites(scorePoint);
        RunCreatures();
        RunShots();
        device->EndScene();
    }
    device->Present(nullptr, nullptr, nullptr, nullptr);
}
