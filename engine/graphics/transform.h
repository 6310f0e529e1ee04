#pragma once
// The parent chain of transforms: folding parents in, reading a transform from text, mapping a
// screen point into a transform's own space, and loading the renderer's world matrix from one.

#include <string>

#include "engine/core/matrix4.h"
#include "engine/core/transform.h"

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
