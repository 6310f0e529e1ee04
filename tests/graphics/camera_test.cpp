#include "engine/graphics/camera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace QRV {
namespace {

TEST(CameraTest, LogicalScreenCameraSitsAboveTheCentre) {
    JC_CAMERA camera;
    camera.SetForSize(1024, 768);
    const float distance = 384.0f / static_cast<float>(std::tan(std::numbers::pi / 8.0));
    EXPECT_FLOAT_EQ(camera.eye.x, 512.0f);
    EXPECT_FLOAT_EQ(camera.eye.y, 384.0f);
    EXPECT_NEAR(camera.eye.z, 927.05f, 0.01f);
    EXPECT_NEAR(camera.eye.z, distance, 1e-3f);

    // Looking along +z with y up, the look-to matrix is a plain move by minus the eye.
    const float expected[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {-512, -384, -distance, 1}};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(camera.matrix.m[r][c], expected[r][c], 1e-3f) << r << "," << c;
    }
}

TEST(CameraTest, LookToMatrixPutsTheEyeAtTheOriginFacingForward) {
    JC_CAMERA camera;
    camera.eye = {3, -2, 7};
    camera.forward = {2, 0, 0};  // not normalised on purpose
    camera.up = {0, 1, 0};
    camera.UpdateMatrix();

    EXPECT_NEAR(camera.right.x, 0.0f, 1e-6f);
    EXPECT_NEAR(camera.right.z, -1.0f, 1e-6f);
    float x, y, z;
    camera.matrix.TransformPoint(3, -2, 7, x, y, z);
    EXPECT_NEAR(x, 0, 1e-5f);
    EXPECT_NEAR(y, 0, 1e-5f);
    EXPECT_NEAR(z, 0, 1e-5f);
    // Five units along the view direction is five units deep; one unit up stays up.
    camera.matrix.TransformPoint(8, -1, 7, x, y, z);
    EXPECT_NEAR(x, 0, 1e-5f);
    EXPECT_NEAR(y, 1, 1e-5f);
    EXPECT_NEAR(z, 5, 1e-5f);
}

}  // namespace
}  // namespace QRV
