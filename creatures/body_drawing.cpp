#include <cmath>

#include "creatures/creature.h"
#include "creatures/creature_body.h"
#include "render/vertex_batch.h"
#include "world/world_tables.h"

namespace {
constexpr float kRingU = 0.16666667f;
constexpr int kLegJoints[] = {14, 15, 16, 18, 19, 20};

// The end rings of the body being drawn. A tube writes its parent's ring
// before any child tube reads it (parents come first), so the table needs no
// clearing between bodies.
Vec4 rings[CreatureBody::kJointCount][kRingSteps];
}  // namespace

void CreatureBody::FillJointColours() {
    colour.w = opacity;
    for (Vec4& c : jointColours) c = Vec4(1.0f, 0.9f, 0.9f, opacity);
    jointColours[5] = Vec4(1.0f, 1.0f, 1.0f, opacity);
    for (int k : kLegJoints) jointColours[k] = Vec4(colour.x, colour.y, colour.z, opacity);
    // The batch clamps the 2s, so a highlighted body is plain yellow.
    if (Owner()->highlight)
        for (Vec4& c : jointColours) c = Vec4(2.0f, 2.0f, 0.0f, opacity);
}

void CreatureBody::DrawBody() {
    for (int k = 1; k < kJointCount; ++k) {
        const BodyJoint& joint = joints[k];
        const int p = joint.parent;
        float length = -joint.offset.y;
        if (std::fabs(length) < 0.00001f) length = joint.offset.Length();
        const Vec4 end = joint.world.GetColumn(3);
        // Tubes off the root start their own ring; the others share the ring
        // their parent's tube ended with and smooth the bend around it.
        Vec4* previousRing = nullptr;
        Vec4 bendAxis;
        const Vec4* bend = nullptr;
        if (p != 0) {
            const int g = joints[p].parent;
            previousRing = rings[g];
            bendAxis = joints[g].world.GetColumn(1);
            bend = &bendAxis;
        }
        DrawTube(jointColours[k], joints[p].world, end, length, joint.depthRadius, joint.widthRadius, previousRing,
                 rings[p], bend);
    }
    vertexBatch.EndStrip();
}

void DrawTube(Vec4 colour, const Mat4& frame, Vec4 end, float length, float depthRadius, float widthRadius,
              Vec4* previousRing, Vec4* currentRing, const Vec4* bendAxis) {
    vertexBatch.EndStrip();
    const Vec4 xAxis = frame.GetColumn(0);
    const Vec4 zAxis = frame.GetColumn(2);
    const Vec4 start = end + frame.GetColumn(1) * length;
    const D3DCOLOR packed = PackColour(colour);
    Vec4 bend;
    if (bendAxis) {
        bend = *bendAxis;
        bend.Normalize();
    }
    for (int i = 0; i < kRingSteps; ++i) {
        const Vec4 z = zAxis * (depthRadius * tubeSine[i]);
        const Vec4 x = xAxis * (widthRadius * tubeCosine[i]);
        const Vec4 ringPoint = end + z + x;
        Vec4 normal = z + x;
        const float radius = normal.NormalizeReturningLength();
        float uv[2] = {static_cast<float>(i) * kRingU, 0.0f};
        vertexBatch.Add(ringPoint, packed, normal, uv);
        uv[1] = 1.0f;
        if (previousRing) {
            if (bendAxis) {
                // Push the shared ring outward on the outside of the bend.
                const float d = bend.Dot(normal);
                if (d > 0.0f) previousRing[i] += bend * (d * radius * 2.0f);
            }
            vertexBatch.Add(previousRing[i], packed, normal, uv);
        } else {
            vertexBatch.Add(start + z + x, packed, normal, uv);
        }
        currentRing[i] = ringPoint;
    }
}
