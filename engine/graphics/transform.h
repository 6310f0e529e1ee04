#pragma once
// The parent chain of transforms: folding parents in, reading a transform from text, mapping a
// screen point into a transform's own space, and loading the renderer's world matrix from one.

#include <string>

#include "engine/core/matrix4.h"
#include "engine/core/transform.h"
#include "engine/graphics/transform_lanes.h"

namespace QRV {

// Every field, the parent pointer included.
inline void Copy(JS_TRANSFORM3& to, const JS_TRANSFORM3& from) { to = from; }

// Folds the parent p into the child: scale (and the child's x, y position by it), then p's x, y
// position, then the child's position rotated about p's position by p's z rotation and p's
// rotation added. The pivot is never combined; z positions are neither scaled nor added.
void Combine(JS_TRANSFORM3& child, const JS_TRANSFORM3& parent, bool skipPosition = false, bool skipRotation = false,
             bool skipScale = false);

// A copy of the transform with the absolute transform of its parent chain folded in (the copy
// itself without a parent). The chain must not loop.
JS_TRANSFORM3 GetAbsolute(const JS_TRANSFORM3& transform);

// Twelve blank-separated numbers: position x y z, pivot x y z, rotation x y z, scale x y z.
// With fewer than twelve the transform stays as it was (false); extra fields are ignored.
bool Parse(JS_TRANSFORM3& transform, const std::string& text);
bool Parse(JS_TRANSFORM3& transform, const char* text);

// A screen point into the transform's own space: the absolute transform's z rotation undone
// about its position, then position subtracted and pivot added. Scale is not undone.
void ToLocal(float& x, float& y, const JS_TRANSFORM3& transform);
// ToLocal's numbers bit for bit, worked out in line for chains of up to three links none of whose
// absolute placements is turned (every widget's hit test on every pointer move); any other chain
// goes to ToLocal. The steps are ToLocal's, one operation per statement, in its order.
inline void ToLocalInline(float& x, float& y, const JS_TRANSFORM3& transform) {
    const JS_TRANSFORM3& t = transform;
    const JS_TRANSFORM3* p = t.parent;
    float absoluteX, absoluteY;
    if (p == nullptr) {
        if (t.rotationZ != 0.0f) return ToLocal(x, y, t);
        absoluteX = t.positionX;
        absoluteY = t.positionY;
    } else {
        const JS_TRANSFORM3* top = p->parent;
        float scaleX, scaleY, originX, originY, turn;
        if (top == nullptr) {
            scaleX = p->scaleX;
            scaleY = p->scaleY;
            originX = p->positionX;
            originY = p->positionY;
            turn = p->rotationZ;
        } else {
            if (top->parent != nullptr || top->rotationZ != 0.0f) return ToLocal(x, y, t);
            scaleX = p->scaleX * top->scaleX;
            scaleY = p->scaleY * top->scaleY;
            originX = p->positionX * top->scaleX;
            originY = p->positionY * top->scaleY;
            originX += top->positionX;
            originY += top->positionY;
            turn = p->rotationZ + top->rotationZ;
        }
        if (turn != 0.0f || t.rotationZ + turn != 0.0f) return ToLocal(x, y, t);
        absoluteX = t.positionX * scaleX;
        absoluteY = t.positionY * scaleY;
        absoluteX += originX;
        absoluteY += originY;
    }
    x = x - absoluteX + t.pivotX;
    y = y - absoluteY + t.pivotY;
}

// Whether a screen point taken into the transform's own space (ToLocal) lies strictly inside
// 0..width by 0..height; a NaN anywhere is outside. ToLocalInline's numbers, bit for bit; the
// chains it works out in line are worked out here a lane per axis.
inline bool InsideLocalBox(float x, float y, const JS_TRANSFORM3& transform, float width, float height) {
#if defined(__SSE2__)
    using namespace TransformLanes;
    const JS_TRANSFORM3& t = transform;
    const JS_TRANSFORM3* p = t.parent;
    // The absolute position's x, y in lanes 0 and 1, or nothing for a chain taken the long way.
    const auto absolute = [&](__m128& position) {
        if (p == nullptr) {
            if (t.rotationZ != 0.0f) return false;
            position = Lanes(t, kPosition);
            return true;
        }
        const JS_TRANSFORM3* top = p->parent;
        __m128 scale, origin;
        float turn;
        if (top == nullptr) {
            scale = Lanes(*p, kScale);
            origin = Lanes(*p, kPosition);
            turn = p->rotationZ;
        } else {
            if (top->parent != nullptr || top->rotationZ != 0.0f) return false;
            const __m128 topScale = Lanes(*top, kScale);
            scale = _mm_mul_ps(Lanes(*p, kScale), topScale);
            origin = _mm_add_ps(_mm_mul_ps(Lanes(*p, kPosition), topScale), Lanes(*top, kPosition));
            turn = p->rotationZ + top->rotationZ;
        }
        if (turn != 0.0f || t.rotationZ + turn != 0.0f) return false;
        position = _mm_add_ps(_mm_mul_ps(Lanes(t, kPosition), scale), origin);
        return true;
    };
    __m128 position;
    if (absolute(position)) {
        const __m128 local = _mm_add_ps(_mm_sub_ps(_mm_setr_ps(x, y, 0.0f, 0.0f), position), Lanes(t, kPivot));
        const __m128 inside = _mm_and_ps(_mm_cmpgt_ps(local, _mm_setzero_ps()),
                                         _mm_cmplt_ps(local, _mm_setr_ps(width, height, 0.0f, 0.0f)));
        return (_mm_movemask_ps(inside) & 3) == 3;
    }
#endif
    ToLocalInline(x, y, transform);
    return x > 0.0f && x < width && y > 0.0f && y < height;
}

// The world matrix of one transform alone (its parent is not applied):
// T(-pivot) x S x Rz x Ry x Rx x T(position).
Matrix4 TransformMatrix(const JS_TRANSFORM3& transform);

// Loads the renderer's world matrix with the absolute transform, or the identity for null.
// Nothing without a renderer.
void LoadWorldMatrix(const JS_TRANSFORM3* transform);
// The last world matrix made for one object's transform: objects that stay where they are (most
// of them, most of the time) then skip the trigonometry when they are drawn again.
struct JS_WORLD_CACHE {
    JS_TRANSFORM3 from;  // the absolute transform the matrix was made from (parent unused)
    Matrix4 matrix = Matrix4::Identity();
    bool valid = false;
};
// As LoadWorldMatrix, reusing the cached matrix while the absolute transform is unchanged.
void LoadWorldMatrix(const JS_TRANSFORM3* transform, JS_WORLD_CACHE& cache);
// Loads it with this one transform as it stands (no parent chain).
void LoadWorldMatrixLocal(const JS_TRANSFORM3& transform);

}  // namespace QRV
