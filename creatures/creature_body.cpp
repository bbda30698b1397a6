#include "creatures/creature_body.h"

#include <cmath>

#include "math/float_trig.h"
#include "world/game_random.h"

const float kBodyScale = 0.1f;
float tubeSine[kRingSteps + 1];
float tubeCosine[kRingSteps + 1];

namespace {

struct JointSpec {
    int32_t parent;
    float x, y, z;
    float depthRadius;
    float widthRadius;
};

using Body = CreatureBody;

// Row k builds joint k (named on the right) from its parent, offset and radii.
constexpr JointSpec kJoints[Body::kJointCount] = {
    {-1, 0.0f, 2.0f, 0.0f, 1.0f, 1.0f},                        // root
    {Body::kRoot, 0.0f, 2.0f, 0.2f, 1.1f, 1.515f},             // spine, low
    {Body::kSpineLow, 0.0f, 2.0f, 0.0f, 1.0f, 1.25f},          // spine, middle
    {Body::kSpineMid, 0.0f, 4.0f, -0.2f, 1.0f, 1.5f},          // spine, top
    {Body::kSpineTop, 0.0f, 1.25f, -0.2f, 0.5f, 0.5f},         // neck
    {Body::kNeck, 0.0f, 3.0f, 0.0f, 0.805f, 0.805f},           // head
    {Body::kSpineTop, 1.5f, 0.5f, 0.0f, 0.5f, 0.5f},           // +X shoulder
    {Body::kShoulderPlusX, 1.0f, -6.0f, 0.0f, 0.75f, 0.5f},    // +X elbow
    {Body::kElbowPlusX, 0.0f, -4.0f, -0.5f, 0.5f, 0.5f},       // +X wrist
    {Body::kWristPlusX, 0.0f, -1.0f, 0.0f, 0.65f, 0.65f},      // +X hand
    {Body::kSpineTop, -1.5f, 0.5f, 0.0f, 0.5f, 0.5f},          // -X shoulder
    {Body::kShoulderMinusX, -1.0f, -6.0f, 0.0f, 0.75f, 0.5f},  // -X elbow
    {Body::kElbowMinusX, 0.0f, -4.0f, -0.5f, 0.5f, 0.5f},      // -X wrist
    {Body::kWristMinusX, 0.0f, -1.0f, 0.0f, 0.65f, 0.65f},     // -X hand
    {Body::kRoot, 0.7f, -1.0f, 0.0f, 1.0f, 0.9f},              // +X hip
    {Body::kHipPlusX, 0.5f, -7.0f, -0.15f, 0.7f, 0.6f},        // +X knee
    {Body::kKneePlusX, 0.0f, -6.0f, 0.13f, 0.55f, 0.55f},      // +X ankle
    {Body::kAnklePlusX, 0.0f, 0.0f, -1.0f, 1.0f, 0.6f},        // +X toe
    {Body::kRoot, -0.7f, -1.0f, 0.0f, 1.0f, 0.9f},             // -X hip
    {Body::kHipMinusX, -0.5f, -7.0f, -0.15f, 0.7f, 0.6f},      // -X knee
    {Body::kKneeMinusX, 0.0f, -6.0f, 0.13f, 0.55f, 0.55f},     // -X ankle
    {Body::kAnkleMinusX, 0.0f, 0.0f, -1.0f, 1.0f, 0.6f},       // -X toe
};

struct Pair {
    int from;
    int to;
};

// One-way links beyond the skeleton's bones, in the order they are added.
constexpr Pair kBracingLinks[] = {
    // hips to shoulders
    {Body::kHipPlusX, Body::kShoulderMinusX},
    {Body::kHipMinusX, Body::kShoulderPlusX},
    {Body::kHipPlusX, Body::kShoulderPlusX},
    {Body::kHipMinusX, Body::kShoulderMinusX},
    // each hip to the other knee
    {Body::kHipPlusX, Body::kKneeMinusX},
    {Body::kHipMinusX, Body::kKneePlusX},
    // neck to both hips
    {Body::kHipPlusX, Body::kNeck},
    {Body::kNeck, Body::kHipPlusX},
    {Body::kNeck, Body::kHipMinusX},
    {Body::kHipMinusX, Body::kNeck},
};

// Each knee guide is tied to its knee, both hips and its ankle.
constexpr Pair kKneeGuideLinks[] = {
    {Body::kKneeGuidePlusX, Body::kKneePlusX},  {Body::kKneeGuideMinusX, Body::kKneeMinusX},
    {Body::kKneeGuidePlusX, Body::kHipPlusX},   {Body::kKneeGuideMinusX, Body::kHipMinusX},
    {Body::kKneeGuidePlusX, Body::kHipMinusX},  {Body::kKneeGuideMinusX, Body::kHipPlusX},
    {Body::kKneeGuidePlusX, Body::kAnklePlusX}, {Body::kKneeGuideMinusX, Body::kAnkleMinusX},
};

struct Spacer {
    int from;
    int to;
    float factor;
};

// Keep limbs from folding through the trunk and each other.
constexpr Spacer kSpacers[] = {
    {Body::kHead, Body::kSpineTop, 1.475f},
    {Body::kShoulderPlusX, Body::kElbowMinusX, 2.875f},
    {Body::kShoulderMinusX, Body::kElbowPlusX, 2.875f},
    {Body::kElbowMinusX, Body::kRoot, 1.0f},
    {Body::kElbowPlusX, Body::kRoot, 1.0f},
    {Body::kWristMinusX, Body::kShoulderMinusX, 3.16f},
    {Body::kWristPlusX, Body::kShoulderPlusX, 3.16f},
    {Body::kKneeMinusX, Body::kSpineMid, 4.16f},
    {Body::kKneePlusX, Body::kSpineMid, 4.16f},
    {Body::kAnkleMinusX, Body::kHipMinusX, 2.016f},
    {Body::kAnklePlusX, Body::kHipPlusX, 2.016f},
};

}  // namespace

CreatureBody::CreatureBody() {
    bobOffset = Vec4(0.0f, 0.0f, 0.0f, 1.0f);
    aimDir = Vec4(0.0f, 0.0f, 0.0f, 1.0f);
    colour = Vec4(0.0f, 0.0f, 0.0f, 1.0f);
    Build();
}

void CreatureBody::Build() {
    for (MassPoint& p : points) {
        p.linkCount = 0;
        p.spacerCount = 0;
        p.velocity = Vec4(0.0f, 0.0f, 0.0f, 0.0f);
    }
    for (int i = 0; i < kRingSteps; ++i) {
        tubeSine[i] = SinF(static_cast<float>(i) * 1.0471976f);
        tubeCosine[i] = CosF(static_cast<float>(i) * 1.0471976f);
    }
    opacity = 1.0f;
    float blue = game::UnitRand();
    float green = game::UnitRand();
    float red = game::UnitRand();
    colour = Vec4(red, green, blue, 0.0f);
    for (int k = 0; k < kJointCount; ++k) {
        const JointSpec& s = kJoints[k];
        joints[k].offset = Vec4(s.x, s.y, s.z, 1.0f);
        joints[k].parent = s.parent;
        joints[k].depthRadius = s.depthRadius;
        joints[k].widthRadius = s.widthRadius;
        joints[k].tubeLength = -joints[k].offset.y;
        if (std::fabs(joints[k].tubeLength) < 0.00001f) joints[k].tubeLength = joints[k].offset.Length();
    }
    aiming = 0;
    gunPointA = kWristPlusX;
    animated = 1;
    for (BodyJoint& j : joints) {
        j.localRotation = Mat4::Identity();
        j.world = Mat4::Identity();
    }
    AddConstraints();
    bobOffset = Vec4(0.0f, 0.0f, 0.0f, 1.0f);
    rootTransform = Mat4::Identity();
}

void CreatureBody::AddConstraints() {
    for (int k = 1; k < kJointCount; ++k) {
        MassPoint& parent = points[joints[k].parent];
        points[k].AddLink(&parent, 0.0f);
        parent.AddLink(&points[k], 0.0f);
    }
    points[kShoulderPlusX].AddLink(&points[kShoulderMinusX], 0.0f);
    points[kShoulderMinusX].AddLink(&points[kShoulderPlusX], 0.0f);
    points[kHipPlusX].AddLink(&points[kHipMinusX], 0.0f);
    points[kHipMinusX].AddLink(&points[kHipPlusX], 0.0f);
    for (const Pair& l : kBracingLinks) points[l.from].AddLink(&points[l.to], 0.0f);
    const float guideLength = kBodyScale * 2.5f * 1.475f;
    for (const Pair& l : kKneeGuideLinks) points[l.from].AddLink(&points[l.to], guideLength);
    for (const Spacer& s : kSpacers) points[s.from].AddSpacer(&points[s.to], kBodyScale * 2.5f * s.factor);
    // A link whose pair was measured from an earlier point takes its length.
    measuredLinkCount = copiedLinkCount = 0;
    for (MassPoint& p : points)
        for (int i = 0; i < p.linkCount; ++i) {
            MassLink& link = p.links[i];
            if (link.backSlot >= 0 && link.other < &p) {
                copiedLinks[copiedLinkCount++] = &link;
            } else {
                measuredLengths[measuredLinkCount] = &link.restLength;
                measuredFrom[measuredLinkCount] = &p.position;
                measuredTo[measuredLinkCount++] = &link.other->position;
            }
        }
    // Measuring the last link again sets it to the same length.
    while (measuredLinkCount % 4 != 0) {
        measuredLengths[measuredLinkCount] = measuredLengths[measuredLinkCount - 1];
        measuredFrom[measuredLinkCount] = measuredFrom[measuredLinkCount - 1];
        measuredTo[measuredLinkCount] = measuredTo[measuredLinkCount - 1];
        ++measuredLinkCount;
    }
}
