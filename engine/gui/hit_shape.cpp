#include "engine/gui/hit_shape.h"

#include <cmath>

#include "engine/graphics/mesh.h"
#include "engine/graphics/transform.h"

namespace QRV {

bool JS_HIT_SHAPE::ContainsOther(float x, float y) const {
    if (kind != HIT_SHAPE::Circle) return false;
    const JS_TRANSFORM3 t = GetAbsolute(*transform);
    return std::hypot(x - t.positionX, y - t.positionY) < a;
}

}  // namespace QRV
