#include "tools/content_builder/shape_distance.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ContentBuilder {

float RoundedRectDistance(float x, float y, float x0, float y0, float x1, float y1, float radius) {
    const float hx = 0.5f * (x1 - x0), hy = 0.5f * (y1 - y0);
    radius = std::clamp(radius, 0.0f, std::min(hx, hy));
    const float qx = std::abs(x - 0.5f * (x0 + x1)) - hx + radius;
    const float qy = std::abs(y - 0.5f * (y0 + y1)) - hy + radius;
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float CircleDistance(float x, float y, float cx, float cy, float radius) { return std::hypot(x - cx, y - cy) - radius; }

float EllipseDistance(float x, float y, float cx, float cy, float rx, float ry) {
    const float px = x - cx, py = y - cy;
    const float k0 = std::hypot(px / rx, py / ry);
    const float k1 = std::hypot(px / (rx * rx), py / (ry * ry));
    if (k1 == 0.0f) return -std::min(rx, ry);
    return k0 * (k0 - 1.0f) / k1;
}

float SegmentDistance(float x, float y, Point a, Point b, float width) {
    const float ex = b.x - a.x, ey = b.y - a.y;
    const float wx = x - a.x, wy = y - a.y;
    const float lengthSquared = ex * ex + ey * ey;
    const float t = lengthSquared > 0.0f ? std::clamp((wx * ex + wy * ey) / lengthSquared, 0.0f, 1.0f) : 0.0f;
    return std::hypot(wx - ex * t, wy - ey * t) - 0.5f * width;
}

float PolygonDistance(float x, float y, std::span<const Point> corners) {
    float nearest = std::numeric_limits<float>::max();
    bool inside = false;
    for (size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
        const Point a = corners[j], b = corners[i];
        const float ex = b.x - a.x, ey = b.y - a.y;
        const float wx = x - a.x, wy = y - a.y;
        const float lengthSquared = ex * ex + ey * ey;
        const float t = lengthSquared > 0.0f ? std::clamp((wx * ex + wy * ey) / lengthSquared, 0.0f, 1.0f) : 0.0f;
        nearest = std::min(nearest, std::hypot(wx - ex * t, wy - ey * t));
        // Even-odd crossing test along +x.
        if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) * ex / ey) inside = !inside;
    }
    return inside ? -nearest : nearest;
}

}  // namespace ContentBuilder
