#include "math/float_trig.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {
// Pi/2 in parts of 24 significant bits (and the rest), so that k times a part is exact for
// |k| < 2^29 and the first two subtractions lose nothing.
constexpr double kHalfPi1 = 0x1.921fb4p+0;
constexpr double kHalfPi2 = 0x1.4442dp-24;
constexpr double kHalfPi3 = 0x1.846988p-48;
constexpr double kHalfPi4 = 0x1.8cc516p-72;
constexpr double kHalfPi5 = 0x1.01b839a25204ap-96;  // the rest, rounded
constexpr double kTwoOverPi = 0.6366197723675814;
constexpr double kHalfPi = 1.5707963267948966;
constexpr double kQuarterPi = 0.7853981633974483;
constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;
// Below this, |k| stays under 2^29.
constexpr double kExactReductionLimit = 8.0e8;
constexpr double kTanEighthPi = 0.41421356237309503;

// x = k * pi/2 + r with |r| <= pi/4; returns r and k mod 4.
double ReduceByHalfPi(double x, int& quadrant) {
    // fmod is exact in every C library; it only wraps angles no game reaches,
    // by a double-precision turn, so such angles lose accuracy but not
    // agreement between platforms.
    if (std::fabs(x) > kExactReductionLimit) x = std::fmod(x, kTwoPi);
    const double k = std::floor(x * kTwoOverPi + 0.5);
    const double r = ((((x - k * kHalfPi1) - k * kHalfPi2) - k * kHalfPi3) - k * kHalfPi4) - k * kHalfPi5;
    quadrant = static_cast<int>(k - 4.0 * std::floor(k * 0.25));
    return r;
}

// Taylor series to the term below double precision for |r| <= pi/4.
double SinKernel(double r) {
    const double r2 = r * r;
    const double p =
        -1.0 / 6 +
        r2 * (8.333333333333333e-03 +
              r2 * (-1.984126984126984e-04 +
                    r2 * (2.755731922398589e-06 +
                          r2 * (-2.505210838544172e-08 +
                                r2 * (1.6059043836821613e-10 +
                                      r2 * (-7.647163731819816e-13 +
                                            r2 * (2.8114572543455206e-15 + r2 * -8.22063524662433e-18)))))));
    return r + r * r2 * p;
}

double CosKernel(double r) {
    const double r2 = r * r;
    const double p =
        4.1666666666666664e-02 +
        r2 * (-1.388888888888889e-03 +
              r2 * (2.48015873015873e-05 +
                    r2 * (-2.755731922398589e-07 +
                          r2 * (2.08767569878681e-09 +
                                r2 * (-1.1470745597729725e-11 +
                                      r2 * (4.779477332387385e-14 + r2 * -1.5619206968586225e-16))))));
    return 1.0 - 0.5 * r2 + r2 * r2 * p;
}

// The series' coefficients (-1)^n / (2n + 1), n = 1..23, divided once by the
// compiler, which rounds as IEEE division does.
constexpr int kAtanTerms = 23;
constexpr auto kAtanCoefficients = [] {
    std::array<double, kAtanTerms + 1> c{};
    for (int n = 1; n <= kAtanTerms; ++n) c[n] = ((n & 1) ? -1.0 : 1.0) / (2 * n + 1);
    return c;
}();

// atan(t) for 0 <= t <= 1: shifted by pi/4 above tan(pi/8), then the series
// in u with u^2 <= 0.1716, to the term below double precision.
double AtanUnit(double t) {
    double base = 0.0;
    if (t > kTanEighthPi) {
        base = kQuarterPi;
        t = (t - 1.0) / (t + 1.0);
    }
    const double t2 = t * t;
    double sum = 0.0;
    for (int n = kAtanTerms; n >= 1; --n) sum = sum * t2 + kAtanCoefficients[n];
    return base + (t + t * t2 * sum);
}

double SinOrCos(float x, int shift) {
    const double d = x;
    if (!std::isfinite(d)) return d - d;
    int quadrant = 0;
    const double r = ReduceByHalfPi(d, quadrant);
    switch ((quadrant + shift) & 3) {
        case 0: return SinKernel(r);
        case 1: return CosKernel(r);
        case 2: return -SinKernel(r);
        default: return -CosKernel(r);
    }
}

// The slow and sure evaluations: what the fast ones below must match bit for
// bit, and what they hand over to when their own rounding is in doubt.
float CarefulSin(float x) {
    // Keeps the sign of a zero, which the reduction would lose.
    if (x == 0.0f) return x;
    return static_cast<float>(SinOrCos(x, 0));
}

float CarefulCos(float x) { return static_cast<float>(SinOrCos(x, 1)); }

float CarefulAtan2(float y, float x) {
    if (std::isnan(y) || std::isnan(x)) return y + x;
    const double ay = std::fabs(static_cast<double>(y));
    const double ax = std::fabs(static_cast<double>(x));
    double angle;  // in the first quadrant, then mirrored
    if (ay == 0.0 && ax == 0.0) {
        angle = 0.0;
    } else if (std::isinf(ay) && std::isinf(ax)) {
        angle = kQuarterPi;
    } else if (ay > ax) {
        angle = kHalfPi - AtanUnit(ax / ay);
    } else {
        angle = AtanUnit(ay / ax);
    }
    if (std::signbit(x)) angle = kPi - angle;
    return static_cast<float>(std::copysign(angle, static_cast<double>(y)));
}

// The fast evaluations are accurate to a few units in the last place of a
// double (relative error below 2^-49), and so are the careful ones. Both
// therefore round to the same float unless the fast value lies within 2^12
// double units of the midpoint between two floats, where the careful
// evaluation decides; that happens for about one input in 65,000. The test
// reads the 29 bits a double has below a float's last bit, so it holds for
// results in the range of normal floats, which the callers make sure of.
constexpr uint64_t kBelowFloatMask = (uint64_t{1} << 29) - 1;
constexpr uint64_t kHalfFloatUnit = uint64_t{1} << 28;
constexpr uint64_t kRoundingMargin = uint64_t{1} << 12;

// By copy: the web build's C++ library has no bit cast.
uint64_t DoubleBits(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

bool NearFloatMidpoint(double v) {
    const uint64_t below = DoubleBits(v) & kBelowFloatMask;
    return below - (kHalfFloatUnit - kRoundingMargin) <= 2 * kRoundingMargin;
}

// sin(j pi / 32), j = 0..63, correctly rounded (entry 32 is sin(pi), 0).
constexpr double kSinTable[64] = {
    0.0, 0x1.917a6bc29b42cp-4, 0x1.8f8b83c69a60bp-3,
    0x1.294062ed59f06p-2, 0x1.87de2a6aea963p-2, 0x1.e2b5d3806f63bp-2,
    0x1.1c73b39ae68c8p-1, 0x1.44cf325091dd6p-1, 0x1.6a09e667f3bcdp-1,
    0x1.8bc806b151741p-1, 0x1.a9b66290ea1a3p-1, 0x1.c38b2f180bdb1p-1,
    0x1.d906bcf328d46p-1, 0x1.e9f4156c62ddap-1, 0x1.f6297cff75cb0p-1,
    0x1.fd88da3d12526p-1, 0x1.0000000000000p+0, 0x1.fd88da3d12526p-1,
    0x1.f6297cff75cb0p-1, 0x1.e9f4156c62ddap-1, 0x1.d906bcf328d46p-1,
    0x1.c38b2f180bdb1p-1, 0x1.a9b66290ea1a3p-1, 0x1.8bc806b151741p-1,
    0x1.6a09e667f3bcdp-1, 0x1.44cf325091dd6p-1, 0x1.1c73b39ae68c8p-1,
    0x1.e2b5d3806f63bp-2, 0x1.87de2a6aea963p-2, 0x1.294062ed59f06p-2,
    0x1.8f8b83c69a60bp-3, 0x1.917a6bc29b42cp-4, 0.0,
    -0x1.917a6bc29b42cp-4, -0x1.8f8b83c69a60bp-3, -0x1.294062ed59f06p-2,
    -0x1.87de2a6aea963p-2, -0x1.e2b5d3806f63bp-2, -0x1.1c73b39ae68c8p-1,
    -0x1.44cf325091dd6p-1, -0x1.6a09e667f3bcdp-1, -0x1.8bc806b151741p-1,
    -0x1.a9b66290ea1a3p-1, -0x1.c38b2f180bdb1p-1, -0x1.d906bcf328d46p-1,
    -0x1.e9f4156c62ddap-1, -0x1.f6297cff75cb0p-1, -0x1.fd88da3d12526p-1,
    -0x1.0000000000000p+0, -0x1.fd88da3d12526p-1, -0x1.f6297cff75cb0p-1,
    -0x1.e9f4156c62ddap-1, -0x1.d906bcf328d46p-1, -0x1.c38b2f180bdb1p-1,
    -0x1.a9b66290ea1a3p-1, -0x1.8bc806b151741p-1, -0x1.6a09e667f3bcdp-1,
    -0x1.44cf325091dd6p-1, -0x1.1c73b39ae68c8p-1, -0x1.e2b5d3806f63bp-2,
    -0x1.87de2a6aea963p-2, -0x1.294062ed59f06p-2, -0x1.8f8b83c69a60bp-3,
    -0x1.917a6bc29b42cp-4,
};

// x = k pi/32 + r, |r| <= pi/64 (and a hair): pi/32 in three parts of 20 bits
// and the rest, so that k times each of the first three is exact for |k| < 2^33
// (|x| <= 8e8) and the first subtraction loses nothing.
constexpr double kPiOver32Part1 = 0x1.921fap-4;
constexpr double kPiOver32Part2 = 0x1.54442p-24;
constexpr double kPiOver32Part3 = 0x1.a308cp-45;
constexpr double kPiOver32Part4 = 0x1.313198a2e037p-65;
constexpr double kThirtyTwoOverPi = 0x1.45f306dc9c883p+3;
// Adding this rounds a double below 2^51 in magnitude to an integer, which
// then sits in the low bits of the sum.
constexpr double kRoundingShifter = 0x1.8p52;
// Inputs below this magnitude (and those beyond the exact reduction) go the
// careful way: their sines could be subnormal floats.
constexpr float kFastTrigFloor = 0x1p-100f;

// For kFastTrigFloor <= |x| <= 8e8: x = a + r with a = k pi/32 and the sine
// and cosine of r from short Taylor series, whose next terms are below 2^-53
// relative for |r| <= 0.05. Then sin x = sin a cos r + cos a sin r and
// cos x = cos a cos r - sin a sin r, with sin a and cos a from the table.
struct Reduced {
    int k;  // modulo 64
    double sinR, cosR;
};

Reduced Reduce(double x) {
    const double shifted = x * kThirtyTwoOverPi + kRoundingShifter;
    const double k = shifted - kRoundingShifter;
    const double r = (((x - k * kPiOver32Part1) - k * kPiOver32Part2) - k * kPiOver32Part3) - k * kPiOver32Part4;
    const double r2 = r * r;
    return {static_cast<int>(DoubleBits(shifted) & 63),
            r + r * r2 * (-1.0 / 6 + r2 * (1.0 / 120 + r2 * (-1.0 / 5040 + r2 * (1.0 / 362880)))),
            1.0 + r2 * (-1.0 / 2 + r2 * (1.0 / 24 + r2 * (-1.0 / 720 + r2 * (1.0 / 40320))))};
}

double FastSin(const Reduced& a) { return kSinTable[a.k] * a.cosR + kSinTable[(a.k + 16) & 63] * a.sinR; }
double FastCos(const Reduced& a) { return kSinTable[(a.k + 16) & 63] * a.cosR - kSinTable[a.k] * a.sinR; }

bool FastTrigArgument(float x) {
    const float a = std::fabs(x);
    return a >= kFastTrigFloor && a <= static_cast<float>(kExactReductionLimit);
}

// atan(j / 8), j = 0..8, correctly rounded.
constexpr double kAtanTable[9] = {
    0.0, 0x1.fd5ba9aac2f6ep-4, 0x1.f5b75f92c80ddp-3,
    0x1.6f61941e4def1p-2, 0x1.dac670561bb4fp-2, 0x1.1e00babdefeb4p-1,
    0x1.4978fa3269ee1p-1, 0x1.700a7c5784634p-1, 0x1.921fb54442d18p-1,
};

// atan(t) for 0 <= t <= 1: atan(c) + atan((t - c) / (1 + t c)) with c the
// nearest eighth, so that the series runs in |v| <= 1/16, to the term below
// 2^-53 relative.
double FastAtanUnit(double t) {
    const int j = static_cast<int>(t * 8.0 + 0.5);
    const double c = j * 0.125;
    const double v = (t - c) / (1.0 + t * c);
    const double v2 = v * v;
    const double series =
        v + v * v2 *
                (-1.0 / 3 +
                 v2 * (1.0 / 5 + v2 * (-1.0 / 7 + v2 * (1.0 / 9 + v2 * (-1.0 / 11 + v2 * (1.0 / 13))))));
    return kAtanTable[j] + series;
}

// Angles below this go the careful way: their floats could be subnormal.
constexpr double kFastAngleFloor = 0x1p-100;
}  // namespace

float SinF(float x) {
    if (FastTrigArgument(x)) {
        const double s = FastSin(Reduce(x));
        if (!NearFloatMidpoint(s)) return static_cast<float>(s);
    }
    return CarefulSin(x);
}

float CosF(float x) {
    if (FastTrigArgument(x)) {
        const double c = FastCos(Reduce(x));
        if (!NearFloatMidpoint(c)) return static_cast<float>(c);
    }
    return CarefulCos(x);
}

void SinCosF(float x, float& sine, float& cosine) {
    if (FastTrigArgument(x)) {
        const Reduced a = Reduce(x);
        const double s = FastSin(a), c = FastCos(a);
        sine = NearFloatMidpoint(s) ? CarefulSin(x) : static_cast<float>(s);
        cosine = NearFloatMidpoint(c) ? CarefulCos(x) : static_cast<float>(c);
        return;
    }
    sine = CarefulSin(x);
    cosine = CarefulCos(x);
}

void SinCosOfOpposites(float x, float& sine, float& cosine, float& oppositeSine, float& oppositeCosine) {
    // Every step of the fast evaluation is odd or even in x: the reduction
    // rounds k to nearest even, which is symmetric; r, and so the sine of r,
    // change sign and the cosine of r does not; the table holds
    // sin(-j pi/32) = -sin(j pi/32) and the cosine at j and -j alike, each
    // correctly rounded; the midpoint test ignores the sign. The careful
    // evaluation's reduction rounds half up, which is not symmetric, but
    // below kOppositesShareTrig its k is 0 on both sides and r is x itself.
    SinCosF(x, sine, cosine);
    if (std::fabs(x) <= kOppositesShareTrig) {
        oppositeSine = -sine;
        oppositeCosine = cosine;
    } else {
        SinCosF(-x, oppositeSine, oppositeCosine);
    }
}

float Atan2F(float y, float x) {
    // The careful function's steps with the fast arc tangent; zeros,
    // infinities and NaNs come out of the quotient as NaN and go the careful
    // way, as do angles too small or too near a rounding midpoint.
    const double ay = std::fabs(static_cast<double>(y));
    const double ax = std::fabs(static_cast<double>(x));
    const bool steep = ay > ax;
    const double t = steep ? ax / ay : ay / ax;
    if (t >= 0.0 && t <= 1.0) {
        double angle = steep ? kHalfPi - FastAtanUnit(t) : FastAtanUnit(t);
        if (std::signbit(x)) angle = kPi - angle;
        if (angle >= kFastAngleFloor && !NearFloatMidpoint(angle))
            return static_cast<float>(std::copysign(angle, static_cast<double>(y)));
    }
    return CarefulAtan2(y, x);
}

namespace trig_reference {
float Sin(float x) { return CarefulSin(x); }
float Cos(float x) { return CarefulCos(x); }
float Atan2(float y, float x) { return CarefulAtan2(y, x); }
}  // namespace trig_reference
