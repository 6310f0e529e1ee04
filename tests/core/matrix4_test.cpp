#include "engine/core/matrix4.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/core/transform.h"

namespace QRV {
namespace {

constexpr float kHalfPi = static_cast<float>(std::numbers::pi / 2.0);
constexpr float kTolerance = 1e-4f;

struct Point {
    float x, y, z;
};

Point Apply(const Matrix4& m, Point p) {
    Point out{};
    m.TransformPoint(p.x, p.y, p.z, out.x, out.y, out.z);
    return out;
}

void ExpectPoint(Point actual, Point expected, const char* what) {
    EXPECT_NEAR(actual.x, expected.x, kTolerance) << what;
    EXPECT_NEAR(actual.y, expected.y, kTolerance) << what;
    EXPECT_NEAR(actual.z, expected.z, kTolerance) << what;
}

// Left-handed row-vector rotations by a quarter turn: each axis turns the next one forward.
TEST(Matrix4Test, QuarterTurnsFollowTheLeftHandedConvention) {
    struct Case {
        const char* name;
        Matrix4 matrix;
        Point in, out;
    };
    const Case cases[] = {
        {"z turns x to y", Matrix4::RotationZ(kHalfPi), {1, 0, 0}, {0, 1, 0}},
        {"x turns y to z", Matrix4::RotationX(kHalfPi), {0, 1, 0}, {0, 0, 1}},
        {"y turns z to x", Matrix4::RotationYMatrix(kHalfPi), {0, 0, 1}, {1, 0, 0}},
        {"translation", Matrix4::Translation(1, 2, 3), {1, 1, 1}, {2, 3, 4}},
        {"scaling", Matrix4::Scaling(2, 3, 4), {1, 1, 1}, {2, 3, 4}},
    };
    for (const Case& c : cases) ExpectPoint(Apply(c.matrix, c.in), c.out, c.name);

    const Matrix4 z = Matrix4::RotationZ(0.3f);
    EXPECT_NEAR(z.m[0][1], std::sin(0.3f), 1e-6f);
    EXPECT_NEAR(z.m[1][0], -std::sin(0.3f), 1e-6f);
}

TEST(Matrix4Test, MultiplyAppliesTheOtherMatrixFirst) {
    const Matrix4 move = Matrix4::Translation(10, 0, 0);
    const Matrix4 scale = Matrix4::Scaling(2, 2, 2);
    Matrix4 out;
    move.Multiply(out, scale);
    ExpectPoint(Apply(out, {1, 0, 0}), {12, 0, 0}, "scaled, then moved");

    // The result may be written over the matrix itself.
    Matrix4 m = move;
    m.Multiply(m, scale);
    ExpectPoint(Apply(m, {1, 0, 0}), {12, 0, 0}, "in place");
}

TEST(Matrix4Test, RotateTurnsAboutYBeforeXBeforeTheOldMatrix) {
    // Rotate(x, y, 0) on M gives Ry x Rx x M: a point turns about y, then x, then M applies.
    Matrix4 m = Matrix4::Translation(0, 0, 5);
    m.Rotate(kHalfPi, kHalfPi, 0.0f);
    ExpectPoint(Apply(m, {0, 0, 1}), {1, 0, 5}, "y first, then x");

    Matrix4 y = Matrix4::Identity();
    y.RotateY(kHalfPi);
    ExpectPoint(Apply(y, {0, 0, 1}), {1, 0, 0}, "RotateY");

    Matrix4 unchanged = Matrix4::Translation(1, 2, 3);
    unchanged.Rotate(0, 0, 0);
    ExpectPoint(Apply(unchanged, {0, 0, 0}), {1, 2, 3}, "no angles");
}

TEST(Matrix4Test, ApplyTransformMovesByPivotScalesTurnsPlacesThenParent) {
    JS_TRANSFORM3 t;
    t.pivotX = 5;
    t.pivotY = 5;
    t.pivotZ = 7;  // the pivot is a point in the plane: its z is not used
    t.scaleX = t.scaleY = t.scaleZ = 2;
    t.rotationZ = kHalfPi;
    t.positionX = 100;
    t.positionY = 200;
    t.positionZ = 3;

    Matrix4 m = Matrix4::Translation(1000, 0, 0);  // the parent's placement
    m.ApplyTransform(t);
    ExpectPoint(Apply(m, {5, 5, 0}), {1100, 200, 3}, "the pivot lands on the position");
    ExpectPoint(Apply(m, {6, 5, 0}), {1100, 202, 3}, "one unit right: scaled by 2, turned to +y");

    // Rotations about x and y come after z, x last.
    JS_TRANSFORM3 turn;
    turn.rotationY = kHalfPi;
    turn.rotationX = kHalfPi;
    Matrix4 r = Matrix4::Identity();
    r.ApplyTransform(turn);
    // (0,0,1) -> about y -> (1,0,0) -> about x -> (1,0,0); the other order would give (0,-1,0).
    ExpectPoint(Apply(r, {0, 0, 1}), {1, 0, 0}, "y before x");
}

}  // namespace
}  // namespace QRV
