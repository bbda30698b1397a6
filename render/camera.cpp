#include "render/camera.h"

#include <d3dx9.h>
#include "render/device_resources.h"
#include "world/world_tables.h"

Vec4 cameraEye = Vec4(0.0f, 0.0f, 0.0f, 1.0f);

namespace {

const float kEyeHeight = 13.0f;
const float kLookAtHeight = 4.6f;
const float kEyeBehind = 4.0f;
const float kFieldOfView = 1.5707964f;

// Keeps the view inside the arena when the figure walks near a wall.
Vec4 ClampedFollowPoint(Vec4 p) {
    if (p.z > 15.0f)
        p.z = 15.0f;
    else if (p.z < -14.0f)
        p.z = -14.0f;
    if (p.x > 15.0f)
        p.x = 15.0f;
    else if (p.x < -15.0f)
        p.x = -15.0f;
    return p;
}

void SetCameraPosition(ID3DXEffect* effect, const D3DXVECTOR3& eye) {
    if (effect == nullptr) return;
    const D3DXVECTOR4 value = {eye.x, eye.y, eye.z, 0.0f};
    effect->SetVector(effect->GetParameterByName(nullptr, "CamerPosition"), &value);
}

}  // namespace

void UpdateCamera() {
    // The eye is published even without a device: the cursor point needs it.
    const Vec4 p = ClampedFollowPoint(creatures[0].body.joints[CreatureBody::kRoot].world.GetColumn(3));
    const D3DXVECTOR3 eye = {p.x, kEyeHeight, p.z - kEyeBehind};
    cameraEye = Vec4(eye.x, eye.y, eye.z, p.w);
    IDirect3DDevice9* device = renderer.device;
    if (device == nullptr) return;

    D3DXMATRIX world;
    D3DXMatrixRotationY(&world, 0.0f);
    device->SetTransform(D3DTS_WORLD, &world);
    SetCameraPosition(renderer.effect, eye);

    const D3DXVECTOR3 at = {p.x, kLookAtHeight, p.z};
    const D3DXVECTOR3 up = {0.0f, 1.0f, 0.0f};
    D3DXMATRIX view;
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    device->SetTransform(D3DTS_VIEW, &view);

    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, kFieldOfView, 1.0f, 1.0f, 1000.0f);
    device->SetTransform(D3DTS_PROJECTION, &projection);

    D3DXMATRIX viewProjection;
    D3DXMatrixMultiply(&viewProjection, &view, &projection);
    if (renderer.effect != nullptr) renderer.effect->SetMatrix(renderer.worldViewProjectionHandle, &viewProjection);
}
