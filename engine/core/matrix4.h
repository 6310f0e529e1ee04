#pragma once
// 4 x 4 float matrices in the row-vector convention: a point p is placed as p * M.

namespace QRV {

struct JS_TRANSFORM3;

struct Matrix4 {
    // m[row][col]; m[3][0..2] is the translation.
    float m[4][4];

    static Matrix4 Identity();
    static Matrix4 Translation(float x, float y, float z);
    static Matrix4 Scaling(float x, float y, float z);
    static Matrix4 RotationX(float angle);
    static Matrix4 RotationYMatrix(float angle);
    static Matrix4 RotationZ(float angle);

    // out = other x this: the other matrix applies first.
    void Multiply(Matrix4& out, const Matrix4& other) const;
    // For each non-zero angle in the order x, y, z the matrix becomes R x matrix.
    void Rotate(float x, float y, float z);
    void RotateY(float angle);
    // The matrix becomes T(-pivot) x S(scale) x Rz x Ry x Rx x T(position) x matrix.
    void ApplyTransform(const JS_TRANSFORM3& transform);

    // Plain product a x b (a applies first to a row vector).
    static Matrix4 Product(const Matrix4& a, const Matrix4& b);

    // Transforms a point (x, y, z, 1) without dividing by w.
    void TransformPoint(float x, float y, float z, float& ox, float& oy, float& oz) const {
        ox = x * m[0][0] + y * m[1][0] + z * m[2][0] + m[3][0];
        oy = x * m[0][1] + y * m[1][1] + z * m[2][1] + m[3][1];
        oz = x * m[0][2] + y * m[1][2] + z * m[2][2] + m[3][2];
    }
};

}  // namespace QRV
