#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <utility>

#include "math/mat4.h"
#include "math/vec4.h"

TEST(Vec4, NormalizeLeavesTinyZeroAndNanVectorsAloneAndSharingTheRootChangesNoBits) {
    // Each vector, and whether Normalize must leave it bit for bit as it was.
    const std::pair<Vec4, bool> cases[] = {{Vec4(3, 4, 0, 2), false},       {Vec4(0.00003f, 0, 0, 1), true},
                                           {Vec4(0, 0, 0, 0), true},        {Vec4(1e-3f, -2e-4f, 7e-4f, 1), false},
                                           {Vec4(NAN, 1, 0, 1), true},      {Vec4(-1e20f, 3e19f, 1, 0), false}};
    for (const auto& [input, alone] : cases) {
        SCOPED_TRACE(::testing::Message() << input.x << ' ' << input.y << ' ' << input.z);
        Vec4 a = input, b = input;
        const float length = a.Length();
        a.Normalize();
        const float shared = b.NormalizeReturningLength();
        EXPECT_EQ(0, std::memcmp(&length, &shared, sizeof length));
        EXPECT_EQ(0, std::memcmp(&a, &b, sizeof a));
        EXPECT_EQ(std::memcmp(&a, &input, sizeof a) == 0, alone);
    }
}

TEST(Vec4, WNeverTakesPartButFollowsTheLeftOperand) {
    EXPECT_EQ(Vec4(1, 2, 3, 9).Dot(Vec4(1, 1, 1, 9)), 6.0f);
    Vec4 c = Vec4(1, 0, 0, 0).Cross(Vec4(0, 1, 0, 0));
    EXPECT_EQ(c.z, 1.0f);
    EXPECT_EQ(c.w, 1.0f);
    EXPECT_EQ((Vec4(5, 6, 7, 3) - Vec4(1, 2, 3, 9)).w, 3.0f);
    EXPECT_EQ((Vec4(1, 1, 1, 5) + Vec4(1, 2, 3, 0)).w, 5.0f);
    EXPECT_EQ((Vec4(1, 2, 3, 2) * 2.0f).w, 2.0f);
}

// The rotations' signs show in every golden; that they leave the other entries alone does not.
TEST(Mat4, RotationsWriteOnlyTheirEntries) {
    Mat4 y;
    y.m[1][1] = 5.0f;
    y.SetRotationY(0.5f);
    EXPECT_EQ(std::make_pair(y.m[1][1], y.m[3][3]), std::make_pair(5.0f, 0.0f));
}

TEST(Mat4, TransformIgnoresInputW) {
    Mat4 m = Mat4::Identity();
    m.SetColumn(3, Vec4(10, 20, 30, 0));
    EXPECT_EQ(m.Transform(Vec4(1, 2, 3, 0)).x, m.Transform(Vec4(1, 2, 3, 1)).x);
    EXPECT_EQ(m.Transform(Vec4(1, 2, 3, 0)).w, 1.0f);
}

// (A x M)[i][j] summed over k = 0..3 from the left, one rounding per operation.
Mat4 Product(const Mat4& a, const Mat4& m) {
    Mat4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = a.m[i][0] * m.m[0][j] + a.m[i][1] * m.m[1][j] + a.m[i][2] * m.m[2][j] + a.m[i][3] * m.m[3][j];
    return r;
}

TEST(Mat4, PreMultiplyIsTheElementByElementProductBitForBitEvenInPlace) {
    // Mixed signs and magnitudes, so that any other order of the sums rounds differently.
    std::mt19937 random(7);
    std::uniform_real_distribution<float> mantissa(-1.0f, 1.0f);
    std::uniform_int_distribution<int> exponent(-12, 12);
    for (int trial = 0; trial < 200; ++trial) {
        Mat4 a, m;
        for (int i = 0; i < 16; ++i) {
            a.m[i / 4][i % 4] = std::ldexp(mantissa(random), exponent(random));
            m.m[i / 4][i % 4] = std::ldexp(mantissa(random), exponent(random));
        }
        const Mat4 want = Product(a, m), square = Product(a, a);
        m.PreMultiply(a);
        a.PreMultiply(a);
        EXPECT_EQ(0, std::memcmp(&m, &want, sizeof m)) << trial;
        EXPECT_EQ(0, std::memcmp(&a, &square, sizeof a)) << trial;
    }
}
