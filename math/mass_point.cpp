#include "math/mass_point.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float kDamping = 0.9999f;
constexpr float kFloor = -1.21f;
constexpr float kClampFriction = 0.95f;

// Moves both positions so that their distance is corrected by half of
// (len - target) each; leaves them when the spacer is satisfied, which its
// squared distance tells (satisfiedFrom). This is
// Vec4::NormalizeReturningLength taken apart, so that a satisfied spacer,
// the common case, stops before the square root.
[[gnu::always_inline]] inline void Correct(Vec4& p, Vec4& q, float target, bool spacer, float satisfiedFrom = 0.0f) {
    Vec4 d = p - q;
    float square = d.LengthSquared();
    if (square < 0.00001f) {  // coincident: separate vertically
        d.y = 1.0f;
        square = d.LengthSquared();
    }
    if (spacer && !(square < satisfiedFrom)) return;
    const float len = SolverLength(square);
    if (len > 1e-13f) d *= 1.0f / len;
    d *= (len - target) * 0.5f;
    p -= d;
    q += d;
}
}  // namespace

float SolverLength(float square) { return square < 1e-9f ? 0.0f : std::sqrt(square); }

float LeastSquareNotShorter(float length) {
    // Lengths only grow with the square, so the squares whose length is below
    // `length` are all those below one bound. A length of 0, below 0 or NaN
    // has no square below it.
    if (!(length > 0.0f)) return 0.0f;
    // Within a step or two of the bound, or infinite; below 1e-9 every square
    // has the length 0, so the search starts no lower.
    float s = std::max(length * length, 1e-9f);
    while (s > 0.0f && !(SolverLength(std::nextafter(s, 0.0f)) < length)) s = std::nextafter(s, 0.0f);
    while (SolverLength(s) < length) s = std::nextafter(s, INFINITY);
    return s;
}

void MassPoint::StoreVelocity() {
    velocity = position;
    velocity -= previous;
}

void MassPoint::Integrate() {
    previous = position;
    velocity *= kDamping;
    velocity.y -= kGravity;
    // Once per link, as the solver was tuned: a resting point with k links
    // loses 5% k times per frame. Clamping only moves a coordinate onto its
    // bound, so a point that no clamp touches on the first run is touched on
    // none; most points are inside, and skip the runs.
    const bool outside = position.y <= kFloor || position.x <= -kArenaLimit || position.x >= kArenaLimit ||
                         position.z <= -kArenaLimit || position.z >= kArenaLimit;
    for (int i = 0; outside && i < linkCount; ++i) {
        if (position.y <= kFloor) {
            position.y = kFloor;
            velocity *= kClampFriction;
            if (velocity.y < 0.0f) velocity.y = 0.0f;
        }
        if (position.x <= -kArenaLimit) {
            position.x = -kArenaLimit;
            velocity *= kClampFriction;
        }
        if (position.x >= kArenaLimit) {
            position.x = kArenaLimit;
            velocity *= kClampFriction;
        }
        if (position.z <= -kArenaLimit) {
            position.z = -kArenaLimit;
            velocity *= kClampFriction;
        }
        if (position.z >= kArenaLimit) {
            position.z = kArenaLimit;
            velocity *= kClampFriction;
        }
    }
    position += velocity;
}

void MassPoint::SatisfyLinks() {
    // Each correction starts from the one before it; this point's position
    // stays in registers between them. No point links to itself.
    Vec4 here = position;
    for (int i = 0; i < linkCount; ++i) Correct(here, links[i].other->position, links[i].restLength, false);
    for (int i = 0; i < spacerCount; ++i)
        Correct(here, spacers[i].other->position, spacers[i].restLength, true, spacers[i].satisfiedFrom);
    position = here;
}

namespace {
template <int N>
void SatisfyLinksOfN(MassPoint* const* p) {
    Vec4 here[N];
    for (int b = 0; b < N; ++b) here[b] = p[b]->position;
    const int links = p[0]->linkCount;
    const int spacers = p[0]->spacerCount;
    for (int i = 0; i < links; ++i)
        for (int b = 0; b < N; ++b) Correct(here[b], p[b]->links[i].other->position, p[b]->links[i].restLength, false);
    for (int i = 0; i < spacers; ++i)
        for (int b = 0; b < N; ++b) {
            const MassSpacer& s = p[b]->spacers[i];
            Correct(here[b], s.other->position, s.restLength, true, s.satisfiedFrom);
        }
    for (int b = 0; b < N; ++b) p[b]->position = here[b];
}
}  // namespace

void MassPoint::SatisfyLinksTogether(MassPoint* const* group, int count) {
    bool alike = count <= kMaxTogether;
    for (int b = 1; alike && b < count; ++b)
        alike = group[b]->linkCount == group[0]->linkCount && group[b]->spacerCount == group[0]->spacerCount;
    if (!alike) {
        for (int b = 0; b < count; ++b) group[b]->SatisfyLinks();
        return;
    }
    switch (count) {
        case 4: return SatisfyLinksOfN<4>(group);
        case 3: return SatisfyLinksOfN<3>(group);
        case 2: return SatisfyLinksOfN<2>(group);
        case 1: return group[0]->SatisfyLinks();
        default: return;
    }
}

void MassPoint::AddLink(MassPoint* other, float restLength) {
    if (linkCount >= kMaxLinks) return;
    MassLink& added = links[linkCount] = MassLink{other, restLength, -1};
    for (int j = 0; j < other->linkCount; ++j) {
        MassLink& back = other->links[j];
        if (back.other == this && back.backSlot < 0) {
            added.backSlot = j;
            back.backSlot = linkCount;
            break;
        }
    }
    ++linkCount;
}

void MassPoint::AddSpacer(MassPoint* other, float minDistance) {
    if (spacerCount < kMaxSpacers) spacers[spacerCount++] = MassSpacer{other, minDistance, LeastSquareNotShorter(minDistance)};
}
