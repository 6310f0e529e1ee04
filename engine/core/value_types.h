#pragma once
// Small value types shared by every part of the engine.

#include <cstdint>

namespace QRV {

struct JS_VECTOR2 {
    float x = 0.0f;
    float y = 0.0f;
};

struct JS_VECTOR3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// Red, green, blue, alpha as floats 0 to 1.
struct JS_COLORf {
    float r = 1.0f;
    float g = 1.0f;
    float b = 1.0f;
    float a = 1.0f;

    JS_COLORf() = default;
    JS_COLORf(float r, float g, float b, float a) : r(r), g(g), b(b), a(a) {}

    // Each channel clamped to 0..1, times 255 plus 0.5, truncated, packed A R G B.
    uint32_t ToARGB() const;
    static JS_COLORf FromARGB(uint32_t argb);
};

// The angle from a to b in 0..2pi; 2pi when either has length 0.
float AngleBetween(const JS_VECTOR2& a, const JS_VECTOR2& b);

// t = 0 gives p0 and t = 1 gives p3 exactly.
JS_VECTOR3 CubicBezier(const JS_VECTOR3& p0, const JS_VECTOR3& p1, const JS_VECTOR3& p2, const JS_VECTOR3& p3, float t);

}  // namespace QRV
