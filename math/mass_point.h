// A Verlet mass point of a rag doll: velocity from the last two positions,
// damping, gravity, floor and wall clamps, and Gauss-Seidel link solving.
#pragma once

#include "math/vec4.h"

// The arena's physics, shared by the walking figures and the rag dolls:
// the fall speed gained per frame in the air, and the bound on x and z.
inline constexpr float kGravity = 0.0025f;
inline constexpr float kArenaLimit = 24.0f;

struct MassPoint;

// A distance link (pulled to restLength) or a spacer (pushed out to restLength).
struct MassLink {
    MassPoint* other = nullptr;
    float restLength = 0.0f;
};

struct MassPoint {
    static constexpr int kMaxLinks = 10;
    static constexpr int kMaxSpacers = 18;

    Vec4 position;
    Vec4 previous;
    Vec4 velocity;
    int linkCount = 0;
    int spacerCount = 0;
    MassLink links[kMaxLinks];
    MassLink spacers[kMaxSpacers];

    void StoreVelocity();
    void Integrate();
    void SatisfyLinks();

    // Construction helpers for the body builder; a full list keeps its entries.
    void AddLink(MassPoint* other, float restLength);
    void AddSpacer(MassPoint* other, float minDistance);
};
