#include "creatures/creature_body.h"

#include <cmath>
#include <cstddef>
#include <type_traits>

#include "creatures/creature.h"
#include "world/game_random.h"

const float kBodyScale = 0.1f;
float tubeSine[kRingSteps];
float tubeCosine[kRingSteps];

namespace {

struct JointSpec {
    int32_t parent;
    float x, y, z;
    float depthRadius;
    float widthRadius;
};

// Trunk and head 0-5, +X arm 6-9, -X arm 10-13, +X leg 14-17, -X leg 18-21.
// Every parent has a lower index than its child.
constexpr JointSpec kJoints[CreatureBody::kJointCount] = {
    {-1, 0.0f, 2.0f, 0.0f, 1.0f, 1.0f},       {0, 0.0f, 2.0f, 0.2f, 1.1f, 1.515f},
    {1, 0.0f, 2.0f, 0.0f, 1.0f, 1.25f},       {2, 0.0f, 4.0f, -0.2f, 1.0f, 1.5f},
    {3, 0.0f, 1.25f, -0.2f, 0.5f, 0.5f},      {4, 0.0f, 3.0f, 0.0f, 0.805f, 0.805f},
    {3, 1.5f, 0.5f, 0.0f, 0.5f, 0.5f},        {6, 1.0f, -6.0f, 0.0f, 0.75f, 0.5f},
    {7, 0.0f, -4.0f, -0.5f, 0.5f, 0.5f},      {8, 0.0f, -1.0f, 0.0f, 0.65f, 0.65f},
    {3, -1.5f, 0.5f, 0.0f, 0.5f, 0.5f},       {10, -1.0f, -6.0f, 0.0f, 0.75f, 0.5f},
    {11, 0.0f, -4.0f, -0.5f, 0.5f, 0.5f},     {12, 0.0f, -1.0f, 0.0f, 0.65f, 0.65f},
    {0, 0.7f, -1.0f, 0.0f, 1.0f, 0.9f},       {14, 0.5f, -7.0f, -0.15f, 0.7f, 0.6f},
    {15, 0.0f, -6.0f, 0.13f, 0.55f, 0.55f},   {16, 0.0f, 0.0f, -1.0f, 1.0f, 0.6f},
    {0, -0.7f, -1.0f, 0.0f, 1.0f, 0.9f},      {18, -0.5f, -7.0f, -0.15f, 0.7f, 0.6f},
    {19, 0.0f, -6.0f, 0.13f, 0.55f, 0.55f},   {20, 0.0f, 0.0f, -1.0f, 1.0f, 0.6f},
};

struct Pair {
    int from;
    int to;
};

// One-way links beyond the skeleton's bones, in the order they are added.
constexpr Pair kBracingLinks[] = {
    {14, 10}, {18, 6}, {14, 6}, {18, 10},  // hips to shoulders
    {14, 19}, {18, 15},                    // each hip to the other knee
    {14, 4}, {4, 14}, {4, 18}, {18, 4},    // neck to both hips
};

// The knee guide points 22 and 23 hold the knees out of the leg's plane.
constexpr Pair kKneeGuideLinks[] = {
    {22, 15}, {23, 19}, {22, 14}, {23, 18}, {22, 18}, {23, 14}, {22, 16}, {23, 20},
};

struct Spacer {
    int from;
    int to;
    float factor;
};

// Keep limbs from folding through the trunk and each other.
constexpr Spacer kSpacers[] = {
    {5, 3, 1.475f},  {6, 11, 2.875f}, {10, 7, 2.875f}, {11, 0, 1.0f},   {7, 0, 1.0f},    {12, 10, 3.16f},
    {8, 6, 3.16f},   {19, 2, 4.16f},  {15, 2, 4.16f},  {20, 18, 2.016f}, {16, 14, 2.016f},
};

float DrawUnit() { return static_cast<float>(game::rand()) / 32767.0f; }

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
        tubeSine[i] = std::sin(static_cast<float>(i) * 1.0471976f);
        tubeCosine[i] = std::cos(static_cast<float>(i) * 1.0471976f);
    }
    opacity = 1.0f;
    float blue = DrawUnit();
    float green = DrawUnit();
    float red = DrawUnit();
    colour = Vec4(red, green, blue, 0.0f);
    for (int k = 0; k < kJointCount; ++k) {
        const JointSpec& s = kJoints[k];
        joints[k].offset = Vec4(s.x, s.y, s.z, 1.0f);
        joints[k].parent = s.parent;
        joints[k].depthRadius = s.depthRadius;
        joints[k].widthRadius = s.widthRadius;
    }
    aiming = 0;
    gunPointA = 8;
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
    points[6].AddLink(&points[10], 0.0f);
    points[10].AddLink(&points[6], 0.0f);
    points[14].AddLink(&points[18], 0.0f);
    points[18].AddLink(&points[14], 0.0f);
    for (const Pair& l : kBracingLinks) points[l.from].AddLink(&points[l.to], 0.0f);
    const float guideLength = kBodyScale * 2.5f * 1.475f;
    for (const Pair& l : kKneeGuideLinks) points[l.from].AddLink(&points[l.to], guideLength);
    for (const Spacer& s : kSpacers) points[s.from].AddSpacer(&points[s.to], kBodyScale * 2.5f * s.factor);
}

Creature* CreatureBody::Owner() {
    static_assert(std::is_standard_layout_v<Creature>, "the body finds its creature by member offset");
    auto* creature = reinterpret_cast<Creature*>(reinterpret_cast<char*>(this) - offsetof(Creature, body));
    return creature->self;
}
