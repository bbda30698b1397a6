#include "math/mass_point.h"

#include <cmath>

namespace {
constexpr float kDamping = 0.9999f;
constexpr float kFloor = -1.21f;
constexpr float kClampFriction = 0.95f;

// Moves both positions so that their distance is corrected by half of
// (len - target) each; leaves them when the spacer is satisfied. This is
// Vec4::NormalizeReturningLength taken apart, so that a satisfied spacer,
// the common case, stops before the division.
[[gnu::always_inline]] inline void Correct(Vec4& p, Vec4& q, float target, bool spacer) {
    Vec4 d = p - q;
    float square = d.LengthSquared();
    if (square < 0.00001f) {  // coincident: separate vertically
        d.y = 1.0f;
        square = d.LengthSquared();
    }
    const float len = square < 1e-9f ? 0.0f : std::sqrt(square);
    if (spacer && !(len < target)) return;
    if (len > 1e-13f) d *= 1.0f / len;
    d *= (len - target) * 0.5f;
    p -= d;
    q += d;
}
}  // namespace

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
    for (int i = 0; i < spacerCount; ++i) Correct(here, spacers[i].other->position, spacers[i].restLength, true);
    position = here;
}

void MassPoint::AddLink(MassPoint* other, float restLength) {
    if (linkCount < kMaxLinks) links[linkCount++] = MassLink{other, restLength};
}

void MassPoint::AddSpacer(MassPoint* other, float minDistance) {
    if (spacerCount < kMaxSpacers) spacers[spacerCount++] = MassLink{other, minDistance};
}
