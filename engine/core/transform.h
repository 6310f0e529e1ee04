#pragma once
// The placement record of everything the engine draws.

namespace QRV {

struct JS_TRANSFORM3 {
    float pivotX = 0.0f, pivotY = 0.0f, pivotZ = 0.0f;
    float rotationX = 0.0f, rotationY = 0.0f, rotationZ = 0.0f;
    float scaleX = 1.0f, scaleY = 1.0f, scaleZ = 1.0f;
    float positionX = 0.0f, positionY = 0.0f, positionZ = 0.0f;
    JS_TRANSFORM3* parent = nullptr;  // not owned
};

// A transform placed by fractions of the logical screen (window placement, "auto_x"/"auto_y" in
// layouts): the fractions of the width and the height, 0 when the position is in pixels.
struct JS_TRANSFORM3_AUTO : JS_TRANSFORM3 {
    float fractionX = 0.0f;
    float fractionY = 0.0f;
};

}  // namespace QRV
