// The four D3DX matrix helpers, with Direct3D's formulas in single precision.
#include <cmath>

#include <d3dx9.h>

namespace {
D3DXVECTOR3 Subtract(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

D3DXVECTOR3 Cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Dot(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// A zero vector stays zero rather than turning into NaNs.
D3DXVECTOR3 Normalise(const D3DXVECTOR3& v) {
    float length = std::sqrt(Dot(v, v));
    if (length == 0.0f) return {0.0f, 0.0f, 0.0f};
    return {v.x / length, v.y / length, v.z / length};
}
}  // namespace

D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* out, float angle) {
    float c = std::cos(angle), s = std::sin(angle);
    *out = D3DXMATRIX{};
    out->_11 = c;
    out->_13 = -s;
    out->_22 = 1.0f;
    out->_31 = s;
    out->_33 = c;
    out->_44 = 1.0f;
    return out;
}

D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at,
                               const D3DXVECTOR3* up) {
    D3DXVECTOR3 zAxis = Normalise(Subtract(*at, *eye));
    D3DXVECTOR3 xAxis = Normalise(Cross(*up, zAxis));
    D3DXVECTOR3 yAxis = Cross(zAxis, xAxis);
    *out = D3DXMATRIX{};
    out->_11 = xAxis.x, out->_12 = yAxis.x, out->_13 = zAxis.x;
    out->_21 = xAxis.y, out->_22 = yAxis.y, out->_23 = zAxis.y;
    out->_31 = xAxis.z, out->_32 = yAxis.z, out->_33 = zAxis.z;
    out->_41 = -Dot(xAxis, *eye);
    out->_42 = -Dot(yAxis, *eye);
    out->_43 = -Dot(zAxis, *eye);
    out->_44 = 1.0f;
    return out;
}

D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, float fovY, float aspect, float zNear, float zFar) {
    float yScale = 1.0f / std::tan(fovY / 2.0f);
    float xScale = yScale / aspect;
    *out = D3DXMATRIX{};
    out->_11 = xScale;
    out->_22 = yScale;
    out->_33 = zFar / (zFar - zNear);
    out->_34 = 1.0f;
    out->_43 = -zNear * zFar / (zFar - zNear);
    return out;
}

// out may alias a or b.
D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b) {
    D3DXMATRIX product;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            product.m[row][column] = a->m[row][0] * b->m[0][column] + a->m[row][1] * b->m[1][column] +
                                     a->m[row][2] * b->m[2][column] + a->m[row][3] * b->m[3][column];
    *out = product;
    return out;
}
