#pragma once
// The hit-test shapes of widgets: a circle or a rectangle placed by a transform, and the
// containment test of a widget's quad.

#include <cstdint>

#include "engine/core/transform.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/transform.h"

namespace QRV {

namespace HIT_SHAPE {
constexpr int32_t None = 0;
constexpr int32_t Circle = 1;
constexpr int32_t Rectangle = 2;
}  // namespace HIT_SHAPE

struct JS_HIT_SHAPE {
    // Circle or Rectangle; any other kind never hits.
    int32_t kind = HIT_SHAPE::None;
    // The radius, or the rectangle's width.
    float a = 0.0f;
    // The rectangle's height.
    float b = 0.0f;
    uint32_t reserved0 = 0;
    // Not owned: the owning widget's transform or its quad's.
    JS_TRANSFORM3* transform = nullptr;
    uint32_t reserved1 = 0;

    // Whether a point in screen pixels lies inside, through the transform's parent chain.
    // Circle: closer to the position than the radius (the radius is not scaled). Rectangle: the
    // point taken into the transform's own space (rotation undone about the position, position
    // subtracted, pivot added, scale not undone) lies strictly inside 0..a by 0..b.
    bool Contains(float x, float y) const {
        if (transform == nullptr) return false;
        if (kind == HIT_SHAPE::Rectangle) [[likely]] {
            // The general local-coordinate test: right for any pivot, unlike a mirror about the
            // position.
            return InsideLocalBox(x, y, *transform, a, b);
        }
        return ContainsOther(x, y);
    }

private:
    // Circles and shapes of no kind.
    bool ContainsOther(float x, float y) const;
};

// Whether a point in screen pixels lies strictly inside the quad: the point is taken into the
// quad transform's own space (scale not undone) and compared with the quad's width and height.
inline bool QuadContains(const JC_MESH& quad, float x, float y) {
    if (quad.transform == nullptr || quad.vertices == nullptr) return false;
    const float width = quad.vertices[1].x - quad.vertices[0].x;
    const float height = quad.vertices[2].y - quad.vertices[0].y;
    return InsideLocalBox(x, y, *quad.transform, width, height);
}

}  // namespace QRV
