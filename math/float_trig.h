// Single-precision sine, cosine and arc tangent with the same bits on every
// platform. Each C library rounds its sinf/cosf/atan2f its own way, and the
// game's state (and so a replay) depends on every bit, so the game calls these
// instead. Each is evaluated in double precision with basic arithmetic only,
// which IEEE 754 fixes to the bit, and rounded to float once: that gives the
// correctly rounded result except where the exact value lies within about
// 2^-50 of a midpoint between two floats. A short table-driven evaluation
// answers first; where its rounding could differ from the long series', the
// series answers, so every float is the series' own.
#pragma once

float SinF(float x);
float CosF(float x);
// SinF(x) and CosF(x), sharing the work on x.
void SinCosF(float x, float& sine, float& cosine);
// SinCosF(x) and SinCosF(-x): the second is exactly (-sine, cosine) for
// |x| <= kOppositesShareTrig, where one evaluation serves both; beyond it each
// is worked out.
inline constexpr float kOppositesShareTrig = 0.78f;
void SinCosOfOpposites(float x, float& sine, float& cosine, float& oppositeSine, float& oppositeCosine);
// Quadrants, signed zeros, infinities and NaNs as the C library's atan2f.
float Atan2F(float y, float x);

// The long series on their own, which SinF, CosF and Atan2F equal for every
// input; for the exhaustive comparison in bench/trig_bench.
namespace trig_reference {
float Sin(float x);
float Cos(float x);
float Atan2(float y, float x);
}  // namespace trig_reference
