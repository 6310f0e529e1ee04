#include "engine/gui/hit_shape.h"

#include <cmath>

#include "engine/graphics/mesh.h"
#include "engine/graphics/transform.h"

namespace QRV {

bool JS_HIT_SHAPE::Contains(float x, float y) const {
    if (transform == nullptr) return false;
    if (kind == HIT_SHAPE::Circle) {
        const JS_TRANSFORM3 t = GetAbsolute(*transform);
        return std::hypot(x - t.positionX, y - t.positionY) < a;
    }
    if (kind != HIT_SHAPE::Rectangle) return false;
    // The general local-coordinate test: right for any pivot, unlike a mirror about the position.
    ToLocalInline(x, y, *transform);
    return x > 0.0f && x < a && y > 0.0f && y < b;
}

bool QuadContains(const JC_MESH& quad, float x, float y) {
    if (quad.transform == nullptr || quad.vertices == nullptr) return false;
    ToLocalInline(x, y, *quad.transform);
    const float width = quad.vertices[1].x - quad.vertices[0].x;
    const float height = quad.vertices[2].y - quad.vertices[0].y;
    return x > 0.0f && x < width && y > 0.0f && y < height;
}

}  // namespace QRV
