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
