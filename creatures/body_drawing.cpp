// The body drawn into the vertex batch: the joints' colours, then one
// six-sided tube per joint from its parent, each sharing the ring before it.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

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

// A tube's vertices, all made before any is added (see StagedVertex): near
// end, far end, for each ring step in turn. Their v, 0 at the near end and 1
// at the far, is the same for every tube.
auto tubeVertices = [] {
    std::array<StagedVertex, 2 * kRingSteps> staged{};
    for (int i = 0; i < 2 * kRingSteps; ++i) staged[i].v = static_cast<float>(i % 2);
    return staged;
}();

// The tube's geometry is worked on in Lanes, bit for bit as the Vec4 code
// would compute it (math/lanes.h).
using lanes::Gather;
using lanes::KeepW;
using lanes::Load;
using lanes::Load4;
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

namespace {

// Lane j of v in all four lanes.
Lanes Spread(Lanes v, int j) { return Lanes{v[j], v[j], v[j], v[j]}; }

// DrawTube with its colour packed and its bend axis normalised, made for
// each case: kShared, a ring before it (previousRing); kBent, a bend axis.
template <bool kShared, bool kBent>
void DrawPackedTube(D3DCOLOR packed, const Mat4& frame, const Vec4& end, float length, float depthRadius,
                    float widthRadius, Vec4* previousRing, Vec4* currentRing, Lanes bendLanes) {
    const Lanes xLanes = frame.GetColumnLanes(0), zLanes = frame.GetColumnLanes(2), endLanes = Gather(end);
    const Lanes startLanes = KeepW(endLanes + frame.GetColumnLanes(1) * length, endLanes);
    // The radii times the ring's sines and cosines, four steps at a time.
    const Lanes depthSines[2] = {Load4(tubeSine) * depthRadius, Load4(tubeSine + 4) * depthRadius};
    const Lanes widthCosines[2] = {Load4(tubeCosine) * widthRadius, Load4(tubeCosine + 4) * widthRadius};
    // Each ring step's offset from the ring's centre, its normal before
    // normalising; the eighth repeats the seventh to fill four lanes.
    Lanes offsets[8], nearEnds[kRingSteps], starts[kRingSteps];
#pragma GCC unroll 7
    for (int i = 0; i < kRingSteps; ++i) {
        const Lanes z = zLanes * Spread(depthSines[i / 4], i % 4);
        const Lanes x = xLanes * Spread(widthCosines[i / 4], i % 4);
        nearEnds[i] = KeepW(endLanes + z + x, endLanes);
        Store(currentRing[i], nearEnds[i]);
        if constexpr (!kShared) starts[i] = KeepW(startLanes + z + x, startLanes);
        offsets[i] = z + x;
    }
    offsets[7] = offsets[6];
    // Four ring steps to a vector, a lane each, so that their square roots
    // and divisions are single instructions: Vec4::NormalizeReturningLength's
    // length and factor, and the push's Dot3 with the normalised normal.
    Lanes scales[2], pushes[2];
    LaneMask outside[2];
#pragma GCC unroll 2
    for (int h = 0; h < 2; ++h) {
        const lanes::Columns n =
            lanes::Transpose3(offsets[4 * h], offsets[4 * h + 1], offsets[4 * h + 2], offsets[4 * h + 3]);
        const lanes::LengthsAndScales ls = lanes::NormalizingScales((n.xs * n.xs + n.ys * n.ys) + n.zs * n.zs);
        scales[h] = ls.scales;
        if constexpr (kBent) {
            const Lanes d = (bendLanes[0] * (n.xs * ls.scales) + bendLanes[1] * (n.ys * ls.scales)) +
                            bendLanes[2] * (n.zs * ls.scales);
            pushes[h] = d * ls.lengths * 2.0f;
            outside[h] = d > 0.0f;
        }
    }
#pragma GCC unroll 7
    for (int i = 0; i < kRingSteps; ++i) {
        const Lanes normal = offsets[i] * Spread(scales[i / 4], i % 4);  // a scale of 1 leaves every bit
        Lanes farPoint;
        if constexpr (!kShared) {
            farPoint = starts[i];
        } else {
            farPoint = Load(previousRing[i]);
            if constexpr (kBent) {
                // Push the shared ring outward on the outside of the bend.
                // Computed either way and chosen by mask: whether a point is
                // outside the bend follows no pattern a branch predictor
                // learns, and the mispredictions cost more than the push.
                const Lanes pushed = farPoint + bendLanes * Spread(pushes[i / 4], i % 4);
                const int32_t o = outside[i / 4][i % 4];
                farPoint = Select(LaneMask{o, o, o, o} & lanes::kXyz, pushed, farPoint);
            }
            Store(previousRing[i], farPoint);
        }
        StagedVertex& nearEnd = tubeVertices[2 * i];
        StagedVertex& farEnd = tubeVertices[2 * i + 1];
        nearEnd.front = StagedFront(nearEnds[i], normal);
        farEnd.front = StagedFront(farPoint, normal);
        nearEnd.back = farEnd.back = StagedBack(normal, packed, kRingUs[i]);
        Store(nearEnd.position, nearEnds[i]);
        Store(farEnd.position, farPoint);
    }
    vertexBatch.AddPiece(tubeVertices.data(), 2 * kRingSteps);
}

}  // namespace

void CreatureBody::DrawBody() {
    // Each joint's Y axis normalised, as Vec4::Normalize would, four joints'
    // square roots and divisions at a time: the bend axes of the tubes two
    // joints on. The last group repeats the last joint.
    float axisScales[kJointCount + 2];
    for (int first = 0; first < kJointCount; first += 4) {
        Lanes axes[4];
        for (int i = 0; i < 4; ++i) axes[i] = joints[std::min(first + i, kJointCount - 1)].world.GetColumnLanes(1);
        const lanes::Columns c = lanes::Transpose3(axes[0], axes[1], axes[2], axes[3]);
        const Lanes scales = lanes::NormalizingScales((c.xs * c.xs + c.ys * c.ys) + c.zs * c.zs).scales;
        std::memcpy(axisScales + first, &scales, sizeof scales);
    }
    D3DCOLOR packed = 0;
    const Vec4* packedFrom = nullptr;  // the joint colour `packed` holds, bit for bit
    for (int k = 1; k < kJointCount; ++k) {
        const BodyJoint& joint = joints[k];
        const int p = joint.parent;
        float length = -joint.offset.y;
        if (std::fabs(length) < 0.00001f) length = joint.offset.Length();
        const Vec4 end = joint.world.GetColumn(3);
        if (packedFrom == nullptr || std::memcmp(packedFrom, &jointColours[k], sizeof(Vec4)) != 0) {
            packed = PackColour(jointColours[k]);
            packedFrom = &jointColours[k];
        }
        // Tubes off the root start their own ring; the others share the ring
        // their parent's tube ended with and smooth the bend around it.
        if (p == kRoot) {
            DrawPackedTube<false, false>(packed, joints[p].world, end, length, joint.depthRadius,
                                         joint.widthRadius, nullptr, rings[p], Lanes{});
        } else {
            const int g = joints[p].parent;
            const Lanes axis = joints[g].world.GetColumnLanes(1);
            DrawPackedTube<true, true>(packed, joints[p].world, end, length, joint.depthRadius, joint.widthRadius,
                                       rings[g], rings[p], KeepW(axis * axisScales[g], axis));
        }
    }
    vertexBatch.EndStrip();
}

void DrawTube(const Vec4& colour, const Mat4& frame, const Vec4& end, float length, float depthRadius, float widthRadius,
              Vec4* previousRing, Vec4* currentRing, const Vec4* bendAxis) {
    Vec4 bend;
    if (bendAxis) {
        bend = *bendAxis;
        bend.Normalize();
    }
    const D3DCOLOR packed = PackColour(colour);
    if (previousRing == nullptr)
        DrawPackedTube<false, false>(packed, frame, end, length, depthRadius, widthRadius, nullptr, currentRing, Lanes{});
    else if (bendAxis == nullptr)
        DrawPackedTube<true, false>(packed, frame, end, length, depthRadius, widthRadius, previousRing, currentRing,
                                    Lanes{});
    else
        DrawPackedTube<true, true>(packed, frame, end, length, depthRadius, widthRadius, previousRing, currentRing,
                                   Gather(bend));
}
