#pragma once
// A fixed camera that looks at the logical screen so that the plane z = 0 fills a 45-degree view.

#include <cstdint>

#include "engine/core/matrix4.h"
#include "engine/core/value_types.h"

namespace QRV {

class JC_CAMERA {
public:
    // Eye at (W / 2, H / 2, (H / 2) / tan(pi / 8)), looking along +z with y up.
    void SetForSize(int32_t width, int32_t height);
    // Rebuilds the left-handed look-to matrix from eye, forward, up and right.
    void UpdateMatrix();

    Matrix4 matrix = Matrix4::Identity();
    JS_VECTOR3 eye;
    JS_VECTOR3 forward{0.0f, 0.0f, 1.0f};
    JS_VECTOR3 up{0.0f, 1.0f, 0.0f};
    JS_VECTOR3 right{1.0f, 0.0f, 0.0f};
};

}  // namespace QRV
