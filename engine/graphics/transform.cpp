#include "engine/graphics/transform.h"

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <type_traits>

#include "engine/core/conversions.h"
#include "engine/graphics/absolute_memo.h"
#include "engine/graphics/render.h"
#include "engine/graphics/world_rows.h"

namespace QRV {

void Combine(JS_TRANSFORM3& child, const JS_TRANSFORM3& parent, bool skipPosition, bool skipRotation, bool skipScale) {
    // The position is carried in locals and written once: stored field by field and read back
    // as a pair, it would wait for the stores on every link of every chain.
    float x = child.positionX;
    float y = child.positionY;
    if (!skipScale) {
        child.scaleX *= parent.scaleX;
        child.scaleY *= parent.scaleY;
        child.scaleZ *= parent.scaleZ;
        x *= parent.scaleX;
        y *= parent.scaleY;
    }
    if (!skipPosition) {
        x += parent.positionX;
        y += parent.positionY;
    }
    if (!skipRotation) {
        if (parent.rotationZ != 0.0f) {
            const float c = std::cos(parent.rotationZ);
            const float s = std::sin(parent.rotationZ);
            const float dx = x - parent.positionX;
            const float dy = y - parent.positionY;
            x = dx * c - dy * s + parent.positionX;
            y = dy * c + dx * s + parent.positionY;
        }
        child.rotationX += parent.rotationX;
        child.rotationY += parent.rotationY;
        child.rotationZ += parent.rotationZ;
    }
    child.positionX = x;
    child.positionY = y;
}

JS_TRANSFORM3 GetAbsolute(const JS_TRANSFORM3& transform) {
    JS_TRANSFORM3 result = transform;
    if (transform.parent != nullptr) Combine(result, GetAbsolute(*transform.parent));
    return result;
}

bool Parse(JS_TRANSFORM3& transform, const std::string& text) {
    const std::deque<std::string> fields = SplitStdString(text, ' ', true);
    if (fields.size() < 12) return false;
    float v[12];
    for (size_t i = 0; i < 12; ++i) v[i] = AsciiToFloat(fields[i]);
    transform.positionX = v[0];
    transform.positionY = v[1];
    transform.positionZ = v[2];
    transform.pivotX = v[3];
    transform.pivotY = v[4];
    transform.pivotZ = v[5];
    transform.rotationX = v[6];
    transform.rotationY = v[7];
    transform.rotationZ = v[8];
    transform.scaleX = v[9];
    transform.scaleY = v[10];
    transform.scaleZ = v[11];
    return true;
}

bool Parse(JS_TRANSFORM3& transform, const char* text) {
    if (text == nullptr) return false;
    return Parse(transform, std::string(text));
}

namespace {

// GetAbsolute's numbers for those fields, folded from the top of the chain down with the running
// numbers in registers instead of a record per link. Chains up to `Links` deep unroll into
// straight code (hit tests take this for every widget on every pointer move); deeper ones take
// GetAbsolute itself.
template <int Links>
JS_PLACEMENT AbsolutePlacement(const JS_TRANSFORM3& transform) {
    if (transform.parent == nullptr) {
        return {transform.scaleX, transform.scaleY, transform.positionX, transform.positionY, transform.rotationZ};
    }
    if constexpr (Links <= 1) {
        const JS_TRANSFORM3 t = GetAbsolute(transform);
        return {t.scaleX, t.scaleY, t.positionX, t.positionY, t.rotationZ};
    } else {
        return FoldLink(AbsolutePlacement<Links - 1>(*transform.parent), transform);
    }
}

}  // namespace

void ToLocal(float& x, float& y, const JS_TRANSFORM3& transform) {
    const JS_PLACEMENT t = AbsolutePlacement<8>(transform);
    // The pivot is never combined: the transform's own.
    if (t.rotationZ == 0.0f) {
        x = x - t.positionX + transform.pivotX;
        y = y - t.positionY + transform.pivotY;
        return;
    }
    const float a = -t.rotationZ;
    const float c = std::cos(a);
    const float s = std::sin(a);
    const float dx = x - t.positionX;
    const float dy = y - t.positionY;
    x = dx * c - dy * s + transform.pivotX;
    y = dy * c + dx * s + transform.pivotY;
}

namespace {

// Written a whole row per store: the quad submission reads the matrix back a row at a time,
// and a row written as four separate floats cannot be forwarded to that read (it waits for them).
inline void UnturnedMatrix(const JS_UNTURNED_PLACEMENT& t, Matrix4& m) {
    StoreRows(m, UnturnedRows(t));
}

}  // namespace

Matrix4 TransformMatrix(const JS_TRANSFORM3& t) {
    // Every drawn object computes this each frame, so it is written out rather than built from
    // four matrix products: rows 0..2 are the scaled rotation, row 3 the pivot carried through
    // them plus the position.
    Matrix4 m;
    if (t.rotationX != 0.0f || t.rotationY != 0.0f) {
        Matrix4 r = Matrix4::Identity();
        if (t.rotationZ != 0.0f) r = Matrix4::RotationZ(t.rotationZ);
        if (t.rotationY != 0.0f) r = Matrix4::Product(r, Matrix4::RotationYMatrix(t.rotationY));
        if (t.rotationX != 0.0f) r = Matrix4::Product(r, Matrix4::RotationX(t.rotationX));
        const float scale[3] = {t.scaleX, t.scaleY, t.scaleZ};
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) m.m[i][j] = scale[i] * r.m[i][j];
        }
    } else {
        float c = 1.0f, s = 0.0f;
        if (t.rotationZ != 0.0f) {
            c = std::cos(t.rotationZ);
            s = std::sin(t.rotationZ);
        }
        m.m[0][0] = t.scaleX * c;
        m.m[0][1] = t.scaleX * s;
        m.m[0][2] = 0.0f;
        m.m[1][0] = -t.scaleY * s;
        m.m[1][1] = t.scaleY * c;
        m.m[1][2] = 0.0f;
        m.m[2][0] = 0.0f;
        m.m[2][1] = 0.0f;
        m.m[2][2] = t.scaleZ;
    }
    m.m[0][3] = m.m[1][3] = m.m[2][3] = 0.0f;
    m.m[3][0] = t.positionX - t.pivotX * m.m[0][0] - t.pivotY * m.m[1][0];
    m.m[3][1] = t.positionY - t.pivotX * m.m[0][1] - t.pivotY * m.m[1][1];
    m.m[3][2] = t.positionZ - t.pivotX * m.m[0][2] - t.pivotY * m.m[1][2];
    m.m[3][3] = 1.0f;
    return m;
}

void LoadWorldMatrix(const JS_TRANSFORM3* transform) {
    if (g_render == nullptr) return;
    if (transform == nullptr) {
        g_render->worldMatrix = Matrix4::Identity();
    } else if (transform->parent == nullptr) {
        g_render->worldMatrix = TransformMatrix(*transform);
    } else {
        g_render->worldMatrix = TransformMatrix(GetAbsolute(*transform));
    }
}

namespace {

// The twelve placement floats alike bit for bit (as a comparison of their bytes says), each
// compared in its own register: a copy assembled on the stack and read back in wider words waits
// for its stores to land.
inline bool SamePlacementBits(const JS_TRANSFORM3& a, const JS_TRANSFORM3& b) {
    const auto bits = [](float v) { return std::bit_cast<uint32_t>(v); };
    const uint32_t differ = (bits(a.pivotX) ^ bits(b.pivotX)) | (bits(a.pivotY) ^ bits(b.pivotY)) |
                            (bits(a.pivotZ) ^ bits(b.pivotZ)) | (bits(a.rotationX) ^ bits(b.rotationX)) |
                            (bits(a.rotationY) ^ bits(b.rotationY)) | (bits(a.rotationZ) ^ bits(b.rotationZ)) |
                            (bits(a.scaleX) ^ bits(b.scaleX)) | (bits(a.scaleY) ^ bits(b.scaleY)) |
                            (bits(a.scaleZ) ^ bits(b.scaleZ)) | (bits(a.positionX) ^ bits(b.positionX)) |
                            (bits(a.positionY) ^ bits(b.positionY)) | (bits(a.positionZ) ^ bits(b.positionZ));
    return differ == 0;
}

// The absolute placement of a turned transform under its parent's absolute transform p, whose
// x, y position are already folded in: its matrix made again only when the placement differs
// from the cached one.
[[gnu::noinline]] void LoadTurnedMatrix(const JS_TRANSFORM3& t, const JS_TRANSFORM3& p, float x, float y,
                                        JS_WORLD_CACHE& cache) {
    // In the record's own order, so that the comparison is one block of placement bytes.
    JS_TRANSFORM3 now;
    now.pivotX = t.pivotX;
    now.pivotY = t.pivotY;
    now.pivotZ = t.pivotZ;
    now.rotationX = t.rotationX + p.rotationX;
    now.rotationY = t.rotationY + p.rotationY;
    now.rotationZ = t.rotationZ + p.rotationZ;
    now.scaleX = t.scaleX * p.scaleX;
    now.scaleY = t.scaleY * p.scaleY;
    now.scaleZ = t.scaleZ * p.scaleZ;
    now.positionX = x;
    now.positionY = y;
    now.positionZ = t.positionZ;
    now.parent = t.parent;
    if (!cache.valid || !SamePlacementBits(now, cache.from)) {
        cache.from = now;
        cache.matrix = TransformMatrix(now);
        cache.valid = true;
    }
    g_render->worldMatrix = cache.matrix;
}

// The transform's world matrix with p, its parent's absolute transform, folded in by Combine's
// steps (so the numbers are GetAbsolute's bit for bit).
inline void LoadMatrixUnder(const JS_TRANSFORM3& t, const JS_TRANSFORM3& p, JS_WORLD_CACHE& cache) {
    const JS_PLACEMENT folded = FoldLink({p.scaleX, p.scaleY, p.positionX, p.positionY, p.rotationZ}, t);
    const float x = folded.positionX;
    const float y = folded.positionY;
    // Without a turn the matrix is a handful of products, cheaper to make than to look up.
    if (t.rotationX + p.rotationX == 0.0f && t.rotationY + p.rotationY == 0.0f && t.rotationZ + p.rotationZ == 0.0f)
        [[likely]] {
        UnturnedMatrix(
            {t.scaleX * p.scaleX, t.scaleY * p.scaleY, t.scaleZ * p.scaleZ, x, y, t.positionZ, t.pivotX, t.pivotY},
            g_render->worldMatrix);
        return;
    }
    LoadTurnedMatrix(t, p, x, y, cache);
}

// A transform without a parent: its own placement, the matrix cached while it is turned.
[[gnu::noinline]] void LoadTopMatrix(const JS_TRANSFORM3& t, JS_WORLD_CACHE& cache) {
    // The twelve placement floats come first in the record; the parent pointer is not compared.
    static_assert(std::is_standard_layout_v<JS_TRANSFORM3>);
    constexpr size_t kPlacementBytes = offsetof(JS_TRANSFORM3, parent);
    if (!cache.valid || std::memcmp(&cache.from, &t, kPlacementBytes) != 0) {
        cache.from = t;
        cache.matrix = TransformMatrix(t);
        cache.valid = true;
    }
    g_render->worldMatrix = cache.matrix;
}

// A parent whose absolute transform no pass keeps: the chain is folded here.
[[gnu::noinline]] void LoadMatrixThroughChain(const JS_TRANSFORM3& t, JS_WORLD_CACHE& cache) {
    const JS_TRANSFORM3 parent = GetAbsolute(*t.parent);
    LoadMatrixUnder(t, parent, cache);
}

}  // namespace

void LoadWorldMatrix(const JS_TRANSFORM3* transform, JS_WORLD_CACHE& cache) {
    if (g_render == nullptr) return;
    if (transform == nullptr) {
        g_render->worldMatrix = Matrix4::Identity();
        return;
    }
    const JS_TRANSFORM3& t = *transform;
    // Without a turn the matrix is a handful of products, cheaper to make than to look up.
    JS_MATRIX_ROWS rows;
    if (QuickWorldRows(t, rows)) {
        StoreRows(g_render->worldMatrix, rows);
        return;
    }
    if (t.parent == nullptr) {
        LoadTopMatrix(t, cache);
        return;
    }
    // The parent's absolute transform: a parent at the top of its chain is its own (GetAbsolute
    // gives a copy of it), as a board cell is for the marks placed on it; inside a pass the
    // parent's is usually kept already.
    const JS_TRANSFORM3* kept = KeptParentAbsolute(t);
    if (kept == nullptr) [[unlikely]] {
        LoadMatrixThroughChain(t, cache);
        return;
    }
    LoadMatrixUnder(t, *kept, cache);
}

void LoadWorldMatrixLocal(const JS_TRANSFORM3& transform) {
    if (g_render == nullptr) return;
    g_render->worldMatrix = TransformMatrix(transform);
}

}  // namespace QRV
