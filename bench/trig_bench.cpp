// SinF, CosF and Atan2F against the long series they replace (and the C
// library's sinf and atan2f): nanoseconds per call, and with "exhaustive" the
// comparison that proves them equal, bit for bit:
// - sine and cosine: every float from 0 to 8e8 (about 1.3 billion), and with
//   "both-signs" their negatives too;
// - arc tangent: it depends on its arguments only through their signs, which
//   one is larger in magnitude and their quotient in double precision. Every
//   float t in [0, 1] as the quotient (t against 1, in the four quadrant and
//   the two steepness cases: (t, 1), (1, -t), (-t, -1), (-1, t)), and then
//   2^30 pairs of random float bit patterns, whose quotients fall between
//   floats, at every exponent, and include zeros, infinities and NaNs.
// Exits non-zero on any difference. Not part of the test run: it takes
// minutes.
#include <bit>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "math/float_trig.h"

namespace {
uint32_t Bits(float f) { return std::bit_cast<uint32_t>(f); }
float FromBits(uint32_t b) { return std::bit_cast<float>(b); }

// Results are compared bit for bit, NaNs and signed zeros included.
struct Count {
    uint64_t tested = 0;
    uint64_t different = 0;
};

void Report(const char* what, const Count& c) {
    std::printf("%-44s %12" PRIu64 " inputs, %" PRIu64 " different\n", what, c.tested, c.different);
}

template <typename Fast, typename Reference>
void CompareOne(Count& c, float x, Fast fast, Reference reference, const char* name) {
    ++c.tested;
    if (Bits(fast(x)) != Bits(reference(x)) && ++c.different <= 5)
        std::printf("  %s differs at %a: %a against %a\n", name, static_cast<double>(x),
                    static_cast<double>(fast(x)), static_cast<double>(reference(x)));
}

// SinCosF's pair against the series', bit for bit.
void CompareSinCos(Count& c, float x) {
    ++c.tested;
    float sine, cosine;
    SinCosF(x, sine, cosine);
    const float s = trig_reference::Sin(x), co = trig_reference::Cos(x);
    if ((Bits(sine) != Bits(s) || Bits(cosine) != Bits(co)) && ++c.different <= 5)
        std::printf("  sincos differs at %a: %a %a against %a %a\n", static_cast<double>(x),
                    static_cast<double>(sine), static_cast<double>(cosine), static_cast<double>(s),
                    static_cast<double>(co));
}

bool ExhaustiveSineAndCosine(bool bothSigns) {
    Count sine, cosine, both;
    const uint32_t end = Bits(8.0e8f);
    for (uint32_t b = 0; b <= end; ++b) {
        for (int sign = 0; sign <= (bothSigns ? 1 : 0); ++sign) {
            const float x = FromBits(b | (sign ? 0x80000000u : 0u));
            CompareOne(sine, x, SinF, trig_reference::Sin, "sin");
            CompareOne(cosine, x, CosF, trig_reference::Cos, "cos");
            CompareSinCos(both, x);
        }
    }
    Report(bothSigns ? "SinF, every float with |x| <= 8e8" : "SinF, every float 0 <= x <= 8e8", sine);
    Report(bothSigns ? "CosF, every float with |x| <= 8e8" : "CosF, every float 0 <= x <= 8e8", cosine);
    Report(bothSigns ? "SinCosF (both), every float with |x| <= 8e8" : "SinCosF (both), every float 0 <= x <= 8e8",
           both);
    return sine.different == 0 && cosine.different == 0 && both.different == 0;
}

void CompareAtan(Count& c, float y, float x) {
    ++c.tested;
    const float fast = Atan2F(y, x), reference = trig_reference::Atan2(y, x);
    if (Bits(fast) != Bits(reference) && ++c.different <= 5)
        std::printf("  atan2 differs at (%a, %a): %a against %a\n", static_cast<double>(y), static_cast<double>(x),
                    static_cast<double>(fast), static_cast<double>(reference));
}

bool ExhaustiveArcTangent() {
    Count everyQuotient, randomPairs;
    const uint32_t one = Bits(1.0f);
    for (uint32_t b = 0; b <= one; ++b) {
        const float t = FromBits(b);
        CompareAtan(everyQuotient, t, 1.0f);
        CompareAtan(everyQuotient, 1.0f, -t);
        CompareAtan(everyQuotient, -t, -1.0f);
        CompareAtan(everyQuotient, -1.0f, t);
    }
    uint64_t state = 0x9E3779B97F4A7C15u;  // xorshift64*
    auto next = [&state] {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return static_cast<uint32_t>((state * 0x2545F4914F6CDD1Du) >> 32);
    };
    for (uint64_t i = 0; i < (uint64_t{1} << 30); ++i) {
        const float y = FromBits(next()), x = FromBits(next());
        CompareAtan(randomPairs, y, x);
    }
    Report("Atan2F, every float quotient in [0, 1], x4", everyQuotient);
    Report("Atan2F, random float pairs", randomPairs);
    return everyQuotient.different == 0 && randomPairs.different == 0;
}

// Angles as the game passes them: walk phases and joint angles of a few
// radians, and headings from both signs of both components.
constexpr int kInputs = 4096;
float angles[kInputs], ys[kInputs], xs[kInputs];

template <typename F>
double NanosecondsPerCall(F f) {
    volatile float sink = 0.0f;
    double best = 1e30;
    for (int run = 0; run < 15; ++run) {
        const auto start = std::chrono::steady_clock::now();
        float sum = 0.0f;
        for (int repeat = 0; repeat < 50; ++repeat)
            for (int i = 0; i < kInputs; ++i) sum += f(i);
        const auto stop = std::chrono::steady_clock::now();
        sink = sink + sum;
        const double ns = std::chrono::duration<double, std::nano>(stop - start).count() / (50.0 * kInputs);
        if (ns < best) best = ns;
    }
    return best;
}

void Timings() {
    uint32_t seed = 12345;
    auto uniform = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) * (1.0f / 16777216.0f);
    };
    for (int i = 0; i < kInputs; ++i) {
        angles[i] = (uniform() - 0.5f) * 16.0f;
        ys[i] = uniform() * 2.0f - 1.0f;
        xs[i] = uniform() * 2.0f - 1.0f;
    }
    std::printf("ns per call, best of 15 runs over %d inputs (angles in [-8, 8], atan2 on [-1, 1]^2):\n", kInputs);
    std::printf("  sin:   new %5.2f  series %5.2f  C library %5.2f\n",
                NanosecondsPerCall([](int i) { return SinF(angles[i]); }),
                NanosecondsPerCall([](int i) { return trig_reference::Sin(angles[i]); }),
                NanosecondsPerCall([](int i) { return std::sin(angles[i]); }));
    std::printf("  cos:   new %5.2f  series %5.2f  C library %5.2f\n",
                NanosecondsPerCall([](int i) { return CosF(angles[i]); }),
                NanosecondsPerCall([](int i) { return trig_reference::Cos(angles[i]); }),
                NanosecondsPerCall([](int i) { return std::cos(angles[i]); }));
    std::printf("  sin and cos of one angle: new SinCosF %5.2f, series %5.2f\n", NanosecondsPerCall([](int i) {
                    float s, c;
                    SinCosF(angles[i], s, c);
                    return s + c;
                }),
                NanosecondsPerCall([](int i) { return trig_reference::Sin(angles[i]) + trig_reference::Cos(angles[i]); }));
    std::printf("  atan2: new %5.2f  series %5.2f  C library %5.2f\n",
                NanosecondsPerCall([](int i) { return Atan2F(ys[i], xs[i]); }),
                NanosecondsPerCall([](int i) { return trig_reference::Atan2(ys[i], xs[i]); }),
                NanosecondsPerCall([](int i) { return std::atan2(ys[i], xs[i]); }));
}
}  // namespace

int main(int argc, char** argv) {
    Timings();
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "exhaustive") ok = ExhaustiveSineAndCosine(false) && ok;
        if (arg == "both-signs") ok = ExhaustiveSineAndCosine(true) && ok;
        if (arg == "exhaustive" || arg == "atan2") ok = ExhaustiveArcTangent() && ok;
    }
    return ok ? 0 : 1;
}
