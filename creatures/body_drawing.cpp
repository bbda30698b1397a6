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
// u of ring step i, i * kRingU, multiplied once by the compiler; the eighth,
// never drawn, fills the second group of four.
constexpr auto kRingUs = [] {
    std::array<float, 8> u{};
    for (int i = 0; i < kRingSteps; ++i) u[i] = static_cast<float>(i) * kRingU;
    return u;
}();
// The u's in pairs for the staged vertices' backs: (0, u of step 2i, 0, u of
// step 2i + 1) as bits, the colour to be put in lanes 0 and 2.
const auto kUPairs = [] {
    std::array<LaneMask, 4> pairs{};
    for (int i = 0; i < 8; ++i) {
        int32_t bits;
        std::memcpy(&bits, &kRingUs[i], sizeof bits);
        pairs[i / 2][1 + 2 * (i % 2)] = bits;
    }
    return pairs;
}();
// The tubes that end at these joints are the legs, in the body's own colour.
constexpr int kLegJoints[] = {CreatureBody::kHipPlusX,  CreatureBody::kKneePlusX,  CreatureBody::kAnklePlusX,
                              CreatureBody::kHipMinusX, CreatureBody::kKneeMinusX, CreatureBody::kAnkleMinusX};

// A ring's points a coordinate to an array, so that a tube works on four
// ring steps at once (Load4), each lane doing the Vec4 arithmetic of one
// step. Step 7 only fills the second four and is never drawn. Only x, y and
// z: no w reaches a vertex.
struct alignas(16) RingLanes {
    float x[8], y[8], z[8];
};

Vec4 RingPoint(const RingLanes& ring, unsigned step, float w) { return Vec4(ring.x[step], ring.y[step], ring.z[step], w); }

// PackColour of each entry of jointColours, as FillJointColours last filled it.
D3DCOLOR packedJointColours[CreatureBody::kJointCount];

// The end rings of the body being drawn. A tube writes its parent's ring
// before any child tube reads it (parents come first), so the table needs no
// clearing between bodies. A tube off the root has no ring before it; its far
// ends go to startRing.
RingLanes rings[CreatureBody::kJointCount];
RingLanes startRing;

// A tube's vertices, all made before any is added (see StagedVertex): near
// end, far end, for each ring step in turn. Their v, 0 at the near end and 1
// at the far, is the same for every tube. Their positions stay in the rings.
auto tubeVertices = [] {
    std::array<StagedVertex, 2 * kRingSteps> staged{};
    for (int i = 0; i < 2 * kRingSteps; ++i) staged[i].v = static_cast<float>(i % 2);
    return staged;
}();

using lanes::Load4;
using lanes::Select;

void Store4(float* out, Lanes v) { std::memcpy(out, &v, sizeof v); }
}  // namespace

void CreatureBody::FillJointColours(bool highlighted) {
    colour.w = opacity;
    for (Vec4& c : jointColours) c = Vec4(1.0f, 0.9f, 0.9f, opacity);
    jointColours[kHead] = Vec4(1.0f, 1.0f, 1.0f, opacity);
    for (int k : kLegJoints) jointColours[k] = Vec4(colour.x, colour.y, colour.z, opacity);
    // The batch clamps the 2s, so a highlighted body is plain yellow.
    if (highlighted)
        for (Vec4& c : jointColours) c = Vec4(2.0f, 2.0f, 0.0f, opacity);
    // Packed here, each of the few colours once, for DrawBody.
    const D3DCOLOR body = PackColour(jointColours[kSpineLow]);
    const D3DCOLOR head = highlighted ? body : PackColour(jointColours[kHead]);
    const D3DCOLOR legs = highlighted ? body : PackColour(jointColours[kHipPlusX]);
    for (D3DCOLOR& c : packedJointColours) c = body;
    packedJointColours[kHead] = head;
    for (int k : kLegJoints) packedJointColours[k] = legs;
}

namespace {

Lanes Broadcast(float f) { return Lanes{f, f, f, f}; }

// DrawTube with its colour packed and its bend axis normalised, made for
// each case: kShared, a ring before it (farRing holds it on entry); kBent, a
// bend axis. The near ends go to nearRing, the far ends (pushed round the
// bend) to farRing. Returns WritePiece's last vertex; lastPosition is the
// caller's to set.
template <bool kShared, bool kBent>
int DrawPackedTube(D3DCOLOR packed, const Mat4& frame, const Vec4& end, float length, float depthRadius,
                   float widthRadius, RingLanes& farRing, RingLanes& nearRing, Lanes bendLanes) {
    // Each coordinate of the frame's axes and the ends in all four lanes: lane
    // j of a product below is the same product the Vec4 code forms for step j.
    // The loops over x, y and z are unrolled by pragma: at -O2 GCC keeps them
    // as loops, and their arrays of lanes then go through the stack.
    const float endCoordinates[3] = {end.x, end.y, end.z};
    Lanes ends[3], xAxis[3], zAxis[3], starts[3];
#pragma GCC unroll 3
    for (int c = 0; c < 3; ++c) {
        const Lanes row = Load4(frame.m[c]);
        ends[c] = Broadcast(endCoordinates[c]);
        xAxis[c] = lanes::Splat(row, 0);
        zAxis[c] = lanes::Splat(row, 2);
        if constexpr (!kShared) starts[c] = ends[c] + lanes::Splat(row, 1) * length;
    }
    const LaneMask colours = {static_cast<int32_t>(packed), 0, static_cast<int32_t>(packed), 0};
#pragma GCC unroll 2
    for (int h = 0; h < 2; ++h) {
        // The radii times the ring's sines and cosines; each ring step's
        // offset from the ring's centre, its normal before normalising.
        const Lanes depthSines = Load4(tubeSine + 4 * h) * depthRadius;
        const Lanes widthCosines = Load4(tubeCosine + 4 * h) * widthRadius;
        Lanes nearEnds[3], farEnds[3], offsets[3], normals[3];
#pragma GCC unroll 3
        for (int c = 0; c < 3; ++c) {
            const Lanes z = zAxis[c] * depthSines, x = xAxis[c] * widthCosines;
            nearEnds[c] = ends[c] + z + x;
            if constexpr (!kShared) farEnds[c] = starts[c] + z + x;
            offsets[c] = z + x;
        }
        // Vec4::NormalizeReturningLength's length and factor, a lane each.
        const lanes::LengthsAndScales ls =
            lanes::NormalizingScales((offsets[0] * offsets[0] + offsets[1] * offsets[1]) + offsets[2] * offsets[2]);
#pragma GCC unroll 3
        for (int c = 0; c < 3; ++c) normals[c] = offsets[c] * ls.scales;  // a scale of 1 leaves every bit
        if constexpr (kShared) {
            farEnds[0] = Load4(farRing.x + 4 * h);
            farEnds[1] = Load4(farRing.y + 4 * h);
            farEnds[2] = Load4(farRing.z + 4 * h);
            if constexpr (kBent) {
                // Push the shared ring outward on the outside of the bend.
                // Computed either way and chosen by mask: whether a point is
                // outside the bend follows no pattern a branch predictor
                // learns, and the mispredictions cost more than the push.
                const Lanes bend[3] = {lanes::Splat(bendLanes, 0), lanes::Splat(bendLanes, 1),
                                       lanes::Splat(bendLanes, 2)};
                const Lanes d = (bend[0] * normals[0] + bend[1] * normals[1]) + bend[2] * normals[2];
                const Lanes push = d * ls.lengths * 2.0f;
                const LaneMask outside = d > 0.0f;
#pragma GCC unroll 3
                for (int c = 0; c < 3; ++c) farEnds[c] = Select(outside, farEnds[c] + bend[c] * push, farEnds[c]);
            }
        }
        Store4(farRing.x + 4 * h, farEnds[0]);
        Store4(farRing.y + 4 * h, farEnds[1]);
        Store4(farRing.z + 4 * h, farEnds[2]);
        Store4(nearRing.x + 4 * h, nearEnds[0]);
        Store4(nearRing.y + 4 * h, nearEnds[1]);
        Store4(nearRing.z + 4 * h, nearEnds[2]);
        // The staged pieces, a vertex to a vector: (x, y, z + shift, nx) at
        // each end, and the (ny, nz, colour, u) both ends share.
        const lanes::Rows nearFronts =
            lanes::Transpose4(nearEnds[0], nearEnds[1], nearEnds[2] + kBatchDepthShift, normals[0]);
        const lanes::Rows farFronts =
            lanes::Transpose4(farEnds[0], farEnds[1], farEnds[2] + kBatchDepthShift, normals[0]);
        const auto yz01 = reinterpret_cast<LaneMask>(__builtin_shufflevector(normals[1], normals[2], 0, 4, 1, 5));
        const auto yz23 = reinterpret_cast<LaneMask>(__builtin_shufflevector(normals[1], normals[2], 2, 6, 3, 7));
        const LaneMask cu01 = colours | kUPairs[2 * h], cu23 = colours | kUPairs[2 * h + 1];
        const LaneMask backs[4] = {__builtin_shufflevector(yz01, cu01, 0, 1, 4, 5),
                                   __builtin_shufflevector(yz01, cu01, 2, 3, 6, 7),
                                   __builtin_shufflevector(yz23, cu23, 0, 1, 4, 5),
                                   __builtin_shufflevector(yz23, cu23, 2, 3, 6, 7)};
#pragma GCC unroll 4
        for (int j = 0; j < 4; ++j) {
            if (4 * h + j == kRingSteps) break;
            StagedVertex& nearEnd = tubeVertices[2 * (4 * h + j)];
            StagedVertex& farEnd = tubeVertices[2 * (4 * h + j) + 1];
            nearEnd.front = reinterpret_cast<LaneMask>(nearFronts.row[j]);
            farEnd.front = reinterpret_cast<LaneMask>(farFronts.row[j]);
            nearEnd.back = farEnd.back = backs[j];
        }
    }
    return vertexBatch.WritePiece(tubeVertices.data(), 2 * kRingSteps);
}

// The position of the tube's vertex `last` (WritePiece's answer) as the
// batch's last position, with the w that vertex's Vec4 carried. Stored whole:
// the next piece loads it whole, which a load from several narrower stores
// would have to wait for.
void SetLastPosition(int last, const RingLanes& farRing, const RingLanes& nearRing, float nearW, float farW) {
    if (last < 0) return;
    const auto step = static_cast<unsigned>(last) / 2;
    const RingLanes& ring = last % 2 == 0 ? nearRing : farRing;
    lanes::Store(vertexBatch.lastPosition, Lanes{ring.x[step], ring.y[step], ring.z[step], last % 2 == 0 ? nearW : farW});
}

}  // namespace

void CreatureBody::DrawBody() {
    // Each joint's Y axis normalised, as Vec4::Normalize would, four joints'
    // square roots and divisions at a time: the bend axes of the tubes two
    // joints on. The last group repeats the last joint.
    float axisScales[kJointCount + 2];
    for (int first = 0; first < kJointCount; first += 4) {
        Lanes axes[4];
#pragma GCC unroll 4
        for (int i = 0; i < 4; ++i) axes[i] = joints[std::min(first + i, kJointCount - 1)].world.GetColumnLanes(1);
        const lanes::Columns c = lanes::Transpose3(axes[0], axes[1], axes[2], axes[3]);
        const Lanes scales = lanes::NormalizingScales((c.xs * c.xs + c.ys * c.ys) + c.zs * c.zs).scales;
        std::memcpy(axisScales + first, &scales, sizeof scales);
    }
    for (int k = 1; k < kJointCount; ++k) {
        const BodyJoint& joint = joints[k];
        const int p = joint.parent;
        const float length = joint.tubeLength;
        const Vec4 end = joint.world.GetColumn(3);
        const D3DCOLOR packed = packedJointColours[k];
        // Tubes off the root start their own ring; the others share the ring
        // their parent's tube ended with and smooth the bend around it. Every
        // ring point's Vec4 had the w of a joint's column 3, 0.
        if (p == kRoot) {
            const int last = DrawPackedTube<false, false>(packed, joints[p].world, end, length, joint.depthRadius,
                                                          joint.widthRadius, startRing, rings[p], Lanes{});
            SetLastPosition(last, startRing, rings[p], 0.0f, 0.0f);
        } else {
            const int g = joints[p].parent;
            const Lanes axis = joints[g].world.GetColumnLanes(1);
            const int last =
                DrawPackedTube<true, true>(packed, joints[p].world, end, length, joint.depthRadius, joint.widthRadius,
                                           rings[g], rings[p], lanes::KeepW(axis * axisScales[g], axis));
            SetLastPosition(last, rings[g], rings[p], 0.0f, 0.0f);
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
    RingLanes farRing{}, nearRing{};
    for (int i = 0; previousRing != nullptr && i < kRingSteps; ++i) {
        farRing.x[i] = previousRing[i].x;
        farRing.y[i] = previousRing[i].y;
        farRing.z[i] = previousRing[i].z;
    }
    int last;
    if (previousRing == nullptr)
        last = DrawPackedTube<false, false>(packed, frame, end, length, depthRadius, widthRadius, farRing, nearRing,
                                            Lanes{});
    else if (bendAxis == nullptr)
        last = DrawPackedTube<true, false>(packed, frame, end, length, depthRadius, widthRadius, farRing, nearRing,
                                           Lanes{});
    else
        last = DrawPackedTube<true, true>(packed, frame, end, length, depthRadius, widthRadius, farRing, nearRing,
                                          lanes::Gather(bend));
    // A far end has the w of the ring point it came from, or the end's.
    const float farW = previousRing != nullptr && last >= 0 ? previousRing[last / 2].w : end.w;
    SetLastPosition(last, farRing, nearRing, end.w, farW);
    for (int i = 0; i < kRingSteps; ++i) {
        currentRing[i] = RingPoint(nearRing, static_cast<unsigned>(i), end.w);
        if (previousRing != nullptr) previousRing[i] = RingPoint(farRing, static_cast<unsigned>(i), previousRing[i].w);
    }
}
