#pragma once
// A world matrix as four rows of four floats, made in line for the common placements: a quad's
// draw can then hand the rows straight to the renderer in registers instead of writing the
// matrix out and reading it back before its corners can be placed.
//
// The numbers are those of TransformMatrix of the absolute transform, bit for bit: the same
// folds and products in the same order.

#include <cmath>
#include <cstring>

#include "engine/core/matrix4.h"
#include "engine/core/transform.h"
#include "engine/graphics/absolute_memo.h"
#include "engine/graphics/transform_lanes.h"

namespace QRV {

// What placing a point needs of an absolute transform, with the scale that carries it down the
// chain. The pivot is never combined.
struct JS_PLACEMENT {
    float scaleX, scaleY;
    float positionX, positionY;
    float rotationZ;
};

// One link of the chain folded under the absolute placement of its parent: Combine's own steps
// in Combine's order, so the numbers are GetAbsolute's bit for bit.
inline JS_PLACEMENT FoldLink(const JS_PLACEMENT& p, const JS_TRANSFORM3& child) {
    float x = child.positionX * p.scaleX;
    float y = child.positionY * p.scaleY;
    x += p.positionX;
    y += p.positionY;
    if (p.rotationZ != 0.0f) [[unlikely]] {
        const float c = std::cos(p.rotationZ);
        const float s = std::sin(p.rotationZ);
        const float dx = x - p.positionX;
        const float dy = y - p.positionY;
        x = dx * c - dy * s + p.positionX;
        y = dy * c + dx * s + p.positionY;
    }
    return {child.scaleX * p.scaleX, child.scaleY * p.scaleY, x, y, child.rotationZ + p.rotationZ};
}

// An absolute placement turned about no axis, as its matrix needs it.
struct JS_UNTURNED_PLACEMENT {
    float scaleX, scaleY, scaleZ;
    float positionX, positionY, positionZ;
    float pivotX, pivotY;
};

#if defined(__SSE2__)
using JS_MATRIX_ROW = __m128;
#elif defined(__GNUC__)
using JS_MATRIX_ROW = float __attribute__((vector_size(16)));
#else
struct JS_MATRIX_ROW {
    float v[4];
};
#endif

struct JS_MATRIX_ROWS {
    JS_MATRIX_ROW row[4];
};

// The matrix made of the rows, a row per store.
inline void StoreRows(Matrix4& m, const JS_MATRIX_ROWS& rows) {
    static_assert(sizeof(rows) == sizeof(m.m));
    for (int i = 0; i < 4; ++i) {
        const JS_MATRIX_ROW row = rows.row[i];
        std::memcpy(m.m[i], &row, sizeof(row));
    }
}

// The matrix of a placement turned about no axis: TransformMatrix's own expressions with the
// cosine 1 and the sine 0, so the numbers are the same bit for bit.
inline JS_MATRIX_ROWS UnturnedRows(const JS_UNTURNED_PLACEMENT& t) {
    constexpr float c = 1.0f, s = 0.0f;
    const float m00 = t.scaleX * c, m01 = t.scaleX * s;
    const float m10 = -t.scaleY * s, m11 = t.scaleY * c;
    constexpr float m02 = 0.0f, m12 = 0.0f;
    const float m30 = t.positionX - t.pivotX * m00 - t.pivotY * m10;
    const float m31 = t.positionY - t.pivotX * m01 - t.pivotY * m11;
    const float m32 = t.positionZ - t.pivotX * m02 - t.pivotY * m12;
    JS_MATRIX_ROWS rows;
    rows.row[0] = JS_MATRIX_ROW{m00, m01, m02, 0.0f};
    rows.row[1] = JS_MATRIX_ROW{m10, m11, m12, 0.0f};
    rows.row[2] = JS_MATRIX_ROW{0.0f, 0.0f, t.scaleZ, 0.0f};
    rows.row[3] = JS_MATRIX_ROW{m30, m31, m32, 1.0f};
    return rows;
}

// The absolute transform of the transform's parent when it is at hand: the parent itself when it
// tops its chain, else what the current pass keeps of it; null when neither holds (or there is
// no parent).
inline const JS_TRANSFORM3* KeptParentAbsolute(const JS_TRANSFORM3& t) {
    const JS_TRANSFORM3* p = t.parent;
    if (p == nullptr || p->parent == nullptr) return p;
    const JC_ABSOLUTE_MEMO* memo = JC_ABSOLUTE_PASS::Current();
    return memo != nullptr ? memo->Find(p) : nullptr;
}

// The rows of the transform's world matrix when they are quick to make: a transform turned
// about no axis, at the top of its chain or under a parent whose absolute transform is at hand
// (the parent tops its chain, or the current pass keeps it) and turned about none either. False
// for every other transform, whose matrix LoadWorldMatrix makes.
inline bool QuickWorldRows(const JS_TRANSFORM3& t, JS_MATRIX_ROWS& rows);

#if defined(__SSE2__)
namespace WorldRowsDetail {

// UnturnedRows for the scales in lanes x y z, the position x y in the first two lanes of xy and
// z in lane 2 of own: lane for lane the same operations in the same order, so the numbers are
// those bit for bit.
inline JS_MATRIX_ROWS RowsOf(__m128 scale, __m128 xy, __m128 own, float pivotX, float pivotY) {
    const __m128 one = _mm_set1_ps(1.0f);
    const __m128 firstTwo = _mm_castsi128_ps(_mm_set_epi32(0, 0, -1, -1));
    JS_MATRIX_ROWS rows;
    // {sx * 1, sx * 0, 0, 0}
    const __m128 sx = _mm_shuffle_ps(scale, scale, _MM_SHUFFLE(0, 0, 0, 0));
    rows.row[0] = _mm_and_ps(_mm_mul_ps(sx, _mm_set_ps(0.0f, 0.0f, 0.0f, 1.0f)), firstTwo);
    // {-sy * 0, sy * 1, 0, 0}
    const __m128 sy = _mm_shuffle_ps(scale, scale, _MM_SHUFFLE(1, 1, 1, 1));
    const __m128 negateFirst = _mm_set_ps(0.0f, 0.0f, 0.0f, -0.0f);
    rows.row[1] = _mm_and_ps(_mm_mul_ps(_mm_xor_ps(sy, negateFirst), _mm_set_ps(0.0f, 0.0f, 1.0f, 0.0f)), firstTwo);
    // {0, 0, sz, 0}
    rows.row[2] = _mm_and_ps(scale, _mm_castsi128_ps(_mm_set_epi32(0, -1, 0, 0)));
    // {x, y, z, 1} - pivot x * row 0 - pivot y * row 1, the last lane 1 again.
    const __m128 xyz = _mm_shuffle_ps(xy, _mm_unpackhi_ps(own, one), _MM_SHUFFLE(1, 0, 1, 0));
    const __m128 placed = _mm_sub_ps(_mm_sub_ps(xyz, _mm_mul_ps(_mm_set1_ps(pivotX), rows.row[0])),
                                     _mm_mul_ps(_mm_set1_ps(pivotY), rows.row[1]));
    rows.row[3] = _mm_shuffle_ps(placed, _mm_unpackhi_ps(placed, one), _MM_SHUFFLE(3, 0, 1, 0));
    return rows;
}

// Whether any of the first three lanes is not zero (a NaN is not zero).
inline bool AnyOfThree(__m128 v) { return (_mm_movemask_ps(_mm_cmpneq_ps(v, _mm_setzero_ps())) & 7) != 0; }

}  // namespace WorldRowsDetail

inline bool QuickWorldRows(const JS_TRANSFORM3& t, JS_MATRIX_ROWS& rows) {
    using namespace WorldRowsDetail;
    using namespace TransformLanes;
    const JS_TRANSFORM3* p = t.parent;
    const __m128 turn = Lanes(t, kTurn);
    const __m128 scale = Lanes(t, kScale);
    const __m128 position = Lanes(t, kPosition);
    if (p == nullptr) {
        if (AnyOfThree(turn)) return false;
        rows = RowsOf(scale, position, position, t.pivotX, t.pivotY);
        return true;
    }
    p = KeptParentAbsolute(t);
    if (p == nullptr) return false;
    // The parent turned about z would swing the position; the sum of the turns must be none.
    const __m128 parentScale = Lanes(*p, kScale);
    if (p->rotationZ != 0.0f || AnyOfThree(_mm_add_ps(turn, Lanes(*p, kTurn)))) return false;
    // FoldLink's x * scale + parent position, and the scales' products.
    const __m128 xy = _mm_add_ps(_mm_mul_ps(position, parentScale), Lanes(*p, kPosition));
    rows = RowsOf(_mm_mul_ps(scale, parentScale), xy, position, t.pivotX, t.pivotY);
    return true;
}
#else
inline bool QuickWorldRows(const JS_TRANSFORM3& t, JS_MATRIX_ROWS& rows) {
    const JS_TRANSFORM3* p = t.parent;
    if (p == nullptr) {
        if (t.rotationX != 0.0f || t.rotationY != 0.0f || t.rotationZ != 0.0f) return false;
        rows = UnturnedRows({t.scaleX, t.scaleY, t.scaleZ, t.positionX, t.positionY, t.positionZ, t.pivotX, t.pivotY});
        return true;
    }
    p = KeptParentAbsolute(t);
    if (p == nullptr) return false;
    if (p->rotationZ != 0.0f || t.rotationX + p->rotationX != 0.0f || t.rotationY + p->rotationY != 0.0f ||
        t.rotationZ + p->rotationZ != 0.0f)
        return false;
    const JS_PLACEMENT folded = FoldLink({p->scaleX, p->scaleY, p->positionX, p->positionY, p->rotationZ}, t);
    rows = UnturnedRows({t.scaleX * p->scaleX, t.scaleY * p->scaleY, t.scaleZ * p->scaleZ, folded.positionX,
                         folded.positionY, t.positionZ, t.pivotX, t.pivotY});
    return true;
}
#endif

}  // namespace QRV
