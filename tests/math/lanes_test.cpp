// The lane forms of the Vec4 operations against the scalar ones, bit for bit,
// over awkward values (signed zeros, subnormals, the extremes, infinities,
// NaN, lengths at the floors) and random ones spread over many exponents.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "math/lanes.h"
#include "math/mat4.h"

namespace {

uint32_t Bits(float f) { return std::bit_cast<uint32_t>(f); }

Vec4 FromLanes(Lanes l) {
    Vec4 v;
    lanes::Store(v, l);
    return v;
}

::testing::AssertionResult SameBits(const Vec4& expected, const Vec4& actual) {
    if (std::memcmp(&expected, &actual, sizeof expected) == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected (" << expected.x << ", " << expected.y << ", " << expected.z
                                         << ", " << expected.w << "), got (" << actual.x << ", " << actual.y << ", "
                                         << actual.z << ", " << actual.w << ")";
}

std::vector<Vec4> Vectors() {
    const float awkward[] = {0.0f,     -0.0f,     1.0f,     -1.0f,      1e-45f,  FLT_MIN, FLT_MAX, -FLT_MAX,
                             INFINITY, -INFINITY, NAN,      1.8e-5f,    3e-7f,   1e-20f,  3e19f,   0.1f,
                             1.0f / 3, 16777216.0f, -2.5e-38f, 1.0000001f};
    std::vector<Vec4> out;
    const int n = static_cast<int>(std::size(awkward));
    for (int i = 0; i < n; ++i)
        out.emplace_back(awkward[i], awkward[(i * 7 + 3) % n], awkward[(i * 13 + 5) % n], awkward[(i * 3 + 1) % n]);
    std::mt19937 random(25);
    std::uniform_real_distribution<float> mantissa(-2.0f, 2.0f);
    std::uniform_int_distribution<int> exponent(-30, 30);
    const auto value = [&] { return std::ldexp(mantissa(random), exponent(random)); };
    for (int i = 0; i < 400; ++i) out.emplace_back(value(), value(), value(), value());
    return out;
}

TEST(Lanes, SumsDifferencesAndScalesHaveVec4sBitsAndTheLeftOperandsW) {
    const std::vector<Vec4> vectors = Vectors();
    for (size_t i = 0; i < vectors.size(); ++i) {
        const Vec4 a = vectors[i], b = vectors[(i * 31 + 7) % vectors.size()], c = vectors[(i * 17 + 1) % vectors.size()];
        SCOPED_TRACE(i);
        const Lanes la = lanes::Load(a), lb = lanes::Gather(b), lc = lanes::Load(c);
        EXPECT_TRUE(SameBits(a + b, FromLanes(lanes::KeepW(la + lb, la))));
        EXPECT_TRUE(SameBits(a - b, FromLanes(lanes::KeepW(la - lb, la))));
        EXPECT_TRUE(SameBits(a * b.y, FromLanes(lanes::KeepW(la * b.y, la))));
        // The tube's ring point: end + z + x, from the left.
        EXPECT_TRUE(SameBits(a + b + c, FromLanes(lanes::KeepW(la + lb + lc, la))));
    }
}

TEST(Lanes, Dot3SumsInVec4DotsOrder) {
    const std::vector<Vec4> vectors = Vectors();
    for (size_t i = 0; i < vectors.size(); ++i) {
        const Vec4 a = vectors[i], b = vectors[(i * 29 + 11) % vectors.size()];
        SCOPED_TRACE(i);
        EXPECT_EQ(Bits(a.Dot(b)), Bits(lanes::Dot3(lanes::Load(a), lanes::Load(b))));
        EXPECT_EQ(Bits(a.Dot(a)), Bits(lanes::Dot3(lanes::Load(a), lanes::Load(a))));
    }
    // A case that tells the orders apart: any other bracketing gives another sum.
    const Vec4 a(1e8f, -1e8f, 1.0f, 0.0f), ones(1.0f, 1.0f, 1.0f, 0.0f);
    const float dot = lanes::Dot3(lanes::Load(a), lanes::Load(ones));
    EXPECT_EQ(Bits(dot), Bits(a.Dot(ones)));
    EXPECT_NE(dot, a.x + (a.y + a.z));
    EXPECT_NE(dot, (a.x + a.z) + a.y);
}

TEST(Lanes, NormalizingScaleGivesNormalizeReturningLengthsLengthAndVector) {
    std::vector<Vec4> vectors = Vectors();
    // Squared lengths just below and above 1e-9, and a length at 1e-13.
    for (const float x : {3.16e-5f, 3.163e-5f, 1e-13f, 1.5e-13f, 0.0f}) vectors.emplace_back(x, 0.0f, 0.0f, 1.0f);
    for (const Vec4& v : vectors) {
        SCOPED_TRACE(::testing::Message() << v.x << ' ' << v.y << ' ' << v.z);
        Vec4 expected = v;
        const float length = expected.NormalizeReturningLength();
        const Lanes l = lanes::Load(v);
        const lanes::LengthAndScale n = lanes::NormalizingScale(lanes::Dot3(l, l));
        EXPECT_EQ(Bits(length), Bits(n.length));
        EXPECT_TRUE(SameBits(expected, FromLanes(lanes::KeepW(l * n.scale, l))));
    }
}

// Four at once, each lane what the one-vector form gives it, bit for bit;
// the lane-per-vector sums are Dot3's.
TEST(Lanes, FourSquaresRootsAndScalesMatchTheOneVectorForms) {
    std::vector<Vec4> vectors = Vectors();
    for (const float x : {3.16e-5f, 3.163e-5f, 1e-13f, 1.5e-13f, 0.0f, -0.0f}) vectors.emplace_back(x, 0.0f, 0.0f, 1.0f);
    while (vectors.size() % 4 != 0) vectors.emplace_back(1.0f, 2.0f, 3.0f, 4.0f);
    for (size_t i = 0; i < vectors.size(); i += 4) {
        SCOPED_TRACE(i);
        const Lanes a = lanes::Load(vectors[i]), b = lanes::Load(vectors[i + 1]), c = lanes::Load(vectors[i + 2]),
                    d = lanes::Load(vectors[i + 3]);
        const lanes::Columns n = lanes::Transpose3(a, b, c, d);
        const Lanes squares = (n.xs * n.xs + n.ys * n.ys) + n.zs * n.zs;
        const Lanes roots = lanes::Sqrt(squares);
        const lanes::LengthsAndScales four = lanes::NormalizingScales(squares);
        const Lanes in[4] = {a, b, c, d};
        for (int k = 0; k < 4; ++k) {
            const Vec4& v = vectors[i + k];
            EXPECT_EQ(Bits(n.xs[k]), Bits(v.x));
            EXPECT_EQ(Bits(n.ys[k]), Bits(v.y));
            EXPECT_EQ(Bits(n.zs[k]), Bits(v.z));
            const float square = lanes::Dot3(in[k], in[k]);
            EXPECT_EQ(Bits(squares[k]), Bits(square));
            if (!std::isnan(square)) {
                EXPECT_EQ(Bits(roots[k]), Bits(std::sqrt(square)));
            }
            const lanes::LengthAndScale one = lanes::NormalizingScale(square);
            EXPECT_EQ(Bits(four.lengths[k]), Bits(one.length));
            EXPECT_EQ(Bits(four.scales[k]), Bits(one.scale));
        }
    }
}

TEST(Lanes, LoadsStoresAndSelectMoveEveryBitUnchanged) {
    const uint32_t payloads[] = {0x7fc00001u, 0xffa00000u, 0x80000000u, 0x00000001u};
    float f[4];
    std::memcpy(f, payloads, sizeof f);
    const Vec4 v(f[0], f[1], f[2], f[3]), other(1.0f, 2.0f, 3.0f, 4.0f);
    EXPECT_TRUE(SameBits(v, FromLanes(lanes::Load(v))));
    EXPECT_TRUE(SameBits(v, FromLanes(lanes::Gather(v))));
    EXPECT_TRUE(SameBits(Vec4(f[0], f[1], f[2], 4.0f),
                         FromLanes(lanes::KeepW(lanes::Load(v), lanes::Load(other)))));
    EXPECT_TRUE(SameBits(Vec4(1.0f, f[1], 3.0f, f[3]),
                         FromLanes(lanes::Select(LaneMask{0, -1, 0, -1}, lanes::Load(v), lanes::Load(other)))));
    Mat4 m;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m.m[r][c] = f[(r + c) % 4];
    for (int c = 0; c < 4; ++c) EXPECT_TRUE(SameBits(m.GetColumn(c), FromLanes(m.GetColumnLanes(c))));
    // Splat and Transpose4 move NaN payloads, signed zeros and subnormals too.
    const Lanes a = lanes::Load(v), b = lanes::Load(other), c = {f[1], f[2], f[3], f[0]}, d = {5.0f, -0.0f, 7.0f, 8.0f};
    const lanes::Rows rows = lanes::Transpose4(a, b, c, d);
    for (int j = 0; j < 4; ++j) {
        EXPECT_TRUE(SameBits(Vec4(f[j], f[j], f[j], f[j]), FromLanes(lanes::Splat(a, j)))) << j;
        EXPECT_TRUE(SameBits(Vec4(a[j], b[j], c[j], d[j]), FromLanes(rows.row[j]))) << j;
    }
}

}  // namespace
