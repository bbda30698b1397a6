// Four-float vector: a point (w = 1) or a direction. Operations use x, y, z
// and keep the left operand's w (Cross gives w = 1), so the arithmetic
// matches the game's rules to the last bit (no contraction, single precision
// throughout). math/lanes.h has the same operations on four lanes at once.
#pragma once

#include <cmath>

struct Vec4 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;

    constexpr Vec4() = default;
    constexpr Vec4(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}

    float Dot(Vec4 v) const { return x * v.x + y * v.y + z * v.z; }
    Vec4 Cross(Vec4 v) const { return Vec4(y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x, 1.0f); }
    float LengthSquared() const { return x * x + y * y + z * z; }

    // Below the 1e-9 floor on the squared length the length is exactly 0.
    float Length() const {
        float q = x * x + y * y + z * z;
        if (q < 1e-9f) return 0.0f;
        return std::sqrt(q);
    }

    // Leaves tiny, zero and NaN vectors unchanged rather than dividing by ~0.
    void Normalize() {
        float q = x * x + y * y + z * z;
        if (q < 1e-9f) return;
        float l = std::sqrt(q);
        if (!(l > 1e-13f)) return;
        float r = 1.0f / l;
        x *= r;
        y *= r;
        z *= r;
    }

    // Length() followed by Normalize(), sharing one square root: the same bits
    // as the two calls, at half the cost in the innermost loops.
    float NormalizeReturningLength() {
        float q = x * x + y * y + z * z;
        if (q < 1e-9f) return 0.0f;
        float l = std::sqrt(q);
        if (l > 1e-13f) {
            float r = 1.0f / l;
            x *= r;
            y *= r;
            z *= r;
        }
        return l;
    }

    Vec4& operator+=(Vec4 v) {
        x += v.x;
        y += v.y;
        z += v.z;
        return *this;
    }
    Vec4& operator-=(Vec4 v) {
        x -= v.x;
        y -= v.y;
        z -= v.z;
        return *this;
    }
    Vec4& operator*=(float s) {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }
};

// Binary forms: x, y, z combined, w taken from the left operand.
inline Vec4 operator+(Vec4 a, Vec4 b) { return a += b; }
inline Vec4 operator-(Vec4 a, Vec4 b) { return a -= b; }
inline Vec4 operator*(Vec4 a, float s) { return a *= s; }
