// Four floats worked on at once, for the innermost loops, and the Vec4
// operations restated on them bit for bit: each lane rounds once per
// operation as the scalar code does, sums keep Vec4's order, and w, which
// Vec4 takes from the left operand, is put back by mask.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "math/vec4.h"

using Lanes = float __attribute__((vector_size(16)));
using LaneMask = int32_t __attribute__((vector_size(16)));
static_assert(sizeof(Lanes) == sizeof(Vec4), "a Vec4 is four packed floats");
static_assert(std::is_trivially_copyable_v<Vec4>);

namespace lanes {

inline constexpr LaneMask kXyz = {-1, -1, -1, 0};

// For a Vec4 stored whole long before: one wide load.
inline Lanes Load(const Vec4& v) {
    Lanes l;
    std::memcpy(&l, &v, sizeof l);
    return l;
}

// For a Vec4 just written a float at a time, which one wide load would have
// to wait for.
inline Lanes Gather(const Vec4& v) { return Lanes{v.x, v.y, v.z, v.w}; }

// Four consecutive floats.
inline Lanes Load4(const float* f) {
    Lanes l;
    std::memcpy(&l, f, sizeof l);
    return l;
}

inline void Store(Vec4& out, Lanes v) { std::memcpy(static_cast<void*>(&out), &v, sizeof out); }

// Lane j of v in all four lanes, moved as integers: a single instruction that
// leaves v where it is, where the float shuffle needs a copy of it first.
inline Lanes Splat(Lanes v, int j) {
    const auto m = reinterpret_cast<LaneMask>(v);
    switch (j) {
        case 0: return reinterpret_cast<Lanes>(__builtin_shufflevector(m, m, 0, 0, 0, 0));
        case 1: return reinterpret_cast<Lanes>(__builtin_shufflevector(m, m, 1, 1, 1, 1));
        case 2: return reinterpret_cast<Lanes>(__builtin_shufflevector(m, m, 2, 2, 2, 2));
        default: return reinterpret_cast<Lanes>(__builtin_shufflevector(m, m, 3, 3, 3, 3));
    }
}

// Lane by lane: a where the mask is set, else b (bits copied unchanged).
inline Lanes Select(LaneMask mask, Lanes a, Lanes b) {
    return reinterpret_cast<Lanes>((reinterpret_cast<LaneMask>(a) & mask) | (reinterpret_cast<LaneMask>(b) & ~mask));
}

// v's x, y and z with the w of `left`, the left operand it came from: what
// Vec4's +, - and * give.
inline Lanes KeepW(Lanes v, Lanes left) { return Select(kXyz, v, left); }

// Vec4::Dot: (x + y) + z of the products.
inline float Dot3(Lanes a, Lanes b) {
    const Lanes p = a * b;
    return p[0] + p[1] + p[2];
}

// The square root of each lane, rounded as std::sqrt rounds it: one
// instruction for four, where the processor has one.
inline Lanes Sqrt(Lanes v) {
#if defined(__SSE__)
    return __builtin_ia32_sqrtps(v);
#elif defined(__wasm_simd128__)
    return __builtin_wasm_sqrt_f32x4(v);
#else
    return Lanes{std::sqrt(v[0]), std::sqrt(v[1]), std::sqrt(v[2]), std::sqrt(v[3])};
#endif
}

// The other way round: four vectors a, b, c, d, a lane of each for each of
// four things, made into one vector per thing, (a[j], b[j], c[j], d[j]) for
// j = 0..3. Bits are moved, never computed.
struct Rows {
    Lanes row[4];
};
inline Rows Transpose4(Lanes a, Lanes b, Lanes c, Lanes d) {
    const Lanes ab01 = __builtin_shufflevector(a, b, 0, 4, 1, 5), cd01 = __builtin_shufflevector(c, d, 0, 4, 1, 5);
    const Lanes ab23 = __builtin_shufflevector(a, b, 2, 6, 3, 7), cd23 = __builtin_shufflevector(c, d, 2, 6, 3, 7);
    return {{__builtin_shufflevector(ab01, cd01, 0, 1, 4, 5), __builtin_shufflevector(ab01, cd01, 2, 3, 6, 7),
             __builtin_shufflevector(ab23, cd23, 0, 1, 4, 5), __builtin_shufflevector(ab23, cd23, 2, 3, 6, 7)}};
}

// The x, y and z lanes of four vectors, each kind gathered into one vector
// (xs holds the four x's in order), for the lane-per-vector form of a sum
// that Dot3 works out across one vector's lanes: Transpose4 without the w's.
struct Columns {
    Lanes xs, ys, zs;
};
inline Columns Transpose3(Lanes a, Lanes b, Lanes c, Lanes d) {
    const Rows r = Transpose4(a, b, c, d);
    return {r.row[0], r.row[1], r.row[2]};
}

// Vec4::NormalizeReturningLength split for loops that take the square roots
// of several vectors together: from the squared length (Dot3(v, v)), the
// length it returns (0 below the floor) and the factor that normalises, 1
// where it leaves the vector alone (multiplying by 1 keeps every bit).
struct LengthAndScale {
    float length;
    float scale;
};
inline LengthAndScale NormalizingScale(float square) {
    const float root = std::sqrt(square);
    const float length = square < 1e-9f ? 0.0f : root;
    return {length, length > 1e-13f ? 1.0f / length : 1.0f};
}

// NormalizingScale for four squares at once, a lane each.
struct LengthsAndScales {
    Lanes lengths;
    Lanes scales;
};
inline LengthsAndScales NormalizingScales(Lanes squares) {
    const Lanes zero = {0.0f, 0.0f, 0.0f, 0.0f}, one = {1.0f, 1.0f, 1.0f, 1.0f};
    const Lanes lengths = Select(squares < 1e-9f, zero, Sqrt(squares));
    // 1 / 1 is the 1 that leaves a vector alone.
    return {lengths, one / Select(lengths > 1e-13f, lengths, one)};
}

}  // namespace lanes
