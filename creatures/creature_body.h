// The articulated body shared by every figure: a 22-joint skeleton driven by a
// walk cycle, 24 Verlet mass points that follow it or take over as a rag doll,
// the player's aim pose, and the drawing of the body as 21 tubes.
#pragma once

#include <cstdint>

#include "math/mass_point.h"
#include "math/mat4.h"
#include "math/vec4.h"

// Body units are scaled into world units by this factor.
extern const float kBodyScale;

// One ring of a tube: 0, 60, ..., 360 degrees; entry 6 repeats entry 0 so the
// strip closes. Shared by all bodies, filled by every build; an eighth entry,
// 0, pads each table to two vectors of four lanes.
inline constexpr int kRingSteps = 7;
extern float tubeSine[kRingSteps + 1];
extern float tubeCosine[kRingSteps + 1];

struct BodyJoint {
    int32_t parent = -1;
    float depthRadius = 1.0f;
    float widthRadius = 0.0f;
    // The length of the tube drawn to this joint from its parent, from the
    // offset: -y, or the whole length where y is next to nothing.
    float tubeLength = 0.0f;
    Vec4 offset = Vec4(0.0f, 0.0f, 0.0f, 1.0f);
    Mat4 localRotation;
    Mat4 world;
};

struct CreatureBody {
    static constexpr int kJointCount = 22;
    static constexpr int kPointCount = 24;

    // Joint k and mass point k share an index. The trunk runs up from the
    // root; each limb runs out from the trunk, one of a pair on the +X side,
    // its mirror on the -X side. Every parent has a lower index than its child.
    enum Joint : int32_t {
        kRoot, kSpineLow, kSpineMid, kSpineTop, kNeck, kHead,
        kShoulderPlusX, kElbowPlusX, kWristPlusX, kHandPlusX,
        kShoulderMinusX, kElbowMinusX, kWristMinusX, kHandMinusX,
        kHipPlusX, kKneePlusX, kAnklePlusX, kToePlusX,
        kHipMinusX, kKneeMinusX, kAnkleMinusX, kToeMinusX,
    };
    // Mass points without a joint: they hold each knee out of its leg's plane.
    enum KneeGuide : int32_t { kKneeGuidePlusX = kJointCount, kKneeGuideMinusX };
    static_assert(kToeMinusX + 1 == kJointCount && kKneeGuideMinusX + 1 == kPointCount);
    // gunPointB when a volley has one shot.
    static constexpr int32_t kNoGunPoint = -1;

    Vec4 bobOffset;
    Mat4 rootTransform;
    Mat4 headingTransform;
    BodyJoint joints[kJointCount];
    MassPoint points[kPointCount];
    uint8_t aiming = 0;
    Vec4 aimDir;
    uint8_t physicsActive = 0;
    int32_t gunPointA = kWristPlusX;
    int32_t gunPointB = 0;
    Vec4 colour;
    uint8_t animated = 1;
    float opacity = 1.0f;

    CreatureBody();
    CreatureBody(const CreatureBody&) = delete;  // points link to each other by address
    CreatureBody& operator=(const CreatureBody&) = delete;

    void Build();
    void AnimateWalk(float phase, float amplitude);
    // travel: the figure's direction of travel, which the aim pose pushes the
    // free arm along; highlighted: drawn plain yellow.
    void Update(Vec4 position, const Vec4& travel, bool highlighted);
    // Update in two halves around the link solving, so that a frame can
    // solve several rag dolls together in between (SolveLinksTogether).
    void BeginUpdate();
    void FinishUpdate(Vec4 position, const Vec4& travel, bool highlighted);
    // The link solving of up to MassPoint::kMaxTogether bodies at once, each
    // body's passes and points in their own order, so each gets the same
    // bits as its own SolveLinks.
    static void SolveLinksTogether(CreatureBody* const* bodies, int count);
    void SetAim(uint8_t flag, const Vec4& direction);

    void ForwardKinematics();
    void PinPoints();
    void AimPose(const Vec4& travelDir);
    void JointsFromPoints();

    void FillJointColours(bool highlighted);
    void DrawBody();

private:
    void AddConstraints();
    // The links PinPoints measures, by the rest length each sets and the two
    // positions it measures between, and those that take the length their
    // pair measured; listed when the body is built, as the links never change
    // after. The measured list is padded to whole fours with its last link.
    static constexpr int kMaxBodyLinks = kPointCount * MassPoint::kMaxLinks;
    float* measuredLengths[kMaxBodyLinks + 3];
    const Vec4* measuredFrom[kMaxBodyLinks + 3];
    const Vec4* measuredTo[kMaxBodyLinks + 3];
    MassLink* copiedLinks[kMaxBodyLinks];
    int measuredLinkCount = 0;
    int copiedLinkCount = 0;
    void BuildRootTransform(Vec4 position);
    void PlaceLimbsOnFeet();
    void SolveLinks();
};

// One six-sided tube from the ring around `end` back along the frame's Y axis.
// previousRing (the ring of the tube before, shared) and bendAxis may be null;
// the end ring is written to currentRing.
void DrawTube(const Vec4& colour, const Mat4& frame, const Vec4& end, float length, float depthRadius, float widthRadius,
              Vec4* previousRing, Vec4* currentRing, const Vec4* bendAxis);
