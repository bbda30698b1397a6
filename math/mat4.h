// 4x4 matrix stored row by row (m[r][c]); points are column vectors, so
// columns 0..2 are the images of the axes and column 3 the translation.
// Rotation setters write only their four entries.
#pragma once

#include <cstring>

#include "math/float_trig.h"
#include "math/lanes.h"
#include "math/vec4.h"

struct Mat4 {
    float m[4][4] = {};

    static Mat4 Identity() {
        Mat4 r;
        r.m[0][0] = r.m[1][1] = r.m[2][2] = r.m[3][3] = 1.0f;
        return r;
    }

    void SetRotationX(float a) {
        float s, c;
        SinCosF(a, s, c);
        SetRotationX(s, c);
    }
    // The rotation setters from SinCosF's sine and cosine of the angle.
    void SetRotationX(float s, float c) {
        m[1][1] = c;
        m[1][2] = s;
        m[2][1] = -s;
        m[2][2] = c;
    }
    // SetRotationX with the angle another matrix was last given by SetRotationX.
    void SetRotationXLike(const Mat4& rotated) {
        m[1][1] = rotated.m[1][1];
        m[1][2] = rotated.m[1][2];
        m[2][1] = rotated.m[2][1];
        m[2][2] = rotated.m[2][2];
    }
    void SetRotationY(float a) {
        float s, c;
        SinCosF(a, s, c);
        SetRotationY(s, c);
    }
    void SetRotationY(float s, float c) {
        m[0][0] = c;
        m[0][2] = s;
        m[2][0] = -s;
        m[2][2] = c;
    }
    void SetRotationZ(float a) {
        float s, c;
        SinCosF(a, s, c);
        SetRotationZ(s, c);
    }
    void SetRotationZ(float s, float c) {
        m[0][0] = c;
        m[0][1] = s;
        m[1][0] = -s;
        m[1][1] = c;
    }

    // M * (v.x, v.y, v.z, 1): the input w is never read.
    Vec4 Transform(Vec4 v) const {
        float r[4];
        for (int i = 0; i < 4; ++i) r[i] = m[i][0] * v.x + m[i][1] * v.y + m[i][2] * v.z + m[i][3];
        return Vec4(r[0], r[1], r[2], r[3]);
    }

    // M = A * M, a row at a time: row i is a weighted sum of M's rows, the
    // same products and sums in the same order as element by element. Row i
    // of A is read before row i of M is written, so A may be M itself.
    void PreMultiply(const Mat4& a) {
        Lanes rows[4], product[4];
        GetRows(rows);
        PreMultiplyRows([&a](int i, int j) { return a.m[i][j]; }, rows, product);
        SetRows(product);
    }

    // out = A * in for a matrix held as four rows of lanes (out is not in),
    // PreMultiply's products and sums; a(i, j) gives A's entry (i, j), as a
    // float or already in all four lanes, which multiplies the same.
    template <class Entry>
    static void PreMultiplyRows(Entry a, const Lanes in[4], Lanes out[4]) {
#pragma GCC unroll 4
        for (int i = 0; i < 4; ++i) out[i] = in[0] * a(i, 0) + in[1] * a(i, 1) + in[2] * a(i, 2) + in[3] * a(i, 3);
    }

    void GetRows(Lanes rows[4]) const { std::memcpy(rows, m, sizeof m); }
    void SetRows(const Lanes rows[4]) { std::memcpy(m, rows, sizeof m); }

    Vec4 GetColumn(int c) const { return Vec4(m[0][c], m[1][c], m[2][c], 0.0f); }
    // GetColumn in lanes.
    Lanes GetColumnLanes(int c) const { return Lanes{m[0][c], m[1][c], m[2][c], 0.0f}; }
    void SetColumn(int c, Vec4 v) {
        m[0][c] = v.x;
        m[1][c] = v.y;
        m[2][c] = v.z;
    }
};
