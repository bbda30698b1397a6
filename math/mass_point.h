// A Verlet mass point of a rag doll: velocity from the last two positions,
// damping, gravity, floor and wall clamps, and Gauss-Seidel link solving.
#pragma once

#include "math/vec4.h"

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
