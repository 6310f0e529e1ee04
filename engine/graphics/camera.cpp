#include "engine/graphics/camera.h"

#include <cmath>
#include <numbers>

namespace QRV {
namespace {

JS_VECTOR3 Cross(const JS_VECTOR3& a, const JS_VECTOR3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Dot(const JS_VECTOR3& a, const JS_VECTOR3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

JS_VECTOR3 Normalised(const JS_VECTOR3& v) {
    const float length = std::sqrt(Dot(v, v));
    if (length == 0.0f) return v;
    return {v.x / length, v.y / length, v.z / length};
}

}  // namespace

void JC_CAMERA::SetForSize(int32_t width, int32_t height) {
    const float halfHeight = static_cast<float>(height) * 0.5f;
    eye = {static_cast<float>(width) * 0.5f, halfHeight,
           halfHeight / static_cast<float>(std::tan(std::numbers::pi / 8.0))};
    forward = {0.0f, 0.0f, 1.0f};
    up = {0.0f, 1.0f, 0.0f};
    right = {1.0f, 0.0f, 0.0f};
    UpdateMatrix();
}

void JC_CAMERA::UpdateMatrix() {
    forward = Normalised(forward);
    right = Normalised(Cross(up, forward));
    up = Normalised(Cross(forward, right));

    matrix = Matrix4::Identity();
    matrix.m[0][0] = right.x;
    matrix.m[0][1] = up.x;
    matrix.m[0][2] = forward.x;
    matrix.m[1][0] = right.y;
    matrix.m[1][1] = up.y;
    matrix.m[1][2] = forward.y;
    matrix.m[2][0] = right.z;
    matrix.m[2][1] = up.z;
    matrix.m[2][2] = forward.z;
    matrix.m[3][0] = -Dot(eye, right);
    matrix.m[3][1] = -Dot(eye, up);
    matrix.m[3][2] = -Dot(eye, forward);
}

}  // namespace QRV
