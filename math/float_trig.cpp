#include "math/float_trig.h"

#include <array>
#include <cmath>

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
}  // namespace

float SinF(float x) {
    // Keeps the sign of a zero, which the reduction would lose.
    if (x == 0.0f) return x;
    return static_cast<float>(SinOrCos(x, 0));
}

float CosF(float x) { return static_cast<float>(SinOrCos(x, 1)); }

float Atan2F(float y, float x) {
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
