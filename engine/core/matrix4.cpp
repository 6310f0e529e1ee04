#include "engine/core/matrix4.h"

#include <cmath>

#include "engine/core/transform.h"

namespace QRV {

Matrix4 Matrix4::Identity() {
    Matrix4 r{};
    r.m[0][0] = r.m[1][1] = r.m[2][2] = r.m[3][3] = 1.0f;
    return r;
}

Matrix4 Matrix4::Translation(float x, float y, float z) {
    Matrix4 r = Identity();
    r.m[3][0] = x;
    r.m[3][1] = y;
    r.m[3][2] = z;
    return r;
}

Matrix4 Matrix4::Scaling(float x, float y, float z) {
    Matrix4 r{};
    r.m[0][0] = x;
    r.m[1][1] = y;
    r.m[2][2] = z;
    r.m[3][3] = 1.0f;
    return r;
}

// Left-handed rotations for row vectors: a positive angle turns y towards z (x), z towards x (y)
// and x towards y (z).
Matrix4 Matrix4::RotationX(float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    Matrix4 r = Identity();
    r.m[1][1] = c;
    r.m[1][2] = s;
    r.m[2][1] = -s;
    r.m[2][2] = c;
    return r;
}

Matrix4 Matrix4::RotationYMatrix(float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    Matrix4 r = Identity();
    r.m[0][0] = c;
    r.m[0][2] = -s;
    r.m[2][0] = s;
    r.m[2][2] = c;
    return r;
}

Matrix4 Matrix4::RotationZ(float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    Matrix4 r = Identity();
    r.m[0][0] = c;
    r.m[0][1] = s;
    r.m[1][0] = -s;
    r.m[1][1] = c;
    return r;
}

Matrix4 Matrix4::Product(const Matrix4& a, const Matrix4& b) {
    Matrix4 r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] + a.m[i][3] * b.m[3][j];
        }
    }
    return r;
}

void Matrix4::Multiply(Matrix4& out, const Matrix4& other) const {
    // Through a temporary, so that out may be this or other.
    out = Product(other, *this);
}

void Matrix4::Rotate(float x, float y, float z) {
    if (x != 0.0f) *this = Product(RotationX(x), *this);
    if (y != 0.0f) *this = Product(RotationYMatrix(y), *this);
    if (z != 0.0f) *this = Product(RotationZ(z), *this);
}

void Matrix4::RotateY(float angle) {
    if (angle != 0.0f) *this = Product(RotationYMatrix(angle), *this);
}

void Matrix4::ApplyTransform(const JS_TRANSFORM3& t) {
    Matrix4 local = Product(Translation(-t.pivotX, -t.pivotY, 0.0f), Scaling(t.scaleX, t.scaleY, t.scaleZ));
    if (t.rotationZ != 0.0f) local = Product(local, RotationZ(t.rotationZ));
    if (t.rotationY != 0.0f) local = Product(local, RotationYMatrix(t.rotationY));
    if (t.rotationX != 0.0f) local = Product(local, RotationX(t.rotationX));
    local = Product(local, Translation(t.positionX, t.positionY, t.positionZ));
    *this = Product(local, *this);
}

}  // namespace QRV
