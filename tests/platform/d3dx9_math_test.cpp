// What the game's use of the D3DX matrix helpers leaves unseen: a rotation
// other than 0, another aspect ratio, an output that is also an operand.
#include <gtest/gtest.h>

#include <d3dx9.h>

namespace {
void ExpectMatrix(const D3DXMATRIX& m, const float (&expected)[4][4], float tolerance = 1e-5f) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(expected[r][c], m.m[r][c], tolerance) << "row " << r << " col " << c;
}
}  // namespace

TEST(D3dxMath, RotationYTurnsXTowardMinusZ) {
    D3DXMATRIX m;
    EXPECT_EQ(&m, D3DXMatrixRotationY(&m, 0.5235988f));  // 30 degrees
    ExpectMatrix(m, {{0.8660254f, 0, -0.5f, 0}, {0, 1, 0, 0}, {0.5f, 0, 0.8660254f, 0}, {0, 0, 0, 1}});
}

// The camera's look-at and 90-degree square projection show in every
// whole-frame pixel hash; the game never asks for another aspect ratio.
TEST(D3dxMath, PerspectiveXScaleIsYScaleOverTheAspectRatio) {
    D3DXMATRIX m;
    D3DXMatrixPerspectiveFovLH(&m, 1.5707964f, 2.0f, 1.0f, 1000.0f);
    EXPECT_NEAR(0.5f, m._11, 1e-6f);
}

TEST(D3dxMath, MultiplyIsRowTimesColumnAndMayOverwriteAnOperand) {
    D3DXMATRIX a, b, out;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            a.m[r][c] = static_cast<float>(r * 4 + c + 1);
            b.m[r][c] = r == c ? 2.0f : (r == 3 && c == 0 ? 10.0f : 0.0f);
        }
    // Row 0 of a is (1, 2, 3, 4): doubled, plus 10 × 4 in column 0.
    const float expected[4][4] = {{42, 4, 6, 8}, {90, 12, 14, 16}, {138, 20, 22, 24}, {186, 28, 30, 32}};
    D3DXMatrixMultiply(&out, &a, &b);
    ExpectMatrix(out, expected, 0.0f);
    D3DXMatrixMultiply(&b, &a, &b);
    ExpectMatrix(b, expected, 0.0f);
}
