#include <gtest/gtest.h>

#include <cmath>

#include "math/mat4.h"
#include "math/vec4.h"

TEST(Vec4, LengthHasAFloorBelowWhichItIsZero) {
    EXPECT_EQ(Vec4(0.00001f, 0, 0, 1).Length(), 0.0f);
    EXPECT_EQ(Vec4(3, 4, 0, 1).Length(), 5.0f);
    EXPECT_EQ(Vec4(3, 4, 0, 123).LengthSquared(), 25.0f);
}

TEST(Vec4, NormalizeLeavesTinyZeroAndNanVectorsAndAlwaysW) {
    Vec4 zero(0, 0, 0, 0);
    zero.Normalize();
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.y, 0.0f);
    EXPECT_EQ(zero.z, 0.0f);

    Vec4 v(0, 3, 4, 7);
    v.Normalize();
    EXPECT_FLOAT_EQ(v.y, 0.6f);
    EXPECT_FLOAT_EQ(v.z, 0.8f);
    EXPECT_EQ(v.w, 7.0f);

    Vec4 tiny(0.00003f, 0, 0, 1);  // q = 9e-10, under the floor
    tiny.Normalize();
    EXPECT_EQ(tiny.x, 0.00003f);

    Vec4 nan(NAN, 1, 0, 1);
    nan.Normalize();
    EXPECT_TRUE(std::isnan(nan.x));
    EXPECT_EQ(nan.y, 1.0f);
}

TEST(Vec4, DotIgnoresWAndCrossSetsWToOne) {
    EXPECT_EQ(Vec4(1, 2, 3, 9).Dot(Vec4(1, 1, 1, 9)), 6.0f);
    Vec4 c = Vec4(1, 0, 0, 0).Cross(Vec4(0, 1, 0, 0));
    EXPECT_EQ(c.x, 0.0f);
    EXPECT_EQ(c.y, 0.0f);
    EXPECT_EQ(c.z, 1.0f);
    EXPECT_EQ(c.w, 1.0f);
}

TEST(Vec4, ArithmeticKeepsTheLeftOperandsW) {
    Vec4 d = Vec4(5, 6, 7, 3) - Vec4(1, 2, 3, 9);
    EXPECT_EQ(d.x, 4.0f);
    EXPECT_EQ(d.w, 3.0f);
    Vec4 s = Vec4(1, 2, 3, 2) * 2.0f;
    EXPECT_EQ(s.z, 6.0f);
    EXPECT_EQ(s.w, 2.0f);
    Vec4 a = Vec4(1, 1, 1, 5) + Vec4(1, 2, 3, 0);
    EXPECT_EQ(a.y, 3.0f);
    EXPECT_EQ(a.w, 5.0f);
}

TEST(Mat4, RotationsWriteOnlyTheirEntriesAndFollowTheSignConvention) {
    Mat4 x = Mat4::Identity();
    x.SetRotationX(1.5707964f);
    Vec4 r = x.Transform(Vec4(0, 1, 0, 1));
    EXPECT_NEAR(r.x, 0.0f, 1e-6f);
    EXPECT_NEAR(r.y, 0.0f, 1e-6f);
    EXPECT_NEAR(r.z, -1.0f, 1e-6f);
    EXPECT_EQ(r.w, 1.0f);

    Mat4 z = Mat4::Identity();
    z.SetRotationZ(1.5707964f);
    r = z.Transform(Vec4(1, 0, 0, 1));
    EXPECT_NEAR(r.y, -1.0f, 1e-6f);

    Mat4 y;  // all zero: the setter leaves the other twelve entries alone
    y.m[3][3] = 7.0f;
    y.m[1][1] = 5.0f;
    y.SetRotationY(0.5f);
    EXPECT_EQ(y.m[1][1], 5.0f);
    EXPECT_EQ(y.m[3][3], 7.0f);
    EXPECT_EQ(y.m[0][2], std::sin(0.5f));
    EXPECT_EQ(y.m[2][0], -std::sin(0.5f));
}

TEST(Mat4, TransformIgnoresInputW) {
    Mat4 m = Mat4::Identity();
    m.SetColumn(3, Vec4(10, 20, 30, 0));
    Vec4 a = m.Transform(Vec4(1, 2, 3, 0));
    Vec4 b = m.Transform(Vec4(1, 2, 3, 1));
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.x, 11.0f);
    EXPECT_EQ(a.z, 33.0f);
    EXPECT_EQ(a.w, 1.0f);
}

TEST(Mat4, PreMultiplyComposesAndToleratesAliasing) {
    Mat4 m = Mat4::Identity();
    m.SetRotationY(0.3f);
    m.SetColumn(3, Vec4(1, 2, 3, 0));
    Mat4 t = Mat4::Identity();
    t.SetColumn(3, Vec4(5, 6, 7, 0));
    Mat4 before = m;
    m.PreMultiply(t);
    EXPECT_EQ(m.m[0][3], 6.0f);
    EXPECT_EQ(m.m[1][3], 8.0f);
    EXPECT_EQ(m.m[2][3], 10.0f);
    EXPECT_EQ(m.m[0][0], before.m[0][0]);

    // A * A through the same object equals A * copy-of-A.
    Mat4 a = Mat4::Identity();
    a.SetRotationZ(0.7f);
    a.SetColumn(3, Vec4(1, 0, 0, 0));
    Mat4 copy = a;
    Mat4 expected = a;
    expected.PreMultiply(copy);
    a.PreMultiply(a);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_EQ(a.m[i][j], expected.m[i][j]);
    EXPECT_EQ(a.GetColumn(3).w, 0.0f);
}
