// A Verlet mass point of a rag doll: velocity from the last two positions,
// damping, gravity, floor and wall clamps, and Gauss-Seidel link solving.
#pragma once

#include <cstdint>

#include "math/vec4.h"

// The arena's physics, shared by the walking figures and the rag dolls:
// the fall speed gained per frame in the air, and the bound on x and z.
inline constexpr float kGravity = 0.0025f;
inline constexpr float kArenaLimit = 24.0f;

struct MassPoint;

// A distance link, pulled to restLength. backSlot is the slot of other's
// link back to this point, or -1: a pair of links measures one distance.
struct MassLink {
    MassPoint* other = nullptr;
    float restLength = 0.0f;
    int32_t backSlot = -1;
};

// A spacer, pushed out to restLength when nearer. satisfiedFrom is the least
// squared distance whose length is not below restLength, so that a satisfied
// spacer, the common case, is known without its square root.
struct MassSpacer {
    MassPoint* other = nullptr;
    float restLength = 0.0f;
    float satisfiedFrom = 0.0f;
};

// The length the solver gives a squared distance: exactly 0 below 1e-9.
float SolverLength(float square);
// The least square s with !(SolverLength(s) < length), found by stepping
// through the floats, so it holds for every square, not just most.
float LeastSquareNotShorter(float length);

struct MassPoint {
    static constexpr int kMaxLinks = 10;
    static constexpr int kMaxSpacers = 18;

    Vec4 position;
    Vec4 previous;
    Vec4 velocity;
    int linkCount = 0;
    int spacerCount = 0;
    MassLink links[kMaxLinks];
    MassSpacer spacers[kMaxSpacers];

    void StoreVelocity();
    void Integrate();
    void SatisfyLinks();
    // SatisfyLinks for up to kMaxTogether points of different rag dolls,
    // whose links and spacers reach only their own body: each point gets the
    // same bits as alone, and the processor overlaps their long chains of
    // square roots and divisions. Points whose lists differ in length are
    // done one after another.
    static constexpr int kMaxTogether = 4;
    static void SatisfyLinksTogether(MassPoint* const* group, int count);

    // Construction helpers for the body builder; a full list keeps its entries.
    // A link pairs with the first unpaired link of other's back to this point.
    void AddLink(MassPoint* other, float restLength);
    void AddSpacer(MassPoint* other, float minDistance);
};
