#pragma once
// Three neighbouring floats of a transform record (a pivot, turn, scale or position) loaded as
// one vector, for the placement arithmetic done a lane per axis.

#if defined(__SSE2__)
#include <emmintrin.h>

#include <cstddef>
#include <cstring>

#include "engine/core/transform.h"

namespace QRV::TransformLanes {

constexpr size_t kPivot = offsetof(JS_TRANSFORM3, pivotX);
constexpr size_t kTurn = offsetof(JS_TRANSFORM3, rotationX);
constexpr size_t kScale = offsetof(JS_TRANSFORM3, scaleX);
constexpr size_t kPosition = offsetof(JS_TRANSFORM3, positionX);
// The record's fields lie in this order, each x y z, then the parent: four floats from any of
// them stay inside the record. The fourth lane holds whatever follows and is not used.
static_assert(kTurn == kPivot + 3 * sizeof(float) && kScale == kTurn + 3 * sizeof(float) &&
              kPosition == kScale + 3 * sizeof(float));
static_assert(kPosition + sizeof(__m128) <= sizeof(JS_TRANSFORM3));

// x, y, z of the field at `offset` in lanes 0 to 2.
inline __m128 Lanes(const JS_TRANSFORM3& t, size_t offset) {
    __m128 v;
    std::memcpy(&v, reinterpret_cast<const char*>(&t) + offset, sizeof(v));
    return v;
}

}  // namespace QRV::TransformLanes
#endif
