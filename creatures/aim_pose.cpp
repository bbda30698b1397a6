// The body's aim pose: the arm on the aim's side (both arms when the aim is
// nearly straight ahead) pulled toward the aim ray as a rag-doll limb, the
// other points held to the skeleton, and the gun points the shots leave from.
#include <cmath>
#include <cstdint>

#include "creatures/creature_body.h"

namespace {

struct Arm {
    int shoulderJoint;
    int hand;
    int wrist;
    int elbow;
    uint32_t freePoints;  // bit k set: point k follows physics while aiming
};

constexpr uint32_t Bits(int a, int b, int c) { return (1u << a) | (1u << b) | (1u << c); }

using Body = CreatureBody;

constexpr Arm kPlusXArm = {Body::kShoulderPlusX, Body::kHandPlusX, Body::kWristPlusX, Body::kElbowPlusX,
                           Bits(Body::kElbowPlusX, Body::kWristPlusX, Body::kHandPlusX)};
constexpr Arm kMinusXArm = {Body::kShoulderMinusX, Body::kHandMinusX, Body::kWristMinusX, Body::kElbowMinusX,
                            Bits(Body::kElbowMinusX, Body::kWristMinusX, Body::kHandMinusX)};
// Both arms reach forward: the +X elbow stays pinned.
constexpr uint32_t kBothArmsFree = (1u << Body::kWristPlusX) | (1u << Body::kHandPlusX) | kMinusXArm.freePoints;

void PullHalfway(MassPoint& p, Vec4 target) { p.position += (target - p.position) * 0.5f; }

// Hand, wrist and elbow each move halfway toward a point on the aim ray from
// the shoulder; aimDir keeps the rescaling, so a second arm starts from it.
void PoseArm(CreatureBody& body, const Arm& arm) {
    Vec4& aim = body.aimDir;
    const Vec4 shoulder = body.joints[arm.shoulderJoint].world.GetColumn(3);
    aim.Normalize();
    aim *= 0.8f;
    PullHalfway(body.points[arm.hand], shoulder + aim);
    aim.Normalize();
    aim *= 0.7f;
    PullHalfway(body.points[arm.wrist], shoulder + aim);
    aim.Normalize();
    aim.y -= 0.1f;
    aim *= 0.3f;
    PullHalfway(body.points[arm.elbow], shoulder + aim);
}

}  // namespace

void CreatureBody::SetAim(uint8_t flag, const Vec4& direction) {
    aiming = animated ? flag : 0;
    aimDir = direction;
}

void CreatureBody::AimPose(const Vec4& travelDir) {
    aimDir.Normalize();
    gunPointB = kNoGunPoint;
    // Column 2 of the root points backward, away from where the figure faces.
    const Vec4 back = rootTransform.GetColumn(2);
    const Vec4 q = back.Cross(aimDir);
    const bool bothArms = std::fabs(q.y) < 0.05f && back.Dot(aimDir) < 0.0f;
    uint32_t freePoints;
    if (bothArms)
        freePoints = kBothArmsFree;
    else
        freePoints = q.y > 0.0f ? kPlusXArm.freePoints : kMinusXArm.freePoints;

    // Free points get a small push along the direction of travel.
    const Vec4 travel = travelDir * (2.0f * kBodyScale);
    for (int k = 0; k < kJointCount; ++k) {
        if (freePoints & (1u << k))
            points[k].previous = points[k].position - travel;
        else
            points[k].position = joints[k].world.GetColumn(3);
    }

    if (bothArms) {
        PoseArm(*this, kMinusXArm);
        gunPointB = kHandMinusX;
        PoseArm(*this, kPlusXArm);
        gunPointA = kHandPlusX;
    } else if (q.y > 0.0f) {
        PoseArm(*this, kPlusXArm);
        gunPointA = kHandPlusX;
    } else {
        PoseArm(*this, kMinusXArm);
        gunPointA = kHandMinusX;
    }
}
