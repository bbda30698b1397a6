// The body drawn into the vertex batch: the joints' colours, then one
// six-sided tube per joint from its parent, each sharing the ring before it.
#include <array>
#include <cmath>

#include "creatures/creature_body.h"
#include "math/lanes.h"
#include "render/vertex_batch.h"
#include "world/world_tables.h"

namespace {
constexpr float kRingU = 0.16666667f;
// u of ring step i, i * kRingU, multiplied once by the compiler.
constexpr auto kRingUs = [] {
    std::array<float, kRingSteps> u{};
    for (int i = 0; i < kRingSteps; ++i) u[i] = static_cast<float>(i) * kRingU;
    return u;
}();
// The tubes that end at these joints are the legs, in the body's own colour.
constexpr int kLegJoints[] = {CreatureBody::kHipPlusX,  CreatureBody::kKneePlusX,  CreatureBody::kAnklePlusX,
                              CreatureBody::kHipMinusX, CreatureBody::kKneeMinusX, CreatureBody::kAnkleMinusX};

// The end rings of the body being drawn. A tube writes its parent's ring
// before any child tube reads it (parents come first), so the table needs no
// clearing between bodies.
Vec4 rings[CreatureBody::kJointCount][kRingSteps];

// A tube's vertices are all computed before any is added: each add calls the
// vertex buffer twice, and every float still in use would be saved and
// reloaded around those calls. The near ends are the tube's own ring and the
// far ends the shared ring before it; these hold the rest.
Vec4 tubeNormals[kRingSteps];
Vec4 tubeStarts[kRingSteps];  // the far ends of a tube with no ring before it

// The tube's geometry is worked on in Lanes, bit for bit as the Vec4 code
// would compute it (math/lanes.h).
using lanes::Dot3;
using lanes::Gather;
using lanes::KeepW;
using lanes::Load;
using lanes::Select;
using lanes::Store;
}  // namespace

void CreatureBody::FillJointColours(bool highlighted) {
    colour.w = opacity;
    for (Vec4& c : jointColours) c = Vec4(1.0f, 0.9f, 0.9f, opacity);
    jointColours[kHead] = Vec4(1.0f, 1.0f, 1.0f, opacity);
    for (int k : kLegJoints) jointColours[k] = Vec4(colour.x, colour.y, colour.z, opacity);
    // The batch clamps the 2s, so a highlighted body is plain yellow.
    if (highlighted)
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
        if (p != kRoot) {
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

void DrawTube(const Vec4& colour, const Mat4& frame, const Vec4& end, float length, float depthRadius, float widthRadius,
              Vec4* previousRing, Vec4* currentRing, const Vec4* bendAxis) {
    vertexBatch.EndStrip();
    const D3DCOLOR packed = PackColour(colour);
    const Lanes xLanes = frame.GetColumnLanes(0), zLanes = frame.GetColumnLanes(2), endLanes = Gather(end);
    const Lanes startLanes = KeepW(endLanes + frame.GetColumnLanes(1) * length, endLanes);
    Vec4 bend;
    if (bendAxis) {
        bend = *bendAxis;
        bend.Normalize();
    }
    const Lanes bendLanes = Gather(bend);
    // In stages across the seven ring steps, so that the steps' square roots
    // and divisions are in flight together rather than one after another.
    Lanes normals[kRingSteps];
    float squares[kRingSteps], radii[kRingSteps], scales[kRingSteps];
    for (int i = 0; i < kRingSteps; ++i) {
        const Lanes z = zLanes * (depthRadius * tubeSine[i]);
        const Lanes x = xLanes * (widthRadius * tubeCosine[i]);
        Store(currentRing[i], KeepW(endLanes + z + x, endLanes));
        if (!previousRing) Store(tubeStarts[i], KeepW(startLanes + z + x, startLanes));
        normals[i] = z + x;
        squares[i] = Dot3(normals[i], normals[i]);
    }
    // Vec4::NormalizeReturningLength's length and factor.
    for (int i = 0; i < kRingSteps; ++i) {
        const lanes::LengthAndScale n = lanes::NormalizingScale(squares[i]);
        radii[i] = n.length;
        scales[i] = n.scale;
    }
    for (int i = 0; i < kRingSteps; ++i) {
        const Lanes normal = normals[i] * scales[i];  // a scale of 1 leaves every bit
        Store(tubeNormals[i], KeepW(normal, zLanes));
        if (!previousRing) continue;
        Lanes shared = Load(previousRing[i]);
        if (bendAxis) {
            // Push the shared ring outward on the outside of the bend.
            // Computed either way and chosen by mask: whether a point is
            // outside the bend follows no pattern a branch predictor learns,
            // and the mispredictions cost more than the push.
            const float d = Dot3(bendLanes, normal);
            const Lanes pushed = shared + bendLanes * (d * radii[i] * 2.0f);
            shared = Select((Lanes{d, d, d, d} > 0.0f) & lanes::kXyz, pushed, shared);
        }
        Store(previousRing[i], shared);
    }
    const Vec4* const farEnds = previousRing ? previousRing : tubeStarts;
    vertexBatch.AddPairs(currentRing, farEnds, tubeNormals, kRingUs.data(), kRingSteps, packed);
}
