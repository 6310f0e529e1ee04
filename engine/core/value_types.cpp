#include "engine/core/value_types.h"

#include <cmath>
#include <numbers>

namespace QRV {

namespace {

uint32_t ChannelByte(float v) {
    // NaN counts as 0 so the conversion below stays defined.
    if (!(v > 0.0f)) return 0;
    if (v > 1.0f) v = 1.0f;
    return static_cast<uint32_t>(v * 255.0f + 0.5f);
}

}  // namespace

uint32_t JS_COLORf::ToARGB() const {
    return (ChannelByte(a) << 24) | (ChannelByte(r) << 16) | (ChannelByte(g) << 8) | ChannelByte(b);
}

JS_COLORf JS_COLORf::FromARGB(uint32_t argb) {
    auto channel = [argb](int shift) { return static_cast<float>((argb >> shift) & 0xFFu) / 255.0f; };
    return JS_COLORf(channel(16), channel(8), channel(0), channel(24));
}

float AngleBetween(const JS_VECTOR2& a, const JS_VECTOR2& b) {
    constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;
    const float lengthA = std::sqrt(a.x * a.x + a.y * a.y);
    const float lengthB = std::sqrt(b.x * b.x + b.y * b.y);
    if (lengthA == 0.0f || lengthB == 0.0f) return kTwoPi;
    // Rounding can push the cosine just past +-1, where acos has no value.
    float cosine = (a.x * b.x + a.y * b.y) / (lengthA * lengthB);
    if (cosine > 1.0f) cosine = 1.0f;
    if (cosine < -1.0f) cosine = -1.0f;
    const float angle = std::acos(cosine);
    return a.x * b.y - a.y * b.x > 0.0f ? angle : kTwoPi - angle;
}

JS_VECTOR3 CubicBezier(const JS_VECTOR3& p0, const JS_VECTOR3& p1, const JS_VECTOR3& p2, const JS_VECTOR3& p3,
                       float t) {
    if (t == 0.0f) return p0;
    if (t == 1.0f) return p3;
    const float u = 1.0f - t;
    const float w0 = u * u * u;
    const float w1 = 3.0f * t * u * u;
    const float w2 = 3.0f * t * t * u;
    const float w3 = t * t * t;
    return JS_VECTOR3{w0 * p0.x + w1 * p1.x + w2 * p2.x + w3 * p3.x, w0 * p0.y + w1 * p1.y + w2 * p2.y + w3 * p3.y,
                      w0 * p0.z + w1 * p1.z + w2 * p2.z + w3 * p3.z};
}

}  // namespace QRV
