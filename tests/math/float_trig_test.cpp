#include "math/float_trig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {
uint32_t Bits(float f) {
    uint32_t b;
    std::memcpy(&b, &f, sizeof b);
    return b;
}

float FromBits(uint32_t b) {
    float f;
    std::memcpy(&f, &b, sizeof f);
    return f;
}

// The correctly rounded value, from long double, whose extra bits make a
// wrong double rounding far rarer than any sample here would find.
float SinReference(float x) { return static_cast<float>(std::sin(static_cast<long double>(x))); }
float CosReference(float x) { return static_cast<float>(std::cos(static_cast<long double>(x))); }
float Atan2Reference(float y, float x) {
    return static_cast<float>(std::atan2(static_cast<long double>(y), static_cast<long double>(x)));
}

// Every 1009th float from the smallest subnormal up to the end of the exact
// reduction, both signs: tiny angles, the game's angles and far-off ones.
TEST(FloatTrig, SineAndCosineAreCorrectlyRoundedUpToTheReductionLimit) {
    int sinWrong = 0, cosWrong = 0, tested = 0;
    for (uint32_t b = 1; FromBits(b) < 8.0e8f; b += 1009) {
        for (float x : {FromBits(b), -FromBits(b)}) {
            ++tested;
            if (Bits(SinF(x)) != Bits(SinReference(x)) && ++sinWrong <= 3) ADD_FAILURE() << "sin " << std::hexfloat << x;
            if (Bits(CosF(x)) != Bits(CosReference(x)) && ++cosWrong <= 3) ADD_FAILURE() << "cos " << std::hexfloat << x;
        }
    }
    EXPECT_GT(tested, 2500000);
    EXPECT_EQ(sinWrong, 0);
    EXPECT_EQ(cosWrong, 0);
}

TEST(FloatTrig, ArcTangentIsCorrectlyRoundedInEveryQuadrantAndScale) {
    uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
    int wrong = 0;
    for (int i = 0; i < 300000; ++i) {
        const float y = std::ldexp(static_cast<float>(next() >> 8) / 16777216.0f, static_cast<int>(next() % 60) - 30);
        const float x = std::ldexp(static_cast<float>(next() >> 8) / 16777216.0f, static_cast<int>(next() % 60) - 30);
        for (float sy : {y, -y})
            for (float sx : {x, -x})
                if (Bits(Atan2F(sy, sx)) != Bits(Atan2Reference(sy, sx)) && ++wrong <= 3)
                    ADD_FAILURE() << std::hexfloat << "atan2 " << sy << " " << sx;
    }
    EXPECT_EQ(wrong, 0);
}

// Inputs whose exact results lie within 64 double units of a midpoint
// between two floats: the fast evaluation cannot decide their rounding and
// must hand them to the series, whose floats they must be, in every form.
constexpr float kNearMidpoint[] = {0x1.ad543cp-7f, 0x1.c5db48p-7f, 0x1.404b8cp-6f, 0x1.0ca1d4p-5f,
                                   0x1.ad0664p-5f, 0x1.9eab2ep-4f, 0x1.c848c8p-7f, 0x1.f2e64cp-7f,
                                   0x1.f9f7fep-6f, 0x1.b141d4p-5f, 0x1.589f8p-4f,  0x1.a01ebap-4f};

TEST(FloatTrig, InputsNearARoundingMidpointGetTheSeriesFloats) {
    for (float x : kNearMidpoint) {
        for (float v : {x, -x}) {
            float sine = 0.0f, cosine = 0.0f;
            SinCosF(v, sine, cosine);
            EXPECT_EQ(Bits(SinF(v)), Bits(trig_reference::Sin(v))) << std::hexfloat << v;
            EXPECT_EQ(Bits(CosF(v)), Bits(trig_reference::Cos(v))) << std::hexfloat << v;
            EXPECT_EQ(Bits(sine), Bits(trig_reference::Sin(v))) << std::hexfloat << v;
            EXPECT_EQ(Bits(cosine), Bits(trig_reference::Cos(v))) << std::hexfloat << v;
        }
    }
    for (float t : {0x1.0ee69p+4f, 0x1.12109cp+7f, 0x1.d7ea42p+7f, 0x1.feef86p+16f, 0x1.e00a1ep+25f, 0x1.e00a2cp+25f}) {
        for (float y : {t, -t, 1.0f, -1.0f})
            for (float x : {t, -t, 1.0f, -1.0f})
                EXPECT_EQ(Bits(Atan2F(y, x)), Bits(trig_reference::Atan2(y, x))) << std::hexfloat << y << " " << x;
    }
}

// SinCosF is SinF and CosF at once, to the bit, over the sampled range.
TEST(FloatTrig, SineAndCosineTogetherEqualEachAlone) {
    int wrong = 0;
    for (uint32_t b = 1; FromBits(b) < 8.0e8f; b += 7919) {
        for (float x : {FromBits(b), -FromBits(b)}) {
            float sine = 0.0f, cosine = 0.0f;
            SinCosF(x, sine, cosine);
            if ((Bits(sine) != Bits(SinF(x)) || Bits(cosine) != Bits(CosF(x))) && ++wrong <= 3)
                ADD_FAILURE() << std::hexfloat << x;
        }
    }
    for (float x : {0.0f, -0.0f, 1e-40f, 9.0e8f, std::numeric_limits<float>::infinity(), std::nanf("")}) {
        float sine = 0.0f, cosine = 0.0f;
        SinCosF(x, sine, cosine);
        EXPECT_EQ(Bits(sine), Bits(SinF(x))) << x;
        EXPECT_EQ(Bits(cosine), Bits(CosF(x))) << x;
    }
    EXPECT_EQ(wrong, 0);
}

// SinCosOfOpposites is SinCosF of x and of -x, to the bit: sampled up to
// well past the limit below which one evaluation serves both, and at the
// inputs that take the careful way, the limit itself and special values.
TEST(FloatTrig, OppositeAnglesGetSinCosFOfEach) {
    int wrong = 0;
    const auto check = [&wrong](float x) {
        float sine = 0.0f, cosine = 0.0f, oppositeSine = 0.0f, oppositeCosine = 0.0f;
        SinCosOfOpposites(x, sine, cosine, oppositeSine, oppositeCosine);
        float s = 0.0f, c = 0.0f, os = 0.0f, oc = 0.0f;
        SinCosF(x, s, c);
        SinCosF(-x, os, oc);
        if ((Bits(sine) != Bits(s) || Bits(cosine) != Bits(c) || Bits(oppositeSine) != Bits(os) ||
             Bits(oppositeCosine) != Bits(oc)) &&
            ++wrong <= 3)
            ADD_FAILURE() << std::hexfloat << x;
    };
    for (uint32_t b = 0; FromBits(b) <= 4.0f; b += 997) {
        check(FromBits(b));
        check(-FromBits(b));
    }
    const float limit = kOppositesShareTrig, inf = std::numeric_limits<float>::infinity();
    for (float x : kNearMidpoint) check(x), check(-x);
    for (float x : {limit, -limit, std::nextafter(limit, inf), 0.0f, -0.0f, 1e-40f, 1e30f, inf, std::nanf("")})
        check(x);
    EXPECT_EQ(wrong, 0);
}

// Zeros, infinities and NaNs give the C library's answers, signs included.
TEST(FloatTrig, SpecialValuesAgreeWithTheCLibrary) {
    const float inf = std::numeric_limits<float>::infinity();
    const float values[] = {0.0f, -0.0f, 1.0f, -1.0f, 1e-40f, -3.0e38f, inf, -inf, std::nanf("")};
    for (float y : values) {
        for (float x : values) {
            const float ours = Atan2F(y, x), libc = Atan2Reference(y, x);
            if (std::isnan(libc))
                EXPECT_TRUE(std::isnan(ours)) << y << " " << x;
            else
                EXPECT_EQ(Bits(ours), Bits(libc)) << y << " " << x;
        }
        if (!std::isfinite(y)) {
            EXPECT_TRUE(std::isnan(SinF(y)) && std::isnan(CosF(y))) << y;
        } else if (std::fabs(y) < 8.0e8f) {
            EXPECT_EQ(Bits(SinF(y)), Bits(SinReference(y))) << y;
            EXPECT_EQ(Bits(CosF(y)), Bits(CosReference(y))) << y;
        }
    }
}

// Past the exact reduction the angle wraps by a double-precision turn: less
// accurate, but still a sine.
TEST(FloatTrig, FarAnglesStayWithinTheUnitRange) {
    for (float x = 8.0e8f; x < 3.0e38f; x *= 1.37f) {
        for (float v : {SinF(x), CosF(x)}) EXPECT_TRUE(v >= -1.0f && v <= 1.0f) << x;
        EXPECT_LT(std::fabs(SinF(x) * SinF(x) + CosF(x) * CosF(x) - 1.0f), 1e-5f) << x;
    }
}
}  // namespace
