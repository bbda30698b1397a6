// The body's step each frame: the walk cycle, the skeleton's forward
// kinematics, the Verlet points pinned to it or solved as a rag doll, the
// joints read back from the points, then the drawing.
#include "app/input.h"
#include "creatures/creature_body.h"
#include "math/float_trig.h"
#include "math/lanes.h"

namespace {
constexpr int kSolverPasses = 10;

// Bones touching the spine and neck joints run up from their parents, the
// limbs down, so they flip their forward axis to face the same way.
bool IsSpine(int k) { return k >= CreatureBody::kSpineLow && k <= CreatureBody::kNeck; }

void SetAxes(Mat4& m, Vec4 x, Vec4 y, Vec4 z) {
    m.SetColumn(0, x);
    m.SetColumn(1, y);
    m.SetColumn(2, z);
}
}  // namespace

void CreatureBody::AnimateWalk(float p, float m) {
    const float sixP = 6.0f * p;
    const float d = SinF(sixP) * m;
    // Joints that turn by opposite angles share one evaluation of the sine
    // and cosine: -0.35f * d is exactly -(0.35f * d), and so on.
    float s, c, oppositeS, oppositeC;
    SinCosOfOpposites(0.35f * d, s, c, oppositeS, oppositeC);
    joints[kHipPlusX].localRotation.SetRotationX(oppositeS, oppositeC);
    joints[kHipMinusX].localRotation.SetRotationX(s, c);
    // Each knee bends as far as its ankle: the same angle, so the same entries.
    joints[kAnklePlusX].localRotation.SetRotationX(0.6f * m - 0.5f * d);
    joints[kAnkleMinusX].localRotation.SetRotationX(0.6f * m + 0.5f * d);
    joints[kKneePlusX].localRotation.SetRotationXLike(joints[kAnklePlusX].localRotation);
    joints[kKneeMinusX].localRotation.SetRotationXLike(joints[kAnkleMinusX].localRotation);
    SinCosOfOpposites(0.515f * d, s, c, oppositeS, oppositeC);
    joints[kShoulderPlusX].localRotation.SetRotationX(s, c);
    joints[kShoulderMinusX].localRotation.SetRotationX(oppositeS, oppositeC);
    joints[kElbowPlusX].localRotation.SetRotationX(-0.5f * m + 0.4515f * d);
    joints[kElbowMinusX].localRotation.SetRotationX(-0.5f * m - 0.4515f * d);
    SinCosOfOpposites(0.25f * d, s, c, oppositeS, oppositeC);
    joints[kSpineTop].localRotation.SetRotationY(oppositeS, oppositeC);
    joints[kNeck].localRotation.SetRotationY(s, c);
    SinCosOfOpposites(0.125f * d, s, c, oppositeS, oppositeC);
    joints[kSpineMid].localRotation.SetRotationZ(oppositeS, oppositeC);
    joints[kSpineLow].localRotation.SetRotationZ(s, c);
    joints[kRoot].localRotation.SetRotationZ(0.0125f * d);

    const Vec4 forward = rootTransform.GetColumn(2);
    const float twelveP = sixP * 2.0f;
    bobOffset.y += 0.015f * m * SinF(twelveP + 1.5f);
    bobOffset += forward * (0.061f * m * SinF(twelveP));
}

void CreatureBody::Update(Vec4 position, const Vec4& travel, bool highlighted) {
    BeginUpdate();
    if (physicsActive) SolveLinks();
    FinishUpdate(position, travel, highlighted);
}

void CreatureBody::BeginUpdate() {
    for (MassPoint& p : points) p.StoreVelocity();
    for (MassPoint& p : points) p.Integrate();
    const bool ragDollButton = inputState.controller.rgbButtons[2] != 0;
    physicsActive = ragDollButton || animated == 0 || aiming == 1 ? 1 : 0;
}

void CreatureBody::FinishUpdate(Vec4 position, const Vec4& travel, bool highlighted) {
    const bool ragDollButton = inputState.controller.rgbButtons[2] != 0;
    const bool limbButton = inputState.controller.rgbButtons[1] != 0;
    const bool physics = physicsActive != 0;
    // Here, not with the points: the joint colours are one table that every
    // body fills and draws from, and other bodies may begin between the halves.
    FillJointColours(highlighted);
    BuildRootTransform(position);
    if (!ragDollButton || limbButton) ForwardKinematics();
    if (!ragDollButton && animated == 1 && aiming == 0) PinPoints();
    if (aiming == 1) AimPose(travel);
    if (limbButton) PlaceLimbsOnFeet();
    if (physics) JointsFromPoints();
    DrawBody();
}

void CreatureBody::SolveLinks() {
    for (int pass = 0; pass < kSolverPasses; ++pass)
        for (MassPoint& p : points) p.SatisfyLinks();
}

void CreatureBody::SolveLinksTogether(CreatureBody* const* bodies, int count) {
    MassPoint* group[MassPoint::kMaxTogether];
    if (count > MassPoint::kMaxTogether) count = MassPoint::kMaxTogether;
    for (int pass = 0; pass < kSolverPasses; ++pass)
        for (int k = 0; k < kPointCount; ++k) {
            for (int b = 0; b < count; ++b) group[b] = &bodies[b]->points[k];
            MassPoint::SatisfyLinksTogether(group, count);
        }
}

// Scale to world units, then turn by the heading, then move to the position.
void CreatureBody::BuildRootTransform(Vec4 position) {
    rootTransform = Mat4::Identity();
    rootTransform.SetColumn(3, Vec4(0.0f, 0.0f, 0.0f, 0.0f));
    rootTransform.m[0][0] *= kBodyScale;
    rootTransform.m[1][1] *= kBodyScale;
    rootTransform.m[2][2] *= kBodyScale;
    rootTransform.PreMultiply(headingTransform);
    rootTransform.SetColumn(3, position);
}

// Hands on the opposite toes and shoulders on the knees.
void CreatureBody::PlaceLimbsOnFeet() {
    points[kHandPlusX].position = joints[kToeMinusX].world.GetColumn(3);
    points[kHandMinusX].position = joints[kToePlusX].world.GetColumn(3);
    points[kShoulderPlusX].position = joints[kKneePlusX].world.GetColumn(3);
    points[kShoulderMinusX].position = joints[kKneeMinusX].world.GetColumn(3);
}

// Each joint's transform within the body is its parent's times its own
// rotation and offset; its world transform is the root's times that, moved
// by the bob. One joint at a time, in rows of lanes, each matrix stored once,
// lane 3 of a row set in registers rather than by a store, which a wide load of
// the row would have to wait for.
void CreatureBody::ForwardKinematics() {
    Lanes withinBody[kJointCount][4];  // a child's parent's, read as entries
    Lanes rootEntries[4][4];           // the root transform's, each in all lanes, for every joint
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            const float e = rootTransform.m[i][j];
            rootEntries[i][j] = Lanes{e, e, e, e};
        }
    const Lanes bob = lanes::Gather(bobOffset);
    for (int k = 0; k < kJointCount; ++k) {
        BodyJoint& joint = joints[k];
        Lanes own[4], world[4];
        Lanes* const within = withinBody[k];
        joint.localRotation.GetRows(own);
        const Lanes offset = lanes::Load(joint.offset);
        own[0] = lanes::KeepW(own[0], Lanes{offset[0], offset[0], offset[0], offset[0]});
        own[1] = lanes::KeepW(own[1], Lanes{offset[1], offset[1], offset[1], offset[1]});
        own[2] = lanes::KeepW(own[2], Lanes{offset[2], offset[2], offset[2], offset[2]});
        if (k == kRoot) {
            for (int r = 0; r < 4; ++r) within[r] = own[r];
        } else {
            const Lanes* parent = withinBody[joint.parent];
            Mat4::PreMultiplyRows([parent](int i, int j) { return lanes::Splat(parent[i], j); }, own, within);
        }
        Mat4::PreMultiplyRows([&rootEntries](int i, int j) { return rootEntries[i][j]; }, within, world);
        // Column 3 plus the bob: lane 3 of each row's sum with the bob's entry.
        world[0] = lanes::KeepW(world[0], world[0] + bob[0]);
        world[1] = lanes::KeepW(world[1], world[1] + bob[1]);
        world[2] = lanes::KeepW(world[2], world[2] + bob[2]);
        joint.world.SetRows(world);
    }
}

void CreatureBody::PinPoints() {
    // Each position stored whole, as the lengths below load them whole.
    for (int k = 0; k < kJointCount; ++k) lanes::Store(points[k].position, joints[k].world.GetColumnLanes(3));
    // Each knee guide sits beside its knee, shifted by the hip spacing.
    const Vec4 hipSpan = points[kHipMinusX].position - points[kHipPlusX].position;
    lanes::Store(points[kKneeGuidePlusX].position, lanes::Gather(joints[kKneePlusX].world.GetColumn(3) + hipSpan));
    lanes::Store(points[kKneeGuideMinusX].position, lanes::Gather(joints[kKneeMinusX].world.GetColumn(3) - hipSpan));
    // Vec4::Length of each measured link, four at a time, a lane each.
    for (int first = 0; first < measuredLinkCount; first += 4) {
        Lanes d[4];
#pragma GCC unroll 4
        for (int j = 0; j < 4; ++j)
            d[j] = lanes::Load(*measuredFrom[first + j]) - lanes::Load(*measuredTo[first + j]);
        const lanes::Columns c = lanes::Transpose3(d[0], d[1], d[2], d[3]);
        const Lanes squares = (c.xs * c.xs + c.ys * c.ys) + c.zs * c.zs;
        const Lanes lengths = lanes::NormalizingScales(squares).lengths;
#pragma GCC unroll 4
        for (int j = 0; j < 4; ++j) *measuredLengths[first + j] = lengths[j];
    }
    // The others take their pair's: p - q is exactly -(q - p), so the squares
    // and the root are the same.
    for (int i = 0; i < copiedLinkCount; ++i) {
        MassLink& link = *copiedLinks[i];
        link.restLength = link.other->links[link.backSlot].restLength;
    }
}

void CreatureBody::JointsFromPoints() {
    const Vec4 side = points[kShoulderMinusX].position - points[kShoulderPlusX].position;
    for (int k = 0; k < kJointCount; ++k) {
        const int p = joints[k].parent;
        const Vec4& pk = points[k].position;
        Vec4 up = (k == kRoot) ? points[kSpineLow].position - pk : points[p].position - pk;
        Vec4 fwd = side.Cross(up);
        Vec4 s = up.Cross(fwd);
        up.Normalize();
        s.Normalize();
        fwd.Normalize();
        up *= kBodyScale;
        s *= kBodyScale;
        fwd *= kBodyScale;
        if (IsSpine(k) || IsSpine(p)) fwd *= -1.0f;
        // Branching joints take their own bone; the others take their child's.
        if (k == kRoot || k == kSpineTop) SetAxes(joints[k].world, s, up, fwd);
        if (k != kRoot && p != kRoot && p != kSpineTop) SetAxes(joints[p].world, s, up, fwd);
        joints[k].world.SetColumn(3, pk);
    }
}
